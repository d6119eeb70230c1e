#pragma once
// Where the review list's items stand as the transcriber counts: the section and the page and
// line of the row, as the editor's row labels number them.

#include "ReviewItem.h"

#include <vector>

namespace braille {

struct ReviewPlace {
    std::uint32_t row = 0;  // in the section
    std::u16string label;   // "本文 3-12"
};

// The places of items in document order, found in one walk over the paragraphs.
std::vector<ReviewPlace> reviewPlaces(const BrailleDocument& document, const std::vector<ReviewItem>& items,
                                      std::uint32_t linesPerPage);

} // namespace braille
