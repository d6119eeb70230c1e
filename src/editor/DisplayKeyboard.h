#pragma once
// Which key set the cells typed on the braille display's own keys go through.
//
// Braille written on the display carries its indicators: after the number sign the cells are
// digits, after the foreign-letter sign small letters, a capital sign before a letter makes it a
// capital, and so on until a blank or a connector ends the run. A small state machine follows
// those indicators and names, for each typed cell, the restricted key set of the text or math
// tables that converts it (6..9 text: kana, digits, small, capital letters; 10..13 the same for
// math; 4 the signs themselves; 0 none, for a blank). F2 puts the machine in its TEXT or MATH
// start state; nothing else resets it.

#include "BrailleCharacter.h"

namespace braille {

class DisplayKeyboard {
public:
    struct Row;
    struct State;

    DisplayKeyboard();

    void startText();
    void startMath();

    // Looks up the class of `c` (the blank, one of the indicators "#", ",", "-", "0", "8", ";",
    // or any other cell) in the current state, takes the set and the next state it names, and
    // tells whether `c` was an indicator the state knows.
    bool classify(char16_t c);

    SetNumber displaySet() const { return m_set; }
    // The class of the last classified character when a row matched: the blank or the
    // indicator itself, 0 for other cells or when nothing matched.
    char16_t displayClass() const { return m_class; }
    // The name of the current state, for tests and the debug console ("T", "T#", "M;,", ...).
    const char* stateName() const;

private:
    const State* m_state;
    SetNumber m_set = 6;
    char16_t m_class = 0;
};

} // namespace braille
