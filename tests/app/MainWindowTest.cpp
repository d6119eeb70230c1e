// The main window and the document commands as a user meets them: a first start, opening,
// saving that fails, the title, and closing with and without the question.

#include "MainWindow.h"
#include "DebugConsole.h"
#include "PageLayoutDialog.h"
#include "FindReplaceDialog.h"
#include "OriginalPageEditor.h"
#include "BmlWriter.h"
#include "CellDots.h"
#include "CommandIds.h"
#include "CommandLine.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "Prompts.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <QTextEdit>
#include <QPushButton>
#include <QPrinter>
#include <QProgressDialog>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSettings>
#include <QPalette>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// A fresh settings folder for one test.
struct FreshSettings {
    FreshSettings() { QDir(Settings::folder()).removeRecursively(); }
    ~FreshSettings() { QDir(Settings::folder()).removeRecursively(); }
};

QString sample() { return QString::fromStdString((sourceDir() / "samples" / "sample.bml").string()); }

} // namespace

TEST(MainFrame, AFirstStartHasTheDefaultsAndOpensTheSample)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    frame.show();
    QApplication::processEvents();
    // 700 high, 800 wide or as wide as a whole line with its original-page column where the
    // screen allows (the off-screen screen is 800 wide: the test widens it as a larger one would).
    EXPECT_EQ(frame.geometry().height(), 700);
    EXPECT_GE(frame.geometry().width(), 800);
    frame.fitWidthToLine(4000);
    QApplication::processEvents();
    EXPECT_EQ(frame.view().horizontalScrollBar()->maximum(), 0)
        << frame.view().contentWidth() << " in " << frame.view().viewport()->width();
    // The zoom is in the 表示 menu too, and 標準の大きさ brings it back.
    const int points = frame.view().pointSize();
    frame.action(33450)->trigger();
    EXPECT_EQ(frame.view().pointSize(), points + 2);
    frame.action(33452)->trigger();
    EXPECT_EQ(frame.view().pointSize(), 14);
    EXPECT_EQ(frame.view().session().pageLayout().LineNumber, 22u);
    EXPECT_EQ(frame.book().document().cellsPerLine, 32u);
    EXPECT_EQ(frame.paneText(kModePane), QStringLiteral("TEXT"));
    EXPECT_EQ(frame.paneText(kSectionPane), QStringLiteral("BODY"));
    EXPECT_FALSE(frame.action(57603)->isEnabled()); // nothing to save

    // A copy: the book opened is locked, and the sample may be open in another Tenkora.
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("sample.bml"));
    ASSERT_TRUE(QFile::copy(sample(), book));
    ASSERT_TRUE(frame.book().openPath(book));
    EXPECT_GT(frame.book().document().section().rowCount, 5u);
    EXPECT_EQ(frame.windowTitle(), QFileInfo(book).absoluteFilePath() + QStringLiteral(" - Tenkora"));
    // What is remembered goes into a settings folder that is the user's alone.
    Settings::setRecentFiles({sample()});
    EXPECT_EQ(QFileInfo(Settings::folder()).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QTest::keyClicks(&frame.view(), "ka");
    EXPECT_TRUE(frame.windowTitle().endsWith(QStringLiteral(" * - Tenkora")));
    EXPECT_TRUE(frame.action(57603)->isEnabled());
    // F2 and the section menu show in the status panes.
    QTest::keyClick(&frame.view(), Qt::Key_F2);
    EXPECT_EQ(frame.paneText(kModePane), QStringLiteral("MATH"));
    frame.onCommand(32792);
    EXPECT_EQ(frame.paneText(kSectionPane), QStringLiteral("COVER"));
    EXPECT_TRUE(frame.action(32792)->isChecked());
    Prompts::setAnswers({[](const QString&, int) { return int(QMessageBox::No); }, {}, {}, {}});
}

TEST(MainFrame, OutOfRangeSettingsAreBroughtIntoRange)
{
    FreshSettings fresh;
    QDir().mkpath(Settings::folder());
    QFile ini(Settings::settingsFile());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Window]\nLineNumber=0\nColumnNumber=5000\nRecentFileListNum=x\n");
    ini.close();
    const PageLayout layout = Settings::pageLayout();
    EXPECT_EQ(layout.LineNumber, 1u);
    EXPECT_EQ(layout.ColumnNumber, 100u);
    EXPECT_EQ(Settings::recentFileCount(), 4);
    MainWindow frame(layout); // one line a page paints without dividing by zero
    frame.show();
    picture(frame);
}

TEST(MainFrame, AFailedSaveIsShownAndTheBookStaysModified)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    QString told;
    Prompts::setAnswers({[](const QString&, int) { return int(QMessageBox::No); }, {}, {},
                            [&](const QString& text) { told = text; }});
    QTest::keyClicks(&frame.view(), "ka");
    EXPECT_FALSE(frame.book().saveTo(QDir::tempPath() + QStringLiteral("/no-such-folder-tenkora/book.bml")));
    EXPECT_TRUE(told.startsWith(QStringLiteral("ファイルを保存できませんでした。")));
    // The system's reason in Japanese, its own words after it.
    EXPECT_TRUE(told.contains(QStringLiteral("保存先のフォルダーがありません。"))) << told.toStdString();
    EXPECT_TRUE(frame.book().isModified());
    EXPECT_TRUE(frame.windowTitle().contains(QStringLiteral(" *")));
}

TEST(MainFrame, SaveAsAndExportsAddTheExtensionAnExportSaysWhereItWroteAndPromptsBelongToTheWindow)
{
    FreshSettings fresh;
    QTemporaryDir folder;
    MainWindow frame(Settings::pageLayout());
    frame.show();
    QStringList titles;
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); },
                         .saveName = [&](const QString& title, const QString& filter, const QString&) {
                             titles << title;
                             return folder.filePath(filter.contains(QStringLiteral("bml")) ? QStringLiteral("book")
                                                                                            : QStringLiteral("out"));
                         }});
    QTest::keyClicks(&frame.view(), "ka");
    ASSERT_TRUE(frame.book().saveAs());
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("book.bml"))));
    frame.book().exportBraille(QStringLiteral("brf"));
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("out.brf"))));
    ASSERT_EQ(titles.size(), 2);
    // "book" typed again: book.bml is there, and it is not replaced without a question.
    QStringList asked;
    Prompts::Answers answers{.question = [&](const QString& text, int) {
                                 asked << text;
                                 return int(QMessageBox::No);
                             },
                             .saveName = [&](const QString&, const QString&, const QString&) {
                                 return folder.filePath(QStringLiteral("book"));
                             }};
    Prompts::setAnswers(answers);
    EXPECT_FALSE(frame.book().saveAs());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("book.bml は既にあります。"))) << asked[0].toStdString();
    EXPECT_EQ(titles[1], QStringLiteral("BRF出力"));
    EXPECT_TRUE(frame.statusBar()->currentMessage().contains(QStringLiteral("out.brf に書き出しました。")))
        << frame.statusBar()->currentMessage().toStdString();

    // A message given no parent belongs to the window, not to the desktop.
    Prompts::setAnswers({});
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            owner = box->parentWidget();
            box->accept();
        }
    });
    Prompts::tell(QStringLiteral("テスト"));
    EXPECT_EQ(owner, &frame);
    // The about box too, with what Tenkora is and the licences of what it uses.
    QString about;
    owner = nullptr;
    QTimer::singleShot(0, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            owner = box->parentWidget();
            for (QLabel* label : box->findChildren<QLabel*>())
                about += label->text() + u'\n';
            box->close();
        }
    });
    frame.onCommand(57664);
    EXPECT_EQ(owner, &frame);
    EXPECT_TRUE(about.contains(QStringLiteral("点訳エディター")) && about.contains(QStringLiteral("LGPL 3.0")))
        << about.toStdString();
}

TEST(MainFrame, HighContrastCoversTheWholeWindowIsKeptAndFollowsTheDesktopUntilChosen)
{
    FreshSettings fresh;
    const QColor normalWindow = QApplication::palette().color(QPalette::Window);
    {
        MainWindow frame(Settings::pageLayout());
        frame.show();
        frame.action(32860)->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(frame.view().highContrast());
        // The menus, the tool bar and the status bar are black with light text, as the view.
        EXPECT_EQ(frame.menuBar()->palette().color(QPalette::Window), QColor(0, 0, 0));
        EXPECT_EQ(frame.statusBar()->palette().color(QPalette::WindowText), QColor(255, 255, 255));
        EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(255, 255, 0));
    }
    {
        MainWindow again(Settings::pageLayout());
        EXPECT_TRUE(again.view().highContrast()); // kept in the profile
        again.action(32860)->trigger();
        EXPECT_EQ(QApplication::palette().color(QPalette::Window), normalWindow);
    }
    // Never chosen: the desktop's high-contrast theme decides.
    QDir(Settings::folder()).removeRecursively();
    qputenv("GTK_THEME", "HighContrast");
    {
        MainWindow desktop(Settings::pageLayout());
        EXPECT_TRUE(desktop.view().highContrast());
    }
    qunsetenv("GTK_THEME");
    MainWindow plain(Settings::pageLayout());
    EXPECT_FALSE(plain.view().highContrast());
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), normalWindow);
}

TEST(MainFrame, CancelInTheCloseQuestionKeepsTheWindowAndWritesNothing)
{
    FreshSettings fresh;
    auto frame = std::make_unique<MainWindow>(Settings::pageLayout());
    frame->show();
    QString asked;
    int answer = QMessageBox::Cancel;
    Prompts::setAnswers({[&](const QString& text, int) {
                                 asked = text;
                                 return answer;
                             },
                             {}, {}, {}});
    QTest::keyClicks(&frame->view(), "ka");
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(asked, QStringLiteral("ファイルの内容は変更されています。\n変更を保存しますか？"));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(QFile::exists(Settings::profileFile()));
    // No: the window closes and its place is kept.
    answer = QMessageBox::No;
    frame->move(40, 30);
    EXPECT_TRUE(frame->close());
    QSettings profile(Settings::profileFile(), QSettings::IniFormat);
    EXPECT_EQ(profile.value(QStringLiteral("Tenkora/window_right")).toInt() -
                  profile.value(QStringLiteral("Tenkora/window_left")).toInt(),
              800);
}

TEST(CommandLine, LinkModeHandleAndDocument)
{
    EXPECT_TRUE(parseCommandLine({"-LINKMODE"}).linkMode);
    EXPECT_TRUE(parseCommandLine({"/linkmode"}).linkMode);
    EXPECT_FALSE(parseCommandLine({"-linkmodes"}).linkMode);
    const CommandLine linked = parseCommandLine({"/linkmode", "-handle:1A2b", "-handle:ff"});
    ASSERT_TRUE(linked.companion);
    EXPECT_EQ(*linked.companion, 0x1A2Bu);
    EXPECT_FALSE(parseCommandLine({"-linkmode", "-handle:0"}).companion);
    EXPECT_FALSE(parseCommandLine({"-handle:12"}).companion); // only in link mode
    EXPECT_EQ(parseCommandLine({"/home/t/book.bml"}).documentPath, "/home/t/book.bml");
    EXPECT_EQ(parseCommandLine({"a.bml", "-x", "b.bml"}).documentPath, "b.bml");
}

TEST(MainFrame, PrintingToAPdfFileGivesABraillePageASheet)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    std::u16string body;
    for (int i = 0; i < 30; ++i)
        body += u"あいう\n"; // 31 rows: two pages of 21
    fillSection(frame.book().document(), body);
    frame.view().setDocument(&frame.book().document());
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("book.pdf")));
    frame.printBook(printer);
    QFile pdf(printer.outputFileName());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2);
}

TEST(MainFrame, AFileCutShortIsReportedAndWhatWasReadStaysUsable)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    QStringList told;
    Prompts::setAnswers({{}, {}, {}, [&](const QString& text) { told << text; }});
    QFile whole(sample());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QTemporaryDir folder;
    QFile cut(folder.filePath(QStringLiteral("cut.bml")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    const QByteArray bytes = whole.readAll();
    cut.write(bytes.left(bytes.indexOf("</body>") - 200));
    cut.close();
    ASSERT_TRUE(frame.book().openPath(cut.fileName()));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("ファイルが途中で終わっています。")));
    EXPECT_GT(frame.book().document().section().rowCount, 1u);
    QTest::keyClicks(&frame.view(), "ka"); // and it can be edited
    EXPECT_TRUE(frame.book().isModified());
    // The exporter runs beside the editor; when it fails, its status and its words are shown.
    told.clear();
    QString target = folder.filePath(QStringLiteral("book.bse"));
    Prompts::setAnswers({[](const QString&, int) { return int(QMessageBox::Yes); }, {},
                            [&](const QString&, const QString&, const QString&) { return target; },
                            [&](const QString& text) { told << text; }});
    frame.book().exportBse();
    EXPECT_TRUE(told.isEmpty()) << told.join(u'|').toStdString();
    EXPECT_TRUE(QFile::exists(target));
    target = folder.filePath(QStringLiteral("no-such-folder/book.bse"));
    frame.book().exportBse();
    ASSERT_FALSE(told.isEmpty());
    // The exporter's own words (English) are recognised and said in Japanese before them.
    EXPECT_TRUE(told.back().startsWith(
        QStringLiteral("CellExport が失敗しました（終了コード 1）。\n保存先のフォルダーがありません。\nCellExport: ")))
        << told.back().toStdString();
}

TEST(PageLayoutDialog, RefusesWhatIsOutOfRangeAndAppliesANewWidth)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    fillSection(frame.book().document(), u"あいうえお かきくけこ さしすせそ");
    frame.view().setDocument(&frame.book().document());
    PageLayoutDialog dialog;
    EXPECT_EQ(dialog.linesField()->text(), QStringLiteral("22"));
    EXPECT_EQ(dialog.cellsField()->text(), QStringLiteral("32"));
    QString told;
    Prompts::setAnswers({.message = [&](const QString& text) { told = text; }});
    dialog.cellsField()->setText(QStringLiteral("101"));
    dialog.accept();
    EXPECT_EQ(told, QStringLiteral("1 から 100 までの整数を入力してください。"));
    EXPECT_FALSE(QFile::exists(Settings::settingsFile())); // nothing written
    const PageLayout before = Settings::pageLayout();
    dialog.cellsField()->setText(QStringLiteral("6"));
    dialog.accept();
    EXPECT_EQ(Settings::pageLayout().ColumnNumber, 6u);
    frame.applyPageLayout(before);
    EXPECT_EQ(frame.book().document().cellsPerLine, 6u);
    EXPECT_EQ(frame.book().document().section().rowCount, 3u);
}

TEST(FindDialog, TheControlsAreThereAndAClickFindsInTheView)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    fillSection(frame.book().document(), u"かあか");
    frame.view().setDocument(&frame.book().document());
    frame.show();
    FindReplaceDialog* dialog = frame.openFindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("検索と置換"));
    EXPECT_EQ(dialog->findNextButton()->text(), QStringLiteral("次を検索(&F)"));
    EXPECT_FALSE(dialog->findNextButton()->isEnabled()); // nothing to find yet
    EXPECT_EQ(frame.openFindDialog(), dialog); // one dialog at a time
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("か"));
    QApplication::sendEvent(dialog->findField(), &commit);
    EXPECT_EQ(dialog->findField()->text(), QStringLiteral("か"));
    ASSERT_TRUE(dialog->findNextButton()->isEnabled());
    QTest::mouseClick(dialog->findNextButton(), Qt::LeftButton);
    EXPECT_EQ(frame.view().session().cursor().selectionStop(), (CellPosition{1, 0}));
    QTest::mouseClick(dialog->findNextButton(), Qt::LeftButton);
    EXPECT_EQ(frame.view().session().cursor().selectionStop(), (CellPosition{3, 0}));
    EXPECT_EQ(frame.paneText(kMessagePane), QStringLiteral("検索文字列 【か】"));
    // Replace all: the first click finds, the second replaces.
    QInputMethodEvent replacement;
    replacement.setCommitString(QStringLiteral("き"));
    QApplication::sendEvent(dialog->replaceField(), &replacement);
    frame.view().session().cursor().goTo(0, 0);
    QTest::mouseClick(dialog->replaceAllButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->replaceAllButton(), Qt::LeftButton);
    std::string prints;
    for (const BrailleCharacter* e : flatCharacters(frame.book().document()))
        prints += u8(e->print);
    EXPECT_EQ(prints, "きあき*");
    EXPECT_TRUE(frame.paneText(kMessagePane).endsWith(QStringLiteral("見つかりませんでした。")));
    dialog->close();
    QApplication::processEvents();
}

TEST(PageEditor, DigitsOnlyAndTheLabelsGoToTheFile)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("book.bml"));
    fillSection(frame.book().document(), u"あ\nい\nう\nえ");
    frame.view().setDocument(&frame.book().document());
    ASSERT_TRUE(frame.book().saveTo(path));
    frame.editOriginalPages([](OriginalPageEditor& editor) {
        QTextEdit* column = editor.labelColumn();
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Tenkora - 原本ページ修正エディタ"));
        column->setFocus();
        column->moveCursor(QTextCursor::Start);
        QTest::keyClicks(column, "5a");           // the letter does not get in
        QTest::keyClick(column, Qt::Key_Down);
        QTest::keyClick(column, Qt::Key_Down);
        QTest::keyClick(column, Qt::Key_Down);
        QTest::keyClicks(column, "6");
        Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::Yes); }});
        editor.accept();
    });
    // Written to the file and read back: every row has the nearest label above it.
    std::vector<std::u16string> labels;
    for (const BrailleParagraph& p : frame.book().document().section().paragraphs)
        labels.push_back(p.rows.front().orgPage);
    EXPECT_EQ(labels, (std::vector<std::u16string>{u"5", u"5", u"5", u"6"}));
    EXPECT_FALSE(frame.book().isModified());
    // Something unsaved: the editor does not open and says why.
    QString told;
    Prompts::setAnswers({.message = [&](const QString& text) { told = text; }});
    QTest::keyClicks(&frame.view(), "ka");
    bool opened = false;
    frame.editOriginalPages([&](OriginalPageEditor&) { opened = true; });
    EXPECT_FALSE(opened);
    EXPECT_TRUE(told.startsWith(QStringLiteral("ファイルの内容は変更されています。")));
    Prompts::setAnswers({[](const QString&, int) { return int(QMessageBox::No); }, {}, {}, {}});
}

TEST(DebugConsole, HeaderTogglingAndItsPlaceAreKept)
{
    FreshSettings fresh;
    consolePrint(QStringLiteral("before it exists")); // nothing happens
    QDir().mkpath(Settings::folder());
    {
        QSettings profile(Settings::profileFile(), QSettings::IniFormat);
        profile.setValue(QStringLiteral("Settings/ConsolePosition"), QStringLiteral("10,20,300,200,2"));
    }
    DebugConsole::toggle(nullptr);
    DebugConsole* console = DebugConsole::instance();
    ASSERT_NE(console, nullptr);
    EXPECT_EQ(console->windowTitle(), QStringLiteral("デバッグコンソール"));
    EXPECT_TRUE(console->text().startsWith(QStringLiteral("This Application Window Handle 0x00000000\nOrvalis Window Handle      0x00000000\n")));
    EXPECT_FALSE(console->text().contains(QStringLiteral("before it exists")));
    EXPECT_EQ(console->geometry().size(), QSize(300, 200));
    EXPECT_TRUE(console->isVisible());
    QSettings profile(Settings::profileFile(), QSettings::IniFormat);
    EXPECT_EQ(profile.value(QStringLiteral("Settings/ShowConrole")).toString(), QStringLiteral("Yes"));
    console->close(); // hides it, keeps its text
    EXPECT_FALSE(console->isVisible());
    profile.sync();
    EXPECT_EQ(profile.value(QStringLiteral("Settings/ShowConrole")).toString(), QStringLiteral("No"));
    DebugConsole::toggle(nullptr);
    EXPECT_TRUE(console->isVisible());
    console->showEnvironment();
    EXPECT_TRUE(console->text().contains(QStringLiteral("Command Line Parametor Count ")));
    consolePrint(QStringLiteral("a line\r\n"));
    EXPECT_TRUE(console->text().endsWith(QStringLiteral("a line\n")));
    // Save writes the text, and a save that fails says so.
    QTemporaryDir folder;
    EXPECT_EQ(console->saveText(folder.filePath(QStringLiteral("console.txt"))), QString());
    QFile saved(folder.filePath(QStringLiteral("console.txt")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), console->text());
    EXPECT_TRUE(console->saveText(folder.filePath(QStringLiteral("no/such/console.txt")))
                    .startsWith(QStringLiteral("ファイルを保存できませんでした。")));
    DebugConsole::destroy();
    profile.sync();
    EXPECT_TRUE(profile.value(QStringLiteral("Settings/ConsolePosition")).toString().startsWith(QStringLiteral("10,20,300,200,")));
}

TEST(MainFrame, RecentFilesOpenAgainNewestFirst)
{
    FreshSettings fresh;
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("first.bml")), second = folder.filePath(QStringLiteral("second.bml"));
    QFile::copy(sample(), first);
    QFile::copy(sample(), second);
    MainWindow frame(Settings::pageLayout());
    ASSERT_TRUE(frame.book().openPath(first));
    ASSERT_TRUE(frame.book().openPath(second));
    ASSERT_NE(frame.action(57617), nullptr);
    EXPECT_TRUE(frame.action(57616)->text().endsWith(QStringLiteral("second.bml")));
    EXPECT_TRUE(frame.action(57617)->text().endsWith(QStringLiteral("first.bml")));
    frame.onCommand(57617);
    EXPECT_EQ(frame.book().pathName(), QFileInfo(first).absoluteFilePath());
}

TEST(MainFrame, ABookDroppedOnTheWindowOpensAndOtherFilesAreRefused)
{
    FreshSettings fresh;
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("dropped.bml"));
    QFile::copy(sample(), book);
    MainWindow frame(Settings::pageLayout());
    frame.show();
    QApplication::processEvents();
    const QPoint at = frame.rect().center();

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(folder.filePath(QStringLiteral("photo.png")))});
    QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &refused);
    EXPECT_FALSE(refused.isAccepted());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(book)});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    EXPECT_EQ(frame.book().pathName(), QFileInfo(book).absoluteFilePath());
}

TEST(MainFrame, TheOldBookStaysWholeWhileAnotherIsReadAndWhenItCannotBe)
{
    FreshSettings fresh;
    QTemporaryDir folder;
    // A book read with the loading screen following every paragraph, so timers run while it is
    // read.
    BrailleDocument big;
    std::u16string body;
    for (int i = 0; i < 300; ++i)
        body += u"あいうえおかきくけこさしすせそ\n";
    fillSection(big, body);
    const QString bigPath = folder.filePath(QStringLiteral("big.bml"));
    ASSERT_TRUE(writeBml(big, bigPath.toStdU16String()));

    MainWindow frame(Settings::pageLayout());
    QStringList told;
    Prompts::setAnswers({[](const QString&, int) { return int(QMessageBox::No); }, {}, {},
                            [&](const QString& text) { told << text; }});
    frame.book().setLoadingScreenInterval(0);
    QTest::keyClicks(&frame.view(), "ka");
    const std::string before = prints(frame.book().document());
    // A timer that reads the book, as the recovery keeper and link mode do.
    int seenDuringLoad = 0;
    QTimer reader;
    reader.setInterval(0);
    QObject::connect(&reader, &QTimer::timeout, [&] {
        const BrailleDocument& d = frame.book().document();
        if (d.complete && prints(d) == before)
            ++seenDuringLoad;
    });
    reader.start();
    ASSERT_TRUE(frame.book().openPath(bigPath));
    reader.stop();
    EXPECT_GT(seenDuringLoad, 0);
    EXPECT_EQ(frame.book().document().sections[Body].paragraphs.size(), 301u);

    // Files that are not BML are refused with what they are; the open book stays as it was.
    QTest::keyClicks(&frame.view(), "ka");
    const std::string edited = prints(frame.book().document());
    struct Foreign {
        const char* name;
        QByteArray bytes;
        const char* says;
    };
    const QByteArray bml = QByteArray("<?xml version=\"1.0\"?>\n<document><body><char mode=\"text\" nabcc=\"A\">あ</char></body></document>\n");
    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : QString::fromUtf8(bml))
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    const Foreign files[] = {
        {"notes.bml", QByteArray("今日は晴れ。\nあしたは雨。\n"), "テキストファイルです。"},
        {"wide.bml", utf16, "UTF-16 で書かれています。"},
        {"other.bml", QByteArray("<?xml version=\"1.0\"?>\n<html><body>あ</body></html>\n"), "document 要素のない XML"},
    };
    for (const Foreign& f : files) {
        const QString path = folder.filePath(QString::fromLatin1(f.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(f.bytes);
        file.close();
        told.clear();
        EXPECT_FALSE(frame.book().openPath(path)) << f.name;
        ASSERT_EQ(told.size(), 1) << f.name;
        EXPECT_TRUE(told[0].startsWith(QStringLiteral("BML ファイルではないため開けません。"))) << told[0].toStdString();
        EXPECT_TRUE(told[0].contains(QString::fromUtf8(f.says))) << told[0].toStdString();
        EXPECT_EQ(prints(frame.book().document()), edited);
        EXPECT_EQ(frame.book().pathName(), QFileInfo(bigPath).absoluteFilePath());
        QFile unchanged(path);
        ASSERT_TRUE(unchanged.open(QIODevice::ReadOnly));
        EXPECT_EQ(unchanged.readAll(), f.bytes);
    }
}

TEST(MainFrame, AnExternalToolThatHangsCanBeCancelledAndIsAskedAboutAtItsLimit)
{
    FreshSettings fresh;
    QTemporaryDir tools;
    // A stand-in exporter that never finishes.
    QFile hanging(tools.filePath(QStringLiteral("CellExport")));
    ASSERT_TRUE(hanging.open(QIODevice::WriteOnly));
    hanging.write("#!/bin/sh\nexec sleep 60\n");
    hanging.close();
    hanging.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("TENKORA_TOOL_DIR", tools.path().toLocal8Bit());

    QTemporaryDir folder;
    MainWindow frame(Settings::pageLayout());
    frame.show();
    ASSERT_TRUE(frame.book().saveTo(folder.filePath(QStringLiteral("book.bml"))));
    QStringList asked, told;
    Prompts::setAnswers({[&](const QString& text, int) {
                                asked << text;
                                return int(QMessageBox::No);
                            },
                            {},
                            [&](const QString&, const QString&, const QString&) { return folder.filePath(QStringLiteral("book.bse")); },
                            [&](const QString& text) { told << text; }});
    // At the limit the user is asked, and No stops the tool.
    frame.book().setToolTimeLimit(300);
    QElapsedTimer clock;
    clock.start();
    frame.book().exportBse();
    EXPECT_LT(clock.elapsed(), 5000);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("CellExport が 0 秒たっても終わりません。"))) << asked[0].toStdString();
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0], QStringLiteral("CellExport を中止しました。"));

    // The progress dialog shows while it works, and its Cancel stops it.
    frame.book().setToolTimeLimit(60000);
    asked.clear();
    told.clear();
    {
        ProgressCanceller cancel(100);
        clock.restart();
        frame.book().exportBse();
        EXPECT_TRUE(cancel.saw(QStringLiteral("CellExport を実行しています…")));
    }
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(asked.isEmpty());
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0], QStringLiteral("CellExport を中止しました。"));
    qunsetenv("TENKORA_TOOL_DIR");
}

TEST(MainFrame, TheEditMenusCutCutsAndIsNoRecentFile)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    QTest::keyClicks(&frame.view(), "kakiku");
    QTest::keyClick(&frame.view(), Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_NE(frame.action(cmd::Cut), nullptr);
    frame.action(cmd::Cut)->trigger();
    EXPECT_EQ(prints(frame.book().document()), "かき*");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("く"));
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); }});
}

TEST(MainFrame, APrintBookIsImportedIntoANewUnsavedBookAndCancelLeavesTheOpenOne)
{
    FreshSettings fresh;
    QTemporaryDir folder;
    MainWindow frame(Settings::pageLayout());
    frame.show();
    QTest::keyClicks(&frame.view(), "ka");
    const std::string before = prints(frame.book().document());
    QStringList told;
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); },
                         .message = [&](const QString& text) { told << text; }});

    // A source that cannot be read: said why, the open book as it was.
    const QString broken = folder.filePath(QStringLiteral("broken.epub"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 not a whole archive");
    file.close();
    EXPECT_FALSE(frame.book().importPrint(broken));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("墨字の本を取り込めません。"))) << told[0].toStdString();
    EXPECT_EQ(prints(frame.book().document()), before);

    // A long text, cancelled while it is typed: the open book stays.
    const QString longText = folder.filePath(QStringLiteral("long.txt"));
    QFile text(longText);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    for (int i = 0; i < 20000; ++i)
        text.write("今日は晴れ。明日も晴れ。\n");
    text.close();
    told.clear();
    {
        ProgressCanceller cancel(50);
        EXPECT_FALSE(frame.book().importPrint(longText));
    }
    EXPECT_TRUE(told.isEmpty());
    EXPECT_TRUE(prints(frame.book().document()) == before) << "the open book changed";

    // The HTML page: a new book, unsaved, named after its source, the summary in the message pane.
    const QString page = QString::fromStdString((sourceDir() / "tests" / "data" / "import" / "page.html").string());
    ASSERT_TRUE(frame.book().importPrint(page));
    EXPECT_TRUE(frame.book().pathName().isEmpty());
    EXPECT_TRUE(frame.book().isModified());
    EXPECT_EQ(frame.book().title(), QStringLiteral("page.bml *"));
    EXPECT_TRUE(frame.paneText(kMessagePane).startsWith(QStringLiteral("page.html を取り込みました: 段落 8、見出し 2")))
        << frame.paneText(kMessagePane).toStdString();
    const BrailleDocument& book = frame.book().document();
    EXPECT_EQ(book.sections[Body].paragraphs.size(), 6u);
    EXPECT_EQ(book.sections[Cover].paragraphs.size(), 2u);
}

TEST(MainFrame, ALargePasteShowsProgressAndItsCancelLeavesTheBookAsItWas)
{
    FreshSettings fresh;
    MainWindow frame(Settings::pageLayout());
    frame.show();
    QTest::keyClicks(&frame.view(), "ka");
    const std::string before = prints(frame.book().document());
    QString text;
    for (int i = 0; i < 6000; ++i)
        text += QStringLiteral("あさの　こみちを　あるくと　ふるい　いしの　はしが　みえた。\n");
    QGuiApplication::clipboard()->setText(text);
    // Pasted over a selection: a cancel brings the selection's text back too.
    QTest::keyClick(&frame.view(), Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_TRUE(frame.view().session().cursor().hasSelection());
    {
        ProgressCanceller cancel(30);
        QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(cancel.saw(QStringLiteral("貼り付けています…")));
    }
    EXPECT_TRUE(prints(frame.book().document()) == before) << "the cancelled paste left text behind: " << prints(frame.book().document()).substr(0, 60);
    // Without a cancel the whole text goes in.
    QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frame.book().document().section().paragraphs.size(), 6001u);
    // Its undo is as long: cancelled, the text stays; let through, it goes.
    {
        ProgressCanceller cancel(30);
        QTest::keyClick(&frame.view(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(cancel.saw(QStringLiteral("貼り付けています…")));
    }
    EXPECT_EQ(frame.book().document().section().paragraphs.size(), 6001u);
    EXPECT_EQ(frame.book().document().checkInvariants(), "");
    QTest::keyClick(&frame.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(prints(frame.book().document()) == before) << "the undo left text behind";
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); }});
}

TEST(BrailleView, CellsArePaintedAsDotsThePrintGoesUnderThemAndTheChoiceIsKept)
{
    FreshSettings fresh;
    {
        MainWindow frame(Settings::pageLayout());
        BrailleDocument& book = frame.book().document();
        fillSection(book, u"あいう");
        book.complete = true;
        frame.view().setDocument(&book);
        frame.resize(900, 600);
        frame.show();
        frame.activateWindow();
        frame.view().setFocus();
        QApplication::processEvents();
        EXPECT_FALSE(frame.action(cmd::BrailleView)->isChecked());
        EXPECT_FALSE(frame.action(cmd::PrintUnderCells)->isEnabled());
        QTest::keyClick(&frame.view(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_TRUE(frame.view().viewStyle().braille);
        EXPECT_TRUE(frame.action(cmd::BrailleView)->isChecked());

        // あ is dot 1, い dots 1-2, う dots 1-4: black where the cell has a dot, only a faint
        // mark at the other positions.
        const ViewMetrics& m = frame.view().metrics();
        const auto cellBox = [&](int column) {
            return QRectF(m.labelMargin + 1 + column * m.cellWidth, m.rowPitch + 2, m.cellWidth, m.cellHeight - 3);
        };
        const auto inked = [&](const QImage& image, int column, int dot) {
            const QPoint at = dotCentre(cellBox(column), dot).toPoint();
            return countColour(image, QRect(at - QPoint(1, 1), QSize(3, 3)), Qt::black) > 0;
        };
        QImage image = picture(*frame.view().viewport());
        const std::pair<int, std::string> cells[] = {{0, "100000"}, {1, "110000"}, {2, "100100"}};
        for (const auto& [column, dots] : cells)
            for (int dot = 1; dot <= 6; ++dot)
                EXPECT_EQ(inked(image, column, dot), dots[std::size_t(dot - 1)] == '1') << column << " dot " << dot;
        const QRect under(m.labelMargin + 3, m.rowPitch + 2 + m.cellHeight - 3, 3 * m.cellWidth - 3, m.cellHeight - 3);
        EXPECT_EQ(countColour(image, under, Qt::black), 0); // no print under the cells (the caret stands left of it)

        // 墨字併記: the rows grow by a line, the print stands under the cells, the dots stay.
        frame.onCommand(cmd::PrintUnderCells);
        EXPECT_TRUE(frame.action(cmd::PrintUnderCells)->isChecked());
        EXPECT_GT(m.rowHeight, m.cellHeight + 8);
        image = picture(*frame.view().viewport());
        const QRect print(m.labelMargin + 3, m.rowPitch + 2 + m.cellHeight - 3, 3 * m.cellWidth - 3, m.rowHeight - m.cellHeight);
        EXPECT_GT(countColour(image, print, Qt::black), 8); // antialiased glyphs: a few pure black pixels
        EXPECT_TRUE(inked(image, 2, 4));
        EXPECT_FALSE(inked(image, 2, 2));
    }
    // The next start shows the braille view with the print under the cells again.
    MainWindow again(Settings::pageLayout());
    EXPECT_EQ(again.view().viewStyle(), (ViewStyle{true, true}));
    EXPECT_TRUE(again.action(cmd::BrailleView)->isChecked());
    EXPECT_TRUE(again.action(cmd::PrintUnderCells)->isChecked());
}
