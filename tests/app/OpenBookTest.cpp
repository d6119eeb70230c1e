// The open book against the world outside the window: a second Tenkora on the same book, another
// program changing the file, printing the whole book, and help without a browser.

#include "MainWindow.h"
#include "BmlWriter.h"
#include "BookLock.h"
#include "CommandIds.h"
#include "DocumentBuilder.h"
#include "Prompts.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace braille;
using namespace braille::test;

namespace {

std::filesystem::path fsPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A book of this text in the body, written as another program would write it.
void writeBookBehindTheWindow(const QString& path, std::u16string_view body)
{
    BrailleDocument document;
    fillSection(document, body);
    ASSERT_TRUE(writeBml(document, fsPath(path)));
}

// Back to the window from elsewhere, as the window system tells it.
void comeBackTo(MainWindow& frame)
{
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&frame, &activation);
    QApplication::processEvents();
}

// The questions asked, answered with `answer`.
struct Questions {
    QStringList asked;
    int answer = QMessageBox::No;
};

} // namespace

TEST(BookLock, ASecondWindowIsOfferedReadOnlyAndItsSaveNeverWritesTheBook)
{
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("本.bml"));
    MainWindow first(Settings::pageLayout());
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); }});
    QTest::keyClicks(&first.view(), "ka");
    ASSERT_TRUE(first.book().saveTo(book)); // locked when first saved
    const QString lockFile = folder.filePath(QStringLiteral(".本.bml.lock"));
    EXPECT_EQ(first.book().lockFile(), lockFile);
    // The same book through a link is the same book: saved by that name, it keeps its own lock.
    const QString link = folder.filePath(QStringLiteral("link.bml"));
    ASSERT_TRUE(QFile::link(book, link));
    QTest::keyClicks(&first.view(), "ka");
    EXPECT_TRUE(first.book().saveTo(link));
    EXPECT_EQ(first.book().lockFile(), lockFile);
    EXPECT_FALSE(first.book().isReadOnly());
    const QByteArray saved = bytesOf(book);

    QStringList chosen, told;
    QString savedAs = folder.filePath(QStringLiteral("写し.bml"));
    QString proposed;
    int choice = 1;
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); },
                         .saveName =
                             [&](const QString&, const QString&, const QString& start) {
                                 proposed = start;
                                 return savedAs;
                             },
                         .message = [&](const QString& text) { told << text; },
                         .choice =
                             [&](const QString& text, const QStringList& choices) {
                                 chosen << text;
                                 EXPECT_EQ(choices, QStringList({QStringLiteral("読み取り専用で開く"), QStringLiteral("開かない")}));
                                 return choice;
                             }});
    // 開かない: the second window keeps what it had.
    MainWindow second(Settings::pageLayout());
    EXPECT_FALSE(second.book().openPath(book));
    EXPECT_TRUE(second.book().pathName().isEmpty());
    ASSERT_EQ(chosen.size(), 1);
    // Who holds it: this host, this process, this user.
    const LockHolder self = thisProcess();
    EXPECT_TRUE(chosen[0].contains(QStringLiteral("ほかの Tenkora で開かれています"))) << chosen[0].toStdString();
    EXPECT_TRUE(chosen[0].contains(QString::fromStdString(self.host)));
    EXPECT_TRUE(chosen[0].contains(QStringLiteral("プロセス: %1").arg(self.pid)));
    EXPECT_TRUE(chosen[0].contains(QString::fromStdString(self.user)));

    // 読み取り専用で開く: everything edits, but Save goes to another name.
    choice = 0;
    ASSERT_TRUE(second.book().openPath(book));
    EXPECT_TRUE(second.book().isReadOnly());
    EXPECT_TRUE(second.windowTitle().contains(QStringLiteral("[読み取り専用]")));
    EXPECT_TRUE(second.book().lockFile().isEmpty());
    QTest::keyClicks(&second.view(), "ta");
    EXPECT_TRUE(second.book().isModified());
    EXPECT_FALSE(second.book().saveTo(book));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("読み取り専用"))) << told[0].toStdString();
    second.onCommand(cmd::Save);
    EXPECT_TRUE(second.statusBar()->currentMessage().contains(QStringLiteral("読み取り専用"))) << second.statusBar()->currentMessage().toStdString();
    EXPECT_EQ(bytesOf(book), saved);
    EXPECT_EQ(proposed, folder.filePath(QStringLiteral("本-コピー.bml"))); // not the book itself
    EXPECT_TRUE(QFileInfo::exists(savedAs));
    // The copy is the second window's own book now, locked by it.
    EXPECT_FALSE(second.book().isReadOnly());
    EXPECT_EQ(second.book().lockFile(), folder.filePath(QStringLiteral(".写し.bml.lock")));
    EXPECT_EQ(first.book().lockFile(), lockFile);
    // Saving onto the book the first window holds is refused, and writes nothing.
    QTest::keyClicks(&second.view(), "ka");
    EXPECT_FALSE(second.book().saveTo(book));
    EXPECT_EQ(bytesOf(book), saved);

    // A new book lets go of the lock.
    first.onCommand(cmd::New);
    EXPECT_FALSE(QFileInfo::exists(lockFile));
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); }});
}

TEST(BookLock, AStaleLockIsTakenOverSilentlyOneOfAnotherHostIsNot)
{
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("a.bml"));
    writeBookBehindTheWindow(book, u"あいう");
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string lock = lockPathOf(fsPath(book)).string();
    writeBytes(lock, lockText({thisProcess().host, long(child), "taro", 1765000000}));
    {
        // No prompt: an unexpected one fails the test.
        MainWindow frame(Settings::pageLayout());
        ASSERT_TRUE(frame.book().openPath(book));
        EXPECT_FALSE(frame.book().isReadOnly());
        EXPECT_EQ(parseLockText(readBytes(lock))->pid, long(::getpid()));
    }
    // The window ended normally: its lock went with it.
    EXPECT_FALSE(std::filesystem::exists(lock));

    writeBytes(lock, lockText({"another-host", long(child), "taro", 1765000000}));
    int asked = 0;
    Prompts::setAnswers({.choice = [&](const QString& text, const QStringList&) {
        ++asked;
        EXPECT_TRUE(text.contains(QStringLiteral("another-host")));
        return 1;
    }});
    MainWindow frame(Settings::pageLayout());
    EXPECT_FALSE(frame.book().openPath(book));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(parseLockText(readBytes(lock))->host, "another-host");
}

TEST(ChangedOnDisk, AnotherProgramsChangeIsAskedAboutOnceAndReadAgainTheWindowsOwnSaveIsNot)
{
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("a.bml"));
    writeBookBehindTheWindow(book, u"あいう");
    MainWindow frame(Settings::pageLayout());
    Questions questions;
    Prompts::setAnswers({.question = [&](const QString& text, int) {
        questions.asked << text;
        return questions.answer;
    }});
    ASSERT_TRUE(frame.book().openPath(book));
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    // The window's own save changes the file: no question.
    QTest::keyClicks(&frame.view(), "ka");
    ASSERT_TRUE(frame.book().save());
    comeBackTo(frame);
    EXPECT_TRUE(questions.asked.isEmpty()) << questions.asked.join(u'|').toStdString();

    // Another program writes it: asked once, however often the window comes back.
    writeBookBehindTheWindow(book, u"かきくけこ");
    comeBackTo(frame);
    comeBackTo(frame);
    ASSERT_EQ(questions.asked.size(), 1);
    EXPECT_EQ(questions.asked[0], QStringLiteral("a.bmlが他のプログラムで変更されました。読み込み直しますか？"));
    EXPECT_NE(prints(frame.book().document()).find("か"), std::string::npos); // No kept the window's book
    EXPECT_EQ(prints(frame.book().document()).find("き"), std::string::npos);
    // Saving over that change asks first; No leaves the other program's file as it is.
    const std::string theirs = readBytes(book.toStdString());
    QTest::keyClicks(&frame.view(), "ta");
    EXPECT_FALSE(frame.book().save());
    ASSERT_EQ(questions.asked.size(), 2);
    EXPECT_TRUE(questions.asked[1].contains(QStringLiteral("他のプログラムによって変更されています")));
    EXPECT_EQ(readBytes(book.toStdString()), theirs);
    questions.asked.removeLast();

    // Changed again while the window has unsaved changes: the question says they go; Yes reads it.
    QTest::keyClicks(&frame.view(), "sa");
    writeBookBehindTheWindow(book, u"たちつてと");
    questions.answer = QMessageBox::Yes;
    comeBackTo(frame);
    ASSERT_EQ(questions.asked.size(), 2);
    EXPECT_TRUE(questions.asked[1].contains(QStringLiteral("保存していない変更は失われます")));
    EXPECT_EQ(prints(frame.book().document()), "たちつてと*");
    EXPECT_FALSE(frame.book().isModified());
    comeBackTo(frame);
    EXPECT_EQ(questions.asked.size(), 2);
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); }});
}

TEST(Printing, TheWholeBookPrintsItsSectionsInOrderTheCurrentSectionAlone)
{
    MainWindow frame(Settings::pageLayout());
    BrailleDocument& document = frame.book().document();
    document.currentSection = Cover;
    fillSection(document, u"ひょうし");
    document.currentSection = Colophon;
    fillSection(document, u"おくづけ");
    document.currentSection = Body;
    std::u16string body;
    for (int i = 0; i < 30; ++i)
        body += u"あいう\n"; // 31 rows: two sheets of 21
    fillSection(document, body);
    frame.view().setDocument(&document);
    QTemporaryDir folder;
    const auto pdfPages = [&](PrintRange range, const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(name));
        const int sheets = frame.printBook(printer, range);
        EXPECT_EQ(bytesOf(printer.outputFileName()).count("/Type /Page\n"), sheets);
        return sheets;
    };
    // 表紙 1, 目次 (empty) none, 本文 2, 奥付 1.
    EXPECT_EQ(pdfPages(PrintRange::WholeBook, QStringLiteral("book.pdf")), 4);
    EXPECT_EQ(pdfPages(PrintRange::CurrentSection, QStringLiteral("body.pdf")), 2);
    // The window still edits the body.
    EXPECT_EQ(document.currentSection, Body);
    EXPECT_EQ(document.section().rowCount, 31u);

    // Printing and its preview ask which first; closing the question prints nothing.
    int asked = 0;
    QStringList offered;
    Prompts::setAnswers({.choice = [&](const QString&, const QStringList& choices) {
        ++asked;
        offered = choices;
        return int(asked == 1 ? 2 : -1); // キャンセル, then the box closed
    }});
    frame.onCommand(cmd::Print);
    frame.onCommand(cmd::PrintPreview);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(offered, QStringList({QStringLiteral("本全体（表紙・目次・本文・奥付）"), QStringLiteral("編集中のセクションだけ"),
                                    QStringLiteral("キャンセル")}));
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); }});
}

TEST(Help, WithoutABrowserItOpensInTheWindowsOwnHelpWindowAndEveryPageIsThere)
{
    MainWindow frame(Settings::pageLayout());
    int tried = 0;
    frame.setHelpOpener([&](const QUrl& url) {
        ++tried;
        EXPECT_TRUE(url.toLocalFile().endsWith(QStringLiteral("help/index.html")));
        return false;
    });
    frame.onCommand(cmd::Help);
    EXPECT_EQ(tried, 1);
    QTextBrowser* help = frame.helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->parentWidget(), &frame);
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Tenkora ヘルプ")));
    // Every page the index links to is there, and opens in the same window.
    const QString index = QString::fromUtf8(bytesOf(help->source().toLocalFile()));
    const QDir folder = QFileInfo(help->source().toLocalFile()).dir();
    QStringList pages;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("href=\"([^\"#:]+\\.html)")).globalMatch(index))
        pages << m.captured(1);
    EXPECT_GE(pages.size(), 8);
    for (const QString& page : pages) {
        ASSERT_TRUE(folder.exists(page)) << page.toStdString();
        help->setSource(QUrl::fromLocalFile(folder.filePath(page)));
        EXPECT_FALSE(help->toPlainText().trimmed().isEmpty()) << page.toStdString();
    }
    frame.onCommand(cmd::Help);
    EXPECT_EQ(frame.helpWindow(), help); // one help window
}
