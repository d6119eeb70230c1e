#pragma once
// The table of contents of a braille book, made from the headings of its body.
//
// A paragraph of the body that begins with 4, 6 or 8 blanks and then text is a heading (the
// smaller one at cell 5, the basic one at cell 7, the larger one at cell 9, as Japanese braille
// books set them). Each becomes a line of the contents section with the same indent, its text, a
// leader of dots 2-5 and the braille page number of the heading's first row, right-aligned. The
// section begins with the title "もくじ" at cell 9.

#include "BrailleDocument.h"
#include "CharacterDictionary.h"
#include "PageLayout.h"

#include <vector>

namespace braille {

struct Heading {
    std::uint32_t indent = 0; // blanks before the text
    EntryList text;
    std::uint32_t page = 1;   // the braille page of the body that holds it
};

// The headings of the body, in order; `document` is laid out to layout.ColumnNumber.
std::vector<Heading> findHeadings(const BrailleDocument& document, const PageLayout& layout);

// The lines of a contents section for these headings (entries, without line breaks).
std::vector<EntryList> contentsLines(const std::vector<Heading>& headings, const PageLayout& layout);

// Replaces the contents section of `document` with the table of contents of its body. A body
// without a heading leaves the document untouched (its contents may have been written by hand)
// and gives false.
bool composeTableOfContents(BrailleDocument& document, const PageLayout& layout);

// The combined table of contents of several volumes, volume by volume ("だい１かん" at cell 9
// before each volume's headings), as the contents section of `out`.
void composeCombinedContents(const std::vector<std::vector<Heading>>& volumes, const PageLayout& layout,
                             BrailleDocument& out);

} // namespace braille
