#pragma once
// Which of the three input systems receives the keys, and the switches between the modes TEXT,
// MATH and BRAILLE (F2 and F4), without the window: the view owns one and routes every key to
// `active()`.
//
// BRAILLE is a layer over TEXT or MATH: it remembers the system to return to. Entering MATH at
// the start of a row or after a blank inserts the math opener, since in Japanese braille a
// formula begins with it; leaving MATH right after an opener that nothing follows takes it out
// again.

#include "BrailleKeyInput.h"
#include "DictionaryInput.h"
#include "ImeInput.h"

#include <string_view>

namespace braille {

class InputModeSwitch {
public:
    InputModeSwitch(BrailleDocumentCursor& cursor, UndoHistory& undo, ImeInput& text,
                    DictionaryInput& math, BrailleKeyInput& braille);
    InputModeSwitch(const InputModeSwitch&) = delete;
    InputModeSwitch& operator=(const InputModeSwitch&) = delete;

    InputSystem& active() const { return *m_active; }
    InputSystem& lastTextOrMath() const { return *m_lastTextOrMath; }
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
    void switchToBraille(InputSystem& previous);

    // F2: TEXT and MATH in turn; from BRAILLE, the other of the two under it.
    void toggleTextMath();
    // The system F4 returns to, as the commands that leave BRAILLE for a moment set it.
    void setLastTextOrMath(InputSystem& system) { m_lastTextOrMath = &system; }
    bool lastIsText() const { return m_lastTextOrMath == &m_text; }
    ImeInput& textSystem() const { return m_text; }
    DictionaryInput& mathSystem() const { return m_math; }
    BrailleKeyInput& brailleSystem() const { return m_braille; }
    // F4: BRAILLE on or off.
    void toggleBraille();

    // Takes out a math opener that nothing follows, as leaving MATH does.
    void leaveMath();

private:
    void makeActive(InputSystem& system);

    BrailleDocumentCursor& m_cursor;
    UndoHistory& m_undo;
    ImeInput& m_text;
    DictionaryInput& m_math;
    BrailleKeyInput& m_braille;
    InputSystem* m_active;
    InputSystem* m_lastTextOrMath;
    std::u16string_view m_modeText = u"TEXT";
};

} // namespace braille
