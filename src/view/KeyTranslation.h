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
unsigned translateModifiers(Qt::KeyboardModifiers modifiers);

} // namespace braille
