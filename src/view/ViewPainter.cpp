#include "ViewPainter.h"

#include "CellDots.h"
#include "CharacterDictionary.h"
#include "Cells.h"
#include "QtText.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>

namespace braille {

ViewMetrics ViewMetrics::of(const QFont& font, bool linkMode, ViewStyle style)
{
    const QFontMetrics fm(font);
    ViewMetrics m;
    // The widest character of a CJK font is a full-width one; fonts that report a wider maximum
    // (for a rare ligature) would stretch every cell, so the full-width width bounds it.
    const int fullWidth = fm.horizontalAdvance(QChar(0x3042));
    m.cellWidth = std::min(fm.maxWidth(), std::max(fullWidth, fm.averageCharWidth())) + 3;
    m.cellHeight = fm.height() + 3;
    m.rowHeight = m.cellHeight + (style.braille && style.printUnderCells ? fm.height() : 0);
    m.rowGap = int(0.2f * float(m.rowHeight));
    m.rowPitch = m.rowHeight + m.rowGap;
    m.labelMargin = linkMode ? 0 : 4 * m.cellWidth;
    return m;
}

QColor palette::of(CharacterColour colour)
{
    switch (colour) {
    case CharacterColour::Text: return {0, 0, 0};
    case CharacterColour::Math: return {0, 0, 240};
    case CharacterColour::Special: return {240, 192, 192};
    case CharacterColour::Radical: return {0, 255, 0};
    case CharacterColour::Other: break;
    }
    return {255, 0, 0};
}

QColor Palette::of(CharacterColour colour) const
{
    switch (colour) {
    case CharacterColour::Text: return text;
    case CharacterColour::Math: return math;
    case CharacterColour::Special: return special;
    case CharacterColour::Radical: return radical;
    case CharacterColour::Other: break;
    }
    return other;
}

const Palette& Palette::normal()
{
    static const Palette p{palette::background, palette::label, palette::grid, palette::selectedText,
                           palette::selectedBackground, palette::band, QColor(Qt::white), palette::pageEnd,
                           palette::caretCell, QColor(Qt::black), palette::of(CharacterColour::Text),
                           palette::of(CharacterColour::Math), palette::of(CharacterColour::Special),
                           palette::of(CharacterColour::Radical), palette::of(CharacterColour::Other), 2};
    return p;
}

const Palette& Palette::highContrast()
{
    static const Palette p{QColor(0, 0, 0), QColor(255, 255, 0), QColor(90, 90, 90), QColor(0, 0, 0),
                           QColor(255, 255, 0), QColor(0, 0, 96), QColor(255, 255, 255), QColor(255, 128, 0),
                           QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 255, 255), QColor(0, 255, 255),
                           QColor(160, 160, 160), QColor(0, 255, 0), QColor(255, 96, 96), 4};
    return p;
}

QFont viewFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Tenkora Cells")});
    font.setPointSize(pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

namespace {

void paintLoading(QPainter& p, const ViewFrame& f)
{
    const Palette& pal = f.highContrast ? Palette::highContrast() : Palette::normal();
    p.fillRect(QRect(QPoint(0, 0), f.size), pal.selectedBackground);
    const QString text = f.loadTotal ? QStringLiteral("%1 %").arg(f.loadDone * 100 / f.loadTotal)
                                     : QStringLiteral("Now Loading...");
    p.setPen(pal.selectedText);
    p.drawText(QRect(0, f.size.height() / 2, f.size.width(), f.size.height() - f.size.height() / 2),
               Qt::AlignHCenter | Qt::AlignTop, text);
}

void paintGridAndRuler(QPainter& p, const ViewMetrics& m, const ViewFrame& f)
{
    const Palette& pal = f.highContrast ? Palette::highContrast() : Palette::normal();
    const int W = f.size.width(), H = f.size.height(), X0 = m.labelMargin;
    const int XR = std::min(X0 + int(f.cellsPerLine) * m.cellWidth, W);
    p.setPen(pal.grid);
    for (int y = 0; y <= H; y += m.rowPitch) {
        p.drawLine(X0, y, XR - 1, y);
        p.drawLine(X0, y + m.rowHeight, XR - 1, y + m.rowHeight);
    }
    for (int k = 0; k <= int(f.cellsPerLine) && X0 + k * m.cellWidth <= W; ++k)
        p.drawLine(X0 + k * m.cellWidth, 0, X0 + k * m.cellWidth, H - 1);
    p.fillRect(0, 0, W, m.rowHeight, pal.band);
    p.setPen(pal.bandText);
    for (int i = 5; i <= int(f.cellsPerLine); i += 5)
        p.drawText(QRect(X0 + (i - 1) * m.cellWidth, 2, m.cellWidth, m.rowHeight - 2), Qt::AlignCenter,
                   QString::number(i));
    if (!f.options.linkMode)
        p.drawText(QRect(X0 + int(f.cellsPerLine) * m.cellWidth, 2, 5 * m.cellWidth, m.rowHeight - 2),
                   Qt::AlignCenter, QStringLiteral("原本ページ"));
}

// A colour part way from `ink` to `paper`.
QColor blend(const QColor& ink, const QColor& paper, qreal inkShare)
{
    const auto mix = [&](int a, int b) { return int(a * inkShare + b * (1 - inkShare) + 0.5); };
    return QColor(mix(ink.red(), paper.red()), mix(ink.green(), paper.green()), mix(ink.blue(), paper.blue()));
}

// The cells of the screen's pictures, drawn once a size and colour (painting is on the window's
// thread only).
CellStamps& screenStamps()
{
    static CellStamps stamps;
    return stamps;
}

// One character of a row in the braille view: its cells as dots in `box` (as wide as its cells,
// `cellHeight` of it for the cells), and its print below them when asked. The line break and
// the end marker are no cells: they keep their print marks.
void paintBrailleCharacter(QPainter& p, const ViewMetrics& m, const ViewFrame& f, const Palette& pal,
                           const CharacterBox& c, const QRect& box, bool stamps)
{
    const QColor ink = c.selected ? pal.selectedText : pal.of(c.colour);
    const QColor paper = c.selected ? pal.selectedBackground : pal.background;
    const QRect cells(box.left(), box.top(), box.width(), std::min(box.height(), m.cellHeight - 3));
    const CharacterDictionary& d = CharacterDictionary::instance();
    if (c.entry == d.lineBreakEntry() || c.entry == d.endMarkerEntry()) {
        p.setPen(ink);
        p.drawText(cells, Qt::AlignCenter, qt(c.entry->print));
    } else {
        // The empty positions in a faint shade of the ink; a blank cell's pale colour would
        // hide them, so those take the text's.
        const QColor faintInk = c.colour == CharacterColour::Special && !c.selected ? pal.text : ink;
        const DotStyle style{ink, blend(faintInk, paper, 0.3)};
        const qreal ratio = p.device()->devicePixelRatioF();
        int left = box.left();
        for (char16_t cell : c.entry->nabcc) {
            const int dots = cellToDots(cell);
            const QRect one(left, cells.top(), m.cellWidth, cells.height());
            left += m.cellWidth;
            if (dots < 0)
                continue;
            if (stamps)
                p.drawPixmap(one.topLeft(), screenStamps().stamp(one.size(), ratio, std::uint8_t(dots), style));
            else
                drawCell(p, one, std::uint8_t(dots), style);
        }
    }
    if (f.style.printUnderCells) {
        p.setPen(ink);
        p.drawText(QRect(box.left(), cells.bottom() + 1, box.width(), box.bottom() - cells.bottom()), Qt::AlignCenter,
                   qt(c.entry->print));
    }
}

} // namespace

PaintedFrame paintView(QPainter& p, const QFont& font, const ViewMetrics& m, const ViewFrame& f)
{
    const Palette& pal = f.highContrast ? Palette::highContrast() : Palette::normal();
    PaintedFrame out;
    p.setFont(font);
    if (f.loading || !f.document || !f.cursor) {
        paintLoading(p, f);
        return out;
    }
    const int W = f.size.width(), H = f.size.height();
    p.fillRect(QRect(0, 0, W, H), pal.background);
    out.fullRows = m.fullRows(H);
    out.visibleRows = m.visibleRows(H);
    paintGridAndRuler(p, m, f);

    // The rows that fit between the ruler and the band.
    const int rowsRoom = std::max(0, (H - m.rowHeight - m.rowPitch) / std::max(m.rowPitch, 1) + 1);
    // Scrolled to the very end, the last row still shows.
    const std::uint32_t total = f.document->section().rowCount;
    const std::uint32_t first = total && f.top >= total ? total - 1 : f.top;
    const std::vector<RowPicture> rows = pictureRows(*f.document, *f.cursor, first, std::uint32_t(rowsRoom), f.options);
    int top = m.rowPitch + 2, bottom = m.rowPitch + m.rowHeight - 1;
    // On the screen the dots are copied from cells drawn once; a printer gets them as vectors.
    const bool stamps = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
    out.firstRow = first;
    out.lastRow = first;
    for (const RowPicture& row : rows) {
        if (top > H - m.rowPitch)
            break;
        int left = 1;
        if (!f.options.linkMode) {
            p.setPen(pal.label);
            p.drawText(QRect(left, top, m.labelMargin, bottom - top), Qt::AlignCenter, qt(row.label));
            left += m.labelMargin;
        } else {
            left = 0;
        }
        for (const CharacterBox& c : row.characters) {
            const QRect box(left, top, int(c.cells) * m.cellWidth, bottom - top);
            if (c.selected)
                p.fillRect(box.adjusted(1, -1, 0, 1), pal.selectedBackground);
            if (f.style.braille) {
                paintBrailleCharacter(p, m, f, pal, c, box, stamps);
            } else {
                p.setPen(c.selected ? pal.selectedText : pal.of(c.colour));
                p.drawText(box, Qt::AlignCenter, qt(c.entry->print));
            }
            left += box.width();
        }
        if (!row.originalPage.empty()) {
            p.setPen(pal.label);
            p.drawText(QRect(int(f.cellsPerLine + 4) * m.cellWidth, top, 4 * m.cellWidth, bottom - top),
                       Qt::AlignRight | Qt::AlignVCenter, qt(row.originalPage));
        }
        if (row.pageEnd)
            p.fillRect(0, bottom + 1, W, 6, pal.pageEnd);
        out.lastRow = row.row;
        top += m.rowPitch;
        bottom += m.rowPitch;
    }

    // The caret, and what is still being typed there.
    const BrailleDocumentCursor& cursor = *f.cursor;
    if (cursor.isAttached() && cursor.row() >= first) {
        out.caret = QPoint(m.cellLeft(cursor.column),
                           int(cursor.row() - first + 1) * m.rowPitch);
        out.caretVisible = out.caret.y() + m.rowHeight <= H - m.rowHeight;
    }
    if (out.caretVisible && !f.pending.isEmpty()) {
        const QFontMetrics fm(font);
        const QRect box(out.caret.x() + 2, out.caret.y() + 2, fm.horizontalAdvance(f.pending) + 6, m.rowHeight - 2);
        p.fillRect(box, QColor(255, 255, 224));
        p.setPen(Qt::black);
        p.drawText(box, Qt::AlignCenter, f.pending);
        p.drawLine(box.bottomLeft(), box.bottomRight());
    }

    // The braille band.
    if (!f.band)
        return out;
    p.fillRect(0, H - m.rowHeight, W, m.rowHeight, pal.band);
    p.setPen(pal.bandText);
    p.drawText(QRect(0, H - m.rowHeight + 2, m.labelMargin, m.rowHeight - 2), Qt::AlignCenter,
               QStringLiteral("点字表示"));
    int left = m.labelMargin;
    out.band = pictureBand(cursor);
    for (const CharacterBox& c : out.band.characters) {
        const QRect box(left, H - m.rowHeight, int(c.cells) * m.cellWidth, m.rowHeight);
        p.setPen(c.atCaret ? pal.caretCell : pal.bandText);
        p.drawText(box, Qt::AlignCenter, qt(toDisplayCells(c.entry->nabcc)));
        left += box.width();
    }
    return out;
}

} // namespace braille
