#pragma once
// Helpers of the Qt-layer tests: pictures of widgets and the colours in them.

#include "BrailleDocument.h"
#include "DocumentBuilder.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

namespace braille::test {

// What the widget shows now, as it would be on the screen.
QImage picture(QWidget& widget);
// How many pixels of `rect` have exactly this colour.
int countColour(const QImage& image, const QRect& rect, QColor colour);

// Lets the event loop run until `done` holds or `ms` have passed; whether it holds.
bool waitUntil(const std::function<bool()>& done, int ms = 5000);

// Clicks the キャンセル of every progress dialog every `ms` while it lives (as a user who changed
// their mind), and keeps the labels of the dialogs it met.
class ProgressCanceller {
public:
    explicit ProgressCanceller(int ms);
    bool saw(const QString& label) const { return m_labels.contains(label); }

private:
    QTimer m_timer;
    QStringList m_labels;
};

// The process a recovery test starts and kills (when TENKORA_RECOVERY_CHILD names its book).
int runRecoveryChild(const char* book);

} // namespace braille::test
