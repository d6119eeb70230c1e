#pragma once
// Edits at a character position of a paragraph of the current section.
//
// Each edit lays the paragraph out again, keeps the original-page label of its first row (the
// other rows of the paragraph come out unlabelled) and recounts the section's rows. Positions
// outside the paragraph and the deletion of the section's final end marker change nothing.

#include "BrailleDocument.h"
#include "CharacterDictionary.h"

#include <string_view>

namespace braille {

void deleteCharacter(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position);
void insertCharacter(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position,
                     const BrailleCharacter* entry);
// Converts the text (through the key set when `set` is 6..13, else as print text with the mode
// word, stopping after a line break) and inserts the entries before the position. Returns how
// many were inserted.
std::size_t insertText(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position,
                       std::u16string_view text, StoredCharMode mode, SetNumber set);
// The characters from the position on become a new paragraph after this one; this one gets a
// line break at its end. Both first rows keep this paragraph's first label.
void splitParagraph(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position);

// Inserts entries that contain no line break or end marker.
void insertEntries(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position,
                   const EntryList& entries);

} // namespace braille
