// Replays the fuzz corpora: the seeds and every input that once made a check fail.

#include "FuzzChecks.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille::test;

namespace {

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.is_regular_file())
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(FuzzRegression, BmlReaderCorpus)
{
    shippedDictionary();
    TempDir scratch;
    const auto files = filesIn(sourceDir() / "tests/data/fuzz/bml");
    EXPECT_GE(files.size(), 5u);
    for (const auto& f : files)
        EXPECT_EQ(checkBmlInput(readBytes(f), scratch.path()), "") << f.filename();
}

TEST(FuzzRegression, LinkTextCorpus)
{
    shippedDictionary();
    TempDir scratch;
    const auto files = filesIn(sourceDir() / "tests/data/fuzz/link");
    EXPECT_GE(files.size(), 5u);
    for (const auto& f : files)
        EXPECT_EQ(checkLinkTextInput(readBytes(f), scratch.path()), "") << f.filename();
}
