#include "input_system_dictionary.h"

#include "BrailleRules.h"
#include "CharacterPosition.h"
#include "RecordedEditing.h"
#include "VirtualKeys.h"

namespace braille {

input_system_dictionary::input_system_dictionary(BrailleDocumentCursor& cursor, UndoHistory& undo,
                                                 ScrollState& scroll, CandidateList& list)
    : input_system_movement(cursor, undo, scroll), m_list(list)
{
    m_modeWord = kMathSet;
}

const BrailleCharacter* input_system_dictionary::mathOpener() const
{
    return m_dictionary.findOrDefault(kMathSet, u"\uE01B", u";");
}

void input_system_dictionary::showList()
{
    m_list.show();
    m_listVisible = true;
}

void input_system_dictionary::hideList()
{
    m_list.hide();
    m_listVisible = false;
}

void input_system_dictionary::activate()
{
    m_active = true;
    if (!m_candidates.empty())
        showList();
}

void input_system_dictionary::deactivate()
{
    m_active = false;
    hideList();
}

int input_system_dictionary::keyDown(int key, int repeat, std::uint32_t flags)
{
    if (!m_pending.empty() && key != vk::Shift && key != vk::Control) {
        m_controlDown = (flags & vk::ControlHeldFlag) != 0;
        if (key == vk::Up || key == vk::Down) {
            if (key == vk::Up)
                m_candidates.selectPrevious();
            else
                m_candidates.selectNext();
            if (!m_candidates.empty())
                m_list.select(m_candidates.selected());
            return kHandledCaretMoved;
        }
        return kNotHandled; // the key's character goes to the pending keys
    }
    if (!hasDocument())
        return input_system_movement::keyDown(key, repeat, flags);
    if (key == vk::Return) {
        deleteSelection();
        insertRecorded({m_dictionary.lineBreakEntry(), mathOpener()});
        return kHandledCaretMoved;
    }
    if (key == vk::Space) {
        deleteSelection();
        const auto before = previousPosition(*m_cursor.document, characterPosition(m_cursor));
        if (before && characterAt(*before) == m_dictionary.blankEntry())
            insertRecorded({m_dictionary.blankEntry(), mathOpener()});
        else
            insertRecorded({m_dictionary.blankEntry()});
        m_spaceTyped = true;
        return kHandledCaretMoved;
    }
    return input_system_movement::keyDown(key, repeat, flags);
}

int input_system_dictionary::charTyped(char16_t c)
{
    switch (c) {
    case 8:
        if (!m_pending.empty())
            m_pending.pop_back();
        break;
    case 9:
    case 10:
        break;
    case 13:
        if (!m_pending.empty())
            commit();
        m_spaceTyped = false;
        return kHandledCaretMoved;
    case 27:
        m_pending.clear();
        break;
    case u' ':
        if (!m_pending.empty()) {
            m_candidates.selectNext();
            if (!m_candidates.empty())
                m_list.select(m_candidates.selected());
        } else if (!m_spaceTyped && hasDocument()) {
            insertRecorded({m_dictionary.blankEntry()});
        }
        m_spaceTyped = false;
        return kHandledCaretMoved;
    default:
        if (commonCharacter(c)) {
            m_spaceTyped = false;
            return kHandledCaretMoved;
        }
        m_pending.push_back(c);
        break;
    }
    m_spaceTyped = false;
    m_candidates.clear();
    if (m_pending.empty()) {
        m_list.fill({});
        hideList();
        return kHandledCaretMoved;
    }
    m_candidates.search(m_dictionary.printSet(kMathSet).bySource(), m_pending);
    if (m_candidates.size() == 1 && m_pending.size() == 1) {
        commit();
    } else if (m_candidates.empty()) {
        // Kept: Enter converts it by longest match.
        m_list.fill({});
        hideList();
    } else {
        m_list.fill(m_candidates.keys());
        m_list.select(0);
        if (m_active)
            showList();
    }
    return kHandledCaretMoved;
}

void input_system_dictionary::commit()
{
    EntryList inserted;
    if (hasDocument()) {
        deleteSelection();
        if (const CandidateMatches::Candidate* chosen = m_candidates.selectedCandidate()) {
            inserted = insertRecorded({chosen->entry});
        } else {
            inserted = insertTextRecorded(m_cursor, m_undo, m_pending, kMathSet, kMathSet);
            m_cursor.collapseSelection();
        }
    }
    m_pending.clear();
    m_candidates.clear();
    m_list.fill({});
    hideList();
    applyRules(m_cursor, m_undo, inserted);
    m_cursor.collapseSelection();
}

int input_system_dictionary::displayCell(SetNumber set, char16_t cell)
{
    if (commonCharacter(cell))
        return kHandledCaretMoved;
    return convertDisplayCell(set, cell);
}

int input_system_dictionary::convertDisplayCell(SetNumber set, char16_t cell)
{
    return convertCells(set, std::u16string_view(&cell, 1), kMathSet);
}

int input_system_dictionary::displayCellBuffered(SetNumber set, char16_t cell)
{
    if (commonCharacter(cell))
        return kHandledCaretMoved;
    m_pending.push_back(cell);
    return convertPendingCells(set);
}

int input_system_dictionary::convertPendingCells(SetNumber set) { return convertBufferedCells(set, kMathSet); }

int input_system_dictionary::flushDisplayCells(SetNumber set) { return flushBufferedCells(set, kMathSet); }

void input_system_dictionary::discardPending() { m_pending.clear(); }

void input_system_dictionary::paintPending(int x, int y) { m_list.place(x, y); }

} // namespace braille
