#pragma once
// What the editing benchmarks share: a book-sized body and a stopwatch.

#include "BrailleDocument.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <vector>

namespace braille::bench {

// Fills the current section with paragraphs of kana words separated by blanks, as a book's body
// runs, until it holds `targetCharacters` characters (about 650,000 for 1000 pages of 21 rows).
void buildBody(BrailleDocument& document, std::size_t targetCharacters);

// The shipped tables loaded, the default page layout, and a complete document whose body holds
// about 1000 pages of 21 rows.
std::unique_ptr<BrailleDocument> thousandPageBook();

// Prints the median, 99th percentile and largest of the times (sorting them); true when the
// median is within the budget.
bool reportMedian(const char* what, std::vector<double>& micros, double budgetMicros);

template <typename F>
double timeMicros(F f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace braille::bench
