#include "BrailleKeyInput.h"

#include "BrailleRules.h"
#include "ChordKeys.h"
#include "RecordedEditing.h"
#include "VirtualKeys.h"

namespace braille {

BrailleKeyInput::BrailleKeyInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll,
                                           CandidateList& list, ChordTimer& timer)
    : CandidateInput(cursor, undo, scroll, list), m_timer(timer)
{
    m_modeWord = kTextSet;
}

void BrailleKeyInput::activate()
{
    if (!m_candidates.empty())
        showList();
}

void BrailleKeyInput::deactivate() { hideList(); }

bool BrailleKeyInput::isChordKey(char16_t c) { return chordDotOfKey(c) != 0; }

void BrailleKeyInput::addChordKey(char16_t c)
{
    m_chordMask |= chordDotOfKey(c);
}

void BrailleKeyInput::startChordTimer() { m_timer.start(kChordWindowMs); }

void BrailleKeyInput::stopChordTimer() { m_timer.stop(); }

int BrailleKeyInput::timerTick(int)
{
    const int mask = m_chordMask;
    m_chordMask = 0;
    m_timer.stop();
    return mask ? chord(mask) : kNotHandled;
}

int BrailleKeyInput::chord(int dots)
{
    if (dots < 1 || dots > 63 || !hasDocument())
        return kNotHandled;
    const SixDotPair& pair = m_dictionary.gaijiSixDot(dots);
    const bool deleted = deleteSelectionRecorded(m_cursor, m_undo);
    const BrailleCharacter* e = pair.empty() ? nullptr : m_dictionary.find(kGaijiSet, pair.print, pair.nabcc);
    if (!e && !pair.empty())
        e = m_dictionary.find(kSpecialSet, pair.print, pair.nabcc);
    if (!e)
        return deleted ? kHandledCaretMoved : kNotHandled;
    insertRecorded({e});
    return kHandledCaretMoved;
}

int BrailleKeyInput::keyDown(int key, int repeat, std::uint32_t flags)
{
    if (m_pending.empty() || key == vk::Shift || key == vk::Control)
        return MovementInput::keyDown(key, repeat, flags);
    if (chooseWithArrow(key))
        return kHandledCaretMoved;
    return kNotHandled;
}

int BrailleKeyInput::charTyped(char16_t c)
{
    // Keys that begin no key of the gaiji set are dropped.
    return typeKey(c, m_dictionary.printSet(kGaijiSet).bySource(), false);
}

void BrailleKeyInput::commit()
{
    const CandidateMatches::Candidate* chosen = m_candidates.selectedCandidate();
    if (hasDocument() && chosen) {
        deleteSelectionRecorded(m_cursor, m_undo);
        // The gaiji character goes into the document as the text character with the same print
        // text and cells, or the text set's default character when there is none.
        const BrailleCharacter* e = m_dictionary.find(kTextSet, chosen->entry->print, chosen->entry->nabcc);
        if (!e)
            e = m_dictionary.find(kSpecialSet, chosen->entry->print, chosen->entry->nabcc);
        if (!e)
            e = m_dictionary.defaultEntry(kTextSet);
        insertRecorded({e});
    }
    clearCandidates();
}

int BrailleKeyInput::displayCell(SetNumber set, char16_t cell)
{
    if (!hasDocument())
        return kNotHandled;
    m_pending.clear();
    m_candidates.clear();
    hideList();
    EntryList inserted;
    if (cell == u' ') {
        // A blank typed on the display is a blank, whatever the display's set.
        inserted = insertRecorded({m_dictionary.blankEntry()});
    } else {
        // Looked up by its cells in the display's set as in TEXT and MATH; a cell no entry
        // covers stays the raw cell, so nothing typed is lost or changed.
        inserted = insertRecorded(displayEntries(set, std::u16string_view(&cell, 1), kTextSet));
        applyRules(m_cursor, m_undo, inserted);
    }
    return kHandledCaretMoved;
}

} // namespace braille
