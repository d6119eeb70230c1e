#pragma once
// Edits at the cursor: the paragraph-level edits wrapped so that the cursor ends where a
// transcriber expects it after the paragraph was laid out anew (words may have moved between
// rows). Every edit sets the document's `modified` flag.

#include "BrailleDocumentCursor.h"
#include "CharacterDictionary.h"

#include <string_view>

namespace braille {

// How delete at cursor had to adjust the cursor.
enum DeleteAdjustment : int {
    kDeleteInPlace = 0,
    kDeleteMovedBack = 1, // the word moved to another row; the cursor followed it
    kDeleteMovedRight = 2,
};

int deleteAtCursor(BrailleDocumentCursor& cursor);
// The line break entry is inserted as a paragraph split.
void insertAtCursor(BrailleDocumentCursor& cursor, const BrailleCharacter* entry);
std::size_t insertTextAtCursor(BrailleDocumentCursor& cursor, std::u16string_view text, StoredCharMode mode,
                               SetNumber set);
void insertLineBreakAtCursor(BrailleDocumentCursor& cursor);
// The entries between the selection's ends, in document order; the list is left untouched when
// the selection is empty. The cursor ends at the selection's stop.
void collectSelection(BrailleDocumentCursor& cursor, EntryList& out);
// Deletes the selection and records nothing (RecordedEditing's deleteSelectionRecorded records
// the deletion as one undo step); false when the selection is empty.
bool deleteSelectionUnrecorded(BrailleDocumentCursor& cursor);

} // namespace braille
