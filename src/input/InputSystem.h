#pragma once
// What the editor view asks of an input system: the view forwards every key, typed character,
// chord, timer tick, braille-display cell and caret paint to the active one of its three input
// systems (TEXT, MATH, BRAILLE) and acts on the result word.
//
// Results of the event operations are bit sets (InputResult): kHandled, and kCaretMoved when the
// view must bring the caret into view; kHandledCaretMoved is the usual answer, kNotHandled lets
// the view treat the event itself.

#include "BrailleCharacter.h"

#include <cstdint>

namespace braille {

enum InputResult : int {
    kNotHandled = 0,
    kHandled = 1,
    kCaretMoved = 2,
    kHandledCaretMoved = 3,
};

class InputSystem {
public:
    virtual ~InputSystem() = default;

    virtual void activate() = 0;
    virtual void deactivate() = 0;
    // 2 while the input method composes katakana, 8 while it composes hiragana, else 0.
    virtual int inputMethodState() = 0;
    // Shift+F2: hiragana, katakana, off, in turn.
    virtual void toggleKana() = 0;
    // Key codes are the virtual keys of VirtualKeys.h; flags as described there.
    virtual int keyDown(int key, int repeat, std::uint32_t flags) = 0;
    virtual int keyUp(int key, int repeat, std::uint32_t flags) = 0;
    virtual int charTyped(char16_t c) = 0;
    virtual bool isChordKey(char16_t c) = 0;
    virtual void startChordTimer() = 0;
    virtual void stopChordTimer() = 0;
    virtual int timerTick(int timerId) = 0;
    // A six-key chord: dot 1 = 1, dot 2 = 2, dot 3 = 4, dot 4 = 8, dot 5 = 16, dot 6 = 32.
    virtual int chord(int dots) = 0;
    // A cell (NABCC code) typed on the braille display, with the key set chosen for it.
    virtual int displayCell(SetNumber set, char16_t cell) = 0;
    virtual int displayCellBuffered(SetNumber set, char16_t cell) = 0;
    virtual int flushDisplayCells(SetNumber set) = 0;
    // A cursor-routing key of the braille display: the caret to that cell of its row.
    virtual int routeCursor(std::uint32_t column) = 0;
    virtual void setPageLayout(std::uint32_t linesPerPage, std::uint32_t cellsPerLine) = 0;
    // The caret is drawn at (x, y): place what shows the pending keys there.
    virtual void paintPending(int x, int y) = 0;
};

} // namespace braille
