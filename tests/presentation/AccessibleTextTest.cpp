// The section as a screen reader reads it.

#include "AccessibleText.h"
#include "SessionFixture.h"

#include <algorithm>
#include <chrono>
#include <random>

using namespace braille;
using namespace braille::test;

TEST(AccessibleText, RowsAreLinesBlanksAreIdeographicSpacesAndTheCellsAreAttributes)
{
    Session s(u"あい う\nかき");
    AccessibleText text(s.document);
    EXPECT_EQ(text.rowText(0), u"あい\u3000う\n");
    EXPECT_EQ(text.rowText(1), u"かき");
    EXPECT_EQ(text.length(), 7u);
    s.session.cursor().goTo(1, 1);
    EXPECT_EQ(text.offsetOf(s.session.cursor()), 6u);
    EXPECT_EQ(text.positionAt(6), (CellPosition{1, 1}));
    EXPECT_EQ(text.lineAround(2), (std::pair<std::size_t, std::size_t>{0, 5}));
    EXPECT_EQ(text.wordAround(1), (std::pair<std::size_t, std::size_t>{0, 2}));
    EXPECT_EQ(text.text(3, 7), u"う\nかき");
    EXPECT_EQ(text.attributesAt(0), u"braille-dots:1;braille-set:text");
    EXPECT_EQ(text.attributesAt(4), u""); // the line end
}

TEST(AccessibleText, OffsetsAndPositionsAgreeAllOverALongSection)
{
    std::u16string body;
    std::mt19937 random(5);
    const std::u16string_view words[] = {u"きょう", u"は", u"がっこう", u"２０２６", u"ａｂ", u"。"};
    for (int p = 0; p < 150; ++p) {
        for (int w = 0; w < 12; ++w) {
            body += words[random() % std::size(words)];
            body += u' ';
        }
        body += u'\n';
    }
    Session s(body);
    AccessibleText text(s.document);
    std::u16string whole;
    for (std::uint32_t r = 0; r < s.document.section().rowCount; ++r)
        whole += text.rowText(r);
    ASSERT_EQ(whole.size(), text.length());
    EXPECT_EQ(text.text(0, whole.size()), whole);
    for (int i = 0; i < 200; ++i) {
        const std::size_t offset = random() % whole.size();
        const CellPosition at = text.positionAt(offset);
        s.session.cursor().goTo(at.row, at.column);
        const std::size_t back = text.offsetOf(s.session.cursor());
        // The caret lands on the character that holds the offset (a sign's name is several
        // units long).
        const auto [first, last] = text.characterAround(offset);
        EXPECT_LE(first, offset);
        EXPECT_LT(offset, last);
        EXPECT_EQ(back, first) << offset;
        const auto [start, end] = text.lineAround(offset);
        EXPECT_EQ(text.text(start, end), text.rowText(at.row));
    }
}

TEST(AccessibleText, TheWholeTextOfALongSectionCostsInProportionToItsLength)
{
    // A screen reader asks for the whole text afresh: four times the rows may cost about four
    // times as long, not sixteen (as walking from the section's start for every row did). The
    // fastest of several runs is compared, so a busy machine does not decide.
    const auto fastest = [](std::size_t paragraphs) {
        std::u16string body;
        for (std::size_t p = 0; p < paragraphs; ++p)
            body += u"きょうは がっこう\n";
        Session s(body);
        const AccessibleText text(s.document);
        const std::size_t length = text.length();
        EXPECT_EQ(text.text(0, length).size(), length);
        double best = 1e9;
        for (int run = 0; run < 5; ++run) {
            const auto t0 = std::chrono::steady_clock::now();
            const std::size_t size = AccessibleText(s.document).text(0, length).size();
            best = std::min(best, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
            EXPECT_EQ(size, length);
        }
        return std::max(best, 1.0);
    };
    const double small = fastest(2000), large = fastest(8000);
    EXPECT_LT(large / small, 8.0) << small << " us for 2000 rows, " << large << " us for 8000";
}

TEST(AccessibleText, SignsWithoutPrintReadAsTheirNamesWithOffsetsToMatch)
{
    // The rules put the number sign before "１", a connector between it and "あ" and two blanks
    // after "。"; the screen shows those as cells, a screen reader hears their names.
    Session s;
    s.run(u"{ime:だい１あ。}{ime:ほし}");
    ASSERT_EQ(s.cells(), "\"OB#A-A4  !\\");
    const AccessibleText text(s.document);
    const std::u16string row = u"だい数符１つなぎ符あ。空白のマス空白のマスほし";
    EXPECT_EQ(text.rowText(0), row);
    EXPECT_EQ(text.length(), row.size());
    // Every unit of a name belongs to its sign: its span, its cell position, its braille.
    EXPECT_EQ(text.characterAround(3), (std::pair<std::size_t, std::size_t>{2, 4}));
    EXPECT_EQ(text.positionAt(3), (CellPosition{3, 0})); // だ takes two cells
    EXPECT_EQ(text.attributesAt(3), u"braille-dots:3-4-5-6;braille-set:text");
    EXPECT_EQ(text.attributesAt(6), u"braille-dots:3-6;braille-set:text");
    EXPECT_EQ(text.text(5, 9), u"つなぎ符");
    s.session.cursor().goTo(0, 5); // the connector
    EXPECT_EQ(text.offsetOf(s.session.cursor()), 5u);
    s.session.cursor().goTo(0, 9); // the second blank
    const std::size_t second = text.offsetOf(s.session.cursor());
    EXPECT_EQ(second, 16u);
    EXPECT_EQ(text.characterAround(second + 4), (std::pair<std::size_t, std::size_t>{16, 21}));
    // The named blanks still end words.
    EXPECT_EQ(text.wordAround(21), (std::pair<std::size_t, std::size_t>{21, 23}));
    EXPECT_EQ(text.wordAround(3), (std::pair<std::size_t, std::size_t>{0, 11}));
    // A blank typed between words keeps reading as an ideographic space.
    Session plain(u"あい う");
    EXPECT_EQ(AccessibleText(plain.document).rowText(0), u"あい\u3000う");
}
