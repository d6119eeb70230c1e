#pragma once
// A Qt key event in the session's terms: the virtual key code of VirtualKeys.h and the modifier
// bits. All translation of keys happens here, so the session never sees a Qt type.

#include <QKeyEvent>

namespace braille {

struct TranslatedKey {
    int key = 0;            // 0 for a key the session has no code for
    unsigned modifiers = 0; // KeyModifier bits
    bool autoRepeat = false;
};

TranslatedKey translateKey(const QKeyEvent& event);

// The six-key letter (F D S J K L) of the key at that place on the keyboard, whatever letter the
// layout gives it (AZERTY, Dvorak), or 0. Known from the key's scan code on X11; elsewhere the
// key's own letter is taken.
char16_t chordLetterOf(const QKeyEvent& event);
unsigned translateModifiers(Qt::KeyboardModifiers modifiers);

} // namespace braille
