#pragma once
// The Japanese braille rules that place signs without a print counterpart after typed text.
//
// After an input system has inserted typed characters, the rules look at the characters around
// the insertion and add what Japanese braille requires: the number sign before a number, the
// comma inside a number, the connector between a number and an a- or ra-row kana (which would
// otherwise read as a digit), the foreign-letter sign before a letter a..j after a number (same
// reason), the connector between a Latin letter and kana, blanks after 。 and 、 and around
// set operators and arrows in formulas, the second bar of an absolute value or a norm, and the
// fraction signs around a slash in a formula.
//
// Each sign the rules insert is one undo step of its own, so a transcriber can take back a sign
// the rules placed without losing what was typed; comma replacements are not recorded.

#include "UndoHistory.h"

namespace braille {

class BrailleRules {
public:
    // Runs the rules over the typed entries, which stand right before the cursor's character.
    // Does nothing for an empty list. The cursor ends right after the typed text and the signs
    // that follow it (between the bars of an absolute value or a norm, before the slash of a
    // fraction).
    static void apply(BrailleDocumentCursor& cursor, UndoHistory& undo, const EntryList& typed);
};

inline void applyRules(BrailleDocumentCursor& cursor, UndoHistory& undo, const EntryList& typed)
{
    BrailleRules::apply(cursor, undo, typed);
}

} // namespace braille
