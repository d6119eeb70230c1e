#include "MainWindow.h"

#include "BookPrinting.h"
#include "DataPaths.h"
#include "MenuBuilder.h"
#include "PrintBookImport.h"
#include "RecentFiles.h"

#include "Prompts.h"
#include "QtText.h"
#include "AboutDialog.h"
#include "DebugConsole.h"
#include "EmbossDialog.h"
#include "GoToPageDialog.h"
#include "PagePreviewDialog.h"
#include "PageLayoutDialog.h"
#include "FindReplaceDialog.h"
#include "OriginalPageEditor.h"
#include "LinkMode.h"
#include "RecoveryKeeper.h"
#include "ReviewPane.h"
#include "CommandIds.h"
#include "EmbossJob.h"
#include "Settings.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QProcess>
#include <QTextBrowser>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QPalette>
#include <QApplication>
#include <QStandardPaths>
#include <QProcess>
#include <QStatusBar>
#include <QStyle>
#include <QTextStream>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace braille {

namespace {

// The whole window in high contrast, as the view: light text on black, a yellow selection.
QPalette highContrastPalette()
{
    QPalette p;
    const QColor black(0, 0, 0), white(255, 255, 255), yellow(255, 255, 0), grey(160, 160, 160);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = group == QPalette::Disabled ? grey : white;
        p.setColor(group, QPalette::Window, black);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, black);
        p.setColor(group, QPalette::AlternateBase, QColor(32, 32, 32));
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, QColor(24, 24, 24));
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::BrightText, yellow);
        p.setColor(group, QPalette::Highlight, yellow);
        p.setColor(group, QPalette::HighlightedText, black);
        p.setColor(group, QPalette::ToolTipBase, black);
        p.setColor(group, QPalette::ToolTipText, yellow);
        p.setColor(group, QPalette::PlaceholderText, grey);
        p.setColor(group, QPalette::Link, QColor(0, 255, 255));
        // No etched shadow under disabled text: it blurs the letters on black.
        p.setColor(group, QPalette::Light, group == QPalette::Disabled ? black : grey);
        p.setColor(group, QPalette::Midlight, QColor(96, 96, 96));
        p.setColor(group, QPalette::Mid, QColor(96, 96, 96));
        p.setColor(group, QPalette::Dark, grey);
        p.setColor(group, QPalette::Shadow, white);
    }
    return p;
}

// Whether the desktop's theme asks for high contrast: a high-contrast GTK theme in the
// environment.
bool themeWantsHighContrast()
{
    return qEnvironmentVariable("GTK_THEME").contains(QStringLiteral("HighContrast"), Qt::CaseInsensitive);
}

// The braille display beside a screen reader. BRLTTY gives the display to the client whose
// terminal path ends deepest in the focus: the X server's terminal (WINDOWPATH, which a desktop
// session sets and Orca claims), then the X window that has the focus, which xbrlapi reports.
// The display bridge claims the path WINDOWPATH + WINDOWID, so WINDOWID must be this window's
// own (one inherited from a terminal emulator names the terminal): while this window has the
// focus the display shows the book, and in dialogs and other programs the screen reader has it.
// Without a desktop session (no WINDOWPATH) the bridge keeps the whole display as before.
void claimDisplayFor(QWidget& window)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || qEnvironmentVariableIsEmpty("WINDOWPATH"))
        return;
    qputenv("WINDOWID", QByteArray::number(quint64(window.winId())));
}

// The desktop's browser, when there is one: xdg-open hands a page to the program the desktop
// names for HTML, and says nothing when there is none, so that is asked first.
bool openInDesktopBrowser(const QUrl& url)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0 ||
        query.readAllStandardOutput().trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace

MainWindow::MainWindow(PageLayout layout, bool linkMode, bool systemInputMethod, std::uint32_t companion)
    : m_linkMode(linkMode), m_helpOpener(openInDesktopBrowser)
{
    setAcceptDrops(true);
    m_autoTranslate = std::make_unique<AutoTranslateAction>();
    m_view = new EditorView(layout, this, systemInputMethod);
    m_view->setLinkMode(linkMode);
    m_view->setPointSize(Settings::pointSize());
    // High contrast as last chosen; never chosen, as the desktop's theme says.
    const QVariant contrast = QSettings(Settings::profileFile(), QSettings::IniFormat).value(QStringLiteral("Settings/HighContrast"));
    applyHighContrast(contrast.isValid() ? contrast.toInt() == 1 : themeWantsHighContrast());
    if (!contrast.isValid())
        followDesktopContrast();
    m_view->setViewStyle(Settings::viewStyle());
    setCentralWidget(m_view);
    m_book = new OpenBook(*m_view, this);
    // Link mode's texts are private work files, which no other Tenkora opens.
    m_book->setLocking(!linkMode);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            QMetaObject::invokeMethod(this, &MainWindow::checkBookOnDisk, Qt::QueuedConnection);
    });

    // The review list, docked below the view; it shows itself when it gets items.
    m_review = new ReviewPane(*m_view, *m_book, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_review);
    m_review->hide();
    connect(m_book, &OpenBook::documentReplaced, m_review,
            [this](const std::vector<ReviewItem>& review) { m_review->bookReplaced(review); });
    connect(m_book, &OpenBook::savedTo, m_review, &ReviewPane::bookSaved);
    connect(m_book, &OpenBook::exported, this, [this](const QString& path) {
        statusBar()->showMessage(QStringLiteral("%1 に書き出しました。").arg(QDir::toNativeSeparators(path)));
    });
    m_autoTranslate->setReviewSink([this](std::vector<ReviewItem> words) { m_review->addTranslatedWords(std::move(words)); });

    m_prompts = readPrompts(QStringLiteral(":/prompts.txt"));
    m_recent = std::make_unique<RecentFiles>(
        Settings::recentFiles(), [this](int id, const QString& caption) { return makeAction(id, caption); },
        [this](QAction* a) {
            m_actions.erase(a->data().toInt());
            a->deleteLater();
        });
    buildMenus();
    buildToolBar();
    buildStatusBar();

    connect(m_view, &EditorView::stateChanged, this, [this] {
        updateCommands();
        updateTitle();
    });
    connect(m_view, &EditorView::statusTextChanged, this, [this](int pane, const QString& text) {
        if (pane == kMessagePane)
            statusBar()->showMessage(text);
        else if (auto it = m_panes.find(pane); it != m_panes.end())
            it->second->setText(text);
    });
    connect(m_view, &EditorView::brailleButtonChanged, this, [this](bool pressed) {
        if (QAction* a = action(cmd::ToggleBraille))
            a->setChecked(pressed);
    });
    connect(m_view, &EditorView::editedSectionChanged, this, [this](int section) {
        const int ids[] = {cmd::EditCover, cmd::EditContents, cmd::EditBody, cmd::EditColophon};
        for (int i = 0; i < 4; ++i)
            if (QAction* a = action(ids[i]))
                a->setChecked(i == section);
    });
    connect(m_view, &EditorView::pointSizeChanged, this, [](int points) { Settings::setPointSize(points); });
    connect(m_view, &EditorView::frameCommand, this, [this](int commandId) { onCommand(commandId); });
    connect(m_view, &EditorView::printCommitted, this,
            [this](const QString& text) { m_autoTranslate->typePrint(*m_view, text); });
    connect(m_view, &EditorView::displayProblem, this, [this](const QString& text) {
        statusBar()->showMessage(text);
        consolePrint(text);
        qWarning("%s", qPrintable(text));
    });
    claimDisplayFor(*this);
    m_view->startDisplay(BrailleDisplayLink::defaultLibraryPath(), Settings::displayPort());
    connect(m_book, &OpenBook::pathChanged, this, [this] { updateTitle(); });
    connect(m_book, &OpenBook::opened, this, [this](const QString& path) { m_recent->remember(path); });

    if (linkMode) {
        // The console opens again at start when it was open at the end of the last run.
        if (QAction* console = action(cmd::Console))
            console->setCheckable(true);
        QSettings profile(Settings::profileFile(), QSettings::IniFormat);
        if (profile.value(QStringLiteral("Settings/ShowConrole")).toString() == QStringLiteral("Yes"))
            DebugConsole::toggle(this, companion, true);
        m_link = new LinkMode(*this, companion, this);
        m_view->setCompanion(m_link);
        connect(m_view, &EditorView::caretShown, m_link, &LinkMode::sendUpdate);
        connect(m_view, &EditorView::focusChanged, m_link, &LinkMode::focusChanged);
    }
    // A copy of unsaved work is kept on disk; it goes when the book reaches its file.
    m_recovery = new RecoveryKeeper(*this);
    connect(m_book, &OpenBook::settled, m_recovery, [this] { m_recovery->removeCopy(); });
    connect(m_recovery, &RecoveryKeeper::failed, this, [this](const QString& text) {
        statusBar()->showMessage(text);
        qWarning("%s", qPrintable(text));
    });
    m_recent->setMenu(m_fileMenu, m_recentAnchor);
    setGeometry(Settings::windowRect());
    m_fitToLine = !Settings::hasWindowRect();
    // The view wrote its status panes before the frame listened: show the start state.
    m_panes[kModePane]->setText(QStringLiteral("TEXT"));
    m_panes[kSectionPane]->setText(QStringLiteral("BODY"));
    m_panes[kPlacePane]->setText(m_view->placeText());
    if (QAction* body = action(cmd::EditBody))
        body->setChecked(true);
    updateCommands();
    updateTitle();
    m_view->setFocus();
}

MainWindow::~MainWindow()
{
    delete m_recovery; // its writer finishes before the book goes
    m_recovery = nullptr;
    // The view lets go of the book before the document that owns it goes.
    m_view->setDocument(nullptr);
    delete m_book;
}

EditingSession& MainWindow::linkSession() { return m_view->session(); }

void MainWindow::openLinkText(const QString& path)
{
    // The old text is the companion's: replaced without the question about unsaved changes.
    m_book->openWithoutQuestion(path);
}

void MainWindow::focusEditor() { m_view->setFocus(); }

void MainWindow::showLinkStatus(const QString& text) { statusBar()->showMessage(text); }

void MainWindow::logToConsole(const QString& text) { consolePrint(text); }

void MainWindow::closeForCompanion() { close(); }

void MainWindow::editorStateChanged() { emit m_view->stateChanged(); }

bool MainWindow::editorBusy() const { return m_book->isBusy() || m_view->sessionBusy(); }

QAction* MainWindow::action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QString MainWindow::paneText(int pane) const
{
    auto it = m_panes.find(pane);
    return it == m_panes.end() ? statusBar()->currentMessage() : it->second->text();
}

QAction* MainWindow::makeAction(int commandId, const QString& caption)
{
    if (QAction* existing = action(commandId))
        return existing; // the same command in two menus is one action
    auto* a = new QAction(caption, this);
    a->setData(commandId);
    if (auto it = m_prompts.find(commandId); it != m_prompts.end()) {
        a->setStatusTip(it->second.section(u'\n', 0, 0));
        if (it->second.contains(u'\n'))
            a->setToolTip(it->second.section(u'\n', 1));
    }
    connect(a, &QAction::triggered, this, [this, commandId] { onCommand(commandId); });
    m_actions[commandId] = a;
    return a;
}

void MainWindow::buildMenus()
{
    // Link mode has menu 131: no file or section commands.
    const BuiltMenus built =
        buildMenuBar(*menuBar(), m_linkMode ? QStringLiteral(":/menus-link.txt") : QStringLiteral(":/menus.txt"),
                     [this](int id, const QString& caption) { return makeAction(id, caption); });
    m_fileMenu = built.fileMenu;
    m_recentAnchor = built.recentAnchor;
    // Real shortcuts for the frame's own commands; the editing keys reach the session as keys.
    const std::pair<int, QKeySequence> shortcuts[] = {
        {cmd::New, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {cmd::Open, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {cmd::Save, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {cmd::Print, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {cmd::Emboss, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {cmd::Find, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {cmd::GoToPageLine, QKeySequence(Qt::CTRL | Qt::Key_G)},
        {cmd::AutoTranslatePaste, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
        {cmd::ReviewNext, QKeySequence(Qt::Key_F12)},
        {cmd::ReviewPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F12)},
        {cmd::BrailleView, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B)},
        {cmd::ZoomIn, QKeySequence(QKeySequence::ZoomIn)},
        {cmd::ZoomOut, QKeySequence(QKeySequence::ZoomOut)},
        {cmd::ZoomReset, QKeySequence(Qt::CTRL | Qt::Key_0)}};
    for (const auto& [commandId, keys] : shortcuts)
        if (QAction* a = action(commandId)) {
            a->setShortcut(keys);
            a->setShortcutContext(Qt::WindowShortcut);
            // The caption already names the key.
            a->setShortcutVisibleInContextMenu(false);
        }
    for (int commandId : {cmd::EditCover, cmd::EditContents, cmd::EditBody, cmd::EditColophon, cmd::ToolBar, cmd::StatusBar,
                          cmd::HighContrast, cmd::ReviewPane, cmd::BrailleView, cmd::PrintUnderCells})
        if (QAction* a = action(commandId))
            a->setCheckable(true);
    auto* sections = new QActionGroup(this);
    for (int commandId : {cmd::EditCover, cmd::EditContents, cmd::EditBody, cmd::EditColophon})
        if (QAction* a = action(commandId))
            sections->addAction(a);
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ツール バー"));
    m_toolBar->setObjectName(QStringLiteral("toolbar128"));
    QStyle* s = style();
    const auto button = [&](int commandId, const QString& label, QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
        QAction* a = action(commandId);
        if (!a)
            a = makeAction(commandId, label);
        if (icon != QStyle::SP_CustomBase && a->icon().isNull())
            a->setIcon(s->standardIcon(icon));
        a->setIconText(label);
        m_toolBar->addAction(a);
    };
    if (!m_linkMode) {
        button(cmd::New, QStringLiteral("新規"), QStyle::SP_FileIcon);
        button(cmd::Open, QStringLiteral("開く"), QStyle::SP_DialogOpenButton);
        button(cmd::Save, QStringLiteral("保存"), QStyle::SP_DialogSaveButton);
        m_toolBar->addSeparator();
    }
    button(cmd::Cut, QStringLiteral("切り取り"));
    button(cmd::Copy, QStringLiteral("コピー"));
    button(cmd::Paste, QStringLiteral("貼り付け"));
    m_toolBar->addSeparator();
    button(cmd::Undo, QStringLiteral("元に戻す"), QStyle::SP_ArrowBack);
    button(cmd::Redo, QStringLiteral("やり直し"), QStyle::SP_ArrowForward);
    m_toolBar->addSeparator();
    button(cmd::ToggleTextMath, QStringLiteral("F2"));
    button(cmd::ToggleBraille, QStringLiteral("F4"));
    if (QAction* braille = action(cmd::ToggleBraille))
        braille->setCheckable(true);
    button(cmd::Fraction, QStringLiteral("F5"));
    button(cmd::Root, QStringLiteral("F6"));
    button(cmd::Brackets, QStringLiteral("F7"));
    button(cmd::Dots56, QStringLiteral("F8"));
    button(cmd::ConnectorOrCapital, QStringLiteral("F9"));
    m_toolBar->addSeparator();
    if (!m_linkMode)
        button(cmd::Print, QStringLiteral("印刷"));
    button(cmd::About, QStringLiteral("?"), QStyle::SP_MessageBoxQuestion);
    if (m_linkMode) {
        // The companion's caret, up and down.
        button(cmd::CompanionUp, QStringLiteral("▲"));
        button(cmd::CompanionDown, QStringLiteral("▼"));
    }
    // Buttons with a picture show it, the others their short text; none takes the keyboard
    // from the view.
    for (QAction* a : m_toolBar->actions())
        if (auto* w = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(a))) {
            w->setFocusPolicy(Qt::NoFocus);
            w->setToolButtonStyle(a->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        }
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->showMessage(QStringLiteral("レディ"));
    const auto pane = [&](int n, const QString& text, int minChars) {
        auto* label = new QLabel(text, bar);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QLatin1Char('M')) * minChars);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        bar->addPermanentWidget(label);
        m_panes[n] = label;
    };
    // The caret's page, line and cell, wide enough for a long book, so that its text changing
    // with every caret move never makes the status bar lay itself out again.
    pane(kPlacePane, QString(), 2);
    m_panes[kPlacePane]->setMinimumWidth(
        m_panes[kPlacePane]->fontMetrics().horizontalAdvance(QStringLiteral("9999ページ 22行 32マス 原本p.9999")) + 8);
    m_panes[kPlacePane]->setAccessibleName(QStringLiteral("カーソルの位置"));
    pane(kKanaPane, QStringLiteral("あ"), 2);
    pane(kModePane, QStringLiteral("TEXT"), 5);
    pane(kBraillePane, QString(), 8);
    pane(kSectionPane, QStringLiteral("BODY"), 9);
}

void MainWindow::updateCommands()
{
    const EditingSession& s = m_view->session();
    if (QAction* a = action(cmd::Save))
        a->setEnabled(m_book->isModified());
    if (QAction* a = action(cmd::Undo))
        a->setEnabled(s.undoHistory().canUndo());
    if (QAction* a = action(cmd::Redo))
        a->setEnabled(s.undoHistory().canRedo());
    if (QAction* a = action(cmd::ToolBar))
        a->setChecked(m_toolBar && m_toolBar->isVisible());
    if (QAction* a = action(cmd::StatusBar))
        a->setChecked(statusBar()->isVisible());
    if (QAction* a = action(cmd::HighContrast))
        a->setChecked(m_view->highContrast());
    if (QAction* a = action(cmd::ReviewPane))
        a->setChecked(m_review->isVisible());
    if (QAction* a = action(cmd::BrailleView))
        a->setChecked(m_view->viewStyle().braille);
    if (QAction* a = action(cmd::PrintUnderCells)) {
        // The print goes under the cells of the braille view; the print view has only print.
        a->setChecked(m_view->viewStyle().printUnderCells);
        a->setEnabled(m_view->viewStyle().braille);
    }
    if (QAction* a = action(cmd::Console))
        a->setChecked(DebugConsole::instance() && DebugConsole::instance()->isVisible());
    for (int companionKey : {cmd::CompanionUp, cmd::CompanionDown})
        if (QAction* a = action(companionKey))
            a->setEnabled(m_link && m_link->isLinked());
}

void MainWindow::updateTitle()
{
    if (m_linkMode)
        setWindowTitle(QStringLiteral("Tenkora(Orvalis LinkMode)"));
    else
        setWindowTitle(m_book->title() + QStringLiteral(" - Tenkora"));
}

void MainWindow::onCommand(int commandId)
{
    switch (commandId) {
    case cmd::New: m_book->newDocument(); break;
    case cmd::Open: m_book->open(); break;
    case cmd::Save: m_book->save(); break;
    case cmd::SaveAs: m_book->saveAs(); break;
    case cmd::ExportBse: m_book->exportBse(); break;
    case cmd::ExportBrf: m_book->exportBraille(QStringLiteral("brf")); break;
    case cmd::ExportPef: m_book->exportBraille(QStringLiteral("pef")); break;
    case cmd::TocNew: m_book->tocNew(); break;
    case cmd::TocWorking: m_book->tocWorkingFile(); break;
    case cmd::ImportPrintBook: m_book->importPrint(); break;
    case cmd::Print: printWithDialog(this, *m_view, false); break;
    case cmd::PrintPreview: printWithDialog(this, *m_view, true); break;
    case cmd::Emboss: emboss(); break;
    case cmd::PagePreview: pagePreview(); break;
    case cmd::GoToPageLine: goToPageLine(); break;
    case cmd::PrintSetup: {
        QPrinter printer;
        QPrintDialog(&printer, this).exec();
        break;
    }
    case cmd::Exit: close(); break;
    case cmd::About: AboutDialog(this).exec(); break;
    case cmd::PageLayout: pageLayout(); break;
    case cmd::Find: openFindDialog(); break;
    case cmd::AutoTranslatePaste: m_autoTranslate->run(*m_view); break;
    case cmd::BrailleCheck: m_review->runCheck(false); break;
    case cmd::BrailleCheckBook: m_review->runCheck(true); break;
    case cmd::ReviewNext: m_review->goToNext(true); break;
    case cmd::ReviewPrevious: m_review->goToNext(false); break;
    case cmd::ReviewPane: m_review->setVisible(!m_review->isVisible()); break;
    case cmd::OriginalPages: editOriginalPages(); break;
    case cmd::Console: DebugConsole::toggle(this, m_link ? m_link->companion() : 0, m_linkMode); break;
    case cmd::Help: showHelp(); break;
    case cmd::ToolBar: m_toolBar->setVisible(!m_toolBar->isVisible()); break;
    case cmd::StatusBar: statusBar()->setVisible(!statusBar()->isVisible()); break;
    case cmd::ZoomIn: m_view->setPointSize(m_view->pointSize() + 2); break;
    case cmd::ZoomOut: m_view->setPointSize(m_view->pointSize() - 2); break;
    case cmd::ZoomReset: m_view->setPointSize(EditorView::kDefaultPointSize); break;
    case cmd::HighContrast: {
        applyHighContrast(!m_view->highContrast());
        QSettings profile(Settings::profileFile(), QSettings::IniFormat);
        profile.setValue(QStringLiteral("Settings/HighContrast"), m_view->highContrast() ? 1 : 0);
        break;
    }
    case cmd::BrailleView:
    case cmd::PrintUnderCells: {
        ViewStyle style = m_view->viewStyle();
        if (commandId == cmd::BrailleView)
            style.braille = !style.braille;
        else
            style.printUnderCells = !style.printUnderCells;
        m_view->setViewStyle(style);
        Settings::setViewStyle(style);
        break;
    }
    default:
        if (commandId >= cmd::RecentFirst && commandId < cmd::RecentFirst + cmd::RecentCount)
            openRecent(commandId - cmd::RecentFirst);
        else
            m_view->runCommand(commandId);
        break;
    }
    updateCommands();
    updateTitle();
    m_view->setFocus();
}

void MainWindow::openRecent(int index)
{
    const QString path = m_recent->at(index);
    if (!path.isEmpty() && !m_book->openPath(path))
        m_recent->forget(index);
}

int MainWindow::printBook(QPrinter& printer, PrintRange range) { return braille::printBook(printer, *m_view, range); }

EmbossDialog* MainWindow::embossDialog() const { return m_embossDialog; }

bool MainWindow::pageBook(std::vector<BraillePage>& pages, std::vector<PagePrint>* print)
{
    // The book as it is in the window, saved or not, paged as the exports page it (a large book
    // takes a moment: the wait cursor says so).
    const PageLayout layout = m_view->session().pageLayout();
    std::string problem = layoutProblem(layout);
    if (problem.empty()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        pages = paginate(m_book->document(), layout, print);
        QApplication::restoreOverrideCursor();
        problem = pagesProblem(pages, layout);
    }
    if (problem.empty())
        return true;
    Prompts::warn(QStringLiteral("このページレイアウトでは本をページに分けられません（%1）。\nページレイアウトを見直してください。")
                      .arg(QString::fromStdString(problem)),
                  this);
    return false;
}

void MainWindow::emboss()
{
    if (!m_view->session().viewReady())
        return;
    // One dialog at a time; one that was closed (and is going) gives way to a new one.
    if (m_embossDialog && m_embossDialog->isVisible()) {
        m_embossDialog->raise();
        m_embossDialog->activateWindow();
        return;
    }
    std::vector<BraillePage> pages;
    if (!pageBook(pages, nullptr))
        return;
    if (const std::string empty = rangeProblem({}, pages.size()); !empty.empty()) {
        Prompts::tell(QString::fromStdString(empty), this);
        return;
    }
    const QString title =
        m_book->pathName().isEmpty() ? QStringLiteral("Tenkora") : QFileInfo(m_book->pathName()).completeBaseName();
    if (m_embossDialog)
        m_embossDialog->deleteLater();
    m_embossDialog = new EmbossDialog(std::move(pages), title, this);
    m_embossDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_embossDialog->open();
}

PagePreviewDialog* MainWindow::pagePreviewDialog() const { return m_previewDialog; }

void MainWindow::pagePreview()
{
    if (!m_view->session().viewReady())
        return;
    if (m_previewDialog && m_previewDialog->isVisible()) {
        m_previewDialog->raise();
        m_previewDialog->activateWindow();
        return;
    }
    // With the print of every cell, found in the same walk as the pages.
    std::vector<BraillePage> pages;
    std::vector<PagePrint> print;
    if (!pageBook(pages, &print))
        return;
    const PageLayout layout = m_view->session().pageLayout();
    if (pages.empty()) {
        Prompts::tell(QStringLiteral("本にはまだ点字のページがありません。"), this);
        return;
    }
    // The caret's page: the pages of the sections before its own, then its page there.
    const BrailleDocument& document = m_book->document();
    std::size_t first = 0;
    for (const BraillePage& page : pages)
        if (page.section < document.currentSection)
            ++first;
    const std::size_t sectionPages =
        std::size_t(std::count_if(pages.begin(), pages.end(), [&](const BraillePage& p) { return p.section == document.currentSection; }));
    if (sectionPages > 0)
        first += std::min<std::size_t>(pageOfRow(m_view->session().cursor().row(), layout.LineNumber) - 1, sectionPages - 1);
    if (m_previewDialog)
        m_previewDialog->deleteLater();
    m_previewDialog = new PagePreviewDialog(std::move(pages), std::move(print), layout, first, this);
    m_previewDialog->setAttribute(Qt::WA_DeleteOnClose);
    // Back to the book when the preview closes, the keyboard with it.
    connect(m_previewDialog, &QDialog::finished, this, [this] {
        activateWindow();
        m_view->setFocus();
    });
    m_previewDialog->open();
}

void MainWindow::goToPageLine()
{
    EditingSession& session = m_view->session();
    if (!session.viewReady())
        return;
    const PageLine at = pageLineOfRow(session.cursor().row(), session.pageLayout().LineNumber);
    GoToPageDialog dialog(int(at.page), int(at.line), [&session](int page, int line) {
        return qt(session.goToPageLine({std::uint32_t(page), std::uint32_t(line)}));
    }, this);
    dialog.exec();
    activateWindow();
}

FindReplaceDialog* MainWindow::openFindDialog()
{
    if (!m_view->session().viewReady())
        return nullptr;
    if (!m_findDialog) {
        m_findDialog = new FindReplaceDialog(*m_view, this);
        m_findDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
    return m_findDialog;
}

void MainWindow::editOriginalPages(const std::function<void(OriginalPageEditor&)>& answer)
{
    EditingSession& session = m_view->session();
    if (!session.mayEditOriginalPages())
        return;
    const OriginalPageRows rows = originalPageRows(m_book->document(), session.pageLayout().LineNumber);
    OriginalPageEditor editor(rows, session.pageLayout().ColumnNumber, this);
    if (answer)
        answer(editor);
    else
        editor.exec();
    if (editor.result() != QDialog::Accepted)
        return;
    const std::vector<std::u16string> labels = originalPageLabels(editor.lines(), rows.rowLabels.size());
    // The labels go to the file, which is read again; a book without a file (or one opened
    // read-only) takes them in memory.
    if (m_book->pathName().isEmpty() || m_book->isReadOnly())
        session.applyOriginalPages(labels);
    else
        m_book->rewriteAndReload(&labels);
    updateTitle();
}

void MainWindow::pageLayout()
{
    if (!m_view->session().viewReady())
        return;
    const PageLayout before = Settings::pageLayout();
    PageLayoutDialog dialog(this);
    dialog.exec();
    // The settings file decides, whatever the dialog's answer.
    applyPageLayout(before);
}

void MainWindow::applyPageLayout(const PageLayout& before)
{
    const PageLayout now = Settings::pageLayout();
    if (now.LineNumber == before.LineNumber && now.ColumnNumber == before.ColumnNumber)
        return;
    // The book is laid out again in memory, around the caret's character; it is not written to
    // its file behind the transcriber's back.
    m_view->session().setPageLayout(now);
    updateTitle();
}

QTextBrowser* MainWindow::helpWindow() const { return m_helpWindow; }

void MainWindow::showHelp()
{
    // The help pages are data: beside the program in the build tree, in share/tenkora once
    // installed; TENKORA_TOOL_DIR, which points at another build, brings that build's pages.
    const QString path = qEnvironmentVariableIsSet("TENKORA_TOOL_DIR")
                             ? OpenBook::toolPath(QStringLiteral("help/index.html"))
                             : QString::fromStdU16String((paths::dataFolder() / "help" / "index.html").u16string());
    if (!QFileInfo::exists(path)) {
        Prompts::tell(QStringLiteral("ヘルプを開けません。\n%1").arg(path), this);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_helpOpener && m_helpOpener(url))
        return;
    // No browser: the pages in a window of the editor's own, whose links lead between them.
    if (!m_helpWindow) {
        m_helpWindow = new QTextBrowser(this);
        m_helpWindow->setWindowFlag(Qt::Window);
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_helpWindow->setWindowTitle(QStringLiteral("Tenkora ヘルプ"));
        m_helpWindow->setAccessibleName(QStringLiteral("Tenkora ヘルプ"));
        m_helpWindow->setOpenExternalLinks(true);
        m_helpWindow->resize(720, 640);
    }
    m_helpWindow->setSource(url);
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // After the event: the question must not be asked while the window is being activated.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(this, &MainWindow::checkBookOnDisk, Qt::QueuedConnection);
}

void MainWindow::checkBookOnDisk()
{
    // Not while a dialog of the window's is up: the next return to the window asks.
    if (m_linkMode || QApplication::activeModalWidget())
        return;
    if (m_book->reloadIfChangedOnDisk()) {
        updateCommands();
        updateTitle();
    }
}

void MainWindow::followDesktopContrast()
{
    // GNOME's accessibility setting, asked without holding up the start: the window turns high
    // contrast when the answer comes, unless the user has chosen meanwhile.
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty() || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    auto* query = new QProcess(this);
    connect(query, &QProcess::finished, this, [this, query] {
        query->deleteLater();
        const bool chosen = QSettings(Settings::profileFile(), QSettings::IniFormat).contains(QStringLiteral("Settings/HighContrast"));
        if (!chosen && query->readAllStandardOutput().trimmed() == "true")
            applyHighContrast(true);
    });
    connect(query, &QProcess::errorOccurred, query, &QObject::deleteLater);
    query->start(gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.a11y.interface"),
                             QStringLiteral("high-contrast")});
}

void MainWindow::applyHighContrast(bool on)
{
    // The view paints with its own palette; the menus, the tool bar, the status bar, the panes and
    // the dialogs follow the application's.
    static const QPalette standard = QApplication::palette();
    m_view->setHighContrast(on);
    QApplication::setPalette(on ? highContrastPalette() : standard);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_fitToLine)
        return;
    // At the first start the window is as wide as a whole line with its original-page column
    // (within the screen), so nothing of it needs the scroll bar.
    m_fitToLine = false;
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
    fitWidthToLine(screen.isValid() ? screen.width() : width());
}

void MainWindow::fitWidthToLine(int available)
{
    // The view knows the line's width once laid out.
    QMainWindow::layout()->activate();
    const int missing = m_view->contentWidth() - m_view->viewport()->width();
    if (missing > 0)
        resize(std::max(width(), std::min(width() + missing, available)), height());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The companion ended link mode: the editor closes without a question and keeps nothing.
    if (m_link && m_link->endedByCompanion()) {
        m_recovery->removeCopy();
        event->accept();
        return;
    }
    if (!m_book->askToSave()) {
        event->ignore();
        return;
    }
    Settings::setWindowRect(normalGeometry());
    Settings::setRecentFiles(m_recent->files());
    if (m_link)
        m_link->closing();
    m_recovery->removeCopy();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile() && (url.toLocalFile().endsWith(QStringLiteral(".bml"), Qt::CaseInsensitive) ||
                                      isPrintBookFile(url.toLocalFile()))) {
                event->acceptProposedAction();
                return;
            }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && (url.toLocalFile().endsWith(QStringLiteral(".bml"), Qt::CaseInsensitive) ||
                                  isPrintBookFile(url.toLocalFile()))) {
            event->acceptProposedAction();
            m_book->openAny(url.toLocalFile());
            return;
        }
}

} // namespace braille
