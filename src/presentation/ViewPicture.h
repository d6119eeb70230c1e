#pragma once
// What the editor view shows, decided without pixels: for each visible row its label, its
// characters with their colour and selection, its original-page label and whether a page ends
// after it; and the braille band of the caret's row. The view turns this into pixels; printing,
// the tests and the benchmarks use the same picture.
//
// A page of braille has `linesPerPage` lines, the first of which carries the page number, so
// `linesPerPage - 1` rows of text fill a page; rows are labelled "page - line" with lines
// numbered 2 .. linesPerPage.

#include "BrailleDocumentCursor.h"

#include <string>
#include <vector>

namespace braille {

// How a character is coloured, by the set it belongs to.
enum class CharacterColour {
    Text,    // sets 2 and 6..9: black
    Math,    // sets 3, 4 and 10..13: blue
    Special, // set 1 (blank, line break, end marker): pale red
    Radical, // the radical sign of formulas: green
    Other,   // any other set: red, so that it stands out
};

CharacterColour characterColour(const BrailleCharacter& entry);

struct CharacterBox {
    const BrailleCharacter* entry = nullptr;
    std::uint32_t column = 0; // first cell
    std::uint32_t cells = 0;
    CharacterColour colour = CharacterColour::Text;
    bool selected = false;
    bool atCaret = false; // the character the caret stands on
};

struct RowPicture {
    std::uint32_t row = 0;       // in the section
    std::u16string label;        // "  1 -  2"; empty in link mode
    std::vector<CharacterBox> characters;
    std::u16string originalPage; // "p.12" when the row starts a run of that label, else empty
    bool pageEnd = false;        // the row is the last line of a page
};

struct BandPicture {
    std::vector<CharacterBox> characters; // the caret's row
    std::u16string text;                  // the row as display cells, blanks kept as spaces
    std::uint32_t caretCell = 0;          // the caret's cell counted from 1; 0 at the row's end
};

// "%3d - %2d" of the page and line of a row. With one line a page every row is a page of its
// own, numbered line 1.
std::u16string rowLabel(std::uint32_t row, std::uint32_t linesPerPage);
bool isPageEnd(std::uint32_t row, std::uint32_t linesPerPage);

// Whether a character of `cells` cells starting at `column` on `row` is selected by the
// selection from `start` to `stop` (in document order): judged by its last cell.
bool isSelected(CellPosition start, CellPosition stop, std::uint32_t row, std::uint32_t column, std::uint32_t cells);

// The cells as private-use cell characters for the band; the blank cell and anything that is no
// cell is dropped.
std::u16string toDisplayCells(std::u16string_view nabcc);

struct PictureOptions {
    std::uint32_t linesPerPage = 22;
    bool linkMode = false; // no row labels and no page ends
};

// The rows from `first` on, at most `count` of them, of the cursor's document's current section.
std::vector<RowPicture> pictureRows(const BrailleDocument& document, const BrailleDocumentCursor& cursor,
                                    std::uint32_t first, std::uint32_t count, PictureOptions options);

// The braille band: the caret's row.
BandPicture pictureBand(const BrailleDocumentCursor& cursor);

} // namespace braille
