#include "UserReadings.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace braille::test;
using namespace braille::autotranslate;

TEST(UserReadings, MalformedLinesAreSkippedAndReportedWithTheirLineNumbers)
{
    std::vector<UserReadingError> errors;
    const UserReadings r = UserReadings::parse(u"# names\n"
                                               u"福沢\tふくざわ\n"
                                               u"no tab here\n"
                                               u"\tカナ\n"
                                               u"点字\tテン字\n"
                                               u"点字図書館\tテンジ トショカン\n",
                                               errors);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].line, 3);
    EXPECT_EQ(errors[1].line, 4);
    EXPECT_EQ(errors[2].line, 5);
    ASSERT_EQ(r.entries().size(), 2u);
    // Hiragana becomes katakana, a space a braille blank; the longest print matches first.
    EXPECT_EQ(r.match(u"点字図書館へ", 0)->braille, u"テンジ\u3000トショカン");
    EXPECT_EQ(r.match(u"の福沢", 1)->braille, u"フクザワ");
    EXPECT_EQ(r.match(u"福", 0), nullptr);
}

TEST(UserReadings, TheFileLivesInTheConfigFolderAndAMissingFileIsEmpty)
{
    TempDir dir;
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(UserReadings::defaultPath(), (dir.path() / "Tenkora/readings.tsv").string());
    std::vector<UserReadingError> errors;
    EXPECT_TRUE(UserReadings::load(UserReadings::defaultPath(), errors).empty());
    EXPECT_TRUE(errors.empty());
    std::filesystem::create_directories(dir.path() / "Tenkora");
    writeBytes(dir.path() / "Tenkora/readings.tsv", "\xEF\xBB\xBF宜野湾\tギノワン\r\n");
    EXPECT_EQ(UserReadings::load(UserReadings::defaultPath(), errors).entries().at(0).braille, u"ギノワン");
}

TEST(UserReadings, ALargeDictionaryLoadsInTimeAndALaterLineForThePrintWins)
{
    // Before, every entry rebuilt the index: 20,000 entries took half a minute.
    std::u16string text;
    for (int n = 0; n < 20000; ++n) {
        const std::string number = std::to_string(n);
        text += u"用語" + std::u16string(number.begin(), number.end()) + u"\tようご\n";
    }
    text += u"用語5\tごばん\n";
    std::vector<UserReadingError> errors;
    const auto start = std::chrono::steady_clock::now();
    const UserReadings r = UserReadings::parse(text, errors);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(r.entries().size(), 20000u);
    EXPECT_EQ(r.match(u"の用語5。", 1)->braille, u"ゴバン");
    EXPECT_EQ(r.match(u"用語19999", 0)->print, u"用語19999"); // the longest entry first
}
