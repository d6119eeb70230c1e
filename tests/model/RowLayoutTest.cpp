#include "DocumentBuilder.h"
#include "PageLayout.h"
#include "RowLayout.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// Sets the line width for one test and puts the default back afterwards.
class ColumnsScope {
public:
    explicit ColumnsScope(std::uint32_t columns) : m_saved(pageLayout().ColumnNumber) { pageLayout().ColumnNumber = columns; }
    ~ColumnsScope() { pageLayout().ColumnNumber = m_saved; }

private:
    std::uint32_t m_saved;
};

std::string layout(std::u16string_view text, std::uint32_t columns)
{
    ColumnsScope scope(columns);
    shippedDictionary();
    BrailleDocument doc;
    fillSection(doc, text);
    return dumpRows(doc);
}

} // namespace

TEST(RowLayout, NewDocumentHasOneEndMarkerRowPerSection)
{
    shippedDictionary();
    BrailleDocument doc;
    EXPECT_TRUE(doc.complete);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.currentSection, Body);
    for (int i = 0; i < kSectionCount; ++i) {
        const DocumentSection& s = doc.sections[i];
        ASSERT_EQ(s.paragraphs.size(), 1u);
        EXPECT_EQ(s.paragraphs.front().characters->size(), 1u);
        EXPECT_EQ(s.paragraphs.front().characters->front(), CharacterDictionary::instance().endMarkerEntry());
        ASSERT_EQ(s.paragraphs.front().rows.size(), 1u);
        EXPECT_EQ(s.paragraphs.front().rows[0].width, 1u);
        EXPECT_TRUE(s.paragraphs.front().rows[0].orgPage.empty());
        EXPECT_EQ(s.rowCount, 1u);
    }
    EXPECT_EQ(doc.characterPool.size(), 4u);
    EXPECT_EQ(doc.checkInvariants(), "");
}

TEST(RowLayout, LongWordIsCutWhereItStopsFitting)
{
    std::u16string word(40, u'a');
    EXPECT_EQ(layout(word + u"\n", 32), std::string(32, 'a') + "|32\n" + std::string(8, 'a') + "$|9\n*|1\n");
}

TEST(RowLayout, WordAfterABlankMovesToTheNextRowWhole)
{
    std::u16string text = std::u16string(30, u'a') + u"_" + std::u16string(9, u'b') + u"\n";
    EXPECT_EQ(layout(text, 32), std::string(30, 'a') + "_|31\n" + std::string(9, 'b') + "$|10\n*|1\n");
}

TEST(RowLayout, LineBreakAfterAFullRowStaysOnIt)
{
    std::u16string text = std::u16string(32, u'a') + u"\n";
    EXPECT_EQ(layout(text, 32), std::string(32, 'a') + "$|33\n*|1\n");
}

TEST(RowLayout, LoneLineBreakAndEndMarker)
{
    EXPECT_EQ(layout(u"\n", 32), "$|1\n*|1\n");
}

TEST(RowLayout, BlanksAtABreakStayOnTheEarlierRow)
{
    std::u16string text = std::u16string(30, u'a') + u"___" + u"bbbb";
    EXPECT_EQ(layout(text, 32), std::string(30, 'a') + "___|33\nbbbb*|5\n");
}

TEST(RowLayout, TwoCellCharactersDoNotStraddleTheLineEnd)
{
    std::u16string text = std::u16string(31, u'a') + u"が";
    EXPECT_EQ(layout(text, 32), std::string(31, 'a') + "|31\nが*|3\n");
    EXPECT_EQ(layout(std::u16string(17, u'が'), 32),
              "がががががががががががががががが|32\nが*|3\n");
}

class RowLayoutWidths : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(RowLayoutWidths, RowsCoverEveryCharacterAndNeverExceedTheWidthButForBlanks)
{
    const std::uint32_t columns = GetParam();
    ColumnsScope scope(columns);
    shippedDictionary();
    BrailleDocument doc;
    fillSection(doc, u"abc dがe  fghijklmnopq rstuvwxyzが\nが\n\nabcdefghijklmnopqrstuvwxyz abc");
    EXPECT_EQ(doc.checkInvariants(), "");
    for (const BrailleParagraph& p : doc.section().paragraphs) {
        std::uint32_t next = 0;
        for (const BrailleRow& r : p.rows) {
            EXPECT_EQ(r.begin, next);
            EXPECT_GT(r.end, r.begin);
            std::uint32_t width = 0, nonBlank = 0, printed = 0;
            for (std::uint32_t k = r.begin; k < r.end; ++k) {
                const BrailleCharacter* e = (*p.characters)[k];
                width += std::uint32_t(e->cellCount());
                if (!isBlankCell(e) && !isLineBreakCell(e)) {
                    nonBlank = width;
                    ++printed;
                }
            }
            EXPECT_EQ(r.width, width);
            // Only trailing blanks and the line break go past the line, unless one character
            // is wider than the whole line.
            if (nonBlank > columns) {
                EXPECT_EQ(printed, 1u) << "row at " << r.begin;
            }
            next = r.end;
        }
        EXPECT_EQ(next, p.characters->size());
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, RowLayoutWidths, ::testing::Values(1u, 2u, 3u, 5u, 8u, 32u, 40u));

TEST(RowLayout, ACharacterWiderThanTheLineGetsARowOfItsOwn)
{
    EXPECT_EQ(layout(u"aがb", 1), "a|1\nが|2\nb*|2\n");
}
