#include "CharacterPosition.h"

namespace braille {

CharacterPosition characterPosition(const BrailleDocumentCursor& cursor)
{
    return {cursor.rows.paragraphPosition(), cursor.character};
}

CellPosition cellPosition(const BrailleDocumentCursor& cursor, CharacterPosition position)
{
    std::uint32_t firstRow = 0;
    if (cursor.isAttached() && cursor.rows.paragraphPosition() == position.paragraph) {
        firstRow = cursor.rows.index() - std::uint32_t(cursor.rows.rowInParagraph());
    } else {
        firstRow = cursor.document->section().placeOf(position.paragraph).firstRow;
    }
    const BrailleParagraph& paragraph = *position.paragraph;
    const CharacterSequence& characters = *paragraph.characters;
    for (std::size_t r = 0; r < paragraph.rows.size(); ++r) {
        const BrailleRow& row = paragraph.rows[r];
        if (position.character >= row.end && r + 1 < paragraph.rows.size())
            continue;
        std::uint32_t column = 0;
        for (std::size_t k = row.begin; k < position.character && k < characters.size(); ++k)
            column += std::uint32_t(characters[k]->cellCount());
        return {column, firstRow + std::uint32_t(r)};
    }
    return {0, firstRow};
}

DocumentLocation documentLocation(const BrailleDocument& document, CharacterPosition position)
{
    return {document.section().placeOf(position.paragraph).number, std::uint32_t(position.character)};
}

void placeCursor(BrailleDocumentCursor& cursor, CharacterPosition position)
{
    const CellPosition cell = cellPosition(cursor, position);
    cursor.goTo(cell.row, cell.column);
    cursor.setDesired();
}

const BrailleCharacter* characterAt(CharacterPosition position)
{
    const CharacterSequence& characters = *position.paragraph->characters;
    return position.character < characters.size() ? characters[position.character] : nullptr;
}

std::optional<CharacterPosition> previousPosition(const BrailleDocument& document, CharacterPosition position)
{
    if (position.character > 0)
        return CharacterPosition{position.paragraph, position.character - 1};
    if (position.paragraph == document.section().paragraphs.begin())
        return std::nullopt;
    auto previous = std::prev(position.paragraph);
    if (previous->characters->empty())
        return std::nullopt;
    return CharacterPosition{previous, previous->characters->size() - 1};
}

std::optional<CharacterPosition> nextPosition(const BrailleDocument& document, CharacterPosition position)
{
    if (position.character + 1 < position.paragraph->characters->size())
        return CharacterPosition{position.paragraph, position.character + 1};
    auto next = std::next(position.paragraph);
    if (next == document.section().paragraphs.end() || next->characters->empty())
        return std::nullopt;
    return CharacterPosition{next, 0};
}

} // namespace braille
