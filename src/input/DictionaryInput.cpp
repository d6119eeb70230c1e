#include "DictionaryInput.h"

#include "BrailleRules.h"
#include "CharacterPosition.h"
#include "RecordedEditing.h"
#include "VirtualKeys.h"

namespace braille {

DictionaryInput::DictionaryInput(BrailleDocumentCursor& cursor, UndoHistory& undo,
                                                 ScrollState& scroll, CandidateList& list)
    : CandidateInput(cursor, undo, scroll, list)
{
    m_modeWord = kMathSet;
}

const BrailleCharacter* DictionaryInput::mathOpener() const
{
    return m_dictionary.findOrDefault(kMathSet, u"\uE01B", u";");
}

void DictionaryInput::activate()
{
    m_active = true;
    if (!m_candidates.empty())
        showList();
}

void DictionaryInput::deactivate()
{
    m_active = false;
    hideList();
}

int DictionaryInput::keyDown(int key, int repeat, std::uint32_t flags)
{
    if (!m_pending.empty() && key != vk::Shift && key != vk::Control) {
        m_controlDown = (flags & vk::ControlHeldFlag) != 0;
        if (chooseWithArrow(key))
            return kHandledCaretMoved;
        return kNotHandled; // the key's character goes to the pending keys
    }
    if (!hasDocument())
        return MovementInput::keyDown(key, repeat, flags);
    if (key == vk::Return) {
        deleteSelectionRecorded(m_cursor, m_undo);
        insertRecorded({m_dictionary.lineBreakEntry(), mathOpener()});
        return kHandledCaretMoved;
    }
    if (key == vk::Space) {
        deleteSelectionRecorded(m_cursor, m_undo);
        const auto before = previousPosition(*m_cursor.document, characterPosition(m_cursor));
        if (before && characterAt(*before) == m_dictionary.blankEntry())
            insertRecorded({m_dictionary.blankEntry(), mathOpener()});
        else
            insertRecorded({m_dictionary.blankEntry()});
        m_spaceTyped = true;
        return kHandledCaretMoved;
    }
    return MovementInput::keyDown(key, repeat, flags);
}

int DictionaryInput::charTyped(char16_t c)
{
    // Keys that begin no key are kept: Enter converts them by longest match.
    return typeKey(c, m_dictionary.printSet(kMathSet).bySource(), true);
}

void DictionaryInput::commit()
{
    EntryList inserted;
    if (hasDocument()) {
        deleteSelectionRecorded(m_cursor, m_undo);
        if (const CandidateMatches::Candidate* chosen = m_candidates.selectedCandidate()) {
            inserted = insertRecorded({chosen->entry});
        } else {
            // Keys converted by longest match may give several characters ("+1" is ＋ and １):
            // each goes in with its own rules, as if typed one after the other, so the digit
            // after the plus still gets its number sign.
            EntryList converted;
            StoredCharMode mode = kMathSet;
            const char16_t* pos = m_pending.data();
            m_dictionary.convertText(mode, pos, pos + m_pending.size(), converted);
            for (const BrailleCharacter* e : converted) {
                if (e == m_dictionary.lineBreakEntry() || e == m_dictionary.endMarkerEntry())
                    continue;
                applyRules(m_cursor, m_undo, insertRecorded({e}));
            }
        }
    }
    clearCandidates();
    applyRules(m_cursor, m_undo, inserted);
    m_cursor.collapseSelection();
}

int DictionaryInput::displayCell(SetNumber set, char16_t cell) { return typeDisplayCell(set, cell, kMathSet); }

int DictionaryInput::displayCellBuffered(SetNumber set, char16_t cell)
{
    return collectDisplayCell(set, cell, kMathSet);
}

int DictionaryInput::flushDisplayCells(SetNumber set) { return flushBufferedCells(set, kMathSet); }

void DictionaryInput::discardPending() { m_pending.clear(); }

} // namespace braille
