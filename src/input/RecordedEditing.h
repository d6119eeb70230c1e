#pragma once
// Edits at the cursor together with their undo step, as the input systems make them: one step
// per user action, recorded at the place where undo and redo will find the characters again.
//
// Positions are recorded where the characters stand after the edit has been laid out, which is
// where undo has to act. When a deletion lets a word move to another row, the place where the
// deleted characters stood before (where redo deletes them again) is recorded as the step's redo
// position.

#include "CharacterPosition.h"
#include "UndoHistory.h"

#include <string_view>

namespace braille {

// Inserts the entries in order as one insertion step; a line break splits the paragraph, empty
// pointers (lookups that found nothing) are skipped and not recorded. The cursor ends after the
// last inserted character. Returns the entries inserted.
EntryList insertEntriesRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo, const EntryList& entries);

// Converts the text (through key set `set` when it is 6..13, else as print text with the mode
// word) and inserts the result at the cursor as one insertion step. Returns the entries inserted,
// which end right before the cursor's character.
EntryList insertTextRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo, std::u16string_view text,
                             StoredCharMode mode, SetNumber set);

// Deletes the character at the cursor as one deletion step. Nothing is deleted or recorded at
// the section's final end marker. Returns the adjustment of deleteAtCursor, or -1 when nothing
// was deleted.
int deleteAtCursorRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo);

// Deletes the selection as one deletion step; false when it is empty.
bool deleteSelectionRecorded(BrailleDocumentCursor& cursor, UndoHistory& undo);

} // namespace braille
