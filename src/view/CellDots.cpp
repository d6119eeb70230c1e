#include "CellDots.h"

#include <QPainter>

#include <algorithm>

namespace braille {

qreal dotPitch(const QRectF& box)
{
    // Two columns and three rows of dots, with about a pitch of margin: 2.4 pitches across,
    // 3.4 down.
    return std::max<qreal>(1.0, std::min(box.width() / 2.4, box.height() / 3.4));
}

qreal dotRadius(const QRectF& box) { return std::max<qreal>(0.8, dotPitch(box) * 0.32); }

QPointF dotCentre(const QRectF& box, int dot)
{
    const qreal pitch = dotPitch(box);
    const int column = dot <= 3 ? 0 : 1;
    const int row = (dot - 1) % 3;
    const QPointF centre = box.center();
    return {centre.x() + (column - 0.5) * pitch, centre.y() + (row - 1) * pitch};
}

void drawCell(QPainter& painter, const QRectF& box, std::uint8_t dots, const DotStyle& style)
{
    const qreal radius = dotRadius(box);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    for (int dot = 1; dot <= 6; ++dot) {
        const bool raised = dots & (1u << (dot - 1));
        if (!raised && style.faint.alpha() == 0)
            continue;
        const qreal r = raised ? radius : radius * style.faintScale;
        painter.setBrush(raised ? style.raised : style.faint);
        painter.drawEllipse(dotCentre(box, dot), r, r);
    }
    painter.restore();
}

const QPixmap& CellStamps::stamp(QSize size, qreal ratio, std::uint8_t dots, const DotStyle& style)
{
    // A handful of keys at most (the sets' colours, selected or not); a new zoom starts afresh.
    if (m_stamps.size() > 64)
        m_stamps.clear();
    auto& cells = m_stamps[Key{size.width(), size.height(), ratio, style.raised.rgba(), style.faint.rgba(), style.faintScale}];
    QPixmap& pixmap = cells[dots & 63];
    if (pixmap.isNull()) {
        pixmap = QPixmap(size * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        drawCell(p, QRectF(QPointF(0, 0), QSizeF(size)), dots & 63, style);
    }
    return pixmap;
}

} // namespace braille
