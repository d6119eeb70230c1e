// Replays the automatic translation's fuzz corpus: the seeds and every input that once crashed
// the analyser or made the check fail.

#include "FuzzChecks.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace braille::test;

TEST(AutoTranslateFuzzRegression, CorpusAndFormerCrashes)
{
    TempDir scratch;
    std::set<std::filesystem::path> inputs;
    for (const auto& e : std::filesystem::directory_iterator(sourceDir() / "tests/data/fuzz/autotranslate"))
        inputs.insert(e.path());
    EXPECT_GE(inputs.size(), 6u);
    for (const auto& input : inputs)
        EXPECT_EQ(checkAutoTranslateInput(readBytes(input), scratch.path()), "") << input.filename();
}
