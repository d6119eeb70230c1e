// BRAILLE mode: six-key chords, gaiji candidates and cells typed on the braille display.

#include "InputFixture.h"
#include "VirtualKeys.h"

namespace braille::test {
namespace {

class BrailleInput : public InputFixture {
protected:
    BrailleInput() { modes.toggleBraille(); }
};

TEST_F(BrailleInput, AChordInsertsTheSixDotCharacterOfItsPattern)
{
    EXPECT_EQ(braille.chord(3), kHandledCaretMoved); // dots 1 and 2
    EXPECT_EQ(cells(), "B");
    const BrailleCharacter* e = flatCharacters(document)[0];
    EXPECT_EQ(e->print, dictionary.gaijiSixDot(3).print);
    EXPECT_EQ(e->set, kGaijiSet);
    EXPECT_EQ(undo.size(), 2u);
    EXPECT_EQ(caret(), (CellPosition{1, 0}));
}

TEST_F(BrailleInput, ChordsRunNoRules)
{
    braille.chord(60); // dots 3-4-5-6: the number sign
    braille.chord(1);  // dot 1
    braille.chord(9);  // dots 1-4
    EXPECT_EQ(cells(), "#AC");
    braille.chord(1);
    EXPECT_EQ(cells(), "#ACA"); // no connector, no second sign
}

TEST_F(BrailleInput, AChordReplacesTheSelection)
{
    load(u"あいう");
    modes.active().keyDown(vk::Shift, 1, 0);
    modes.active().keyDown(vk::Right, 1, 0);
    modes.active().keyUp(vk::Shift, 1, 0);
    braille.chord(1);
    EXPECT_EQ(cells(), "ABC");
    EXPECT_EQ(flatCharacters(document)[0]->set, kGaijiSet);
}

TEST_F(BrailleInput, TheOwnChordTimerCollectsDotsUntilItsTick)
{
    EXPECT_TRUE(braille.isChordKey(u'f'));
    EXPECT_TRUE(braille.isChordKey(u'L'));
    EXPECT_FALSE(braille.isChordKey(u'a'));
    braille.startChordTimer();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.milliseconds, 100);
    braille.addChordKey(u'f');
    braille.addChordKey(u'd');
    EXPECT_EQ(braille.chordMask(), 3);
    braille.timerTick(1);
    EXPECT_EQ(cells(), "B");
    EXPECT_EQ(braille.chordMask(), 0);
    EXPECT_FALSE(timer.running);
}

TEST_F(BrailleInput, AKeyThatIsTheWholeOfOneGaijiKeyIsInsertedAtOnce)
{
    EXPECT_EQ(type(u"!"), kHandledCaretMoved);
    EXPECT_EQ(cells(), "!");
    const BrailleCharacter* e = flatCharacters(document)[0];
    EXPECT_EQ(e->set, kTextSet); // committed as the text character with the same cells
    EXPECT_FALSE(brailleList.visible);
}

TEST_F(BrailleInput, KeysThatBeginSeveralGaijiKeysShowTheListAndSpaceCycles)
{
    type(u"n");
    ASSERT_TRUE(brailleList.visible);
    ASSERT_GT(brailleList.lines.size(), 1u);
    press(vk::Space, u' ');
    EXPECT_EQ(brailleList.selected, 1u);
    EXPECT_EQ(cells(), ""); // Space chose; it inserted no blank
    EXPECT_EQ(press(vk::Up), kHandledCaretMoved);
    EXPECT_EQ(brailleList.selected, 0u);
    EXPECT_EQ(press(vk::Left), kNotHandled);
    type(u"umber");
    ASSERT_EQ(brailleList.lines.front(), u"number");
    press(vk::Return, u'\r');
    EXPECT_EQ(cells(), "#");
    EXPECT_FALSE(brailleList.visible);
}

TEST_F(BrailleInput, KeysThatBeginNoGaijiKeyAreDiscarded)
{
    type(u"nq");
    EXPECT_EQ(braille.pending(), u"");
    EXPECT_FALSE(brailleList.visible);
    EXPECT_EQ(cells(), "");
}

TEST_F(BrailleInput, SpaceWithNothingPendingIsOneBlank)
{
    press(vk::Space, u' ');
    EXPECT_EQ(cells(), " ");
}

TEST_F(BrailleInput, DisplayCellsOfTheRestrictedSetsGoThroughTheKeySets)
{
    EXPECT_EQ(braille.displayCell(6, u'A'), kHandledCaretMoved);
    EXPECT_EQ(print(), "あ");
    braille.displayCell(4, u'#');
    EXPECT_EQ(cells(), "A#");
    braille.displayCell(0, u' ');
    EXPECT_EQ(cells(), "A# ");
    EXPECT_EQ(undo.size(), 4u);
}

TEST_F(BrailleInput, DisplayCellsKeepTheirCells)
{
    braille.displayCell(2, u'1'); // outside the key sets a cell stays itself, never the digit key 1
    EXPECT_EQ(cells(), "1");
    load(u"");
    braille.displayCell(7, u'A');
    braille.displayCell(6, u'A');
    EXPECT_EQ(print(), "１あ"); // key-set entries find no signs in their own sets
    braille.displayCell(7, u'4'); // the full stop's cell, no digit key of the number set
    EXPECT_EQ(cells(), "AA4");
}

TEST_F(BrailleInput, BrailleRemembersTheModeUnderIt)
{
    EXPECT_TRUE(modes.isBraille());
    EXPECT_EQ(modes.modeText(), u"TEXT");
    EXPECT_EQ(modes.brailleText(), u"BRAILLE");
    modes.toggleBraille();
    EXPECT_TRUE(modes.isText());
    EXPECT_EQ(modes.brailleText(), u"");
}

} // namespace
} // namespace braille::test
