#include "DebugConsole.h"

#include "Prompts.h"
#include "AtomicSave.h"

#include "Settings.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QVBoxLayout>

namespace braille {

namespace {

DebugConsole* g_console = nullptr;
bool g_shown = false;

QSettings profile() { return QSettings(Settings::profileFile(), QSettings::IniFormat); }

void writeShown()
{
    QSettings s(Settings::profileFile(), QSettings::IniFormat);
    s.setValue(QStringLiteral("Settings/ShowConrole"), g_shown ? QStringLiteral("Yes") : QStringLiteral("No"));
}

QString hex(quint64 value) { return QStringLiteral("0x%1").arg(value, 8, 16, QLatin1Char('0')).toUpper().replace(QStringLiteral("0X"), QStringLiteral("0x")); }

} // namespace

DebugConsole::DebugConsole(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("デバッグコンソール"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("コンソール"));
    menu->addAction(QStringLiteral("Clear Console"), this, &DebugConsole::clearConsole);
    menu->addAction(QStringLiteral("Show Environment"), this, &DebugConsole::showEnvironment);
    menu->addAction(QStringLiteral("Copy Console Text"), this, &DebugConsole::copyText);
    menu->addAction(QStringLiteral("Save Console Text"), this, [this] { saveTextAs(); });
    layout->setMenuBar(menuBar);
    m_edit = new QPlainTextEdit(this);
    m_edit->setReadOnly(true);
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(QApplication::font().pointSize());
    m_edit->setFont(font);
    m_edit->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: white; }"));
    layout->addWidget(m_edit);
    resize(600, 400);
}

DebugConsole::~DebugConsole()
{
    savePlacement();
    if (g_console == this)
        g_console = nullptr;
}

QString DebugConsole::text() const { return m_edit->toPlainText(); }

void DebugConsole::print(const QString& text)
{
    QString clean = text;
    clean.remove(u'\r');
    QTextCursor cursor = m_edit->textCursor();
    cursor.clearSelection();
    m_edit->setTextCursor(cursor);
    m_edit->insertPlainText(clean);
    m_edit->ensureCursorVisible();
}

void DebugConsole::clearConsole() { m_edit->clear(); }

void DebugConsole::showEnvironment()
{
    const QStringList args = QCoreApplication::arguments();
    QString out = QStringLiteral("--------------------\nShow Environment\n");
    out += QStringLiteral("Command Line Parametor Count %1\n").arg(args.size());
    for (const QString& a : args)
        out += a + u'\n';
    out += QStringLiteral("--------------------\n\n");
    print(out);
}

void DebugConsole::copyText()
{
    if (!text().isEmpty())
        QGuiApplication::clipboard()->setText(text());
}

void DebugConsole::saveTextAs()
{
    if (text().isEmpty())
        return;
    const QString path = Prompts::saveName(QStringLiteral("Text (*.txt)"), QString(), this);
    if (path.isEmpty())
        return;
    if (const QString failure = saveText(path); !failure.isEmpty())
        Prompts::warn(failure, this);
}

QString DebugConsole::saveText(const QString& path)
{
    const SaveResult saved = saveBytesAtomically(path.toStdU16String(), text().toStdString());
    return saved ? QString() : QStringLiteral("ファイルを保存できませんでした。\n%1").arg(QString::fromStdString(saved.reason));
}

void DebugConsole::closeEvent(QCloseEvent* event)
{
    // Closing hides the console; its text stays for the next time.
    event->ignore();
    toggle(nullptr);
}

void DebugConsole::restorePlacement(bool show)
{
    const QStringList parts = profile().value(QStringLiteral("Settings/ConsolePosition")).toString().split(u',');
    if (parts.size() == 5) {
        bool ok[5];
        int n[5];
        for (int i = 0; i < 5; ++i)
            n[i] = parts[i].trimmed().toInt(&ok[i]);
        if (ok[0] && ok[1] && ok[2] && ok[3] && ok[4] && n[2] > 0 && n[3] > 0)
            setGeometry(n[0], n[1], n[2], n[3]);
    }
    setVisible(show);
}

void DebugConsole::savePlacement()
{
    const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
    // The show state as the profile keeps it: 1 shown, 0 hidden, 2 minimised, 3 maximised.
    const int state = !isVisible() ? 0 : isMinimized() ? 2 : isMaximized() ? 3 : 1;
    QSettings s(Settings::profileFile(), QSettings::IniFormat);
    s.setValue(QStringLiteral("Settings/ConsolePosition"),
               QStringLiteral("%1,%2,%3,%4,%5").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height()).arg(state));
}

DebugConsole* DebugConsole::instance() { return g_console; }

void DebugConsole::toggle(QWidget* mainWindow, quint64 companion, bool linkMode)
{
    if (!g_console) {
        g_shown = true;
        g_console = new DebugConsole(mainWindow);
        g_console->restorePlacement(true);
        const quint64 window = mainWindow ? quint64(mainWindow->winId()) : 0;
        QString header = QStringLiteral("This Application Window Handle %1\n").arg(hex(window));
        header += QStringLiteral("Orvalis Window Handle      %1\n").arg(hex(companion));
        header += QStringLiteral("-- RegisterWindowMessage List --------------------\n");
        // Link mode's five messages have fixed numbers (0 outside link mode).
        const char* names[] = {"WM_PEERMODE_LINK_APP_START ", "WM_PEERMODE_LINK_APP_END   ", "WM_PEERMODE_LINK_CHANGEDATA",
                               "WM_PEERMODE_LINK_UPDATE    ", "WM_PEERMODE_LINK_MESSAGE   "};
        for (int i = 0; i < 5; ++i) {
            const quint32 id = companion || linkMode ? quint32(0xC101 + i) : 0;
            header += QStringLiteral("  %1 %2(%3)\n").arg(QString::fromLatin1(names[i]), hex(id)).arg(id);
        }
        header += u'\n';
        g_console->print(header);
    } else {
        g_shown = !g_shown;
        g_console->setVisible(g_shown);
    }
    writeShown();
}

void DebugConsole::destroy()
{
    delete g_console;
    g_console = nullptr;
}

void consolePrint(const QString& text)
{
    if (DebugConsole* console = DebugConsole::instance())
        console->print(text);
}

} // namespace braille
