#include "Cells.h"

#include <gtest/gtest.h>

using namespace braille;

TEST(Cells, DotMasksAndCodesAreInverse)
{
    for (int mask = 0; mask < 64; ++mask) {
        char16_t cell = dotsToCell(mask);
        ASSERT_TRUE(isCellCode(cell)) << mask;
        EXPECT_EQ(cellToDots(cell), mask);
    }
    EXPECT_EQ(cellToDots(u' '), 0);
    EXPECT_EQ(cellToDots(u'A'), 1);
    EXPECT_EQ(cellToDots(u'#'), 0b111100); // 3456
    EXPECT_EQ(cellToDots(u'_'), 0b111000); // 456
    EXPECT_EQ(cellToDots(u'='), 0b111111);
    EXPECT_EQ(cellToDots(u'a'), -1);
    EXPECT_EQ(cellToDots(u'\n'), -1);
}

TEST(Cells, PrivateUseAndUnicodeForms)
{
    EXPECT_EQ(cellToPrivate(u'#'), u'\uE003');
    EXPECT_EQ(cellToPrivate(u'_'), u'\uE03F');
    EXPECT_EQ(privateToCell(u'\uE021'), u'A');
    EXPECT_EQ(cellsToUnicode(u"#A \n"), u"\u283C\u2801\u2800\n");
}
