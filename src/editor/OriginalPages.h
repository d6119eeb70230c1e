#pragma once
// The original-page editor without its window: the three columns it shows for the rows of the
// body (the row's page and line, its print text, the original-page label where the labels
// change), the filter of what may be typed into the label column, and the labels it writes back
// (every row gets the nearest label at or above it).

#include "BrailleDocument.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace braille {

struct OriginalPageRows {
    std::vector<std::u16string> rowLabels; // "  1 -  2"
    std::vector<std::u16string> rowTexts;  // print texts, wide characters padded to their cells
    std::vector<std::u16string> labels;    // the label where it changes, else empty
};

// The rows of the document's current section.
OriginalPageRows originalPageRows(const BrailleDocument& document, std::uint32_t linesPerPage);

// What may be typed into the label column: digits, Backspace and Enter.
bool originalPageKeyAccepted(char16_t c);
// Text an input method commits there: nothing when it begins outside U+0001..U+00FF (Japanese
// or full-width text), otherwise the characters that may be typed.
std::u16string originalPageInput(std::u16string_view committed);

// The labels for `rows` rows from the lines of the label column: a line that is not empty
// becomes the current label, and every row takes the current one (empty before the first).
std::vector<std::u16string> originalPageLabels(const std::vector<std::u16string>& lines, std::size_t rows);

// Puts the labels on the rows of the current section, in order, and marks the document as
// labelled and modified (for a book that has no file to rewrite).
void applyOriginalPageLabels(BrailleDocument& document, const std::vector<std::u16string>& labels);

// The message log: one line "MSG ID : %04x , WPARAM : %04x " appended to Tenkora_log.txt in
// `folder` (owner-only, never through a link). Once the log reaches `limit` bytes it becomes
// Tenkora_log.1.txt, replacing the one before, and a new log starts, so it never grows without
// end. A log that cannot be written is left alone; it never stops the editor.
constexpr std::uintmax_t kMessageLogLimit = 256 * 1024;
void logMessage(const std::filesystem::path& folder, unsigned message, unsigned wParam,
                std::uintmax_t limit = kMessageLogLimit);

} // namespace braille
