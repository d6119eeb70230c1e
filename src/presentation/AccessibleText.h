#pragma once
// The current section as the text a screen reader reads: one line per row, the row's print texts
// one after another (a blank cell as U+3000, the line break as the line's end, the end marker as
// nothing), every row but the last ending in a line feed. A sign without a print counterpart
// (the number sign, a connector, the foreign-letter sign, any cell typed as a cell) reads as its
// name, and so do the blanks the rules put after "。" and "、" (SignNames): the screen shows
// those as cells, which a screen reader would speak as nothing. Offsets count UTF-16 units of that
// text. Everything is answered from the rows, without building the section's whole text, in one
// walk over the rows before the answer (a screen reader asks afresh at every request, and asks
// for the whole text of a long book too).

#include "BrailleDocumentCursor.h"

#include <string>

namespace braille {

class AccessibleText {
public:
    explicit AccessibleText(const BrailleDocument& document) : m_document(document) {}

    // The text of one row, its line feed included (except on the last row).
    std::u16string rowText(std::uint32_t row) const;
    std::size_t length() const;
    // The offset where a row begins, and the row that holds an offset.
    std::size_t rowStart(std::uint32_t row) const;
    std::uint32_t rowAt(std::size_t offset) const;

    // The caret's offset, and the cell position of an offset (for setting the caret).
    std::size_t offsetOf(const BrailleDocumentCursor& cursor) const;
    CellPosition positionAt(std::size_t offset) const;

    // The line (row) and the word (a run between blanks and line ends) around an offset, as
    // [start, end) offsets.
    std::pair<std::size_t, std::size_t> lineAround(std::size_t offset) const;
    std::pair<std::size_t, std::size_t> wordAround(std::size_t offset) const;
    std::u16string text(std::size_t start, std::size_t end) const;

    // The span of the character that holds an offset (a sign's whole name); one unit at a line's
    // end.
    std::pair<std::size_t, std::size_t> characterAround(std::size_t offset) const;

    // What a character reads as, after the two characters before it in its paragraph (none at
    // the paragraph's start).
    static std::u16string_view readingOf(const BrailleCharacter* e, const BrailleCharacter* before,
                                         const BrailleCharacter* beforeThat);

    // The braille of the character at an offset, for a screen reader's attributes:
    // "braille-dots:1-2,5;braille-set:text" (cells separated by commas, sets text/math/braille).
    std::u16string attributesAt(std::size_t offset) const;

private:
    using RowIterator = ConstBrailleDocumentRowIterator;
    // The row that holds an offset (the last row for an offset past the end) and the offset
    // where it begins, found in one walk.
    struct RowStart {
        RowIterator row;
        std::size_t start = 0;
    };
    RowStart rowHolding(std::size_t offset) const;
    // The character drawn at an offset of a row's text, or none (the line end).
    const BrailleCharacter* characterAt(const RowIterator& row, std::size_t column) const;

    const BrailleDocument& m_document;
};

} // namespace braille
