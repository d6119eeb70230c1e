#include "RecordedEditing.h"

#include "CursorEditing.h"

namespace braille {

namespace {

// After a deletion the characters that followed stand where the deleted ones stood, unless the
// layout moved them; then redo must go to the old place and undo to the new one.
void recordDeletion(BrailleDocumentCursor& cursor, UndoHistory& undo, CellPosition before, CharacterPosition at,
                    EntryList entries)
{
    const CellPosition after = cellPosition(cursor, at);
    undo.recordAt(documentLocation(*cursor.document, at), after.row, after.column, kDeletion, std::move(entries));
    if (!(after == before)) {
        UndoStep& step = undo.lastStep();
        step.redoRow = before.row;
        step.redoColumn = before.column;
    }
}

bool isSectionEnd(const BrailleDocumentCursor& cursor)
{
    return cursor.onEndMarker() && cursor.rows.isSectionsLastRow();
}

} // namespace

EntryList insertEntriesRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo, const EntryList& entries)
{
    EntryList inserted;
    if (!cursor.isAttached())
        return inserted;
    const BrailleCharacter* lineBreak = CharacterDictionary::instance().lineBreakEntry();
    const BrailleCharacter* endMarker = CharacterDictionary::instance().endMarkerEntry();
    const CharacterPosition start = characterPosition(cursor);
    CharacterPosition at = start;
    for (const BrailleCharacter* e : entries) {
        if (!e || e == endMarker)
            continue;
        if (!(characterPosition(cursor) == at))
            placeCursor(cursor, at);
        if (e == lineBreak) {
            insertLineBreakAtCursor(cursor);
            at = {std::next(at.paragraph), 0};
        } else {
            insertAtCursor(cursor, e);
            ++at.character;
        }
        inserted.push_back(e);
    }
    if (inserted.empty())
        return inserted;
    if (!(characterPosition(cursor) == at))
        placeCursor(cursor, at);
    const CellPosition cell = cellPosition(cursor, start);
    undo.recordAt(documentLocation(*cursor.document, start), cell.row, cell.column, kInsertion, inserted);
    return inserted;
}

EntryList insertTextRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo, std::u16string_view text,
                             StoredCharMode mode, SetNumber set)
{
    EntryList inserted;
    if (!cursor.isAttached() || text.empty())
        return inserted;
    const CharacterPosition start = characterPosition(cursor);
    const std::size_t m = insertTextAtCursor(cursor, text, mode, set);
    if (m == 0)
        return inserted;
    const CharacterSequence& characters = *start.paragraph->characters;
    inserted.assign(characters.begin() + std::ptrdiff_t(start.character),
                    characters.begin() + std::ptrdiff_t(start.character + m));
    const CharacterPosition end{start.paragraph, start.character + m};
    if (!(characterPosition(cursor) == end))
        placeCursor(cursor, end);
    const CellPosition cell = cellPosition(cursor, start);
    undo.recordAt(documentLocation(*cursor.document, start), cell.row, cell.column, kInsertion, inserted);
    return inserted;
}

int deleteAtCursorRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo)
{
    if (!cursor.isAttached() || isSectionEnd(cursor))
        return -1;
    const CharacterPosition at = characterPosition(cursor);
    const BrailleCharacter* e = characterAt(at);
    if (!e)
        return -1;
    const CellPosition before = cellPosition(cursor, at);
    const int result = deleteAtCursor(cursor);
    recordDeletion(cursor, undo, before, at, EntryList{e});
    return result;
}

bool deleteSelectionRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo)
{
    if (!cursor.isAttached() || !cursor.hasSelection())
        return false;
    const CellPosition anchor = cursor.anchor, end = cursor.end;
    EntryList entries;
    collectSelection(cursor, entries);
    cursor.anchor = anchor;
    cursor.end = end;
    const CellPosition start = cursor.selectionStart();
    cursor.goTo(start.row, start.column);
    const CharacterPosition at = characterPosition(cursor);
    const CellPosition before = cellPosition(cursor, at);
    cursor.anchor = anchor;
    cursor.end = end;
    if (!deleteSelectionUnrecorded(cursor))
        return false;
    if (!entries.empty())
        recordDeletion(cursor, undo, before, at, std::move(entries));
    return true;
}

} // namespace braille
