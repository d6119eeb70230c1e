#pragma once
// Documents for tests, written as short strings, and dumps of their rows.
//
// In the strings, ASCII letters stand for the full-width letters (one cell each), '_' or ' ' for
// the blank, '\n' ends a paragraph, and any other character is converted as print text in the
// text set (so "が" is a two-cell character). Dumps show each row as its characters in the same
// notation followed by its width: "ab_|3". The line break shows as '$', the end marker as '*'.

#include "BrailleDocument.h"
#include "CharacterDictionary.h"

#include <string>
#include <string_view>

namespace braille::test {

EntryList entriesOf(std::u16string_view text);
const BrailleCharacter* entryOf(char16_t c);
// Fills the current section (which must be new) with the paragraphs of `text`.
void fillSection(BrailleDocument& document, std::u16string_view text);
std::string dumpRows(const BrailleDocument& document);
std::string notation(const BrailleCharacter* e);
// All characters of the current section, end marker included.
EntryList flatCharacters(const BrailleDocument& document);
// The print texts of the current section's characters, the end marker's "*" with `endMarker`.
std::string prints(const BrailleDocument& document, bool endMarker = true);

} // namespace braille::test
