#include "PagePlace.h"

#include <algorithm>
#include <string>

namespace braille {

namespace {

std::u16string number(std::uint32_t n)
{
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

std::uint32_t rowsOnPage(std::uint32_t linesPerPage) { return linesPerPage > 2 ? linesPerPage - 1 : 1; }

std::uint32_t firstRowLine(std::uint32_t linesPerPage) { return linesPerPage < 2 ? 1 : 2; }

PageLine pageLineOfRow(std::uint32_t row, std::uint32_t linesPerPage)
{
    const std::uint32_t perPage = rowsOnPage(linesPerPage);
    return {row / perPage + 1, row % perPage + firstRowLine(linesPerPage)};
}

RowOfPageLine rowOfPageLine(PageLine place, std::uint32_t linesPerPage, std::uint32_t rowCount,
                            std::u16string_view section)
{
    const std::uint32_t perPage = rowsOnPage(linesPerPage);
    const std::uint32_t rows = std::max<std::uint32_t>(rowCount, 1);
    const std::uint32_t pages = (rows + perPage - 1) / perPage;
    if (place.page < 1 || place.page > pages)
        return {std::nullopt, number(place.page) + u"ページはありません。" + std::u16string(section) + u"は" + number(pages) + u"ページまでです。"};
    const std::uint32_t first = firstRowLine(linesPerPage);
    // The last page may be short: its lines end with the section's last row.
    const std::uint32_t rowsHere = std::min(perPage, rows - (place.page - 1) * perPage);
    const std::uint32_t last = first + rowsHere - 1;
    if (place.line < first || place.line > last)
        return {std::nullopt, number(place.page) + u"ページに" + number(place.line) + u"行はありません。行は" + number(first) +
                                  u"から" + number(last) + u"までです。"};
    return {(place.page - 1) * perPage + (place.line - first), {}};
}

std::u16string caretPlaceText(const BrailleDocumentCursor& cursor, std::uint32_t linesPerPage)
{
    if (!cursor.isAttached())
        return {};
    const PageLine at = pageLineOfRow(cursor.row(), linesPerPage);
    std::u16string text = number(at.page) + u"ページ " + number(at.line) + u"行 " + number(cursor.column + 1) + u"マス";
    const std::u16string& original = cursor.rows.row().orgPage;
    if (!original.empty())
        text += u" 原本p." + original;
    return text;
}

} // namespace braille
