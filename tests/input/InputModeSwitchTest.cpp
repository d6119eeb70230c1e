// F2 and F4: the modes TEXT, MATH and BRAILLE, the math opener and the status texts.

#include "InputFixture.h"

namespace braille::test {
namespace {

using Modes = InputFixture;

TEST_F(Modes, F2AtTheStartOfARowInsertsTheMathOpenerAndF2AgainTakesItOut)
{
    load(u"あい\n");
    cursor.goTo(1, 0);
    modes.toggleTextMath();
    EXPECT_TRUE(modes.isMath());
    EXPECT_EQ(modes.modeText(), u"MATH");
    EXPECT_EQ(cells(), "AB$;");
    EXPECT_EQ(caret(), (CellPosition{1, 1}));
    modes.toggleTextMath();
    EXPECT_TRUE(modes.isText());
    EXPECT_EQ(modes.modeText(), u"TEXT");
    EXPECT_EQ(cells(), "AB$");
    EXPECT_EQ(caret(), (CellPosition{0, 1}));
}

TEST_F(Modes, F2AfterABlankInsertsTheOpenerAndAfterALetterNothing)
{
    load(u"あ い", 0, 2);
    modes.toggleTextMath();
    EXPECT_EQ(cells(), "A ;B");
    modes.toggleTextMath();
    EXPECT_EQ(cells(), "A B");
    load(u"あい", 0, 1);
    modes.toggleTextMath();
    EXPECT_TRUE(modes.isMath());
    EXPECT_EQ(cells(), "AB");
}

TEST_F(Modes, LeavingMathKeepsAnOpenerThatSomethingFollows)
{
    modes.toggleTextMath();
    type(u"5");
    modes.toggleTextMath();
    EXPECT_EQ(cells(), ";#E");
}

TEST_F(Modes, TheOpenerIsOneUndoStep)
{
    modes.toggleTextMath();
    EXPECT_EQ(undo.size(), 2u);
    undo.undo();
    EXPECT_EQ(cells(), "");
}

TEST_F(Modes, F4InMathTurnsBrailleOnOverMathAndF4AgainReturnsToMath)
{
    modes.toggleTextMath();
    type(u"+");
    modes.toggleBraille();
    EXPECT_TRUE(modes.isBraille());
    EXPECT_EQ(modes.modeText(), u"MATH");
    EXPECT_EQ(modes.brailleText(), u"BRAILLE");
    EXPECT_EQ(&modes.lastTextOrMath(), static_cast<InputSystem*>(&math));
    modes.toggleBraille();
    EXPECT_TRUE(modes.isMath());
    EXPECT_EQ(cells(), ";5");
}

TEST_F(Modes, F4OverTextLeavesTheInputMethodAndComesBackToIt)
{
    modes.toggleBraille();
    EXPECT_EQ(modes.modeText(), u"TEXT");
    EXPECT_FALSE(inputMethod.open);
    modes.toggleBraille();
    EXPECT_TRUE(modes.isText());
    EXPECT_TRUE(inputMethod.open);
}

TEST_F(Modes, F2InBrailleSwitchesTheModeUnderItAndLeavesBraille)
{
    modes.toggleBraille(); // over TEXT
    modes.toggleTextMath();
    EXPECT_TRUE(modes.isMath());
    EXPECT_EQ(cells(), ";");
    EXPECT_EQ(&modes.lastTextOrMath(), static_cast<InputSystem*>(&text)); // not changed
}

TEST_F(Modes, F2InBrailleOverMathReturnsToText)
{
    modes.toggleTextMath();
    modes.toggleBraille();
    modes.toggleTextMath();
    EXPECT_TRUE(modes.isText());
    EXPECT_EQ(cells(), ""); // the opener with nothing after it went
}

} // namespace
} // namespace braille::test
