// What the view shows, decided without pixels.

#include "DocumentBuilder.h"
#include "TestSupport.h"
#include "ViewPicture.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

TEST(ViewPicture, RowLabelsAndPageEndsFollowTheLinesPerPage)
{
    EXPECT_EQ(u8(rowLabel(0, 22)), "  1 -  2");
    EXPECT_EQ(u8(rowLabel(20, 22)), "  1 - 22");
    EXPECT_EQ(u8(rowLabel(21, 22)), "  2 -  2");
    EXPECT_TRUE(isPageEnd(20, 22));
    EXPECT_FALSE(isPageEnd(21, 22));
    // One line per page must not divide by zero: every row is a page of its own.
    EXPECT_EQ(u8(rowLabel(3, 1)), "  4 -  1");
    EXPECT_TRUE(isPageEnd(3, 1));
}

TEST(ViewPicture, ACharacterIsSelectedByItsLastCell)
{
    const CellPosition s{3, 0}, same{3, 0}, e{5, 0};
    EXPECT_FALSE(isSelected(s, same, 0, 3, 1)); // an empty selection selects nothing
    EXPECT_TRUE(isSelected(s, e, 0, 3, 1));
    EXPECT_TRUE(isSelected(s, e, 0, 4, 1));
    EXPECT_FALSE(isSelected(s, e, 0, 5, 1));
    EXPECT_FALSE(isSelected(s, e, 0, 2, 1));
    EXPECT_TRUE(isSelected({4, 0}, e, 0, 3, 2)); // two cells at 3..4, selection from 4
    // Across rows: the rest of the first row, whole rows between, the start of the last.
    EXPECT_TRUE(isSelected({4, 1}, {2, 3}, 1, 9, 1));
    EXPECT_TRUE(isSelected({4, 1}, {2, 3}, 2, 0, 1));
    EXPECT_TRUE(isSelected({4, 1}, {2, 3}, 3, 1, 1));
    EXPECT_FALSE(isSelected({4, 1}, {2, 3}, 3, 2, 1));
}

TEST(ViewPicture, OriginalPageLabelsShowWhereTheirRunStarts)
{
    shippedDictionary();
    BrailleDocument document;
    fillSection(document, u"あ\nい\nう\nえ");
    const char16_t* labels[] = {u"5", u"5", u"", u"5"};
    int i = 0;
    for (BrailleParagraph& p : document.section().paragraphs)
        p.rows.front().orgPage = labels[i++];
    BrailleDocumentCursor cursor;
    cursor.attach(&document);
    const std::vector<RowPicture> rows = pictureRows(document, cursor, 0, 10, {});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(u8(rows[0].originalPage), "p.5");
    EXPECT_EQ(rows[1].originalPage, u"");
    EXPECT_EQ(rows[2].originalPage, u"");
    EXPECT_EQ(u8(rows[3].originalPage), "p.5");
    EXPECT_TRUE(rows[0].characters[0].atCaret);
    // Link mode: no labels, no page ends.
    EXPECT_EQ(pictureRows(document, cursor, 0, 1, {22, true})[0].label, u"");
}

TEST(ViewPicture, TheBandShowsTheCaretRowAndItsCaretCell)
{
    shippedDictionary();
    BrailleDocument document;
    fillSection(document, u"がい う");
    BrailleDocumentCursor cursor;
    cursor.attach(&document, 0, 3);
    const BandPicture band = pictureBand(cursor);
    EXPECT_EQ(band.caretCell, 4u); // on the blank after い (が is two cells)
    ASSERT_EQ(band.characters.size(), 5u);
    EXPECT_TRUE(band.characters[2].atCaret);
    EXPECT_EQ(toDisplayCells(u" A\n"), u"\uE021"); // the blank and the line feed show nothing
    cursor.goToRowEnd();
    EXPECT_EQ(pictureBand(cursor).caretCell, 6u); // on the end marker
}
