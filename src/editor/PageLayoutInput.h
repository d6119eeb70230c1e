#pragma once
// What the page layout dialog accepts: lines per page and cells per line, whole numbers from 1 to
// 100. A field that is refused says why, in the dialog's own words.

#include "PageLayout.h"

#include <optional>
#include <string>
#include <string_view>

namespace braille {

constexpr int kLayoutMinimum = 1;
constexpr int kLayoutMaximum = 100;

struct LayoutField {
    std::optional<int> value;
    std::u16string message; // empty when the value was accepted
};

// Reads one field: "整数を入力してください。" for text that is not a whole number,
// "1 から 100 までの整数を入力してください。" for one outside the range.
LayoutField readLayoutField(std::u16string_view text);

// Both fields; the first refusal wins (lines per page first).
struct LayoutInput {
    std::optional<PageLayout> layout;
    std::u16string message;
};
LayoutInput readPageLayout(std::u16string_view linesPerPage, std::u16string_view cellsPerLine);

} // namespace braille
