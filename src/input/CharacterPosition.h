#pragma once
// A character's place in the current section as a paragraph and an index into its sequence.
//
// The cursor works in rows and columns, which change meaning whenever an edit lays a paragraph
// out again (a word may move to the next row). Code that edits in several steps around one spot,
// like the braille rules, keeps its spots as character positions instead: a paragraph stays put
// in the section's list while characters are inserted or deleted inside it, so a position only
// needs shifting when an edit happens before it in the same paragraph.

#include "BrailleDocumentCursor.h"

#include <optional>

namespace braille {

struct CharacterPosition {
    ParagraphList::iterator paragraph;
    std::size_t character = 0;
    friend bool operator==(const CharacterPosition&, const CharacterPosition&) = default;
};

// The character the cursor stands on. After the end of a row that is not its paragraph's last,
// that is the first character of the next row.
CharacterPosition characterPosition(const BrailleDocumentCursor& cursor);

// The row and column where the character at `position` is drawn. The cursor only speeds up the
// search when it stands in the same paragraph.
CellPosition cellPosition(const BrailleDocumentCursor& cursor, CharacterPosition position);

// The same place counted as paragraph number and index, as the undo history keeps it.
DocumentLocation documentLocation(const BrailleDocument& document, CharacterPosition position);

// Puts the cursor on the character, at the start of the row that holds it, and makes its column
// the desired one.
void placeCursor(BrailleDocumentCursor& cursor, CharacterPosition position);

// The character at the position; none past the end of the paragraph.
const BrailleCharacter* characterAt(CharacterPosition position);

// The neighbouring positions across paragraph ends; none before the section's first character
// and after its last.
std::optional<CharacterPosition> previousPosition(const BrailleDocument& document, CharacterPosition position);
std::optional<CharacterPosition> nextPosition(const BrailleDocument& document, CharacterPosition position);

} // namespace braille
