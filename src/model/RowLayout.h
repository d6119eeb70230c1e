#pragma once
// Lays a paragraph's characters out into rows of at most `cellsPerLine` cells (the document's
// line width).
//
// Rows break after blanks and line breaks where they can and inside a word where they must;
// the blanks (and the line break) that follow a break stay at the end of the earlier row, so a
// row's width may exceed the line width by them. A character wider than the whole line gets a
// row of its own.

#include "BrailleDocument.h"

#include <cstddef>

namespace braille {

constexpr bool isBlankCell(const BrailleCharacter* c) { return c->nabcc.size() == 1 && c->nabcc[0] == u' '; }
constexpr bool isLineBreakCell(const BrailleCharacter* c) { return c->nabcc.size() == 1 && c->nabcc[0] == u'\n'; }

// Removes the rows from `firstRow` on and lays the characters from `firstCharacter` on out into
// new rows with empty labels. Returns the index of the first new row.
std::size_t relayout(BrailleParagraph& paragraph, std::uint32_t cellsPerLine, std::size_t firstRow = 0,
                     std::size_t firstCharacter = 0);

} // namespace braille
