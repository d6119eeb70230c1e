// Character positions across rows and paragraphs, and their rows and columns.

#include "CharacterPosition.h"
#include "DocumentBuilder.h"
#include "PageLayout.h"

#include <gtest/gtest.h>

namespace braille::test {
namespace {

class CharacterPositionTest : public ::testing::Test {
protected:
    CharacterPositionTest() : saved(pageLayout().ColumnNumber)
    {
        pageLayout().ColumnNumber = 4;
        fillSection(document, u"あい うえ\nかき"); // rows: "あい_" "うえ$" "かき*"
        cursor.attach(&document);
    }
    ~CharacterPositionTest() override { pageLayout().ColumnNumber = saved; }
    std::uint32_t saved;
    BrailleDocument document;
    BrailleDocumentCursor cursor;
};

TEST_F(CharacterPositionTest, RowsAndColumnsOfCharacters)
{
    auto first = document.section().paragraphs.begin();
    EXPECT_EQ(cellPosition(cursor, {first, 0}), (CellPosition{0, 0}));
    EXPECT_EQ(cellPosition(cursor, {first, 3}), (CellPosition{0, 1}));
    EXPECT_EQ(cellPosition(cursor, {first, 5}), (CellPosition{2, 1}));
    EXPECT_EQ(cellPosition(cursor, {std::next(first), 1}), (CellPosition{1, 2}));
}

TEST_F(CharacterPositionTest, AfterARowsEndTheCursorStandsOnTheNextRowsFirstCharacter)
{
    cursor.goTo(0, 3); // after the blank that ends the first row
    const CharacterPosition at = characterPosition(cursor);
    EXPECT_EQ(at.character, 3u);
    EXPECT_EQ(characterAt(at)->print, u"う");
    placeCursor(cursor, at);
    EXPECT_EQ(cursor.position(), (CellPosition{0, 1}));
}

TEST_F(CharacterPositionTest, NeighboursAcrossParagraphsAndTheSectionsEnds)
{
    auto first = document.section().paragraphs.begin();
    EXPECT_FALSE(previousPosition(document, {first, 0}));
    const auto lineBreak = previousPosition(document, {std::next(first), 0});
    ASSERT_TRUE(lineBreak);
    EXPECT_EQ(lineBreak->character, 5u);
    EXPECT_EQ(nextPosition(document, *lineBreak), (CharacterPosition{std::next(first), 0}));
    EXPECT_FALSE(nextPosition(document, {std::next(first), 2}));
    EXPECT_EQ(documentLocation(document, {std::next(first), 1}), (DocumentLocation{1, 1}));
}

} // namespace
} // namespace braille::test
