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
        // The caret lands on the character that holds the offset.
        EXPECT_LE(back, offset);
        EXPECT_LE(offset - back, 1u) << offset;
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
