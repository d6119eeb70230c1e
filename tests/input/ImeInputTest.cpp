// TEXT mode: result strings of the input method, their echoes, the input method's modes and
// cells typed on a braille display.

#include "InputFixture.h"
#include "VirtualKeys.h"

namespace braille::test {
namespace {

using Conversion = InputMethod::Conversion;
using TextInput = InputFixture;

TEST_F(TextInput, AResultOfThreeKanaIsInsertedAtOnceAndItsEchoesInsertNothing)
{
    inputMethod.result = u"きょうは";
    EXPECT_EQ(text.charTyped(u'き'), kHandledCaretMoved);
    EXPECT_EQ(print(), "きょうは");
    EXPECT_EQ(undo.size(), 4u); // one step per piece the rules looked at: きょ, う, は
    EXPECT_EQ(text.charTyped(u'ょ'), kNotHandled);
    EXPECT_EQ(text.charTyped(u'う'), kNotHandled);
    EXPECT_EQ(text.charTyped(u'は'), kNotHandled);
    EXPECT_EQ(print(), "きょうは");
    EXPECT_EQ(cells(), "@[CU");
    EXPECT_TRUE(text.resultText().empty());
    // The next character begins a new result.
    commit(u"は");
    EXPECT_EQ(print(), "きょうはは");
}

TEST_F(TextInput, TheRulesRunInsideAResultAsWhenTypedKeyByKey)
{
    commit(u"５あ"); // one result gets the number sign and the connector inside it
    EXPECT_EQ(cells(), "#E-A");
    commit(u"、");
    EXPECT_EQ(cells(), "#E-A; ");
}

TEST_F(TextInput, AnAsciiCharacterIsItsOwnResult)
{
    inputMethod.open = false;
    inputMethod.result = u"ignored";
    type(u"1");
    EXPECT_EQ(print(), "\uE003１");
    EXPECT_EQ(cells(), "#A");
}

TEST_F(TextInput, ACharacterThatDoesNotBeginTheResultIsItsOwnResult)
{
    inputMethod.result = u"かき";
    type(u"あ");
    EXPECT_EQ(print(), "あ");
}

TEST_F(TextInput, AnEchoThatDoesNotComeIsNotWaitedFor)
{
    inputMethod.result = u"かき";
    type(u"か");     // "かき" inserted, "き" expected next
    inputMethod.result = u"あ";
    type(u"あ");     // a new result instead: it must not be swallowed
    EXPECT_EQ(print(), "かきあ");
}

TEST_F(TextInput, AResultThatConvertsToNothingInsertsNothing)
{
    inputMethod.result = u"€";
    EXPECT_EQ(type(u"€"), kHandledCaretMoved);
    EXPECT_EQ(print(), "");
    EXPECT_EQ(undo.size(), 1u);
}

TEST_F(TextInput, ActivateOpensTheInputMethodInHiraganaAndDeactivateClosesIt)
{
    EXPECT_TRUE(inputMethod.open);
    EXPECT_EQ(inputMethod.mode, Conversion::Hiragana);
    EXPECT_EQ(text.inputMethodState(), 8);
    modes.toggleTextMath();
    EXPECT_FALSE(inputMethod.open);
    EXPECT_EQ(inputMethod.mode, Conversion::Off);
    modes.toggleTextMath();
    EXPECT_TRUE(inputMethod.open);
    EXPECT_EQ(inputMethod.mode, Conversion::Hiragana);
}

TEST_F(TextInput, ShiftF2CyclesHiraganaKatakanaOff)
{
    text.toggleKana();
    EXPECT_EQ(inputMethod.mode, Conversion::Katakana);
    EXPECT_EQ(text.inputMethodState(), 2);
    text.toggleKana();
    EXPECT_FALSE(inputMethod.open);
    EXPECT_EQ(text.inputMethodState(), 0);
    text.toggleKana();
    EXPECT_TRUE(inputMethod.open);
    EXPECT_EQ(inputMethod.mode, Conversion::Hiragana);
    EXPECT_EQ(text.inputMethodState(), 8);
}

TEST_F(TextInput, TheCompositionIsPlacedBesideTheCaret)
{
    text.paintPending(10, 20);
    EXPECT_EQ(inputMethod.x, 12);
    EXPECT_EQ(inputMethod.y, 22);
}

// Cells typed on a braille display, collected until a key of the display's set is complete.
TEST_F(TextInput, BufferedDisplayCellsAreConvertedWhenAKeyIsComplete)
{
    EXPECT_EQ(text.displayCellBuffered(6, u'@'), kNotHandled); // the yōon prefix alone is no key
    EXPECT_EQ(text.pending(), u"@");
    EXPECT_EQ(text.displayCellBuffered(6, u'['), kHandledCaretMoved);
    EXPECT_EQ(print(), "きょ");
    EXPECT_EQ(text.pending(), u"");
    EXPECT_EQ(text.flushDisplayCells(6), kNotHandled);
}

TEST_F(TextInput, DisplayNumbersTakeNoSignTheDisplayDidNotType)
{
    text.displayCellBuffered(7, u'A');
    text.displayCellBuffered(7, u'B');
    EXPECT_EQ(print(), "１２");
    EXPECT_EQ(cells(), "AB"); // a key-set digit: no number sign in that set, the display typed it
}

TEST_F(TextInput, FlushTypesCellsThatBeginNoKeyAsTheCellsThemselves)
{
    text.displayCellBuffered(6, u'@');
    EXPECT_EQ(text.flushDisplayCells(6), kHandledCaretMoved);
    EXPECT_EQ(cells(), "@");
    EXPECT_EQ(print(), "\uE020");
    EXPECT_EQ(text.pending(), u"");
}

TEST_F(TextInput, ADisplayCellConvertedAtOnce)
{
    EXPECT_EQ(text.displayCell(6, u'A'), kHandledCaretMoved);
    EXPECT_EQ(print(), "あ");
    EXPECT_EQ(undo.size(), 2u);
}

} // namespace
} // namespace braille::test
