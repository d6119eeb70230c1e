#include "BrailleDocumentCursor.h"

namespace braille {

namespace {
bool precedes(const CellPosition& a, const CellPosition& b)
{
    return a.row < b.row || (a.row == b.row && a.column < b.column);
}
} // namespace

std::uint32_t BrailleDocumentCursor::widthAt(std::size_t k) const
{
    const CharacterSequence& seq = *rows.paragraph().characters;
    return k < seq.size() ? std::uint32_t(seq[k]->cellCount()) : 0;
}

const BrailleCharacter* BrailleDocumentCursor::entry() const
{
    if (!isAttached())
        return nullptr;
    const CharacterSequence& seq = *rows.paragraph().characters;
    return character < seq.size() ? seq[character] : nullptr;
}

bool BrailleDocumentCursor::onLineBreak() const
{
    const BrailleCharacter* e = entry();
    return e && e->print == u"\u21B2";
}

bool BrailleDocumentCursor::onBlank() const
{
    const BrailleCharacter* e = entry();
    return e && e->print == u"\u25A1" && e->nabcc == u" ";
}

bool BrailleDocumentCursor::onEndMarker() const
{
    const BrailleCharacter* e = entry();
    return e && e->print == u"*" && e->nabcc == u" ";
}

void BrailleDocumentCursor::attach(BrailleDocument* doc, std::uint32_t row, std::uint32_t col)
{
    document = doc;
    if (document)
        goTo(row, col);
    collapseSelection();
}

void BrailleDocumentCursor::goTo(std::uint32_t row, std::uint32_t col)
{
    if (!document)
        return;
    rows = BrailleDocumentRowIterator::nearRow(*document, row);
    if (!rows.valid())
        return;
    character = rows.row().begin;
    column = 0;
    desiredColumn = col;
    placeAtDesiredColumn();
}

void BrailleDocumentCursor::placeAtDesiredColumn()
{
    if (!isAttached())
        return;
    const BrailleRow& r = rows.row();
    character = r.begin;
    column = 0;
    if (desiredColumn == 0)
        return;
    if (desiredColumn >= r.width) {
        character = r.end;
        column = r.width;
        if (rows.isParagraphsLastRow() && character > 0) {
            --character;
            column -= widthAt(character);
        }
        return;
    }
    while (character < r.end && column + widthAt(character) <= desiredColumn) {
        column += widthAt(character);
        ++character;
    }
}

bool BrailleDocumentCursor::moveRight()
{
    if (!isAttached())
        return false;
    const std::uint32_t n = widthAt(character);
    if (column + n < rows.row().width) {
        column += n;
        ++character;
        return true;
    }
    if (!rows.next())
        return false;
    character = rows.row().begin;
    column = 0;
    return true;
}

void BrailleDocumentCursor::moveLeft()
{
    if (!isAttached())
        return;
    if (character == rows.row().begin) {
        if (!rows.previous())
            return;
        character = rows.row().end;
        column = rows.row().width;
    }
    if (character == 0)
        return;
    --character;
    column -= std::min(column, widthAt(character));
}

std::uint32_t BrailleDocumentCursor::moveUp(std::uint32_t n)
{
    if (!isAttached())
        return 0;
    std::uint32_t moved = 0;
    while (moved < n && rows.previous())
        ++moved;
    placeAtDesiredColumn();
    return moved;
}

std::uint32_t BrailleDocumentCursor::moveDown(std::uint32_t n)
{
    if (!isAttached())
        return 0;
    std::uint32_t moved = 0;
    while (moved < n && rows.next())
        ++moved;
    placeAtDesiredColumn();
    return moved;
}

void BrailleDocumentCursor::goToRowEnd()
{
    if (!isAttached())
        return;
    character = rows.row().end;
    column = rows.row().width;
    if (rows.isParagraphsLastRow() && character > 0) {
        --character;
        column -= std::min(column, widthAt(character));
    }
    setDesired();
}

void BrailleDocumentCursor::goToCharacterIndex(std::size_t n)
{
    if (!isAttached())
        return;
    // Moves until the cursor stands on the n-th character of its paragraph. (From the state after
    // a row's end, a move right keeps the character and only changes the row, so counting moves
    // instead would stop one character short.)
    const auto paragraph = rows.paragraphPosition();
    while (character > n) {
        moveLeft();
        setDesired();
        if (rows.paragraphPosition() != paragraph)
            break; // the paragraph's start lies behind
    }
    while (character < n) {
        if (!moveRight())
            break;
        setDesired();
        if (rows.paragraphPosition() != paragraph)
            break; // n lies beyond this paragraph
    }
}

DocumentLocation BrailleDocumentCursor::location() const
{
    if (!isAttached())
        return {};
    return {document->section().placeOf(rows.paragraphPosition()).number, std::uint32_t(character)};
}

DocumentLocation BrailleDocumentCursor::locationAt(std::uint32_t row, std::uint32_t col) const
{
    if (!document)
        return {};
    BrailleDocumentCursor probe;
    probe.document = document;
    probe.goTo(row, col);
    return probe.location();
}

void BrailleDocumentCursor::goToLocation(DocumentLocation where)
{
    if (!document)
        return;
    ParagraphList& paragraphs = document->section().paragraphs;
    if (paragraphs.empty())
        return;
    const DocumentSection::Place place = document->section().placeOfNumber(where.paragraph);
    const auto it = place.paragraph;
    std::uint32_t row = place.firstRow;
    const CharacterSequence& seq = *it->characters;
    const std::size_t k = std::min<std::size_t>(where.character, seq.empty() ? 0 : seq.size() - 1);
    std::uint32_t col = 0;
    for (const BrailleRow& r : it->rows) {
        if (k < r.end) {
            for (std::size_t i = r.begin; i < k; ++i)
                col += std::uint32_t(seq[i]->cellCount());
            break;
        }
        ++row;
    }
    goTo(row, col);
}

void BrailleDocumentCursor::setSelectionEnd(bool collapse)
{
    end = position();
    if (collapse)
        anchor = end;
}

CellPosition BrailleDocumentCursor::selectionStart() const { return precedes(anchor, end) ? anchor : end; }
CellPosition BrailleDocumentCursor::selectionStop() const { return precedes(anchor, end) ? end : anchor; }

} // namespace braille
