#include "RowLayout.h"

namespace braille {

std::size_t relayout(BrailleParagraph& paragraph, std::uint32_t cellsPerLine, std::size_t firstRow,
                     std::size_t firstCharacter)
{
    std::vector<BrailleRow>& rows = paragraph.rows;
    if (firstRow < rows.size())
        rows.erase(rows.begin() + std::ptrdiff_t(firstRow), rows.end());
    const std::size_t result = rows.size();
    if (!paragraph.characters)
        return result;
    const CharacterSequence& chars = *paragraph.characters;
    const std::size_t count = chars.size();
    const std::uint32_t limit = cellsPerLine;

    std::size_t s = firstCharacter;
    while (s < count) {
        std::uint32_t w = 0, breakWidth = 0;
        std::size_t p = s, breakAt = s;
        bool lineBreakSeen = false;
        while (p < count) {
            const std::uint32_t n = std::uint32_t(chars[p]->cellCount());
            if (w + n > limit || lineBreakSeen)
                break;
            if (isLineBreakCell(chars[p]))
                lineBreakSeen = true;
            w += n;
            ++p;
            if (p >= count || isBlankCell(chars[p]) || isLineBreakCell(chars[p]) || lineBreakSeen) {
                breakAt = p;
                breakWidth = w;
            }
        }
        if (breakWidth != 0) {
            p = breakAt;
            w = breakWidth;
        } else if (p == s) {
            // A character wider than the whole line: it gets a row of its own, so that layout
            // always makes progress and keeps every character.
            w = std::uint32_t(chars[p]->cellCount());
            ++p;
        }
        while (p < count && (isBlankCell(chars[p]) || isLineBreakCell(chars[p]))) {
            w += std::uint32_t(chars[p]->cellCount());
            ++p;
        }
        rows.push_back({std::uint32_t(s), std::uint32_t(p), w, {}});
        s = p;
    }
    return result;
}

} // namespace braille
