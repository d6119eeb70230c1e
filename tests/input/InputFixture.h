#pragma once
// A document with a caret, an undo history and the three input systems over it, driven with
// keys and characters as the view drives them; and dumps of what the document holds.
//
// Cells are shown as Braille ASCII with '$' for a line break (the end marker left out), so a
// number sign reads "#" and a blank " ".

#include "DocumentBuilder.h"
#include "InputFakes.h"
#include "InputModeSwitch.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace braille::test {

class InputFixture : public ::testing::Test {
protected:
    InputFixture();
    ~InputFixture() override;

    // Replaces the body with `text` (DocumentBuilder notation) and puts the caret at (row, column).
    void load(std::u16string_view text, std::uint32_t row = 0, std::uint32_t column = 0);
    // The caret after the last character of the body.
    void toEnd();

    // A key pressed and released, with the character it types (0 for none), as the view passes it.
    int press(int key, char16_t character = 0, std::uint32_t flags = 0);
    // Characters typed into the active system, each its own result (echoes included).
    int type(std::u16string_view text);
    // A result string committed by the input method and its characters typed (TEXT).
    int commit(std::u16string_view result);

    // Cells of the body ('$' for a line break), print texts of the body.
    std::string cells() const;
    std::string print() const;
    std::string rows() const { return dumpRows(document); }
    CellPosition caret() const { return cursor.position(); }
    // Undoes every step (returning the cells then) and redoes every step, expecting the cells
    // from before. Comma replacements of the braille rules are not undo steps, so redo cannot
    // repeat them: with `ignoreCommaForms` the three comma cells (numeric ', reading ;, math 1)
    // compare equal.
    std::string undoAllThenRedoAll(bool ignoreCommaForms = false);

    void checkDocument() const { ASSERT_EQ(document.checkInvariants(), ""); }

    const CharacterDictionary& dictionary;
    BrailleDocument document;
    BrailleDocumentCursor cursor;
    FakeNotifier notifier;
    UndoHistory undo;
    ScrollState scroll;
    FakeInputMethod inputMethod;
    FakeCandidateList mathList;
    FakeCandidateList brailleList;
    FakeChordTimer timer;
    ImeInput text;
    DictionaryInput math;
    BrailleKeyInput braille;
    InputModeSwitch modes;

private:
    std::uint32_t m_savedColumns;
};

} // namespace braille::test
