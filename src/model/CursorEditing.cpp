#include "CursorEditing.h"

#include "PageLayout.h"
#include "ParagraphEditing.h"

namespace braille {

namespace {

void reattach(BrailleDocumentCursor& c, std::uint32_t row, std::uint32_t column) { c.goTo(row, column); }

void moveRightAndSetDesired(BrailleDocumentCursor& c)
{
    c.moveRight();
    c.setDesired();
}

void moveLeftAndSetDesired(BrailleDocumentCursor& c)
{
    c.moveLeft();
    c.setDesired();
}

bool usable(const BrailleDocumentCursor& c) { return c.isAttached() && c.document->section().rowCount > 0; }

// Whether a blank precedes the current word in the paragraph, the character right before the
// cursor not counted. Walks the cursor left; the caller re-attaches it.
bool blankBeforeWord(BrailleDocumentCursor& c)
{
    moveLeftAndSetDesired(c);
    for (;;) {
        if (c.onLineBreak() || c.atSectionStart())
            return false;
        moveLeftAndSetDesired(c);
        if (c.onBlank())
            return true;
    }
}

} // namespace

int deleteAtCursor(BrailleDocumentCursor& c)
{
    if (!usable(c) || c.row() > c.document->section().rowCount - 1)
        return kDeleteInPlace;
    const std::uint32_t R = c.row(), L = c.column;
    const std::size_t k = c.character;
    const DocumentLocation deleted = c.location();

    // n: the distance to the end of the word, for following the word when it moves rows.
    std::uint32_t n = 0;
    if (!c.onEndMarker()) {
        while (!c.onLineBreak() && !c.onBlank()) {
            if (!c.moveRight())
                break;
            c.setDesired();
            ++n;
            if (c.onEndMarker())
                break;
        }
    }
    reattach(c, R, L);
    moveRightAndSetDesired(c);
    const BrailleCharacter* next = c.entry();

    reattach(c, R, L);
    deleteCharacter(*c.document, c.rows.paragraphPosition(), c.character);

    reattach(c, R, L);
    const BrailleCharacter* after = c.entry();
    c.goToCharacterIndex(k);
    if (L == 0 && c.row() != R) {
        reattach(c, R, 0);
        c.goToRowEnd();
    }
    int result = kDeleteInPlace;
    if (c.entry() != after) {
        moveRightAndSetDesired(c);
        result = kDeleteMovedRight;
        if (c.entry() != next) {
            reattach(c, R, 0);
            for (std::uint32_t i = 0; i < n; ++i)
                moveLeftAndSetDesired(c);
            result = kDeleteMovedBack;
        }
    }
    // Whatever the row changes did, the cursor must end on the character that followed the
    // deleted one: repeated deletions (a selection, an undo) rely on it.
    if (c.location() != deleted)
        c.goToLocation(deleted);
    c.collapseSelection();
    c.document->modified = true;
    return result;
}

void insertAtCursor(BrailleDocumentCursor& c, const BrailleCharacter* e)
{
    if (!e || !usable(c))
        return;
    const CharacterDictionary& d = CharacterDictionary::instance();
    if (e == d.lineBreakEntry()) {
        insertLineBreakAtCursor(c);
        return;
    }
    if (e == d.endMarkerEntry())
        return;
    const std::uint32_t w = std::uint32_t(e->cellCount());
    const std::uint32_t columns = c.document->cellsPerLine;
    const std::size_t k = c.character;
    if (k > 0) {
        // Turns the position after a row's end into the first character of the next row.
        moveLeftAndSetDesired(c);
        moveRightAndSetDesired(c);
    }
    const std::uint32_t R = c.row(), L = c.column;
    const DocumentLocation inserted = c.location();

    const bool F = blankBeforeWord(c);

    reattach(c, R, L);
    insertCharacter(*c.document, c.rows.paragraphPosition(), c.character, e);
    reattach(c, R, L);
    const std::uint32_t W = c.column, R1 = c.row(), Wrow = c.rows.row().width;
    c.goToCharacterIndex(k);
    if (F && c.row() != R)
        moveRightAndSetDesired(c);

    const auto wrappedInParagraph = [&](std::uint32_t laterRow) {
        return R1 > laterRow && Wrow < w + k && R1 <= c.rows.paragraph().rows.size() - 1;
    };
    const std::uint32_t R2 = c.row();
    if (wrappedInParagraph(R2)) {
        if (k < columns)
            c.goTo(R2, std::uint32_t(k));
        else
            c.goTo(R1, W);
    }
    const std::uint32_t R3 = c.row();
    if ((R1 < R3 && Wrow < w + k && R1 <= c.rows.paragraph().rows.size() - 1) || (R1 != R3 && c.entry() != e))
        moveRightAndSetDesired(c);
    if (!F || c.row() == R) {
        if (W <= columns || e == d.blankEntry())
            moveRightAndSetDesired(c);
        else
            c.goTo(c.row() + 1, w + 1);
    }
    // The cursor ends on the character after the inserted one (possibly in the state after the
    // end of the row that holds the insertion).
    const DocumentLocation after{inserted.paragraph, inserted.character + 1};
    if (c.location() != after)
        c.goToLocation(after);
    c.document->modified = true;
}

std::size_t insertTextAtCursor(BrailleDocumentCursor& c, std::u16string_view text, StoredCharMode mode, SetNumber set)
{
    if (text.empty() || !usable(c))
        return 0;
    const std::size_t k = c.character;
    const std::uint32_t R = c.row(), L = c.column;
    const DocumentLocation at = c.location();
    const std::size_t m = insertText(*c.document, c.rows.paragraphPosition(), c.character, text, mode, set);
    reattach(c, R, L);
    c.goToCharacterIndex(k);
    for (std::size_t i = 0; i < m; ++i)
        moveRightAndSetDesired(c);
    // The cursor ends on the character after the inserted text. Counting moves can end one short
    // or one long where the text made a word wrap to the next row (the state after a row's end
    // counts as a move of its own), so the exact place is taken when they disagree.
    const DocumentLocation after{at.paragraph, at.character + std::uint32_t(m)};
    if (c.location() != after) {
        c.goToLocation(after);
        c.setDesired();
    }
    c.collapseSelection();
    c.document->modified = true;
    return m;
}

void insertLineBreakAtCursor(BrailleDocumentCursor& c)
{
    if (!usable(c))
        return;
    const std::uint32_t R = c.row(), L = c.column;
    splitParagraph(*c.document, c.rows.paragraphPosition(), c.character);
    reattach(c, R, L);
    moveRightAndSetDesired(c);
    c.document->modified = true;
}

namespace {

// Walks from the selection's start to its stop, calling `visit` with the entry under the cursor
// before each step. Returns the number of steps.
template <typename Visit>
std::size_t walkSelection(BrailleDocumentCursor& c, Visit visit)
{
    const CellPosition start = c.selectionStart(), stop = c.selectionStop();
    c.goTo(start.row, start.column);
    std::size_t steps = 0;
    while (!(c.position() == stop) && c.row() <= stop.row) {
        if (c.onEndMarker() && c.rows.isSectionsLastRow())
            break; // the section's end marker is never part of a selection
        // After a row's end the cursor already stands on the next row's first character; the
        // step to the next row passes nothing, and that character is taken from the next row.
        if (c.character < c.rows.row().end) {
            visit(c.entry());
            ++steps;
        }
        if (!c.moveRight())
            break;
        c.setDesired();
    }
    return steps;
}

} // namespace

void collectSelection(BrailleDocumentCursor& c, EntryList& out)
{
    if (!usable(c) || !c.hasSelection())
        return;
    out.clear();
    walkSelection(c, [&](const BrailleCharacter* e) { out.push_back(e); });
}

bool deleteSelectionUnrecorded(BrailleDocumentCursor& c)
{
    if (!usable(c) || !c.hasSelection())
        return false;
    const std::size_t steps = walkSelection(c, [](const BrailleCharacter*) {});
    const CellPosition start = c.selectionStart();
    c.goTo(start.row, start.column);
    // The characters are deleted at one exact place: deleting a line break joins the next
    // paragraph, so what follows keeps coming to the same index.
    const DocumentLocation at = c.location();
    auto paragraph = c.rows.paragraphPosition();
    for (std::size_t i = 0; i < steps; ++i)
        deleteCharacter(*c.document, paragraph, at.character);
    c.document->modified = true;
    c.goToLocation(at);
    c.collapseSelection();
    c.setDesired();
    return true;
}

} // namespace braille
