#include "CandidateInput.h"

#include "VirtualKeys.h"

namespace braille {

CandidateInput::CandidateInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll,
                                   CandidateList& list)
    : MovementInput(cursor, undo, scroll), m_list(list)
{
}

void CandidateInput::showList()
{
    m_list.show();
    m_listVisible = true;
}

void CandidateInput::hideList()
{
    m_list.hide();
    m_listVisible = false;
}

void CandidateInput::clearCandidates()
{
    m_pending.clear();
    m_candidates.clear();
    m_list.fill({});
    hideList();
}

int CandidateInput::chooseCandidate(std::size_t line, bool commitIt)
{
    if (m_pending.empty() || line >= m_candidates.size())
        return kNotHandled;
    m_candidates.select(line);
    m_list.select(line);
    if (commitIt)
        commit();
    return kHandledCaretMoved;
}

bool CandidateInput::chooseWithArrow(int key)
{
    if (m_pending.empty() || (key != vk::Up && key != vk::Down))
        return false;
    if (key == vk::Up)
        m_candidates.selectPrevious();
    else
        m_candidates.selectNext();
    if (!m_candidates.empty())
        m_list.select(m_candidates.selected());
    return true;
}

int CandidateInput::typeKey(char16_t c, const CharacterIndex& index, bool keepUnmatched)
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
    m_candidates.search(index, m_pending);
    if (m_candidates.size() == 1 && m_pending.size() == 1) {
        commit();
    } else if (m_candidates.empty()) {
        if (!keepUnmatched)
            m_pending.clear();
        m_list.fill({});
        hideList();
    } else {
        m_list.fill(m_candidates.keys());
        m_list.select(0);
        if (listMayShow())
            showList();
    }
    return kHandledCaretMoved;
}

} // namespace braille
