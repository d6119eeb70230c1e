#pragma once
// A braille page drawn as it will be embossed: every cell of every line as its six dots (raised
// dots filled, the other positions faint), on a white sheet, with the print of each character
// under its cells when asked. The page preview paints through here on the screen and when it
// prints the proof for a sighted proofreader, so both show the same page.
//
// Every measure follows the cell pitch (the distance from one cell to the next), so the page
// keeps the proportions of paper braille at any zoom: dots about 0.4 of the pitch apart, lines 1.7
// pitches apart, and the print under a line in a band of 0.9 pitches.

#include "Pagination.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <cstdint>

class QPainter;

namespace braille {

struct PageGeometry {
    qreal cellPitch = 16;
    bool printUnder = false;
    std::uint32_t columns = 32;
    std::uint32_t lines = 22;

    qreal margin() const { return cellPitch * 0.8; }
    qreal dotBandHeight() const { return cellPitch * 1.3; }
    qreal printBandHeight() const { return printUnder ? cellPitch * 0.9 : 0; }
    qreal linePitch() const { return cellPitch * 0.4 + dotBandHeight() + printBandHeight(); }
    // The sheet, from its top left corner.
    QSizeF sheetSize() const;
    // The box of a cell's dots and the band of print under cells, on the sheet (line 0 is the
    // page line).
    QRectF cellBox(std::uint32_t line, std::uint32_t column) const;
    QRectF printBox(std::uint32_t line, std::uint32_t column, std::uint32_t cells) const;
};

struct PageColours {
    QColor sheet{255, 255, 255};
    QColor edge{160, 160, 160};
    QColor raised{0, 0, 0};
    QColor faint{215, 215, 215};
    QColor print{40, 40, 140};
};

// Paints the page with its sheet's top left corner at the painter's origin; `print` (may be
// null) is the page's print, drawn under the cells when the geometry asks for it.
void paintBraillePage(QPainter& painter, const PageGeometry& geometry, const BraillePage& page, const PagePrint* print,
                      const PageColours& colours = {});

// "本文 3ページ": the section and the page's number in it.
QString pageCaption(const BraillePage& page);

} // namespace braille
