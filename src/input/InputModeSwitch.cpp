#include "InputModeSwitch.h"

#include "CharacterPosition.h"
#include "RecordedEditing.h"
#include "VirtualKeys.h"

namespace braille {

namespace {

const BrailleCharacter* characterBeforeCursor(const BrailleDocumentCursor& cursor)
{
    if (!cursor.isAttached())
        return nullptr;
    const auto before = previousPosition(*cursor.document, characterPosition(cursor));
    return before ? characterAt(*before) : nullptr;
}

} // namespace

InputModeSwitch::InputModeSwitch(BrailleDocumentCursor& cursor, UndoHistory& undo, ImeInput& text,
                                 DictionaryInput& math, BrailleKeyInput& braille)
    : m_cursor(cursor), m_undo(undo), m_text(text), m_math(math), m_braille(braille), m_active(&text),
      m_lastTextOrMath(&text)
{
}

void InputModeSwitch::makeActive(InputSystem& system)
{
    m_active->deactivate();
    m_active = &system;
}

void InputModeSwitch::switchToText()
{
    m_modeText = u"TEXT";
    makeActive(m_text);
    m_text.activate();
}

void InputModeSwitch::switchToMath(bool showList)
{
    m_modeText = u"MATH";
    makeActive(m_math);
    if (showList)
        m_math.activate();
    else
        m_math.deactivate();
    if (!m_cursor.isAttached())
        return;
    const CharacterDictionary& d = CharacterDictionary::instance();
    if (m_cursor.column == 0 || characterBeforeCursor(m_cursor) == d.blankEntry()) {
        insertEntriesRecorded(m_cursor, m_undo, {m_math.mathOpener()});
        m_cursor.collapseSelection();
    }
}

void InputModeSwitch::switchToBraille(InputSystem& previous)
{
    // The system underneath is already the one in force (BRAILLE is entered from it), so it is
    // not switched again: that would insert a second math opener after a blank.
    m_modeText = &previous == &m_text ? u"TEXT" : u"MATH";
    makeActive(m_braille);
    m_braille.activate();
}

void InputModeSwitch::leaveMath()
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    const BrailleCharacter* opener = m_math.mathOpener();
    if (!m_cursor.isAttached() || characterBeforeCursor(m_cursor) != opener)
        return;
    const auto openerAt = previousPosition(*m_cursor.document, characterPosition(m_cursor));
    const auto beforeOpener = previousPosition(*m_cursor.document, *openerAt);
    const bool aloneAtRowStart = m_cursor.column == opener->cellCount();
    if (aloneAtRowStart || (beforeOpener && characterAt(*beforeOpener) == d.blankEntry()))
        m_math.keyDown(vk::Back, 1, 0);
}

void InputModeSwitch::toggleTextMath()
{
    if (isText()) {
        m_lastTextOrMath = &m_text;
        switchToMath(true);
    } else if (isMath()) {
        leaveMath();
        m_lastTextOrMath = &m_math;
        switchToText();
    } else if (m_lastTextOrMath == &m_text) {
        switchToMath(true);
    } else {
        leaveMath();
        switchToText();
    }
}

void InputModeSwitch::toggleBraille()
{
    if (isBraille()) {
        if (m_lastTextOrMath == &m_text)
            switchToText();
        else
            switchToMath(true);
    } else {
        m_lastTextOrMath = m_active;
        switchToBraille(*m_active);
    }
}

} // namespace braille
