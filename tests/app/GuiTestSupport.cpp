#include "GuiTestSupport.h"

#include <QPushButton>
#include <QProgressDialog>
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

ProgressCanceller::ProgressCanceller(int ms)
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(w)) {
                m_labels << progress->labelText();
                if (QPushButton* button = progress->findChild<QPushButton*>())
                    button->click();
            }
    });
    m_timer.start(ms);
}

} // namespace braille::test
