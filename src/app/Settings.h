#pragma once
// Where Tenkora keeps what it remembers: the settings file Tenkora.ini (section Window: lines per
// page, cells per line, the length of the recent-file list) and the per-user profile profile.ini
// (the window's place, the recent files, the zoom, the view's style, the embosser last used),
// both in $XDG_CONFIG_HOME/Tenkora/.
//
// Missing or unreadable values take their defaults; values out of range are brought into the
// range the page layout dialog accepts (1..100), so nothing downstream ever sees a zero.

#include "PageLayout.h"
#include "ViewPainter.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace braille {

class Settings {
public:
    // The folder of both files; `TENKORA_CONFIG_DIR` overrides it (tests).
    static QString folder();
    // Makes the folder, owner-only; false (and a warning) when it cannot be used.
    static bool makeFolder();
    static QString settingsFile();
    static QString profileFile();

    static PageLayout pageLayout();
    static void setPageLayout(const PageLayout& layout);
    static int recentFileCount();

    static QRect windowRect();
    // Whether a window place was kept (none at the first start).
    static bool hasWindowRect();
    static void setWindowRect(const QRect& rect);
    static QStringList recentFiles();
    static void setRecentFiles(const QStringList& files);
    static int pointSize();
    static void setPointSize(int points);
    // The CUPS queue the last embossing job went to (Settings/Embosser), proposed the next time.
    static QString embosser();
    static void setEmbosser(const QString& queue);
    // The braille view and the print under its cells (Settings/BrailleView, Settings/PrintUnderCells).
    static ViewStyle viewStyle();
    static void setViewStyle(ViewStyle style);
    // The braille display's port number when the profile sets one (Settings/DisplayPort).
    static std::optional<int> displayPort();
};

} // namespace braille
