#pragma once
// What an embossing job sends: the book's braille pages as BRF (the BRF exporter's own bytes),
// cut to a range of pages and repeated for each copy. The pages are counted as they come off the
// embosser, 1 to the book's page count across all its sections, whatever each section numbers
// its own pages.

#include "Pagination.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace braille {

// Pages `first` to `last`, both counted from 1 and included; `first` 0 stands for every page.
struct PageRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool all() const { return first == 0; }
    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// "A-B" or "A" (one page), with A and B whole numbers from 1; anything else is none.
std::optional<PageRange> parsePageRange(std::string_view text);

// Why `range` does not fit a book of `pageCount` pages, in Japanese for the user, or empty.
std::string rangeProblem(const PageRange& range, std::size_t pageCount);

constexpr std::uint32_t kMostCopies = 999;

// The job's BRF: the pages of `range` (which must fit, see rangeProblem) written by the BRF
// writer, `copies` times one after the other, each copy starting on a new page. On both sides of
// the paper (`bothSides`) a copy with an odd number of pages is followed by an empty page, so that
// the next copy starts on a sheet of its own rather than on the back of the last one.
std::string embossBytes(const std::vector<BraillePage>& pages, const PageRange& range, std::uint32_t copies,
                        bool bothSides);

} // namespace braille
