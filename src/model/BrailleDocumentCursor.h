#pragma once
// The editing position over the rows of the current section: the caret the view draws, the
// position the input systems and editing operations act at, and the two ends of the selection.
//
// The cursor stands on a character of a row. In one state, after the end of a row that is not
// its paragraph's last, it stands on the next row's first character while still belonging to
// the earlier row (its column is then the row's width). Positions that must survive an edit are
// (row, column) pairs: editing lays a paragraph out again, and the cursor is re-attached by row
// number and column afterwards.

#include "BrailleDocumentRowIterator.h"

namespace braille {

// An exact place in the current section: a paragraph (counted from 0) and a character in it.
// Unlike a (row, column) pair it does not depend on how the rows happen to be laid out.
struct DocumentLocation {
    std::uint32_t paragraph = 0;
    std::uint32_t character = 0;
    friend bool operator==(const DocumentLocation&, const DocumentLocation&) = default;
};

struct CellPosition {
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

class BrailleDocumentCursor {
public:
    BrailleDocumentCursor() = default;

    // Attaches to the document at (row, column) and collapses the selection.
    void attach(BrailleDocument* document, std::uint32_t row = 0, std::uint32_t column = 0);
    // Row clamped to the section's last row; column taken as the desired column.
    void goTo(std::uint32_t row, std::uint32_t column);
    void placeAtDesiredColumn();
    bool moveRight();
    void moveLeft();
    std::uint32_t moveUp(std::uint32_t n);
    std::uint32_t moveDown(std::uint32_t n);
    void goToRowEnd();
    void goToCharacterIndex(std::size_t n);
    void setDesired() { desiredColumn = column; }
    // The place of the cursor's character, and the way back to a character: the cursor ends on
    // it within its own row (never in the state after the previous row's end).
    DocumentLocation location() const;
    void goToLocation(DocumentLocation location);
    // The character a (row, column) pair denotes now.
    DocumentLocation locationAt(std::uint32_t row, std::uint32_t column) const;
    void setSelectionEnd(bool collapse);
    void collapseSelection() { setSelectionEnd(true); }

    bool isAttached() const { return document && rows.valid(); }
    const BrailleCharacter* entry() const;
    std::uint32_t row() const { return rows.index(); }
    CellPosition position() const { return {column, rows.index()}; }
    bool atSectionStart() const { return rows.index() == 0 && column == 0; }
    bool onLineBreak() const;
    bool onBlank() const;
    bool onEndMarker() const;
    bool hasSelection() const { return !(anchor == end); }
    // The selection's two ends in document order.
    CellPosition selectionStart() const;
    CellPosition selectionStop() const;

    BrailleDocument* document = nullptr;
    BrailleDocumentRowIterator rows;
    std::size_t character = 0; // index in the paragraph's sequence
    std::uint32_t column = 0;
    std::uint32_t desiredColumn = 0;
    CellPosition anchor;
    CellPosition end;

private:
    std::uint32_t widthAt(std::size_t k) const;
};

} // namespace braille
