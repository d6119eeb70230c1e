#pragma once
// A braille cell drawn as its six dots: where each dot sits in a cell's box, how large it is for
// the box (so it follows the zoom), and the drawing itself. Raised dots are filled; the positions
// without a dot are drawn small and faint, so that a sighted proofreader can count positions.
// The editor's braille view and any other picture of cells (a page preview, printing) draw
// through here, so cells look the same everywhere.
//
// Dots are numbered as in braille: 1 2 3 down the left column, 4 5 6 down the right; the mask
// has dot 1 in bit 0 ... dot 6 in bit 5 (cellToDots).

#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QRectF>

#include <array>
#include <cstdint>
#include <map>
#include <tuple>

class QPainter;

namespace braille {

struct DotStyle {
    QColor raised;               // the dots of the cell
    QColor faint;                // the other positions; a transparent colour leaves them out
    qreal faintScale = 0.45;     // their radius against a raised dot's
};

// The distance between neighbouring dots in a box: braille cells are 2 dots wide and 3 high with
// a dot's pitch of room around them, so the box bounds the pitch both ways.
qreal dotPitch(const QRectF& cellBox);
// The radius of a raised dot in a box.
qreal dotRadius(const QRectF& cellBox);
// The centre of dot `dot` (1..6) in a box.
QPointF dotCentre(const QRectF& cellBox, int dot);

// Draws the cell with mask `dots` in the box, antialiased, as vectors (sharp at any scale).
void drawCell(QPainter& painter, const QRectF& cellBox, std::uint8_t dots, const DotStyle& style);

// The 64 cells of one size and style drawn once into pixmaps, for painting many cells fast on
// the screen (a pixmap copy costs far less than six antialiased ellipses).
class CellStamps {
public:
    // The cell drawn in a box of `size` (device-independent pixels) at `ratio` device pixels
    // per pixel.
    const QPixmap& stamp(QSize size, qreal ratio, std::uint8_t dots, const DotStyle& style);

private:
    using Key = std::tuple<int, int, qreal, QRgb, QRgb, qreal>;
    std::map<Key, std::array<QPixmap, 64>> m_stamps;
};

} // namespace braille
