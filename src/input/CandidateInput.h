#pragma once
// What the MATH and BRAILLE input systems share: typed keys that collect in `pending` and look up
// the keys of a character set, with the matches offered in a candidate list below the caret.
//
// Up and Down (or Space) choose among the candidates, Enter commits the chosen one, Escape drops
// the keys, Backspace takes the last one back. A single key that is a whole key of its own and
// begins no other is committed at once. What committing means, and what happens to keys that
// begin no key at all, is each system's own.

#include "CandidateList.h"
#include "CandidateMatches.h"
#include "MovementInput.h"

namespace braille {

class CandidateInput : public MovementInput {
public:
    CandidateInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll, CandidateList& list);

    void paintPending(int x, int y) override { m_list.place(x, y); }
    void cancelPending() override { clearCandidates(); }

    const CandidateMatches& candidates() const { return m_candidates; }
    // The candidate on line `line` of the list, chosen with the mouse: selected, and committed
    // as Enter commits when `commit` is set.
    int chooseCandidate(std::size_t line, bool commit);
    bool listVisible() const { return m_listVisible; }

protected:
    // One typed key, looked up in `index`. Keys that begin no key are kept (for a conversion
    // by longest match on Enter) when `keepUnmatched` is set, and dropped otherwise.
    int typeKey(char16_t c, const CharacterIndex& index, bool keepUnmatched);
    // Up and Down move the selection while keys are pending; true when the key was taken.
    bool chooseWithArrow(int key);
    virtual void commit() = 0;
    // Whether the list may be shown now (MATH hides it while it is not the active system).
    virtual bool listMayShow() const { return true; }
    void showList();
    void hideList();
    // Drops the keys and the candidates and hides the list.
    void clearCandidates();

    CandidateList& m_list;
    CandidateMatches m_candidates;
    bool m_listVisible = false;
};

} // namespace braille
