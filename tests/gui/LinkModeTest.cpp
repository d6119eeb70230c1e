// Link mode end to end: the editor in this process, the companion (tenkora-companion) in its own,
// talking over their sockets as a reading application would.

#include "CMainFrame.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "LinkMode.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// The companion process and what it printed.
struct CompanionProcess {
    QProcess process;
    std::uint32_t handle = 0x7e570000u + std::uint32_t(QCoreApplication::applicationPid() & 0xFFFF);
    QStringList lines;

    explicit CompanionProcess(QStringList options)
    {
        options << QStringLiteral("--handle") << QString::number(handle, 16);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tenkora-companion"), options);
        EXPECT_TRUE(waitFor(QStringLiteral("listening")));
    }
    ~CompanionProcess()
    {
        process.closeWriteChannel(); // end of input: the companion ends link mode
        if (!process.waitForFinished(3000))
            process.kill();
    }
    void read()
    {
        while (process.canReadLine())
            lines << QString::fromUtf8(process.readLine()).trimmed();
    }
    int count(const QString& prefix)
    {
        read();
        int n = 0;
        for (const QString& l : lines)
            n += l.startsWith(prefix);
        return n;
    }
    // Lets both sides work until the companion printed a line beginning with `prefix`.
    bool waitFor(const QString& prefix, int times = 1, int ms = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            if (count(prefix) >= times)
                return true;
            QCoreApplication::processEvents();
            process.waitForReadyRead(10);
        }
        return count(prefix) >= times;
    }
    // A while for the companion to answer, when nothing is expected to come.
    void settle(int ms = 300) { waitFor(QStringLiteral("never"), 1, ms); }
};


} // namespace

TEST(LinkMode, TheCompanionsTextShowsAndEveryChangeGoesBackOnce)
{
    CompanionProcess companion({QStringLiteral("--text"), QStringLiteral("{t`A`あ},{m`#`1}")});
    CMainFrame frame(PageLayout{}, true, false, companion.handle);
    frame.show();
    ASSERT_TRUE(companion.waitFor(QStringLiteral("loaded: 1")));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Tenkora(Orvalis LinkMode)"));
    EXPECT_NE(prints(frame.doc().document()).find("あ"), std::string::npos);
    EXPECT_EQ(frame.view().metrics().labelMargin, 0); // no row labels in link mode
    frame.view().setFocus();
    QTest::keyClicks(&frame.view(), "ka");
    ASSERT_TRUE(companion.waitFor(QStringLiteral("update: ")));
    companion.settle();
    EXPECT_EQ(companion.count(QStringLiteral("update: ")), 1);
    EXPECT_TRUE(companion.lines.filter(QStringLiteral("update: ")).front().contains(QStringLiteral("{text`*`か},{text`A`あ}")));
    // The companion took it: moving the caret sends nothing more.
    QTest::keyClick(&frame.view(), Qt::Key_Right);
    companion.settle();
    EXPECT_EQ(companion.count(QStringLiteral("update: ")), 1);
    EXPECT_FALSE(frame.doc().isModified());
    // Ctrl+Shift+Up goes to the companion, which did not take it: the editor's caret moves.
    QTest::keyClick(&frame.view(), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(companion.waitFor(QStringLiteral("event: 256 38")));
}

TEST(LinkMode, AnUnacceptedUpdateIsSentAgainAndABlankBodySendsNothing)
{
    CompanionProcess companion({QStringLiteral("--answer"), QStringLiteral("0")});
    CMainFrame frame(PageLayout{}, true, false, companion.handle);
    frame.show();
    ASSERT_TRUE(companion.waitFor(QStringLiteral("start: ")));
    frame.view().setFocus();
    QTest::keyClick(&frame.view(), Qt::Key_Space);
    QTest::keyClick(&frame.view(), Qt::Key_Return);
    companion.settle();
    EXPECT_EQ(companion.count(QStringLiteral("update: ")), 0); // only blanks and line breaks
    QTest::keyClicks(&frame.view(), "a");
    ASSERT_TRUE(companion.waitFor(QStringLiteral("update: ")));
    QTest::keyClick(&frame.view(), Qt::Key_Left);
    EXPECT_TRUE(companion.waitFor(QStringLiteral("update: "), 2));
    EXPECT_TRUE(frame.doc().isModified());
}

TEST(LinkMode, AWrongPayloadAndALyingFrameAreSurvivedAndEndClosesWithoutAQuestion)
{
    CompanionProcess companion({QStringLiteral("--text"), QStringLiteral("{t`A`あ}"), QStringLiteral("--text-id"),
                                QStringLiteral("c104"), QStringLiteral("--end-after"), QStringLiteral("2")});
    auto* frame = new CMainFrame(PageLayout{}, true, false, companion.handle);
    QPointer<CMainFrame> alive(frame);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    bool asked = false;
    frame->doc().setAnswers({[&](const QString&, int) {
                                 asked = true;
                                 return int(QMessageBox::Cancel);
                             },
                             {}, {}, {}});
    ASSERT_TRUE(companion.waitFor(QStringLiteral("loaded: ")));
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("Copy Data Error!"));
    // A frame whose copy-data size lies, on a connection of its own: that connection is dropped.
    QLocalSocket intruder;
    intruder.connectToServer(LinkChannel::socketPath(QStringLiteral("tenkora"), frame->linkMode()->handle()));
    ASSERT_TRUE(intruder.waitForConnected(1000));
    const QByteArray lie("\x1c\x00\x00\x00\x02\x00\x00\x00\x4a\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                         "\x0c\x00\x00\x00\xff\xff\x00\x00\x41\x00",
                         30);
    intruder.write(lie);
    intruder.flush();
    companion.settle(200);
    ASSERT_TRUE(alive);
    // End from the companion closes the editor, even with a change unsaved, and asks nothing.
    frame->view().setFocus();
    QTest::keyClicks(&frame->view(), "ka");
    QElapsedTimer clock;
    clock.start();
    while (alive && clock.elapsed() < 5000) {
        QCoreApplication::processEvents();
        companion.process.waitForReadyRead(10);
    }
    EXPECT_FALSE(alive);
    EXPECT_FALSE(asked);
}
