#pragma once
// The behaviour all three input systems share: the caret keys with the selection, Backspace
// and Delete with their undo steps, Enter and Space, the cursor-routing keys of the braille
// display, and the handling of characters every system treats alike (the ideographic space,
// control characters, typing over a selection).
//
// It also holds what the three share: the caret, the undo history and the view's scroll state
// (all owned by the view), the modifier keys, the keys typed but not yet converted (`pending`),
// and the buffered conversion of cells typed on the braille display used by TEXT and MATH.

#include "BrailleDocumentCursor.h"
#include "CharacterDictionary.h"
#include "UndoHistory.h"
#include "InputSystem.h"

#include <string>

namespace braille {

// The view's vertical scroll state, in rows.
struct ScrollState {
    std::uint32_t position = 0;
    std::uint32_t maximum = 0;
    std::uint32_t rowsPerPage = 22;
};

class MovementInput : public InputSystem {
public:
    MovementInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll);
    MovementInput(const MovementInput&) = delete;
    MovementInput& operator=(const MovementInput&) = delete;

    int keyDown(int key, int repeat, std::uint32_t flags) override;
    int keyUp(int key, int repeat, std::uint32_t flags) override;
    int charTyped(char16_t c) override;
    int routeCursor(std::uint32_t column) override;
    void setPageLayout(std::uint32_t linesPerPage, std::uint32_t cellsPerLine) override;

    // The keys (or display cells) typed but not yet converted, for the view to draw.
    const std::u16string& pending() const { return m_pending; }
    // Drops them (and whatever shows them).
    virtual void cancelPending() { m_pending.clear(); }
    StoredCharMode modeWord() const { return m_modeWord; }
    bool shiftDown() const { return m_shiftDown; }
    bool controlDown() const { return m_controlDown; }
    std::uint32_t linesPerPage() const { return m_linesPerPage; }
    std::uint32_t cellsPerLine() const { return m_cellsPerLine; }

protected:
    // The characters every system treats alike. True when the character needs no more work:
    // the ideographic space (a blank) and the control characters whose work keyDown does.
    // Any other character replaces the selection, which is deleted here as one undo step.
    bool commonCharacter(char16_t c);
    // Inserts the entries at the caret as one undo step and collapses the selection.
    EntryList insertRecorded(const EntryList& entries);
    // After a caret move: Shift extends the selection to the caret, otherwise it collapses.
    void followSelection();
    bool hasDocument() const { return m_cursor.isAttached(); }

    // Cells typed on the braille display in TEXT and MATH. `printSet` is the print set that
    // converts cells when the display's set is not one of the key sets 6..13.
    int convertCells(SetNumber set, std::u16string_view cells, SetNumber printSet);
    // What cells typed on the display stand for in the display's set: see
    // CharacterDictionary::convertCells.
    EntryList displayEntries(SetNumber set, std::u16string_view cells, SetNumber printSet) const;
    // One conversion of the buffered cells: the longest run at the front of `pending` that is a
    // key of the display's set is converted and taken out of `pending`. kNotHandled when no key
    // matches yet.
    int convertBufferedCells(SetNumber set, SetNumber printSet);
    // Converts what can be converted and types the cells that no key covers as raw cells.
    int flushBufferedCells(SetNumber set, SetNumber printSet);
    // A display cell converted at once, and one collected in `pending` and converted as far as
    // it can be: the display paths of TEXT and MATH, which differ only in `printSet`.
    int typeDisplayCell(SetNumber set, char16_t cell, SetNumber printSet);
    int collectDisplayCell(SetNumber set, char16_t cell, SetNumber printSet);

    BrailleDocumentCursor& m_cursor;
    UndoHistory& m_undo;
    ScrollState& m_scroll;
    const CharacterDictionary& m_dictionary;
    StoredCharMode m_modeWord = kTextSet;
    bool m_shiftDown = false;
    bool m_controlDown = false;
    bool m_spaceTyped = false;
    std::u16string m_pending;
    std::uint32_t m_linesPerPage = 22;
    std::uint32_t m_cellsPerLine = 32;

private:
    int backspace();
    int deleteForward();
};

} // namespace braille
