// What the page layout dialog accepts.

#include "PageLayoutInput.h"

#include <gtest/gtest.h>

using namespace braille;

TEST(PageLayoutInput, WholeNumbersFromOneToAHundred)
{
    EXPECT_EQ(readLayoutField(u"22").value, 22);
    EXPECT_EQ(readLayoutField(u" ３２ ").value, 32);
    EXPECT_EQ(readLayoutField(u"0").message, u"1 から 100 までの整数を入力してください。");
    EXPECT_EQ(readLayoutField(u"101").message, u"1 から 100 までの整数を入力してください。");
    EXPECT_EQ(readLayoutField(u"99999999999").message, u"1 から 100 までの整数を入力してください。");
    EXPECT_EQ(readLayoutField(u"2a").message, u"整数を入力してください。");
    EXPECT_EQ(readLayoutField(u"").message, u"整数を入力してください。");
    const LayoutInput both = readPageLayout(u"1", u"100");
    ASSERT_TRUE(both.layout);
    EXPECT_EQ(both.layout->LineNumber, 1u);
    EXPECT_EQ(both.layout->ColumnNumber, 100u);
    EXPECT_FALSE(readPageLayout(u"22", u"0").layout);
}
