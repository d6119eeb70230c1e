#pragma once
// Which of the three input systems receives the keys, and the switches between the modes TEXT,
// MATH and BRAILLE (F2 and F4), without the window: the view owns one and routes every key to
// `active()`.
//
// BRAILLE is a layer over TEXT or MATH: it remembers the system to return to. Entering MATH at
// the start of a row or after a blank inserts the math opener, since in Japanese braille a
// formula begins with it; leaving MATH right after an opener that nothing follows takes it out
// again.

#include "input_system_braille.h"
#include "input_system_dictionary.h"
#include "input_system_indirect_imm.h"

#include <string_view>

namespace braille {

class InputModeSwitch {
public:
    InputModeSwitch(BrailleDocumentCursor& cursor, UndoHistory& undo, input_system_indirect_imm& text,
                    input_system_dictionary& math, input_system_braille& braille);
    InputModeSwitch(const InputModeSwitch&) = delete;
    InputModeSwitch& operator=(const InputModeSwitch&) = delete;

    input_system& active() const { return *m_active; }
    input_system& lastTextOrMath() const { return *m_lastTextOrMath; }
    bool isText() const { return m_active == &m_text; }
    bool isMath() const { return m_active == &m_math; }
    bool isBraille() const { return m_active == &m_braille; }

    // The status texts: the mode ("TEXT" or "MATH") and the braille indicator ("BRAILLE" or
    // empty).
    std::u16string_view modeText() const { return m_modeText; }
    std::u16string_view brailleText() const { return isBraille() ? u"BRAILLE" : u""; }

    void switchToText();
    // Inserts the math opener at the start of a row or after a blank. With `showList` false the
    // candidate list stays hidden.
    void switchToMath(bool showList);
    // BRAILLE over `previous` (the TEXT or MATH system).
    void switchToBraille(input_system& previous);

    // F2: TEXT and MATH in turn; from BRAILLE, the other of the two under it.
    void toggleTextMath();
    // The system F4 returns to, as the commands that leave BRAILLE for a moment set it.
    void setLastTextOrMath(input_system& system) { m_lastTextOrMath = &system; }
    bool lastIsText() const { return m_lastTextOrMath == &m_text; }
    input_system_indirect_imm& textSystem() const { return m_text; }
    input_system_dictionary& mathSystem() const { return m_math; }
    input_system_braille& brailleSystem() const { return m_braille; }
    // F4: BRAILLE on or off.
    void toggleBraille();

    // Takes out a math opener that nothing follows, as leaving MATH does.
    void leaveMath();

private:
    void makeActive(input_system& system);

    BrailleDocumentCursor& m_cursor;
    UndoHistory& m_undo;
    input_system_indirect_imm& m_text;
    input_system_dictionary& m_math;
    input_system_braille& m_braille;
    input_system* m_active;
    input_system* m_lastTextOrMath;
    std::u16string_view m_modeText = u"TEXT";
};

} // namespace braille
