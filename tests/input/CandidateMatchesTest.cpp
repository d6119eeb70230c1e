// The candidate search over a descending key index.

#include "CandidateMatches.h"
#include "CharacterDictionary.h"

#include <gtest/gtest.h>

namespace braille {
namespace {

class CandidateMatchesTest : public ::testing::Test {
protected:
    CandidateMatchesTest()
    {
        for (const char16_t* key : {u"c", u"cap", u"cup", u"cupdot", u"d", u"b", u"cap"})
            set.addSource(key, set.findOrCreate(key, u"A"));
        set.addSource(u"c\xFFFF", set.findOrCreate(u"c\xFFFF", u"B"));
        set.addSource(u"c\xFFFFx", set.findOrCreate(u"c\xFFFFx", u"C"));
    }
    CharacterSet set{3};
    CandidateMatches matches;
};

TEST_F(CandidateMatchesTest, EveryKeyWithThePrefixInAscendingOrderAndEachOnce)
{
    matches.search(set.bySource(), u"c");
    EXPECT_EQ(matches.keys(), (std::vector<std::u16string>{u"c", u"cap", u"cup", u"cupdot", u"c\xFFFF", u"c\xFFFFx"}));
    EXPECT_EQ(matches[1].entry, set.firstBySource(u"cap"));
    matches.search(set.bySource(), u"cu");
    EXPECT_EQ(matches.keys(), (std::vector<std::u16string>{u"cup", u"cupdot"}));
    matches.search(set.bySource(), u"cupdot");
    EXPECT_EQ(matches.size(), 1u);
}

TEST_F(CandidateMatchesTest, APrefixEndingInTheLastCodeUnit)
{
    matches.search(set.bySource(), u"c\xFFFF");
    EXPECT_EQ(matches.keys(), (std::vector<std::u16string>{u"c\xFFFF", u"c\xFFFFx"}));
}

TEST_F(CandidateMatchesTest, NothingForAnEmptyPrefixOrOneNoKeyBegins)
{
    matches.search(set.bySource(), u"");
    EXPECT_TRUE(matches.empty());
    matches.search(set.bySource(), u"ca\xFFFF");
    EXPECT_TRUE(matches.empty());
    matches.search(set.bySource(), u"e");
    EXPECT_TRUE(matches.empty());
    EXPECT_EQ(matches.selectedCandidate(), nullptr);
}

TEST_F(CandidateMatchesTest, TheSelectionWrapsAround)
{
    matches.search(set.bySource(), u"cu");
    EXPECT_EQ(matches.selected(), 0u);
    matches.selectPrevious();
    EXPECT_EQ(matches.selected(), 1u);
    matches.selectNext();
    EXPECT_EQ(matches.selected(), 0u);
    matches.selectNext();
    matches.selectNext();
    EXPECT_EQ(matches.selected(), 0u);
}

} // namespace
} // namespace braille
