#pragma once
// Where a row stands as a transcriber counts it, and the way back: the braille page and line of
// a row of a section (the numbers of the row labels "page - line" and of the pagination: a page
// has `linesPerPage` lines, line 1 carries the page number, so its rows are lines 2 ..
// linesPerPage), the row of a page and line, and the caret's place for the status bar.

#include "BrailleDocumentCursor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace braille {

struct PageLine {
    std::uint32_t page = 1; // from 1 in the section
    std::uint32_t line = 2; // as the row labels count: 2 .. linesPerPage
    friend bool operator==(const PageLine&, const PageLine&) = default;
};

// The rows of text a page holds. A page of one line is taken as a page of one row (labelled
// line 1), so that nothing is divided by zero.
std::uint32_t rowsOnPage(std::uint32_t linesPerPage);
// The line number the first row of a page takes: 2, or 1 when a page has a single line.
std::uint32_t firstRowLine(std::uint32_t linesPerPage);

PageLine pageLineOfRow(std::uint32_t row, std::uint32_t linesPerPage);

// The row of a page and line in a section of `rowCount` rows, or why there is none (Japanese,
// for the transcriber: the pages or lines that there are; `section` names the section, "本文").
struct RowOfPageLine {
    std::optional<std::uint32_t> row;
    std::u16string problem;
};
RowOfPageLine rowOfPageLine(PageLine place, std::uint32_t linesPerPage, std::uint32_t rowCount,
                            std::u16string_view section);

// The caret's braille page, line and cell (from 1) and the original page of its row:
// "3ページ 5行 12マス 原本p.12". Empty when the cursor stands on no document.
std::u16string caretPlaceText(const BrailleDocumentCursor& cursor, std::uint32_t linesPerPage);

} // namespace braille
