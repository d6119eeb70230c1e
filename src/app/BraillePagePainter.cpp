#include "BraillePagePainter.h"

#include "CellDots.h"

#include "Cells.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace braille {

QSizeF PageGeometry::sheetSize() const
{
    return {2 * margin() + columns * cellPitch, 2 * margin() + lines * linePitch()};
}

QRectF PageGeometry::cellBox(std::uint32_t line, std::uint32_t column) const
{
    return {margin() + column * cellPitch, margin() + line * linePitch(), cellPitch, dotBandHeight()};
}

QRectF PageGeometry::printBox(std::uint32_t line, std::uint32_t column, std::uint32_t cells) const
{
    return {margin() + column * cellPitch, margin() + line * linePitch() + dotBandHeight(), cells * cellPitch,
            printBandHeight()};
}

namespace {

void drawPrint(QPainter& painter, const QRectF& box, const QString& text, const QFont& font)
{
    // A print wider than its cells (a word over a short run of cells) is narrowed to fit.
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width <= box.width()) {
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, text);
        return;
    }
    painter.save();
    const qreal squeeze = box.width() / width;
    painter.translate(box.left(), box.top());
    painter.scale(squeeze, 1);
    painter.drawText(QRectF(0, 0, width, box.height()), Qt::AlignHCenter | Qt::AlignTop, text);
    painter.restore();
}

bool isBlank(const std::u16string& text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u' ' || c == u'\u3000' || c == u'\n'; });
}

} // namespace

void paintBraillePage(QPainter& painter, const PageGeometry& g, const BraillePage& page, const PagePrint* print,
                      const PageColours& colours)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF sheet(QPointF(0, 0), g.sheetSize());
    painter.fillRect(sheet, colours.sheet);
    painter.setPen(QPen(colours.edge, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(sheet);
    for (std::uint32_t line = 0; line < g.lines; ++line) {
        const std::string* cells = line < page.lines.size() ? &page.lines[line] : nullptr;
        for (std::uint32_t column = 0; column < g.columns; ++column) {
            const int mask = cells && column < cells->size() ? cellToDots(char16_t((*cells)[column])) : 0;
            drawCell(painter, g.cellBox(line, column), std::uint8_t(std::max(mask, 0)), DotStyle{colours.raised, colours.faint});
        }
    }
    if (g.printUnder && print) {
        QFont font;
        font.setFamilies({QStringLiteral("IPAGothic")});
        font.setPixelSize(std::max(1, int(g.printBandHeight() * 0.85)));
        painter.setFont(font);
        painter.setPen(colours.print);
        for (std::uint32_t line = 0; line < g.lines && line < print->lines.size(); ++line)
            for (const PrintSpan& span : print->lines[line]) {
                if (span.column >= g.columns || isBlank(span.print))
                    continue;
                const std::uint32_t cells = std::min(span.cells, g.columns - span.column);
                drawPrint(painter, g.printBox(line, span.column, cells),
                          QString::fromUtf16(span.print.data(), qsizetype(span.print.size())), font);
            }
    }
    painter.restore();
}

QString pageCaption(const BraillePage& page)
{
    static const char16_t* const sections[] = {u"表紙", u"目次", u"本文", u"奥付"};
    return QString::fromUtf16(sections[page.section % 4]) + QStringLiteral(" %1ページ").arg(page.number);
}

} // namespace braille
