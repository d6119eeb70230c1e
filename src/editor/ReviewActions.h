#pragma once
// What the review list asks of the editing session: to show an item (its characters selected)
// and to apply the fix of a finding, which the transcriber asked for on that item, as one undo
// step.

#include "BrailleCheck.h"
#include "ReviewList.h"

#include <optional>

namespace braille {

class EditingSession;

void showReviewItem(EditingSession& session, const ReviewItem& item);

// False, changing nothing, when the item has no fix or no longer stands on what was found.
bool applyReviewFix(EditingSession& session, const ReviewItem& item);

// The fix of the list's item `index`, applied; the item leaves the list and the others follow
// the edit. False, changing nothing, when there is no fix.
bool fixReviewItem(EditingSession& session, ReviewList& list, std::size_t index);

// F12 and Shift+F12: the next (or previous) item not done from the caret, or from the start of
// the selection, shown; its index, or none when there is nothing left to see.
std::optional<std::size_t> goToReviewItem(EditingSession& session, const ReviewList& list, bool forward);

} // namespace braille
