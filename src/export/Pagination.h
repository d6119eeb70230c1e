#pragma once
// A book laid out into braille pages, as it is embossed: every page has `LineNumber` lines of
// at most `ColumnNumber` cells. Line 1 is the page line: the braille page number (number sign and
// digits) right-aligned at its end and, where the page's rows carry an original-page label, that
// label at its start. The section's rows fill lines 2 to `LineNumber` in the order the editor's
// row labels number them ("page - line"), so a page on paper is the page the screen showed. The
// sections follow each other in the order cover, contents, body, colophon, each on new pages and
// each numbered from 1; a section with nothing in it makes no page.

#include "BrailleDocument.h"
#include "PageLayout.h"

#include <string>
#include <vector>

namespace braille {

struct BraillePage {
    SectionKind section = Body;
    std::uint32_t number = 1;       // within its section, from 1
    std::vector<std::string> lines; // Braille ASCII, no trailing blanks; lines[0] is the page line
};

// The print under the cells of a line: one character's print text over the cells it takes. The
// page line's numbers carry their digits.
struct PrintSpan {
    std::uint32_t column = 0; // its first cell, from 0
    std::uint32_t cells = 0;
    std::u16string print;
};

// The print of one page, line by line as BraillePage::lines: what a sighted proofreader reads
// under the cells. It never goes into an export; the exported bytes come from the lines alone.
struct PagePrint {
    std::vector<std::vector<PrintSpan>> lines;
};

// The cells of a braille number: the number sign and the digits ("12" → "#AB").
std::string brailleNumber(std::string_view digits);

// The pages of every section of `document`, which must be laid out to layout.ColumnNumber.
std::vector<BraillePage> paginate(const BrailleDocument& document, const PageLayout& layout);
// The same pages, and in `print` (one for each page) the print of their cells, found in the same
// walk so that the two cannot disagree.
std::vector<BraillePage> paginate(const BrailleDocument& document, const PageLayout& layout,
                                  std::vector<PagePrint>* print);

// Why `layout` cannot page any book, or empty: a page needs its page line and a row (2 lines)
// and a line at least one cell.
std::string layoutProblem(const PageLayout& layout);
// Why `layout` cannot page these pages, or empty: every page line must hold its page number
// (the number sign and the digits) within the line.
std::string pagesProblem(const std::vector<BraillePage>& pages, const PageLayout& layout);

// The page (counted from 1 in its section) that holds `row` of a section.
std::uint32_t pageOfRow(std::uint32_t row, std::uint32_t linesPerPage);

} // namespace braille
