#pragma once
// The input system of BRAILLE mode: braille written as cells.
//
// A six-key chord (F D S J K L as dots 1 to 6) inserts the character of the six-dot table for
// its dot pattern. Other typed keys are looked up among the keys of the gaiji set and offered in
// the candidate list; the chosen one is inserted as the text character with the same print text
// and cells. Neither runs the braille rules: a transcriber who writes cells writes the signs too.
// Cells typed on the braille display are converted through the display's key set, and the rules
// run over them as in TEXT and MATH.

#include "ChordTimer.h"
#include "CandidateInput.h"

namespace braille {

class BrailleKeyInput : public CandidateInput {
public:
    BrailleKeyInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll,
                         CandidateList& list, ChordTimer& timer);

    // The time within which the keys of one chord are pressed.
    static constexpr int kChordWindowMs = 100;

    void activate() override;
    void deactivate() override;
    int inputMethodState() override { return 0; }
    void toggleKana() override {}
    int keyDown(int key, int repeat, std::uint32_t flags) override;
    int charTyped(char16_t c) override;
    bool isChordKey(char16_t c) override;
    void startChordTimer() override;
    void stopChordTimer() override;
    int timerTick(int timerId) override;
    int chord(int dots) override;
    int displayCell(SetNumber set, char16_t cell) override;
    int displayCellBuffered(SetNumber, char16_t) override { return kHandledCaretMoved; }
    int flushDisplayCells(SetNumber) override { return kHandledCaretMoved; }

    // The system's own chord collection (the view collects chords itself and calls chord()).
    void clearChordMask() { m_chordMask = 0; }
    int chordMask() const { return m_chordMask; }
    // Adds the dot of a chord key; other keys are ignored.
    void addChordKey(char16_t c);

private:
    void commit() override;

    ChordTimer& m_timer;
    int m_chordMask = 0;
};

} // namespace braille
