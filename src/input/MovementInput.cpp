#include "MovementInput.h"

#include "BrailleRules.h"
#include "Cells.h"
#include "RecordedEditing.h"
#include "VirtualKeys.h"

#include <algorithm>

namespace braille {

namespace {
constexpr std::size_t kMaxKeyLength = 19; // the longest run of keys matched in one step
} // namespace

MovementInput::MovementInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll)
    : m_cursor(cursor), m_undo(undo), m_scroll(scroll), m_dictionary(CharacterDictionary::instance())
{
}

void MovementInput::followSelection() { m_cursor.setSelectionEnd(!m_shiftDown); }

EntryList MovementInput::insertRecorded(const EntryList& entries)
{
    EntryList inserted = insertEntriesRecorded(m_cursor, m_undo, entries);
    m_cursor.collapseSelection();
    return inserted;
}

int MovementInput::keyDown(int key, int, std::uint32_t flags)
{
    m_controlDown = key == vk::Control || (flags & vk::ControlHeldFlag) != 0;
    if (key == vk::Shift) {
        m_shiftDown = true;
        return kNotHandled;
    }
    if (!hasDocument())
        return kNotHandled;
    switch (key) {
    case vk::Back:
        return backspace();
    case vk::Delete:
        return deleteForward();
    case vk::Return:
        deleteSelectionRecorded(m_cursor, m_undo);
        insertRecorded({m_dictionary.lineBreakEntry()});
        return kHandledCaretMoved;
    case vk::Space:
        deleteSelectionRecorded(m_cursor, m_undo);
        insertRecorded({m_dictionary.blankEntry()});
        m_spaceTyped = true;
        return kHandledCaretMoved;
    case vk::PageUp:
        m_scroll.position -= std::min(m_scroll.position, m_scroll.rowsPerPage);
        m_cursor.moveUp(m_scroll.rowsPerPage);
        break;
    case vk::PageDown:
        m_scroll.position = std::min(m_scroll.position + m_scroll.rowsPerPage, m_scroll.maximum);
        m_cursor.moveDown(m_scroll.rowsPerPage);
        break;
    case vk::End:
        // Ctrl+End: the end of the section.
        if (m_controlDown)
            m_cursor.goTo(m_cursor.document->section().rowCount, 0);
        m_cursor.goToRowEnd();
        break;
    case vk::Home:
        // Ctrl+Home: the start of the section.
        if (m_controlDown)
            m_cursor.goTo(0, 0);
        m_cursor.desiredColumn = 0;
        m_cursor.placeAtDesiredColumn();
        break;
    case vk::Left:
        m_cursor.moveLeft();
        m_cursor.setDesired();
        break;
    case vk::Right:
        m_cursor.moveRight();
        m_cursor.setDesired();
        break;
    case vk::Up:
    case vk::Down:
        if (m_shiftDown && m_controlDown)
            return kNotHandled; // left to the view (link mode moves the companion's caret)
        if (m_controlDown) {
            // Scrolls the view by a row and leaves the caret where it is.
            if (key == vk::Up)
                m_scroll.position -= std::min<std::uint32_t>(m_scroll.position, 1);
            else
                m_scroll.position = std::min(m_scroll.position + 1, m_scroll.maximum);
            return kHandled;
        }
        if (key == vk::Up)
            m_cursor.moveUp(1);
        else
            m_cursor.moveDown(1);
        break;
    default:
        return kNotHandled;
    }
    followSelection();
    return kHandledCaretMoved;
}

int MovementInput::backspace()
{
    if (deleteSelectionRecorded(m_cursor, m_undo))
        return kHandledCaretMoved;
    if (m_cursor.atSectionStart())
        return kNotHandled;
    m_cursor.moveLeft();
    m_cursor.setDesired();
    deleteAtCursorRecorded(m_cursor, m_undo);
    return kHandledCaretMoved;
}

int MovementInput::deleteForward()
{
    if (!deleteSelectionRecorded(m_cursor, m_undo))
        deleteAtCursorRecorded(m_cursor, m_undo); // nothing happens at the section's end
    return kHandledCaretMoved;
}

int MovementInput::keyUp(int key, int, std::uint32_t)
{
    if (key == vk::Shift)
        m_shiftDown = false;
    else if (key == vk::Control)
        m_controlDown = false;
    return kNotHandled;
}

bool MovementInput::commonCharacter(char16_t c)
{
    switch (c) {
    case u'\u3000': // the input method's space
        if (!hasDocument())
            return true;
        deleteSelectionRecorded(m_cursor, m_undo);
        insertRecorded({m_dictionary.blankEntry()});
        return true;
    case 8:  // Backspace
    case 9:  // Tab
    case 10: // line feed
    case 13: // Enter
    case 27: // Escape
        return true;
    default:
        deleteSelectionRecorded(m_cursor, m_undo);
        return false;
    }
}

int MovementInput::charTyped(char16_t c) { return commonCharacter(c) ? kHandledCaretMoved : kNotHandled; }

int MovementInput::routeCursor(std::uint32_t column)
{
    if (!hasDocument())
        return kNotHandled;
    m_cursor.desiredColumn = column;
    m_cursor.placeAtDesiredColumn();
    return kHandledCaretMoved;
}

void MovementInput::setPageLayout(std::uint32_t linesPerPage, std::uint32_t cellsPerLine)
{
    m_linesPerPage = linesPerPage;
    m_cellsPerLine = cellsPerLine;
}

EntryList MovementInput::displayEntries(SetNumber set, std::u16string_view cells, SetNumber printSet) const
{
    // Cells are looked up by their cell strings in the restricted key set only; outside the key
    // sets (and for cells no cell string covers) each cell stays the raw cell it is.
    EntryList entries;
    m_dictionary.convertCells(isKeySet(set) || set == kGaijiSet ? set : 0, cells, printSet, entries);
    return entries;
}

int MovementInput::convertCells(SetNumber set, std::u16string_view cells, SetNumber printSet)
{
    if (!hasDocument())
        return kNotHandled;
    const EntryList inserted = insertRecorded(displayEntries(set, cells, printSet));
    applyRules(m_cursor, m_undo, inserted);
    return kHandledCaretMoved;
}

int MovementInput::convertBufferedCells(SetNumber set, SetNumber printSet)
{
    if (m_pending.empty())
        return kNotHandled;
    const std::u16string_view keys = std::u16string_view(m_pending).substr(0, kMaxKeyLength);
    const KeyMatch match = CharacterDictionary::longestMatch(m_dictionary.keySet(set).byCells(), keys);
    if (!match || match.entry->print.empty())
        return kNotHandled;
    // Only the cells the key covered are converted and taken out; the rest wait for more cells,
    // which may complete a longer key.
    const std::u16string cells = m_pending.substr(0, match.length);
    m_pending.erase(0, match.length);
    return convertCells(set, cells, printSet);
}

int MovementInput::flushBufferedCells(SetNumber set, SetNumber printSet)
{
    if (m_pending.empty())
        return kNotHandled;
    while (!m_pending.empty()) {
        if (convertBufferedCells(set, printSet) != kNotHandled)
            continue;
        // A cell that begins no key of the set is typed as the cell itself, so nothing typed on
        // the display is lost or changed.
        const char16_t cell = m_pending.front();
        m_pending.erase(0, 1);
        convertCells(0, std::u16string_view(&cell, 1), printSet);
    }
    return kHandledCaretMoved;
}

int MovementInput::typeDisplayCell(SetNumber set, char16_t cell, SetNumber printSet)
{
    if (commonCharacter(cell))
        return kHandledCaretMoved;
    return convertCells(set, std::u16string_view(&cell, 1), printSet);
}

int MovementInput::collectDisplayCell(SetNumber set, char16_t cell, SetNumber printSet)
{
    if (commonCharacter(cell))
        return kHandledCaretMoved;
    m_pending.push_back(cell);
    return convertBufferedCells(set, printSet);
}

} // namespace braille
