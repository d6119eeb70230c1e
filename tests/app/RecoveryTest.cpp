// Recovery copies: kept while work is unsaved, gone when it is saved, and offered after a crash.

#include "MainWindow.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "Prompts.h"
#include "RecoveryKeeper.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>
#include <cstdio>
#include <thread>

using namespace braille;
using namespace braille::test;

namespace {

void setInterval(int seconds)
{
    QDir().mkpath(Settings::folder());
    QSettings profile(Settings::profileFile(), QSettings::IniFormat);
    profile.setValue(QStringLiteral("Settings/RecoveryInterval"), seconds);
}



} // namespace

TEST(Recovery, ACopyAppearsOnlyAfterAChangeAndSavingRemovesIt)
{
    setInterval(1);
    QTemporaryDir folder;
    MainWindow frame(Settings::pageLayout());
    const RecoveryStore& store = frame.recovery()->store();
    QTest::qWait(1300);
    EXPECT_FALSE(store.exists()); // nothing unsaved, no copy
    QTest::keyClicks(&frame.view(), "ka");
    ASSERT_TRUE(waitUntil([&] { return store.exists(); }));
    const QDateTime written = QFileInfo(QString::fromStdString(store.copyPath().string())).lastModified();
    QTest::qWait(1300);
    EXPECT_EQ(QFileInfo(QString::fromStdString(store.copyPath().string())).lastModified(), written); // unchanged
    // The copy of a running process is never offered.
    EXPECT_TRUE(RecoveryStore::leftovers().empty());
    ASSERT_TRUE(frame.book().saveTo(folder.filePath(QStringLiteral("book.bml"))));
    EXPECT_FALSE(store.exists());
    setInterval(30);
}

// The process the next test starts and kills: it saves a book, types, waits for its copy and
// waits to be killed. Not a test of its own: the test binary's main runs it instead of the tests.
int braille::test::runRecoveryChild(const char* book)
{
    MainWindow frame(Settings::pageLayout());
    if (!frame.book().saveTo(QString::fromLocal8Bit(book)))
        return 1;
    QTest::keyClicks(&frame.view(), "kyouha");
    if (!waitUntil([&] { return frame.recovery()->store().exists(); }))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        QTest::qWait(100);
}

TEST(Recovery, AKilledProcessLeavesACopyThatTheNextStartBringsBack)
{
    setInterval(1);
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("book.bml"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TENKORA_RECOVERY_CHILD"), book);
    env.insert(QStringLiteral("TENKORA_CONFIG_DIR"), Settings::folder());
    env.insert(QStringLiteral("XDG_STATE_HOME"), qEnvironmentVariable("XDG_STATE_HOME"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(child.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    while (!out.contains("ready") && clock.elapsed() < 15000 && child.state() == QProcess::Running) {
        child.waitForReadyRead(100);
        out += child.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("ready")) << out.constData();
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished(3000);
    setInterval(30);

    MainWindow frame(Settings::pageLayout());
    QString asked;
    Prompts::setAnswers({.choice = [&](const QString& text, const QStringList& choices) {
        asked = text;
        EXPECT_EQ(choices, (QStringList{QStringLiteral("はい"), QStringLiteral("いいえ"), QStringLiteral("削除")}));
        return int(RecoveryKeeper::Restore);
    }});
    const bool restored = RecoveryKeeper::offerLeftovers(frame);
    ASSERT_TRUE(restored);
    EXPECT_TRUE(asked.startsWith(QStringLiteral("前回、Tenkora が正常に終了しなかったため")));
    EXPECT_TRUE(asked.contains(QStringLiteral("book.bml")));
    EXPECT_EQ(prints(frame.book().document()), "きょうは*");
    EXPECT_TRUE(frame.book().isModified());
    EXPECT_EQ(frame.book().pathName(), QFileInfo(book).absoluteFilePath()); // Save goes to the original
    // The recent files name the book, not the copy it came back from.
    ASSERT_NE(frame.action(57616), nullptr);
    EXPECT_TRUE(frame.action(57616)->text().endsWith(QStringLiteral("book.bml"))) << frame.action(57616)->text().toStdString();
    EXPECT_FALSE(frame.action(57616)->text().contains(QStringLiteral("recovery-")));
    EXPECT_TRUE(RecoveryStore::leftovers().empty()); // now kept as this process's own copy
    Prompts::setAnswers({[](const QString&, int) { return int(QMessageBox::No); }, {}, {}, {}});
    frame.recovery()->removeCopy();
}

TEST(Recovery, ACopyThatCannotBeReadIsReportedAndKept)
{
    // A copy of a process long gone, which is no file at all.
    const std::filesystem::path dir = RecoveryStore::folder();
    std::filesystem::create_directories(dir / "recovery-4194000.bml");
    writeBytes(dir / "recovery-4194000.txt", "/home/t/book.bml\n2026-12-09 10:00:00\n4194000\n");
    MainWindow frame(Settings::pageLayout());
    QString told;
    Prompts::setAnswers({.message = [&](const QString& text) { told = text; },
                         .choice = [](const QString&, const QStringList&) { return int(RecoveryKeeper::Restore); }});
    EXPECT_FALSE(RecoveryKeeper::offerLeftovers(frame));
    EXPECT_TRUE(told.startsWith(QStringLiteral("復元用の文書を読めません。")));
    ASSERT_EQ(RecoveryStore::leftovers().size(), 1u);
    // Only the user's word removes it.
    Prompts::setAnswers({.choice = [](const QString&, const QStringList&) { return int(RecoveryKeeper::Discard); }});
    RecoveryKeeper::offerLeftovers(frame);
    EXPECT_TRUE(RecoveryStore::leftovers().empty());
}

TEST(Recovery, ACopyBelongsToTheProcessThatHoldsItsLockNotToWhoeverHasItsId)
{
    BrailleDocument book;
    fillSection(book, u"あい");
    {
        // A crashed Tenkora whose process id now belongs to a running process (this one).
        RecoveryStore crashed(long(::getpid()));
        ASSERT_TRUE(crashed.write(*RecoveryStore::snapshot(book), u"/home/t/crashed.bml"));
        // A new process with the same id never takes over the old copy.
        const RecoveryStore sameId(long(::getpid()));
        EXPECT_NE(sameId.copyPath(), crashed.copyPath());
        // Copies are the user's alone.
        const auto perms = [](const std::filesystem::path& p) { return std::filesystem::status(p).permissions(); };
        EXPECT_EQ(perms(RecoveryStore::folder()), std::filesystem::perms::owner_all);
        EXPECT_EQ(perms(crashed.copyPath()), std::filesystem::perms(0600));
    }
    // A Tenkora that runs, whatever its process id says, keeps its copy to itself.
    RecoveryStore running(4194001);
    ASSERT_TRUE(running.write(*RecoveryStore::snapshot(book), u"/home/t/running.bml"));
    const std::vector<RecoveryCopy> left = RecoveryStore::leftovers();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].original, u"/home/t/crashed.bml");
    RecoveryStore::discard(left[0]);
    running.remove();
    EXPECT_TRUE(RecoveryStore::leftovers().empty());
}

TEST(Recovery, ACopyThatCannotBeWrittenIsSaidOnceAndTriedAgain)
{
    setInterval(1);
    // The recovery folder's place is taken by a file.
    std::filesystem::remove_all(RecoveryStore::folder());
    std::filesystem::create_directories(RecoveryStore::folder().parent_path());
    writeBytes(RecoveryStore::folder(), "in the way");
    MainWindow frame(Settings::pageLayout());
    int said = 0;
    QObject::connect(frame.recovery(), &RecoveryKeeper::failed, [&](const QString&) { ++said; });
    QTest::keyClicks(&frame.view(), "ka");
    ASSERT_TRUE(waitUntil([&] { return said > 0; }, 5000));
    EXPECT_TRUE(frame.paneText(kMessagePane).startsWith(QStringLiteral("復元用のコピーを保存できません"))) 
        << frame.paneText(kMessagePane).toStdString();
    QTest::keyClicks(&frame.view(), "ki");
    QTest::qWait(2500);
    EXPECT_EQ(said, 1);
    std::filesystem::remove(RecoveryStore::folder());
    EXPECT_TRUE(waitUntil([&] { return frame.recovery()->store().exists(); }, 5000));
    setInterval(30);
    Prompts::setAnswers({[](const QString&, int) { return int(QMessageBox::No); }, {}, {}, {}});
    frame.recovery()->removeCopy();
}
