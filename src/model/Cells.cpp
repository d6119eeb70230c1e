#include "Cells.h"

namespace braille {

namespace {
// NABCC code for each dot mask 0..63.
constexpr char16_t kCellOfMask[65] = u" A1B'K2L@CIF/MSP\"E3H9O6R^DJG>NTQ,*5<-U8V.%[$+X!&;:4\\0Z7(_?W]#Y)=";

struct MaskTable {
    signed char mask[0x40];
    constexpr MaskTable() : mask{} {
        for (int m = 0; m < 64; ++m)
            mask[kCellOfMask[m] - kFirstCell] = static_cast<signed char>(m);
    }
};
constexpr MaskTable kMaskOfCell;
} // namespace

int cellToDots(char16_t code) { return isCellCode(code) ? kMaskOfCell.mask[code - kFirstCell] : -1; }

char16_t dotsToCell(int mask) { return kCellOfMask[mask & 0x3F]; }

std::u16string cellsToUnicode(std::u16string_view cells)
{
    std::u16string out;
    out.reserve(cells.size());
    for (char16_t c : cells) {
        int dots = cellToDots(c);
        out.push_back(dots < 0 ? c : char16_t(0x2800 + dots));
    }
    return out;
}

} // namespace braille
