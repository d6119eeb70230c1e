#pragma once
// The page geometry in force for the whole process: lines per page and cells per line.
//
// Row layout reads `ColumnNumber` at the moment it runs; rows already laid out keep their shape
// until their paragraph is laid out again.

#include <cstdint>

namespace braille {

struct PageLayout {
    std::uint32_t LineNumber = 22;   // lines per page
    std::uint32_t ColumnNumber = 32; // cells per line
};

PageLayout& pageLayout();

} // namespace braille
