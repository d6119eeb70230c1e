#include "GuiTestSupport.h"

#include <QTest>

#include <QElapsedTimer>

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

bool waitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QTest::qWait(5);
    return done();
}

} // namespace braille::test
