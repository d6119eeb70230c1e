#include "Application.h"

#include "Prompts.h"
#include "MainWindow.h"
#include "EditorViewAccessible.h"
#include "RecoveryKeeper.h"
#include "CharacterDictionary.h"
#include "Settings.h"
#include "TableLoader.h"
#include "DataPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace braille {

bool loadShippedTables(QString& why)
{
    const std::filesystem::path dir = tableDirectory();
    const QString folder = QString::fromStdU16String(dir.u16string());
    if (!QFileInfo(folder + QStringLiteral("/kana.txt")).isReadable()) {
        why = QStringLiteral("文字テーブルが見つかりません。\n%1").arg(folder);
        return false;
    }
    loadTables(CharacterDictionary::instance(), dir);
    return true;
}

void loadCellFont()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    // Beside the program in the build tree, in share/tenkora once installed.
    const std::filesystem::path font = paths::dataFolder() / "TenkoraCells.ttf";
    QFontDatabase::addApplicationFont(QString::fromStdU16String(font.u16string()));
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // The view's text for screen readers; before any window exists.
    EditorViewAccessible::install();
    setApplicationName(QStringLiteral("Tenkora"));
    setOrganizationName(QStringLiteral("Tenkora"));
    // The desktop entry's id ties the window to its launcher and its icon; the theme's icon
    // (installed under hicolor) wins, the one compiled in serves the build tree.
    setDesktopFileName(QStringLiteral("io.github.tenkora.Tenkora"));
    QIcon compiledIn;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        compiledIn.addFile(QStringLiteral(":/icons/%1/tenkora.png").arg(size), QSize(size, size));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.tenkora.Tenkora"), compiledIn));
    // Qt's own dialogs and buttons in Japanese.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

Application::~Application() = default;

bool Application::initInstance()
{
    QString why;
    if (!loadShippedTables(why)) {
        Prompts::warn(why);
        return false;
    }
    loadCellFont();
    std::vector<std::string> arguments;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i)
        arguments.push_back(args[i].toStdString());
    m_commandLine = parseCommandLine(arguments);

    // A system input method is in use when Qt was told to load one (ibus, fcitx); otherwise
    // Tenkora's own kana input composes.
    const QString module = qEnvironmentVariable("QT_IM_MODULE").toLower();
    const bool systemInputMethod = module.startsWith(QStringLiteral("ibus")) || module.startsWith(QStringLiteral("fcitx"));
    m_frame = std::make_unique<MainWindow>(Settings::pageLayout(), m_commandLine.linkMode, systemInputMethod,
                                           std::uint32_t(m_commandLine.companion.value_or(0)));
    if (!m_commandLine.documentPath.empty())
        m_frame->book().openAny(QString::fromStdString(m_commandLine.documentPath), true);
    m_frame->show();
    // Work left by a Tenkora that did not end normally.
    RecoveryKeeper::offerLeftovers(*m_frame);
    return true;
}

} // namespace braille
