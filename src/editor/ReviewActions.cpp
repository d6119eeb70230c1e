#include "ReviewActions.h"

#include "CommandIds.h"
#include "EditingSession.h"

namespace braille {

void showReviewItem(EditingSession& session, const ReviewItem& item)
{
    session.selectStretch(item.section, item.begin, item.end);
}

bool applyReviewFix(EditingSession& session, const ReviewItem& item)
{
    if (!session.viewReady())
        return false;
    const ReviewFix fix = fixFor(*session.constDocument(), item);
    if (!fix.possible)
        return false;
    session.selectStretch(fix.section, fix.at, fix.stop);
    if (fix.at != fix.stop)
        session.command(cmd::Delete);
    else
        session.insertEntries(fix.insert);
    return true;
}

bool fixReviewItem(EditingSession& session, ReviewList& list, std::size_t index)
{
    if (!session.viewReady())
        return false;
    list.follow(session.undoHistory(), *session.constDocument());
    if (index >= list.size())
        return false;
    const ReviewItem item = list.items()[index];
    if (!applyReviewFix(session, item))
        return false;
    list.remove(index);
    list.follow(session.undoHistory(), *session.constDocument());
    return true;
}

std::optional<std::size_t> goToReviewItem(EditingSession& session, const ReviewList& list, bool forward)
{
    if (!session.viewReady())
        return std::nullopt;
    const BrailleDocumentCursor& cursor = session.cursor();
    const CellPosition from = cursor.hasSelection() ? cursor.selectionStart() : cursor.position();
    const DocumentLocation at = cursor.locationAt(from.row, from.column);
    const std::optional<std::size_t> next = list.next(session.constDocument()->currentSection, at, forward);
    if (next)
        showReviewItem(session, list.items()[*next]);
    return next;
}

} // namespace braille
