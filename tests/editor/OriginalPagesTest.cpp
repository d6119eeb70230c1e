// The original-page editor's columns, its input filter and the labels it writes back.

#include "DocumentBuilder.h"
#include "OriginalPages.h"
#include "SessionScript.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

TEST(OriginalPages, ColumnsShowLabelsWhereTheyChange)
{
    shippedDictionary();
    BrailleDocument document;
    fillSection(document, u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも\nが\nま"); // 2 + 1 + 1 rows
    std::vector<BrailleParagraph*> paragraphs;
    for (BrailleParagraph& p : document.section().paragraphs)
        paragraphs.push_back(&p);
    paragraphs[0]->rows.front().orgPage = u"12";
    paragraphs[1]->rows.front().orgPage = u"12";
    const OriginalPageRows rows = originalPageRows(document, 22);
    ASSERT_EQ(rows.labels.size(), document.section().rowCount);
    EXPECT_EQ(rows.labels[0], u"12");
    EXPECT_EQ(rows.labels[1], u""); // the paragraph's second row
    EXPECT_EQ(rows.labels[2], u""); // the next paragraph with the same label
    EXPECT_EQ(rows.labels[3], u"");  // a paragraph without a label after labelled ones
    EXPECT_EQ(rows.rowTexts[2], u" が ↲"); // two cells, one print character
    EXPECT_EQ(rows.rowLabels[0], u"  1 -  2");
}

TEST(OriginalPages, OnlyDigitsGetInAndEveryRowTakesTheNearestLabelAbove)
{
    std::u16string typed;
    for (char16_t c : std::u16string_view(u"12a"))
        if (originalPageKeyAccepted(c))
            typed.push_back(c);
    EXPECT_EQ(typed, u"12");
    EXPECT_EQ(originalPageInput(u"１２"), u"");  // full-width text from the input method
    EXPECT_EQ(originalPageInput(u"3b4"), u"34");
    EXPECT_EQ(originalPageLabels({u"5", u"", u"", u"6"}, 4), (std::vector<std::u16string>{u"5", u"5", u"5", u"6"}));
    EXPECT_EQ(originalPageLabels({u"", u"7"}, 3), (std::vector<std::u16string>{u"", u"7", u"7"}));
}

TEST(OriginalPages, TheMessageLogAppendsAndAMissingFolderIsNoError)
{
    TempDir dir;
    logMessage(dir.path(), 0x102, '1');
    logMessage(dir.path(), 0x102, '2');
    EXPECT_EQ(readBytes(dir.file("Tenkora_log.txt")), "MSG ID : 0102 , WPARAM : 0031 \r\nMSG ID : 0102 , WPARAM : 0032 \r\n");
    logMessage(dir.path() / "gone", 0x102, '1');
}

TEST(OriginalPages, TheMessageLogIsPrivateAndBounded)
{
    TempDir dir;
    const std::uintmax_t limit = 100; // a line is 32 bytes
    for (char c = 'a'; c < 'a' + 10; ++c)
        logMessage(dir.path(), 0x102, unsigned(c), limit);
    EXPECT_LE(std::filesystem::file_size(dir.file("Tenkora_log.txt")), limit + 32);
    EXPECT_LE(std::filesystem::file_size(dir.file("Tenkora_log.1.txt")), limit + 32);
    EXPECT_EQ(readBytes(dir.file("Tenkora_log.txt")).substr(0, 32), "MSG ID : 0102 , WPARAM : 0069 \r\n"); // 'i', 'j'
    EXPECT_EQ(std::filesystem::status(dir.file("Tenkora_log.txt")).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // A link planted in its place is not written through.
    std::filesystem::remove(dir.file("Tenkora_log.txt"));
    writeBytes(dir.file("victim.txt"), "mine");
    std::filesystem::create_symlink(dir.file("victim.txt"), dir.file("Tenkora_log.txt"));
    logMessage(dir.path(), 0x102, 'x', limit);
    EXPECT_EQ(readBytes(dir.file("victim.txt")), "mine");
}
