// MATH mode: keys looked up in the math set, the candidate list, commits, Enter and Space.

#include "InputFixture.h"

#include <algorithm>
#include "Utf.h"
#include "VirtualKeys.h"

namespace braille::test {
namespace {

class MathInput : public InputFixture {
protected:
    MathInput()
    {
        modes.toggleTextMath();
        EXPECT_EQ(cells(), ";"); // the math opener at the start of the row
    }
};

TEST_F(MathInput, AKeyThatNoOtherExtendsIsInsertedAtOnce)
{
    EXPECT_EQ(type(u"+"), kHandledCaretMoved);
    EXPECT_EQ(print(), "\uE01B＋");
    EXPECT_EQ(math.pending(), u"");
    EXPECT_FALSE(mathList.visible);
    EXPECT_EQ(undo.size(), 3u); // the opener, ＋
}

TEST_F(MathInput, AKeyThatBeginsSeveralShowsThemAllInAscendingOrder)
{
    type(u"c");
    ASSERT_GT(mathList.lines.size(), 1u);
    EXPECT_TRUE(mathList.visible);
    EXPECT_EQ(mathList.selected, 0u);
    for (std::size_t i = 0; i < mathList.lines.size(); ++i) {
        EXPECT_EQ(mathList.lines[i].front(), u'c');
        if (i > 0) {
            EXPECT_LE(mathList.lines[i - 1], mathList.lines[i]);
        }
    }
    EXPECT_EQ(mathList.lines, math.candidates().keys());
    type(u"u");
    EXPECT_EQ(mathList.lines.front(), u"cup");
}

TEST_F(MathInput, UpAndDownWrapAroundTheCandidates)
{
    type(u"c");
    const std::size_t n = mathList.lines.size();
    EXPECT_EQ(press(vk::Up), kHandledCaretMoved);
    EXPECT_EQ(mathList.selected, n - 1);
    press(vk::Down);
    EXPECT_EQ(mathList.selected, 0u);
    EXPECT_EQ(press(vk::Left), kNotHandled); // caret keys wait while keys are pending
}

TEST_F(MathInput, SpaceChoosesTheNextCandidateAndNeverInsertsABlank)
{
    type(u"c");
    press(vk::Space, u' ');
    EXPECT_EQ(mathList.selected, 1u);
    EXPECT_EQ(cells(), ";");
    const BrailleCharacter* second = math.candidates()[1].entry;
    press(vk::Return, u'\r');
    const EntryList chars = flatCharacters(document);
    EXPECT_EQ(std::count(chars.begin(), chars.end(), second), 1) << print();
    EXPECT_TRUE(math.candidates().empty());
}

TEST_F(MathInput, EnterCommitsTheSelectedCandidate)
{
    type(u"cup");
    press(vk::Return, u'\r');
    EXPECT_EQ(print(), "\uE01B□∪□");
    EXPECT_FALSE(mathList.visible);
    EXPECT_TRUE(mathList.lines.empty());
}

TEST_F(MathInput, WhatNoKeyBeginsIsConvertedByLongestMatchOnEnter)
{
    type(u"x1");
    EXPECT_EQ(math.pending(), u"x1");
    EXPECT_FALSE(mathList.visible);
    press(vk::Return, u'\r');
    // Each converted character gets its rules, as when typed key by key (Enter after each):
    // the digit gets its number sign.
    EXPECT_EQ(print(), "\uE01Bｘ\uE003１");
    EXPECT_EQ(cells(), ";X#A");
}

TEST_F(MathInput, BackspaceAndEscapeWorkOnThePendingKeys)
{
    type(u"cu");
    press(vk::Back, 8);
    EXPECT_EQ(math.pending(), u"c");
    press(vk::Escape, 27);
    EXPECT_EQ(math.pending(), u"");
    EXPECT_FALSE(mathList.visible);
    EXPECT_EQ(cells(), ";");
    press(vk::Back, 8); // nothing pending: the opener goes
    EXPECT_EQ(cells(), "");
}

TEST_F(MathInput, EnterOnNothingPendingStartsANewLineWithTheOpener)
{
    type(u"x");
    press(vk::Return, u'\r');
    press(vk::Return, u'\r');
    EXPECT_EQ(cells(), ";X$;");
    EXPECT_EQ(caret(), (CellPosition{1, 1}));
    undo.undo();
    EXPECT_EQ(cells(), ";X"); // the line break and the opener are one step
}

TEST_F(MathInput, TheSecondSpaceInARowAddsTheOpener)
{
    type(u"+");
    press(vk::Space, u' ');
    EXPECT_EQ(cells(), ";5 ");
    press(vk::Space, u' ');
    EXPECT_EQ(cells(), ";5  ;");
    EXPECT_EQ(undo.size(), 5u);
}

TEST_F(MathInput, ACommittedDigitGetsTheNumberSign)
{
    type(u"5");
    EXPECT_EQ(cells(), ";#E");
    type(u"3");
    EXPECT_EQ(cells(), ";#EC");
}

TEST_F(MathInput, TheListIsShownOnlyWhileMathIsActive)
{
    type(u"c");
    EXPECT_TRUE(mathList.visible);
    modes.toggleBraille();
    EXPECT_FALSE(mathList.visible);
    modes.toggleBraille();
    EXPECT_TRUE(mathList.visible);
}

TEST_F(MathInput, TheListIsPlacedAtTheCaret)
{
    math.paintPending(30, 40);
    EXPECT_EQ(mathList.x, 30);
    EXPECT_EQ(mathList.y, 40);
}

TEST_F(MathInput, BufferedDisplayCellsUseTheMathKeySets)
{
    EXPECT_EQ(math.displayCellBuffered(11, u'A'), kHandledCaretMoved);
    EXPECT_EQ(print(), "\uE01B１");
    EXPECT_EQ(math.displayCellBuffered(10, u'@'), kNotHandled);
    EXPECT_EQ(math.pending(), u"@"); // kept: it may begin a key
    math.displayCellBuffered(10, u'[');
    EXPECT_EQ(print(), "\uE01B１きょ");
    math.displayCellBuffered(10, u'@');
    math.discardPending();
    EXPECT_EQ(math.flushDisplayCells(10), kNotHandled);
}

} // namespace
} // namespace braille::test
