// The braille page and line of a row and the way back, and the caret's place in the status bar.

#include "DocumentBuilder.h"
#include "PagePlace.h"
#include "TestSupport.h"
#include "ViewPicture.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace braille;
using namespace braille::test;

TEST(PagePlace, PageAndLineOfARowLeadBackToTheRowAndMatchItsLabel)
{
    EXPECT_EQ(pageLineOfRow(0, 22), (PageLine{1, 2}));
    EXPECT_EQ(pageLineOfRow(20, 22), (PageLine{1, 22}));
    EXPECT_EQ(pageLineOfRow(21, 22), (PageLine{2, 2}));
    for (std::uint32_t lines : {1u, 2u, 3u, 22u})
        for (std::uint32_t row = 0; row < 50; ++row) {
            const PageLine at = pageLineOfRow(row, lines);
            char label[40];
            std::snprintf(label, sizeof label, "%3u - %2u", at.page, at.line);
            ASSERT_EQ(u8(rowLabel(row, lines)), label) << lines << " lines, row " << row;
            const RowOfPageLine back = rowOfPageLine(at, lines, 50, u"本文");
            ASSERT_TRUE(back.row) << lines << " lines, row " << row << ": " << u8(back.problem);
            ASSERT_EQ(*back.row, row) << lines << " lines";
        }
}

TEST(PagePlace, APlaceOutsideTheSectionSaysWhatThereIs)
{
    // 45 rows of 21 a page: pages 1 and 2 full, page 3 with lines 2 to 4.
    const auto problem = [](std::uint32_t page, std::uint32_t line) {
        const RowOfPageLine found = rowOfPageLine({page, line}, 22, 45, u"本文");
        EXPECT_FALSE(found.row) << page << "-" << line;
        return u8(found.problem);
    };
    EXPECT_EQ(problem(4, 2), "4ページはありません。本文は3ページまでです。");
    EXPECT_EQ(problem(0, 2), "0ページはありません。本文は3ページまでです。");
    EXPECT_EQ(problem(3, 5), "3ページに5行はありません。行は2から4までです。");
    EXPECT_EQ(problem(1, 1), "1ページに1行はありません。行は2から22までです。"); // line 1 is the page line
    EXPECT_EQ(problem(2, 23), "2ページに23行はありません。行は2から22までです。");
    EXPECT_EQ(*rowOfPageLine({3, 4}, 22, 45, u"本文").row, 44u);
    // A section has at least its one row, on page 1.
    EXPECT_EQ(*rowOfPageLine({1, 2}, 22, 0, u"表紙").row, 0u);
}

TEST(PagePlace, TheCaretsPlaceCountsTheCellFromOneWithTheOriginalPage)
{
    shippedDictionary();
    BrailleDocument document;
    fillSection(document, u"abcdefghij\nk");
    document.setCellsPerLine(4);
    // Rows "abcd" "efgh" "ij$" "k*"; pages of three lines hold two rows.
    BrailleDocumentCursor cursor;
    EXPECT_EQ(u8(caretPlaceText(cursor, 3)), "");
    cursor.attach(&document, 2, 1);
    EXPECT_EQ(u8(caretPlaceText(cursor, 3)), "2ページ 2行 2マス");
    document.sections[Body].paragraphs.front().rows[2].orgPage = u"12";
    EXPECT_EQ(u8(caretPlaceText(cursor, 3)), "2ページ 2行 2マス 原本p.12");
    cursor.attach(&document, 1, 0);
    EXPECT_EQ(u8(caretPlaceText(cursor, 22)), "1ページ 3行 1マス");
}
