#pragma once
// Paints the editor's picture of a section: the ruler, the grid, the rows with their labels, the
// characters coloured by set with the selection, the original-page labels and page-end bars,
// and the braille band of the caret's row; or the loading screen. The screen, printing and the
// benchmarks paint through here, so they show the same picture.
//
// Every measure comes from the font: a cell is as wide as the font's widest character plus 3
// pixels, a row as tall as the font plus 3, with a gap of a fifth of that between rows.
//
// The rows show print (each character's print text in a box as wide as its cells) or braille
// (each cell as its six dots, CellDots, in the same grid); the braille view can show each
// character's print under its cells, the rows then being taller by a line of the font.

#include "ViewPicture.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

class QPainter;

namespace braille {

// How the rows are drawn.
struct ViewStyle {
    bool braille = false;         // cells as dots instead of print
    bool printUnderCells = false; // in the braille view, the print under each character's cells
    bool operator==(const ViewStyle&) const = default;
};

struct ViewMetrics {
    int cellWidth = 0;
    int rowHeight = 0;
    int cellHeight = 0; // the part of a row the cells (or the print) take; the print under the cells below it
    int rowGap = 0;
    int rowPitch = 0;
    int labelMargin = 0;

    static ViewMetrics of(const QFont& font, bool linkMode, ViewStyle style = {});
    // Rows that fit completely in a height, and rows partly or completely visible.
    int fullRows(int height) const { return rowPitch ? (height + rowGap) / rowPitch : 0; }
    int visibleRows(int height) const { return rowPitch ? (height + rowPitch - 1) / rowPitch : 0; }
    // The left edge of cell `column` of a row.
    int cellLeft(std::uint32_t column) const { return labelMargin + int(column) * cellWidth; }
};

// The fixed palette.
namespace palette {
const QColor background{255, 255, 255};
const QColor label{96, 80, 80};
const QColor grid{224, 208, 208};
const QColor selectedText{255, 255, 255};
const QColor selectedBackground{80, 80, 128};
const QColor band{68, 68, 68};
const QColor pageEnd{240, 192, 192};
const QColor caretCell{0, 255, 0};
QColor of(CharacterColour colour);
} // namespace palette

// The colours of one picture: the normal palette above, or the high-contrast one for low vision
// (light text on black, a strong selection and caret).
struct Palette {
    QColor background, label, grid, selectedText, selectedBackground, band, bandText, pageEnd, caretCell, caret;
    QColor text, math, special, radical, other;
    int caretWidth = 2;
    QColor of(CharacterColour colour) const;
    static const Palette& normal();
    static const Palette& highContrast();
};

// The font of the view: a Japanese font for print text, the cell font for the cells.
QFont viewFont(int pointSize);

struct ViewFrame {
    QSize size;
    const BrailleDocument* document = nullptr;
    const BrailleDocumentCursor* cursor = nullptr;
    std::uint32_t top = 0;          // the first row shown
    std::uint32_t cellsPerLine = 32;
    PictureOptions options;
    // The loading screen instead of the rows, with the share read so far (total 0: unknown).
    bool loading = false;
    std::uint64_t loadDone = 0;
    std::uint64_t loadTotal = 0;
    // What is typed but not yet in the document, drawn at the caret.
    QString pending;
    bool highContrast = false;
    ViewStyle style;
    // The braille band of the caret's row at the bottom (a printed book has no caret).
    bool band = true;
};

struct PaintedFrame {
    QPoint caret;            // top left of the caret
    bool caretVisible = false;
    std::uint32_t firstRow = 0, lastRow = 0; // rows drawn
    int fullRows = 0, visibleRows = 0;
    BandPicture band;        // the caret's row as the braille band shows it
};

PaintedFrame paintView(QPainter& painter, const QFont& font, const ViewMetrics& metrics, const ViewFrame& frame);

} // namespace braille
