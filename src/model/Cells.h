#pragma once
// Cell codes and their other forms.
//
// A braille cell is one NABCC code unit (0x20..0x5F, the Braille ASCII assignment of the 64 six-dot
// patterns; 0x20 is the blank cell). The same cell can be written as a private-use character
// (U+E000 + code - 0x20), which is how raw-cell entries and menu captions show cells, or as the
// Unicode braille pattern U+2800 + dot mask (dot 1 = bit 0 ... dot 6 = bit 5).

#include <string>
#include <string_view>

namespace braille {

constexpr char16_t kFirstCell = 0x20;
constexpr char16_t kLastCell = 0x5F;
constexpr char16_t kPrivateCellBase = 0xE000;

constexpr bool isCellCode(char16_t c) { return c >= kFirstCell && c <= kLastCell; }
constexpr bool isPrivateCell(char16_t c) { return c >= kPrivateCellBase && c <= kPrivateCellBase + 0x3F; }

// Dot mask (bit 0 = dot 1 ... bit 5 = dot 6) of a cell code; -1 for a code that is not a cell.
int cellToDots(char16_t code);
// NABCC code of a dot mask 0..63.
char16_t dotsToCell(int mask);

constexpr char16_t cellToPrivate(char16_t code) { return char16_t(kPrivateCellBase + (code - kFirstCell)); }
constexpr char16_t privateToCell(char16_t pua) { return char16_t(kFirstCell + (pua - kPrivateCellBase)); }

// The cells as Unicode braille patterns; a code that is not a cell (the line break's line feed)
// is passed through unchanged.
std::u16string cellsToUnicode(std::u16string_view cells);

} // namespace braille
