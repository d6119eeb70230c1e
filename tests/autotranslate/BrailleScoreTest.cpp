#include "BrailleScore.h"

#include <gtest/gtest.h>

using namespace braille::test;

TEST(BrailleScore, AMissingBlankCostsTheWordsItSeparatesNotTheSentence)
{
    const SentenceScore s = scoreSentence(u"イッタ　コトガアル。", {u"イッタ コトガ アル。"});
    EXPECT_EQ(s.words, 3u);
    EXPECT_EQ(s.wordsRight, 1u);
    EXPECT_FALSE(s.exact);
}

TEST(BrailleScore, PunctuationBlanksWidthAndTheBestAcceptedVersionDoNotCount)
{
    const SentenceScore s = scoreSentence(u"コンニチワ、ＡＢＣ２", {u"キョーワ", u"こんにちわ、  ABC2"});
    EXPECT_TRUE(s.exact);
    EXPECT_EQ(s.wordsRight, 2u);
    // The connector after digits is added by the rules as the text is typed.
    EXPECT_TRUE(scoreSentence(u"８００エンデ", {u"800-エンデ"}).exact);
}
