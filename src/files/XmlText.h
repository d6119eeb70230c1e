#pragma once
// The character references of XML text, written and read.
//
// BML writes a few characters of cell strings, print texts and labels as entity references so
// that the tolerant reader (which stops print texts at "<" and labels at "\"") gets them back.
// Reading replaces the five predefined entities and numeric character references, because the
// link work file is written by a standard XML serialiser, which also writes control characters
// as "&#NN;". Anything else after "&" is kept as it stands.

#include <string>
#include <string_view>

namespace braille {

enum EscapeSet : unsigned {
    kEscapeAmp = 1,   // & -> &amp;
    kEscapeQuote = 2, // " -> &quot;
    kEscapeLess = 4,  // < -> &lt;
    kEscapeMore = 8,  // > -> &gt;
};

// Cell strings: all four characters.
constexpr unsigned kEscapeCells = kEscapeAmp | kEscapeQuote | kEscapeLess | kEscapeMore;
// Print texts (element content): what would end the text or start a reference.
constexpr unsigned kEscapeContent = kEscapeAmp | kEscapeLess | kEscapeMore;
// Labels (attribute values): the quote ends the value and ">" ends the reader's search for it.
constexpr unsigned kEscapeLabel = kEscapeCells;

// Appends `text` to `out` with the characters of `which` replaced by their references. Carriage
// returns and U+FEFF are always written as numeric references, because reading drops them
// wherever they stand as characters.
void appendEscaped(std::u16string& out, std::u16string_view text, unsigned which);
// True when appendEscaped would change the text.
bool needsEscape(std::u16string_view text, unsigned which);

// `text` with entity and character references replaced, in one pass from left to right.
std::u16string decodeReferences(std::u16string_view text);

} // namespace braille
