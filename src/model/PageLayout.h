#pragma once
// The page geometry: lines per page and cells per line.
//
// `pageLayout()` holds the geometry from the settings, which a new document takes when it is
// created; from then on the document keeps its own line width (BrailleDocument::cellsPerLine) and
// only the editing session changes it.

#include <cstdint>

namespace braille {

struct PageLayout {
    std::uint32_t LineNumber = 22;   // lines per page
    std::uint32_t ColumnNumber = 32; // cells per line
};

PageLayout& pageLayout();

} // namespace braille
