// The caret keys, selection, Backspace/Delete with their undo steps and the common characters,
// shared by every input system (driven here through the TEXT system).

#include "InputFixture.h"
#include "PageLayout.h"
#include "VirtualKeys.h"

namespace braille::test {
namespace {

using Movement = InputFixture;

TEST_F(Movement, BackspaceAtTheStartOfTheSectionIsNotHandled)
{
    load(u"あい");
    EXPECT_EQ(press(vk::Back), kNotHandled);
    EXPECT_EQ(cells(), "AB");
    EXPECT_EQ(undo.size(), 1u);
}

TEST_F(Movement, DeleteAtTheEndOfTheSectionIsHandledAndChangesNothing)
{
    load(u"あい");
    toEnd();
    EXPECT_EQ(press(vk::Delete), kHandledCaretMoved);
    EXPECT_EQ(cells(), "AB");
    EXPECT_EQ(undo.size(), 1u);
}

TEST_F(Movement, BackspaceDeletesTheCharacterBeforeTheCaretAsOneStep)
{
    load(u"あいう", 0, 2);
    EXPECT_EQ(press(vk::Back, 8), kHandledCaretMoved);
    EXPECT_EQ(cells(), "AC");
    EXPECT_EQ(caret(), (CellPosition{1, 0}));
    undo.undo();
    EXPECT_EQ(cells(), "ABC");
    undo.redo();
    EXPECT_EQ(cells(), "AC");
}

TEST_F(Movement, DeleteDeletesTheCharacterAtTheCaret)
{
    load(u"あいう", 0, 1);
    press(vk::Delete);
    EXPECT_EQ(cells(), "AC");
    EXPECT_EQ(caret(), (CellPosition{1, 0}));
    undo.undo();
    EXPECT_EQ(cells(), "ABC");
}

TEST_F(Movement, BackspaceOrDeleteWithASelectionDeletesOnlyTheSelectionAsOneStep)
{
    for (int key : {vk::Back, vk::Delete}) {
        load(u"あいう えお\nかき", 0, 1);
        modes.active().keyDown(vk::Shift, 1, 0);
        for (int i = 0; i < 6; ++i)
            modes.active().keyDown(vk::Right, 1, 0);
        modes.active().keyUp(vk::Shift, 1, 0);
        EXPECT_TRUE(cursor.hasSelection());
        EXPECT_EQ(press(key), kHandledCaretMoved);
        EXPECT_EQ(cells(), "A*<") << key; // い う _ え お and the line break are gone
        EXPECT_EQ(caret(), (CellPosition{1, 0}));
        EXPECT_EQ(undo.size(), 2u);
        undo.undo();
        EXPECT_EQ(cells(), "ABC FI$*<");
        undo.redo();
        EXPECT_EQ(cells(), "A*<");
    }
}

TEST_F(Movement, ShiftExtendsTheSelectionAndAPlainMoveCollapsesIt)
{
    load(u"あいうえ", 0, 0);
    modes.active().keyDown(vk::Shift, 1, 0);
    modes.active().keyDown(vk::Right, 1, 0);
    modes.active().keyDown(vk::Right, 1, 0);
    EXPECT_EQ(cursor.anchor, (CellPosition{0, 0}));
    EXPECT_EQ(cursor.end, (CellPosition{2, 0}));
    modes.active().keyUp(vk::Shift, 1, 0);
    modes.active().keyDown(vk::Left, 1, 0);
    EXPECT_FALSE(cursor.hasSelection());
    EXPECT_EQ(cursor.end, (CellPosition{1, 0}));
}

TEST_F(Movement, ControlUpScrollsWithoutMovingTheCaretAndShiftControlUpIsPassedOn)
{
    load(u"あ\nい\nう", 2, 0);
    scroll = {2, 10, 22};
    EXPECT_EQ(press(vk::Up, 0, vk::ControlHeldFlag), kHandled);
    EXPECT_EQ(scroll.position, 1u);
    EXPECT_EQ(caret(), (CellPosition{0, 2}));
    EXPECT_EQ(press(vk::Down, 0, vk::ControlHeldFlag), kHandled);
    EXPECT_EQ(scroll.position, 2u);
    modes.active().keyDown(vk::Shift, 1, 0);
    EXPECT_EQ(modes.active().keyDown(vk::Up, 1, vk::ControlHeldFlag), kNotHandled);
    EXPECT_EQ(caret(), (CellPosition{0, 2}));
    modes.active().keyUp(vk::Shift, 1, 0);
    EXPECT_EQ(press(vk::Up), kHandledCaretMoved);
    EXPECT_EQ(caret(), (CellPosition{0, 1}));
}

TEST_F(Movement, PageKeysScrollAndMoveByAPage)
{
    std::u16string body;
    for (int i = 0; i < 30; ++i)
        body += u"あ\n";
    load(body, 25, 0);
    scroll = {20, 9, 10};
    press(vk::PageUp);
    EXPECT_EQ(scroll.position, 10u);
    EXPECT_EQ(cursor.row(), 15u);
    press(vk::PageDown);
    press(vk::PageDown);
    EXPECT_EQ(scroll.position, 9u); // clamped at the maximum
    EXPECT_EQ(cursor.row(), 30u);   // the last row
}

TEST_F(Movement, HomeAndEndGoToTheRowsEnds)
{
    load(u"あいう", 0, 1);
    press(vk::End);
    EXPECT_EQ(caret(), (CellPosition{3, 0})); // on the end marker
    press(vk::Home);
    EXPECT_EQ(caret(), (CellPosition{0, 0}));
    EXPECT_EQ(cursor.desiredColumn, 0u);
}

TEST_F(Movement, EnterSplitsTheParagraphAsOneStep)
{
    load(u"あいう", 0, 1);
    EXPECT_EQ(press(vk::Return, u'\r'), kHandledCaretMoved);
    EXPECT_EQ(rows(), "あ$|2\nいう*|3\n");
    EXPECT_EQ(caret(), (CellPosition{0, 1}));
    undo.undo();
    EXPECT_EQ(rows(), "あいう*|4\n");
}

TEST_F(Movement, SpaceInsertsOneBlankAlthoughItsCharacterFollows)
{
    load(u"あい", 0, 1);
    press(vk::Space, u' ');
    EXPECT_EQ(cells(), "A B");
    EXPECT_EQ(undo.size(), 2u);
}

TEST_F(Movement, TheIdeographicSpaceIsABlank)
{
    load(u"あい", 0, 1);
    type(u"\u3000");
    EXPECT_EQ(cells(), "A B");
    EXPECT_EQ(caret(), (CellPosition{2, 0}));
}

TEST_F(Movement, TypingOverASelectionReplacesIt)
{
    load(u"あいう", 0, 0);
    modes.active().keyDown(vk::Shift, 1, 0);
    modes.active().keyDown(vk::Right, 1, 0);
    modes.active().keyDown(vk::Right, 1, 0);
    modes.active().keyUp(vk::Shift, 1, 0);
    commit(u"か");
    EXPECT_EQ(print(), "かう");
    EXPECT_EQ(undo.size(), 3u); // the deletion and the insertion
}

TEST_F(Movement, RoutingPutsTheCaretOnTheCellInEveryMode)
{
    load(u"あいう えお");
    for (int mode = 0; mode < 3; ++mode) {
        cursor.goTo(0, 0);
        EXPECT_EQ(modes.active().routeCursor(4), kHandledCaretMoved);
        EXPECT_EQ(caret(), (CellPosition{4, 0})) << mode;
        if (mode == 0)
            modes.toggleTextMath(); // the caret is after a blank: the math opener goes in
        else if (mode == 1)
            modes.toggleBraille();
    }
    EXPECT_TRUE(modes.isBraille());
    EXPECT_EQ(cells(), "ABC ;FI");
}

// A deletion that lets a word move back to the previous row is undone and redone at the right
// characters.
TEST_F(Movement, BackspaceAcrossARowBreakUndoesAndRedoesExactly)
{
    pageLayout().ColumnNumber = 8;
    load(u"あいうえお かきく");
    EXPECT_EQ(rows(), "あいうえお_|6\nかきく*|4\n");
    cursor.goTo(1, 0);
    press(vk::Back, 8); // the blank goes; the words join on the first row
    EXPECT_EQ(rows(), "あいうえおかきく*|9\n");
    EXPECT_EQ(caret(), (CellPosition{5, 0}));
    undo.undo();
    EXPECT_EQ(rows(), "あいうえお_|6\nかきく*|4\n");
    undo.redo();
    EXPECT_EQ(rows(), "あいうえおかきく*|9\n");
    checkDocument();
}

TEST_F(Movement, DeleteAcrossARowBreakUndoesAndRedoesExactly)
{
    pageLayout().ColumnNumber = 8;
    load(u"あい うえお かき");
    EXPECT_EQ(rows(), "あい_うえお_|7\nかき*|3\n");
    cursor.goTo(0, 5);
    press(vk::Delete); // お goes: "かき" now fits on the first row
    EXPECT_EQ(rows(), "あい_うえ_かき*|9\n");
    undo.undo();
    EXPECT_EQ(rows(), "あい_うえお_|7\nかき*|3\n");
    undo.redo();
    EXPECT_EQ(rows(), "あい_うえ_かき*|9\n");
}

} // namespace
} // namespace braille::test
