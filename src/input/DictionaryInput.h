#pragma once
// The input system of MATH mode: characters looked up directly in the math tables.
//
// Typed characters collect in `pending`; every key of the math set that begins with them is
// offered in the candidate list (Up and Down, or Space, choose). Enter inserts the chosen
// candidate, or when no key begins with what was typed, the longest-match conversion of it; a
// single typed character that is a whole key of its own and begins no other is inserted at once.
// The braille rules then run over what was inserted.
//
// Enter on nothing pending starts a new line with the math opener, and a second Space in a row
// inserts the math opener after the blank: in Japanese braille a formula that goes on after a
// line break or two blanks is opened again.

#include "CandidateInput.h"

namespace braille {

class DictionaryInput : public CandidateInput {
public:
    DictionaryInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll,
                            CandidateList& list);

    void activate() override;
    void deactivate() override;
    int inputMethodState() override { return 0; }
    void toggleKana() override {}
    int keyDown(int key, int repeat, std::uint32_t flags) override;
    int charTyped(char16_t c) override;
    bool isChordKey(char16_t) override { return false; }
    void startChordTimer() override {}
    void stopChordTimer() override {}
    int timerTick(int) override { return kHandledCaretMoved; }
    int chord(int) override { return kHandledCaretMoved; }
    int displayCell(SetNumber set, char16_t cell) override;
    int displayCellBuffered(SetNumber set, char16_t cell) override;
    int flushDisplayCells(SetNumber set) override;

    void discardPending();

    // The sign that opens a formula (dots 5-6).
    const BrailleCharacter* mathOpener() const;

private:
    void commit() override;
    bool listMayShow() const override { return m_active; }

    bool m_active = false;
};

} // namespace braille
