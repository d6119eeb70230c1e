#include "ViewPicture.h"

#include "Cells.h"
#include "PagePlace.h"

#include <algorithm>
#include <cstdio>

namespace braille {

CharacterColour characterColour(const BrailleCharacter& entry)
{
    switch (entry.set) {
    case 2: case 6: case 7: case 8: case 9:
        return CharacterColour::Text;
    case 3:
        return entry.print == u"\u221A" && entry.nabcc == u"]" ? CharacterColour::Radical : CharacterColour::Math;
    case 4: case 10: case 11: case 12: case 13:
        return CharacterColour::Math;
    case 1:
        return CharacterColour::Special;
    default:
        return CharacterColour::Other;
    }
}

std::u16string rowLabel(std::uint32_t row, std::uint32_t linesPerPage)
{
    const PageLine at = pageLineOfRow(row, linesPerPage);
    char text[40];
    std::snprintf(text, sizeof text, "%3u - %2u", at.page, at.line);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

bool isPageEnd(std::uint32_t row, std::uint32_t linesPerPage)
{
    const std::uint32_t perPage = rowsOnPage(linesPerPage);
    return row % perPage == perPage - 1;
}

bool isSelected(CellPosition start, CellPosition stop, std::uint32_t row, std::uint32_t column, std::uint32_t cells)
{
    if (start == stop)
        return false;
    const std::uint32_t last = column + (cells ? cells - 1 : 0);
    if (start.row == stop.row)
        return row == start.row && start.column <= last && last < stop.column;
    if (row > start.row && row < stop.row)
        return true;
    if (row == start.row)
        return last >= start.column;
    if (row == stop.row)
        return last < stop.column;
    return false;
}

std::u16string toDisplayCells(std::u16string_view nabcc)
{
    std::u16string out;
    for (char16_t c : nabcc)
        if (c > kFirstCell && c <= kLastCell)
            out.push_back(cellToPrivate(c));
    return out;
}

namespace {

template <typename Visit>
void eachCharacter(const BrailleParagraph& paragraph, const BrailleRow& row, Visit visit)
{
    std::uint32_t column = 0;
    for (std::uint32_t k = row.begin; k < row.end && k < paragraph.characters->size(); ++k) {
        const BrailleCharacter* e = (*paragraph.characters)[k];
        const std::uint32_t cells = std::uint32_t(e->cellCount());
        visit(k, e, column, cells);
        column += cells;
    }
}

} // namespace

std::vector<RowPicture> pictureRows(const BrailleDocument& document, const BrailleDocumentCursor& cursor,
                                    std::uint32_t first, std::uint32_t count, PictureOptions options)
{
    std::vector<RowPicture> rows;
    const std::uint32_t total = document.section().rowCount;
    if (first >= total || count == 0)
        return rows;
    const bool selection = cursor.hasSelection();
    const CellPosition start = cursor.selectionStart(), stop = cursor.selectionStop();
    const bool caretHere = cursor.isAttached() && cursor.document == &document;
    std::u16string lastOriginal = u"0";
    ConstBrailleDocumentRowIterator it(document, first);
    rows.reserve(std::min(count, total - first));
    while (it.valid() && rows.size() < count) {
        RowPicture& picture = rows.emplace_back();
        picture.row = it.index();
        if (!options.linkMode) {
            picture.label = rowLabel(picture.row, options.linesPerPage);
            picture.pageEnd = isPageEnd(picture.row, options.linesPerPage);
        }
        const BrailleParagraph& paragraph = it.paragraph();
        const bool onCaretRow = caretHere && cursor.row() == picture.row;
        eachCharacter(paragraph, it.row(), [&](std::uint32_t k, const BrailleCharacter* e, std::uint32_t column,
                                               std::uint32_t cells) {
            CharacterBox box{e, column, cells, characterColour(*e), false, false};
            box.selected = selection && isSelected(start, stop, picture.row, column, cells);
            box.atCaret = onCaretRow && k == cursor.character && cursor.column == column;
            picture.characters.push_back(box);
        });
        // The label of a paragraph's first row stands beside the first row shown of that run.
        const std::u16string& original = paragraph.rows.front().orgPage;
        if (original != lastOriginal) {
            lastOriginal = original;
            if (!original.empty())
                picture.originalPage = u"p." + original;
        }
        if (!it.next())
            break;
    }
    return rows;
}

BandPicture pictureBand(const BrailleDocumentCursor& cursor)
{
    BandPicture band;
    if (!cursor.isAttached())
        return band;
    const BrailleRow& row = cursor.rows.row();
    eachCharacter(cursor.rows.paragraph(), row, [&](std::uint32_t k, const BrailleCharacter* e, std::uint32_t column,
                                                    std::uint32_t cells) {
        const bool atCaret = k == cursor.character && cursor.column == column;
        band.characters.push_back({e, column, cells, characterColour(*e), false, atCaret});
        if (atCaret)
            band.caretCell = cursor.column + 1;
        for (char16_t c : e->nabcc)
            band.text.push_back(c == u'\n' ? u' ' : c);
    });
    return band;
}

} // namespace braille
