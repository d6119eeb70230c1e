#include "BrailleDocumentCursor.h"
#include "DocumentBuilder.h"
#include "PageLayout.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

struct Fixture {
    BrailleDocument doc;
    BrailleDocumentCursor cursor;
    explicit Fixture(std::u16string_view text)
    {
        shippedDictionary();
        fillSection(doc, text);
        cursor.attach(&doc);
    }
    std::string at() const { return notation(cursor.entry()) + "@" + std::to_string(cursor.row()) + ":" + std::to_string(cursor.column); }
};

// Seven rows of four letters and a blank each at 32 cells would be one row; use explicit
// paragraphs instead: "abcde\n" repeated gives rows of width 6.
std::u16string rowsOfSix(int n)
{
    std::u16string s;
    for (int i = 0; i < n; ++i)
        s += u"abcde\n";
    return s;
}

} // namespace

TEST(RowIterator, ClampsToTheLastRow)
{
    Fixture f(rowsOfSix(3));
    BrailleDocumentRowIterator it(f.doc, 1000);
    EXPECT_EQ(it.index(), 3u);
    EXPECT_EQ(it.last(), 3u);
    EXPECT_TRUE(it.isSectionsLastRow());
    BrailleDocumentRowIterator mid(f.doc, 0);
    mid.advance(2);
    EXPECT_EQ(mid.index(), 2u);
    EXPECT_EQ(mid.row().begin, 0u);
    mid.advance(50);
    EXPECT_EQ(mid.index(), 3u);
}

TEST(RowIterator, AdvanceOverParagraphsOfSeveralRowsMatchesSteppingOneByOne)
{
    pageLayout().ColumnNumber = 4;
    Fixture f(u"abcdefghij\nab cd efgh ijkl\n\nabc");
    pageLayout().ColumnNumber = 32;
    const std::uint32_t rows = f.doc.section().rowCount;
    for (std::uint32_t n = 0; n < rows + 2; ++n) {
        BrailleDocumentRowIterator jump(f.doc, n);
        BrailleDocumentRowIterator step(f.doc, 0);
        for (std::uint32_t i = 0; i < n; ++i)
            step.next();
        EXPECT_EQ(jump.index(), step.index()) << n;
        EXPECT_EQ(&jump.paragraph(), &step.paragraph()) << n;
        EXPECT_EQ(jump.rowInParagraph(), step.rowInParagraph()) << n;
    }
}

TEST(Cursor, MoveRightStopsOnTheSectionsEndMarker)
{
    Fixture f(u"ab");
    EXPECT_TRUE(f.cursor.moveRight());
    EXPECT_TRUE(f.cursor.moveRight());
    EXPECT_EQ(f.at(), "*@0:2");
    EXPECT_FALSE(f.cursor.moveRight());
    EXPECT_EQ(f.at(), "*@0:2");
    EXPECT_TRUE(f.cursor.onEndMarker());
}

TEST(Cursor, MoveLeftFromARowStartLandsOnThePreviousRowsLastCharacter)
{
    Fixture f(rowsOfSix(6));
    f.cursor.goTo(5, 0);
    f.cursor.moveLeft();
    EXPECT_EQ(f.at(), "$@4:5"); // row 4 has width 6, its line break one cell
    f.cursor.goTo(0, 0);
    f.cursor.moveLeft();
    EXPECT_EQ(f.at(), "a@0:0");
    EXPECT_TRUE(f.cursor.atSectionStart());
}

TEST(Cursor, MoveLeftWithinAWrappedParagraphGoesToTheEarlierRowsLastCharacter)
{
    pageLayout().ColumnNumber = 6;
    Fixture f(u"abc def ghi");
    pageLayout().ColumnNumber = 32;
    ASSERT_EQ(dumpRows(f.doc), "abc_|4\ndef_|4\nghi*|4\n");
    f.cursor.goTo(1, 0);
    f.cursor.moveLeft();
    EXPECT_EQ(f.at(), "_@0:3");
}

TEST(Cursor, PlaceAtDesiredColumnBeyondTheRow)
{
    pageLayout().ColumnNumber = 6;
    Fixture f(u"abcde fgh\nxyz");
    pageLayout().ColumnNumber = 32;
    ASSERT_EQ(dumpRows(f.doc), "abcde_|6\nfgh$|4\nxyz*|4\n");
    // Not the paragraph's last row: after the row's last character, on the next row's first.
    f.cursor.goTo(0, 10);
    EXPECT_EQ(f.cursor.column, 6u);
    EXPECT_EQ(f.cursor.row(), 0u);
    EXPECT_EQ(notation(f.cursor.entry()), "f");
    // The paragraph's last row: on the line break.
    f.cursor.goTo(1, 10);
    EXPECT_EQ(f.at(), "$@1:3");
    f.cursor.goTo(2, 10);
    EXPECT_EQ(f.at(), "*@2:3");
    // Moving right from after a row's end goes to the next row's start.
    f.cursor.goTo(0, 10);
    EXPECT_TRUE(f.cursor.moveRight());
    EXPECT_EQ(f.at(), "f@1:0");
}

TEST(Cursor, PlaceAtDesiredColumnInsideAWideCharacter)
{
    Fixture f(u"ががが");
    f.cursor.goTo(0, 3);
    EXPECT_EQ(f.cursor.character, 1u);
    EXPECT_EQ(f.cursor.column, 2u);
    EXPECT_EQ(f.cursor.desiredColumn, 3u);
}

TEST(Cursor, UpAndDownKeepTheDesiredColumn)
{
    Fixture f(u"abcdef\nab\nabcdef");
    f.cursor.goTo(0, 4);
    EXPECT_EQ(f.cursor.moveDown(1), 1u);
    EXPECT_EQ(f.at(), "$@1:2");
    EXPECT_EQ(f.cursor.moveDown(5), 1u);
    EXPECT_EQ(f.at(), "e@2:4");
    EXPECT_EQ(f.cursor.moveUp(9), 2u);
    EXPECT_EQ(f.at(), "e@0:4");
}

TEST(Cursor, RowEndAndCharacterIndex)
{
    Fixture f(u"abc\nde");
    f.cursor.goToRowEnd();
    EXPECT_EQ(f.at(), "$@0:3");
    f.cursor.goToCharacterIndex(1);
    EXPECT_EQ(f.at(), "b@0:1");
    EXPECT_EQ(f.cursor.desiredColumn, 1u);
}

TEST(Cursor, SelectionOrder)
{
    Fixture f(u"abc\ndef");
    f.cursor.goTo(1, 2);
    f.cursor.collapseSelection();
    f.cursor.goTo(0, 1);
    f.cursor.setSelectionEnd(false);
    EXPECT_TRUE(f.cursor.hasSelection());
    EXPECT_EQ(f.cursor.selectionStart(), (CellPosition{1, 0}));
    EXPECT_EQ(f.cursor.selectionStop(), (CellPosition{2, 1}));
}
