#include "ReviewSidecar.h"

#include "TestSupport.h"

#include <gtest/gtest.h>


using namespace braille;

TEST(ReviewSidecar, RoundTripAndAFileThatCannotBeRead)
{
    const test::TempDir folder;
    const std::filesystem::path book = folder.path() / u8"本.bml";
    EXPECT_EQ(reviewSidecarPath(book), folder.path() / u8"本.bml.review");
    // No file: no list, and nothing to report.
    ReviewRead none = readReviewSidecar(reviewSidecarPath(book));
    EXPECT_FALSE(none.found);
    EXPECT_TRUE(none.error.empty());

    std::vector<ReviewItem> items = {
        {ReviewKind::GuessedReading, Body, {3, 2}, {3, 6}, u"今日", u"@[C'"},
        {ReviewKind::BlanksAfterPunctuation, Cover, {0, 1}, {0, 5}, u"。\t\\", u"4   ", 3, true},
        {ReviewKind::EmptyParagraphs, Colophon, {2, 0}, {4, 0}, u"\n\n", u"\n\n", 3},
    };
    ASSERT_TRUE(writeReviewSidecar(reviewSidecarPath(book), items).ok);
    const ReviewRead read = readReviewSidecar(reviewSidecarPath(book));
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.error, "");
    ASSERT_EQ(read.items.size(), 3u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(read.items[i].kind, items[i].kind);
        EXPECT_EQ(read.items[i].section, items[i].section);
        EXPECT_EQ(read.items[i].begin, items[i].begin);
        EXPECT_EQ(read.items[i].end, items[i].end);
        EXPECT_EQ(read.items[i].print, items[i].print);
        EXPECT_EQ(read.items[i].braille, items[i].braille);
        EXPECT_EQ(read.items[i].count, items[i].count);
        EXPECT_EQ(read.items[i].done, items[i].done);
    }
    // A damaged file is reported with its line and nothing of it is used.
    for (const char* bad : {"something else\n", "tenkora-review 1\nguessed\tbody\t1\t2\n",
                            "tenkora-review 1\nguessed\tbody\t1\t2\t1\tx\t0\t0\ta\tb\n",
                            "tenkora-review 1\nguessed\tbody\t1\t2\t1\t4\t0\t0\ta\\q\tb\n"}) {
        test::writeBytes(reviewSidecarPath(book), bad);
        const ReviewRead damaged = readReviewSidecar(reviewSidecarPath(book));
        EXPECT_TRUE(damaged.found);
        EXPECT_NE(damaged.error, "") << bad;
        EXPECT_TRUE(damaged.items.empty()) << bad;
    }
    // A link planted under the list file's name is not followed: the file it points at stays.
    const std::filesystem::path other = book.parent_path() / "someone-elses.txt";
    test::writeBytes(other, "theirs");
    std::filesystem::remove(reviewSidecarPath(book));
    std::filesystem::create_symlink(other, reviewSidecarPath(book));
    EXPECT_FALSE(writeReviewSidecar(reviewSidecarPath(book), items));
    EXPECT_EQ(test::readBytes(other), "theirs");
}
