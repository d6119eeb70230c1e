#include "ReviewPlaces.h"

#include "ViewPicture.h"

#include <algorithm>

namespace braille {

namespace {

// "  3 - 12" without the padding: "3-12".
std::u16string compact(std::u16string label)
{
    std::erase(label, u' ');
    return label;
}

} // namespace

std::vector<ReviewPlace> reviewPlaces(const BrailleDocument& document, const std::vector<ReviewItem>& items,
                                      std::uint32_t linesPerPage)
{
    std::vector<ReviewPlace> places(items.size());
    // Items are in document order: one walk per section carries the row count along.
    std::size_t i = 0;
    for (int s = 0; s < kSectionCount && i < items.size(); ++s) {
        const ParagraphList& paragraphs = document.sections[std::size_t(s)].paragraphs;
        auto p = paragraphs.begin();
        std::uint32_t number = 0, firstRow = 0;
        for (; i < items.size() && items[i].section == SectionKind(s); ++i) {
            const DocumentLocation at = items[i].begin;
            while (p != paragraphs.end() && number < at.paragraph) {
                firstRow += std::uint32_t(p->rows.size());
                ++p;
                ++number;
            }
            std::uint32_t row = firstRow;
            if (p != paragraphs.end())
                for (std::size_t r = 0; r < p->rows.size(); ++r)
                    if (at.character >= p->rows[r].begin)
                        row = firstRow + std::uint32_t(r);
            places[i].row = row;
            places[i].label = sectionCaption(SectionKind(s)) + u" " + compact(rowLabel(row, linesPerPage));
        }
    }
    return places;
}

} // namespace braille
