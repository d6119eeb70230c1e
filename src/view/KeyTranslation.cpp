#include "KeyTranslation.h"

#include "EditingSession.h"
#include "VirtualKeys.h"

#include <QGuiApplication>

namespace braille {

unsigned translateModifiers(Qt::KeyboardModifiers modifiers)
{
    unsigned bits = kNoModifier;
    if (modifiers & Qt::ShiftModifier)
        bits |= kShiftModifier;
    if (modifiers & Qt::ControlModifier)
        bits |= kControlModifier;
    if (modifiers & Qt::AltModifier)
        bits |= kAltModifier;
    return bits;
}

char16_t chordLetterOf(const QKeyEvent& event)
{
    static const bool x11 = QGuiApplication::platformName() == QStringLiteral("xcb");
    if (x11 && event.nativeScanCode() != 0) {
        // X key codes of the home row of a PC keyboard (evdev): S D F on the left, J K L on the
        // right.
        enum HomeRow : quint32 { XKeyS = 39, XKeyD = 40, XKeyF = 41, XKeyJ = 44, XKeyK = 45, XKeyL = 46 };
        switch (event.nativeScanCode()) {
        case XKeyS: return u'S';
        case XKeyD: return u'D';
        case XKeyF: return u'F';
        case XKeyJ: return u'J';
        case XKeyK: return u'K';
        case XKeyL: return u'L';
        default: return 0;
        }
    }
    switch (event.key()) {
    case Qt::Key_F: return u'F';
    case Qt::Key_D: return u'D';
    case Qt::Key_S: return u'S';
    case Qt::Key_J: return u'J';
    case Qt::Key_K: return u'K';
    case Qt::Key_L: return u'L';
    default: return 0;
    }
}

TranslatedKey translateKey(const QKeyEvent& event)
{
    TranslatedKey t;
    t.modifiers = translateModifiers(event.modifiers());
    t.autoRepeat = event.isAutoRepeat();
    const int k = event.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        t.key = 'A' + (k - Qt::Key_A);
    else if (k >= Qt::Key_0 && k <= Qt::Key_9)
        t.key = '0' + (k - Qt::Key_0);
    else if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        t.key = vk::F1 + (k - Qt::Key_F1);
    else {
        switch (k) {
        case Qt::Key_Backspace: t.key = vk::Back; break;
        case Qt::Key_Tab: case Qt::Key_Backtab: t.key = vk::Tab; break;
        case Qt::Key_Return: case Qt::Key_Enter: t.key = vk::Return; break;
        case Qt::Key_Shift: t.key = vk::Shift; break;
        case Qt::Key_Control: t.key = vk::Control; break;
        case Qt::Key_Alt: t.key = vk::Alt; break;
        case Qt::Key_Escape: t.key = vk::Escape; break;
        case Qt::Key_Space: t.key = vk::Space; break;
        case Qt::Key_PageUp: t.key = vk::PageUp; break;
        case Qt::Key_PageDown: t.key = vk::PageDown; break;
        case Qt::Key_End: t.key = vk::End; break;
        case Qt::Key_Home: t.key = vk::Home; break;
        case Qt::Key_Left: t.key = vk::Left; break;
        case Qt::Key_Up: t.key = vk::Up; break;
        case Qt::Key_Right: t.key = vk::Right; break;
        case Qt::Key_Down: t.key = vk::Down; break;
        case Qt::Key_Insert: t.key = vk::Insert; break;
        case Qt::Key_Delete: t.key = vk::Delete; break;
        case Qt::Key_Menu: t.key = vk::Apps; break;
        default:
            // Punctuation keys: a code the input systems do not act on; their characters
            // arrive as typed text.
            t.key = event.text().isEmpty() ? 0 : vk::Punctuation;
            break;
        }
    }
    return t;
}

} // namespace braille
