// The embossing job's bytes without CUPS: page ranges, copies, both sides, the queue proposed,
// and what each failure tells the user.

#include "CellExport.h"
#include "CupsEmbosser.h"
#include "EmbossJob.h"

#include <gtest/gtest.h>

using namespace braille;

namespace {

// Pages whose one line names them, so that the bytes show which page went where.
std::vector<BraillePage> pages(int count)
{
    std::vector<BraillePage> out;
    for (int i = 1; i <= count; ++i)
        out.push_back(BraillePage{Body, std::uint32_t(i), {"#" + std::string(1, char('A' + i - 1))}});
    return out;
}

} // namespace

TEST(EmbossPageRange, ReadsARangeOrOnePageAndRefusesTheRest)
{
    EXPECT_EQ(parsePageRange("2-5"), (PageRange{2, 5}));
    EXPECT_EQ(parsePageRange("7"), (PageRange{7, 7}));
    for (const char* bad : {"", "0-3", "3-", "-3", "a", "2-3-4", " 2-3", "2 -3", "1-0", "99999999999"})
        EXPECT_FALSE(parsePageRange(bad).has_value()) << bad;
}

TEST(EmbossPageRange, ARangeMustLieInTheBookAndRunForwards)
{
    EXPECT_EQ(rangeProblem({}, 4), "");
    EXPECT_EQ(rangeProblem({1, 4}, 4), "");
    EXPECT_EQ(rangeProblem({4, 4}, 4), "");
    EXPECT_NE(rangeProblem({3, 5}, 4).find("1 から 4 まで"), std::string::npos);
    EXPECT_NE(rangeProblem({3, 2}, 4), "");
    EXPECT_NE(rangeProblem({}, 0), ""); // an empty book has nothing to emboss
}

TEST(EmbossBytes, TheWholeBookOnceIsTheBrfExport)
{
    const std::vector<BraillePage> book = pages(3);
    EXPECT_EQ(embossBytes(book, {}, 1, false), writeBrf(book));
    EXPECT_EQ(embossBytes(book, {}, 1, false), "#A\r\n\f#B\r\n\f#C\r\n");
}

TEST(EmbossBytes, ARangeIsCutAndEachCopyStartsOnANewPage)
{
    const std::vector<BraillePage> book = pages(5);
    EXPECT_EQ(embossBytes(book, {2, 3}, 1, false), "#B\r\n\f#C\r\n");
    EXPECT_EQ(embossBytes(book, {2, 3}, 3, false), "#B\r\n\f#C\r\n\f#B\r\n\f#C\r\n\f#B\r\n\f#C\r\n");
    EXPECT_EQ(embossBytes(book, {5, 5}, 2, false), "#E\r\n\f#E\r\n");
}

TEST(EmbossBytes, OnBothSidesAnOddCopyLeavesTheBackOfItsLastSheetEmpty)
{
    const std::vector<BraillePage> book = pages(5);
    // Three pages: the next copy would start on the back of the second sheet without the empty page.
    EXPECT_EQ(embossBytes(book, {1, 3}, 2, true), "#A\r\n\f#B\r\n\f#C\r\n\f\f#A\r\n\f#B\r\n\f#C\r\n");
    // An even copy needs nothing, and the last copy is never followed by an empty page.
    EXPECT_EQ(embossBytes(book, {1, 2}, 2, true), "#A\r\n\f#B\r\n\f#A\r\n\f#B\r\n");
    EXPECT_EQ(embossBytes(book, {1, 3}, 1, true), "#A\r\n\f#B\r\n\f#C\r\n");
}

TEST(EmbossQueues, TheProposalIsTheLastUsedThenTheDefaultBrfQueueThenTheFirst)
{
    QueueList list;
    list.queues = {{"emb-a", "", "", true}, {"emb-b", "", "", true}, {"laser", "", "", false}};
    list.queues[2].isDefault = true; // a default that cannot take BRF is passed over
    EXPECT_EQ(list.proposal("emb-b"), "emb-b");
    EXPECT_EQ(list.proposal("gone"), "emb-a");
    EXPECT_EQ(list.proposal(""), "emb-a");
    list.queues[1].isDefault = true;
    EXPECT_EQ(list.proposal("gone"), "emb-b");
    EXPECT_EQ(QueueList{}.proposal("emb-a"), "");
}

TEST(EmbossFailure, EachFailureSaysWhatHappenedInJapanese)
{
    EXPECT_EQ((CupsFailure{CupsFailure::NoServer, "", "/run/cups/cups.sock: No such file or directory", 0}).message(),
              "CUPS の印刷サーバーに接続できません（/run/cups/cups.sock: No such file or directory）。"
              "CUPS が動いているか確かめてください。");
    EXPECT_EQ((CupsFailure{CupsFailure::UnknownQueue, "emb", "", 0}).message(), "プリンタ「emb」は CUPS にありません。");
    EXPECT_EQ((CupsFailure{CupsFailure::Refused, "emb", "not accepting jobs", 0}).message(),
              "プリンタ「emb」は印刷を受け付けませんでした（not accepting jobs）。");
    EXPECT_EQ((CupsFailure{CupsFailure::Failed, "emb", "ジョブが中止されました", 12}).message(),
              "プリンタ「emb」のジョブ 12 は印刷できませんでした（ジョブが中止されました）。");
    EXPECT_NE((CupsFailure{CupsFailure::NoQueue, "", "", 0}).message().find("キュー"), std::string::npos);
    EXPECT_EQ(CupsFailure{}.message(), "");
}
