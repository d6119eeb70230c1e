#include "Settings.h"

#include "CommandIds.h"
#include "ConfigPaths.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QSettings>

#include <algorithm>

namespace braille {

namespace {

int readInt(QSettings& s, const QString& key, int fallback, int low, int high)
{
    bool ok = false;
    const int value = s.value(key).toString().trimmed().toInt(&ok);
    return ok ? std::clamp(value, low, high) : fallback;
}

constexpr int kMaxRecentFiles = cmd::RecentCount;

} // namespace

QString Settings::folder() { return QString::fromStdString(paths::configFolder().string()); }

bool Settings::makeFolder()
{
    const FolderResult made = paths::privateFolder(paths::configFolder());
    if (!made)
        qWarning("Settings are not kept: %s", made.reason.c_str());
    return made.ok;
}

QString Settings::settingsFile() { return folder() + QStringLiteral("/Tenkora.ini"); }
QString Settings::profileFile() { return folder() + QStringLiteral("/profile.ini"); }

PageLayout Settings::pageLayout()
{
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Window"));
    PageLayout layout;
    layout.LineNumber = std::uint32_t(readInt(s, QStringLiteral("LineNumber"), 22, 1, 100));
    layout.ColumnNumber = std::uint32_t(readInt(s, QStringLiteral("ColumnNumber"), 32, 1, 100));
    return layout;
}

void Settings::setPageLayout(const PageLayout& layout)
{
    makeFolder();
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Window"));
    s.setValue(QStringLiteral("ColumnNumber"), int(layout.ColumnNumber));
    s.setValue(QStringLiteral("LineNumber"), int(layout.LineNumber));
}

int Settings::recentFileCount()
{
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Window"));
    return readInt(s, QStringLiteral("RecentFileListNum"), 4, 0, kMaxRecentFiles);
}

QRect Settings::windowRect()
{
    QSettings s(profileFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Tenkora"));
    const int left = readInt(s, QStringLiteral("window_left"), 0, -100000, 100000);
    const int top = readInt(s, QStringLiteral("window_top"), 0, -100000, 100000);
    const int right = readInt(s, QStringLiteral("window_right"), 800, -100000, 100000);
    const int bottom = readInt(s, QStringLiteral("window_bottom"), 700, -100000, 100000);
    // A rectangle too small to use (or turned inside out) gives the default size.
    if (right - left < 100 || bottom - top < 100)
        return QRect(left, top, 800, 700);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool Settings::hasWindowRect()
{
    QSettings s(profileFile(), QSettings::IniFormat);
    return s.contains(QStringLiteral("Tenkora/window_right"));
}

void Settings::setWindowRect(const QRect& rect)
{
    makeFolder();
    QSettings s(profileFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Tenkora"));
    s.setValue(QStringLiteral("window_left"), rect.left());
    s.setValue(QStringLiteral("window_top"), rect.top());
    s.setValue(QStringLiteral("window_right"), rect.left() + rect.width());
    s.setValue(QStringLiteral("window_bottom"), rect.top() + rect.height());
}

QStringList Settings::recentFiles()
{
    QSettings s(profileFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Recent File List"));
    QStringList files;
    const int count = recentFileCount();
    for (int i = 1; i <= count; ++i) {
        const QString file = s.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty())
            files.append(file);
    }
    return files;
}

void Settings::setRecentFiles(const QStringList& files)
{
    makeFolder();
    QSettings s(profileFile(), QSettings::IniFormat);
    s.remove(QStringLiteral("Recent File List"));
    s.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 0; i < files.size(); ++i)
        s.setValue(QStringLiteral("File%1").arg(i + 1), files[i]);
}

std::optional<int> Settings::displayPort()
{
    QSettings s(profileFile(), QSettings::IniFormat);
    bool ok = false;
    const int port = s.value(QStringLiteral("Settings/DisplayPort")).toString().trimmed().toInt(&ok);
    return ok && port >= 0 ? std::optional<int>(port) : std::nullopt;
}

int Settings::pointSize()
{
    QSettings s(profileFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Settings"));
    // At first start the view follows the desktop's font, half as large again: cells need room.
    const int desktop = QGuiApplication::font().pointSize();
    const int fallback = desktop > 0 ? std::clamp(desktop * 3 / 2, 12, 72) : 14;
    return readInt(s, QStringLiteral("PointSize"), fallback, 6, 72);
}

void Settings::setPointSize(int points)
{
    makeFolder();
    QSettings s(profileFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Settings"));
    s.setValue(QStringLiteral("PointSize"), points);
}

QString Settings::embosser()
{
    return QSettings(profileFile(), QSettings::IniFormat).value(QStringLiteral("Settings/Embosser")).toString();
}

void Settings::setEmbosser(const QString& queue)
{
    makeFolder();
    QSettings(profileFile(), QSettings::IniFormat).setValue(QStringLiteral("Settings/Embosser"), queue);
}

ViewStyle Settings::viewStyle()
{
    QSettings s(profileFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Settings"));
    ViewStyle style;
    style.braille = readInt(s, QStringLiteral("BrailleView"), 0, 0, 1) == 1;
    style.printUnderCells = readInt(s, QStringLiteral("PrintUnderCells"), 0, 0, 1) == 1;
    return style;
}

void Settings::setViewStyle(ViewStyle style)
{
    makeFolder();
    QSettings s(profileFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Settings"));
    s.setValue(QStringLiteral("BrailleView"), style.braille ? 1 : 0);
    s.setValue(QStringLiteral("PrintUnderCells"), style.printUnderCells ? 1 : 0);
}

} // namespace braille
