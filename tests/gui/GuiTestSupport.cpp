#include "GuiTestSupport.h"

#include "DocumentBuilder.h"
#include "TestSupport.h"

#include <QApplication>

namespace braille::test {

QImage picture(QWidget& widget)
{
    QApplication::processEvents();
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int countColour(const QImage& image, const QRect& rect, QColor colour)
{
    const QRect r = rect.intersected(image.rect());
    const QRgb want = colour.rgb();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixel(x, y) == want;
    return n;
}

} // namespace braille::test
