// Link mode end to end: the editor in this process, the companion (tenkora-companion) in its own,
// talking over their sockets as a reading application would; or, where the test must choose when
// answers come, a companion played by the test over its own socket.

#include "DebugConsole.h"
#include "MainWindow.h"
#include "CandidateMatches.h"
#include "ConfigPaths.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "Prompts.h"
#include "LinkMode.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

// The companion played by the test on its own socket, in this process: it keeps what the editor
// sends and answers only when told.
struct FakeCompanion {
    std::uint32_t handle = 0x7e580000u + std::uint32_t(QCoreApplication::applicationPid() & 0xFFFF);
    QLocalServer server;
    QPointer<QLocalSocket> editor;
    link::FrameReader reader;
    std::vector<link::Frame> frames; // as they came
    std::size_t answered = 0;        // how many of the sent frames were answered

    FakeCompanion()
    {
        server.setSocketOptions(QLocalServer::UserAccessOption);
        EXPECT_TRUE(server.listen(LinkChannel::socketPath(QStringLiteral("orvalis"), handle)));
        QObject::connect(&server, &QLocalServer::newConnection, [this] {
            editor = server.nextPendingConnection();
            QObject::connect(editor, &QLocalSocket::readyRead, [this] {
                const QByteArray bytes = editor->readAll();
                reader.append(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
                while (std::optional<link::Frame> frame = reader.next())
                    frames.push_back(*frame);
            });
        });
    }
    void write(const link::Frame& frame)
    {
        const std::vector<std::uint8_t> bytes = link::encodeFrame(frame);
        editor->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        editor->flush();
    }
    void sendText(const std::u16string& text)
    {
        write({link::FrameType::Sent, link::kCopyData, handle, 0, 12, link::textPayload(handle, link::kChangeData, text)});
    }
    std::vector<link::Frame> sent() const
    {
        std::vector<link::Frame> out;
        for (const link::Frame& f : frames)
            if (f.type == link::FrameType::Sent)
                out.push_back(f);
        return out;
    }
    std::vector<std::u16string> updates() const
    {
        std::vector<std::u16string> out;
        for (const link::Frame& f : sent())
            if (const auto payload = link::readTextPayload(f.data); payload && payload->id == link::kUpdate)
                out.push_back(payload->text);
        return out;
    }
    std::size_t keys() const
    {
        std::size_t n = 0;
        for (const link::Frame& f : sent())
            if (const auto event = link::readEventRecord(f.data); event && event->event == link::kKeyDown)
                ++n;
        return n;
    }
    std::size_t replies() const
    {
        return std::size_t(std::count_if(frames.begin(), frames.end(),
                                          [](const link::Frame& f) { return f.type == link::FrameType::Reply; }));
    }
    // Answers every sent frame not answered yet, in order: updates are taken (1), keys left to
    // the editor (0).
    void answerAll()
    {
        const std::vector<link::Frame> all = sent();
        for (; answered < all.size(); ++answered) {
            const auto payload = link::readTextPayload(all[answered].data);
            write({link::FrameType::Reply, link::kCopyData, 0, payload && payload->id == link::kUpdate ? 1u : 0u, 0, {}});
        }
    }
};

// Sets an environment variable for one test and puts the old value back.
struct ScopedEnv {
    QByteArray name;
    std::optional<QByteArray> old;
    ScopedEnv(const char* variable, const QString& value) : name(variable)
    {
        if (qEnvironmentVariableIsSet(variable))
            old = qgetenv(variable);
        qputenv(variable, value.toLocal8Bit());
    }
    ~ScopedEnv()
    {
        if (old)
            qputenv(name.constData(), *old);
        else
            qunsetenv(name.constData());
    }
};

// The debug console, fresh, with the settings it writes kept out of the other tests.
struct FreshConsole {
    FreshConsole()
    {
        QDir(Settings::folder()).removeRecursively();
        DebugConsole::destroy();
        DebugConsole::toggle(nullptr);
    }
    ~FreshConsole()
    {
        DebugConsole::destroy();
        QDir(Settings::folder()).removeRecursively();
    }
    QString text() const { return DebugConsole::instance()->text(); }
};

// Opens a link-mode window that cannot listen: it says why in the status bar, the debug console
// and on stderr alike. Returns what it said.
QString startReportingAProblem(std::uint32_t companion, std::unique_ptr<MainWindow>& frame)
{
    FreshConsole console;
    testing::internal::CaptureStderr();
    frame = std::make_unique<MainWindow>(PageLayout{}, true, false, companion);
    const std::string errors = testing::internal::GetCapturedStderr();
    const QString message = frame->statusBar()->currentMessage();
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(console.text().contains(message));
    EXPECT_NE(errors.find(message.toStdString()), std::string::npos) << errors;
    EXPECT_FALSE(frame->linkMode()->channel().listening());
    return message;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}


} // namespace

TEST(LinkMode, TheCompanionsTextShowsAndEveryChangeGoesBackOnce)
{
    CompanionProcess companion({QStringLiteral("--text"), QStringLiteral("{t`A`あ},{m`#`1}")});
    MainWindow frame(PageLayout{}, true, false, companion.handle);
    frame.show();
    ASSERT_TRUE(companion.waitFor(QStringLiteral("loaded: 1")));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Tenkora(Orvalis LinkMode)"));
    EXPECT_NE(prints(frame.book().document()).find("あ"), std::string::npos);
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
    EXPECT_FALSE(frame.book().isModified());
    // Ctrl+Shift+Up goes to the companion, which did not take it: the editor's caret moves.
    QTest::keyClick(&frame.view(), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(companion.waitFor(QStringLiteral("event: 256 38")));
}

TEST(LinkMode, AnUnacceptedUpdateIsSentAgainAndABlankBodySendsNothing)
{
    CompanionProcess companion({QStringLiteral("--answer"), QStringLiteral("0")});
    MainWindow frame(PageLayout{}, true, false, companion.handle);
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
    EXPECT_TRUE(frame.book().isModified());
}

TEST(LinkMode, AWrongPayloadAndALyingFrameAreSurvivedAndEndClosesWithoutAQuestion)
{
    CompanionProcess companion({QStringLiteral("--text"), QStringLiteral("{t`A`あ}"), QStringLiteral("--text-id"),
                                QStringLiteral("c104"), QStringLiteral("--end-after"), QStringLiteral("2")});
    auto* frame = new MainWindow(PageLayout{}, true, false, companion.handle);
    QPointer<MainWindow> alive(frame);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    bool asked = false;
    Prompts::setAnswers({[&](const QString&, int) {
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

TEST(LinkMode, TheWorkFileIsOwnerOnlyInThePrivateFolderAndGoesWithLinkMode)
{
    // The shared temporary folder, where another user could have planted a link to a book.
    QTemporaryDir shared;
    const QString book = shared.filePath(QStringLiteral("book.bml"));
    {
        QFile file(book);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the transcriber's book");
    }
    ASSERT_TRUE(QFile::link(book, shared.filePath(QStringLiteral("TenkoraWork.bml"))));
    const ScopedEnv tmp("TMPDIR", shared.path());
    QString work;
    {
        CompanionProcess companion({QStringLiteral("--text"), QStringLiteral("{t`A`あ}")});
        MainWindow frame(PageLayout{}, true, false, companion.handle);
        frame.show();
        ASSERT_TRUE(companion.waitFor(QStringLiteral("loaded: 1")));
        EXPECT_NE(prints(frame.book().document()).find("あ"), std::string::npos);
        work = frame.book().pathName();
        const QString folder = QString::fromStdString((paths::runtimeFolder() / "tenkora").string());
        EXPECT_EQ(QFileInfo(work).absolutePath(), folder);
        EXPECT_TRUE(QFileInfo(work).fileName().contains(QString::number(QCoreApplication::applicationPid())));
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(work).constData(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
    // Nothing was written to the shared folder, through the link or beside it.
    EXPECT_EQ(contents(book), QByteArray("the transcriber's book"));
    QStringList left = QDir(shared.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, QStringList({QStringLiteral("TenkoraWork.bml"), QStringLiteral("book.bml")}));
    EXPECT_FALSE(work.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(work)); // link mode ended, its work file went
}

TEST(LinkMode, ARuntimeFolderThatIsNotPrivateRefusesLinkModeOnBothSides)
{
    QTemporaryDir base;
    const QString real = base.filePath(QStringLiteral("real"));
    ASSERT_TRUE(QDir().mkpath(real));
    ASSERT_TRUE(QFile::link(real, base.filePath(QStringLiteral("runtime"))));
    const ScopedEnv runtime("XDG_RUNTIME_DIR", base.filePath(QStringLiteral("runtime")));
    {
        std::unique_ptr<MainWindow> frame;
        const QString message = startReportingAProblem(0x7e57abcd, frame);
        EXPECT_TRUE(message.startsWith(QStringLiteral("リンクモードを使えません: "))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("symbolic link"))) << message.toStdString();
        EXPECT_FALSE(frame->linkMode()->isLinked());
    }
    // The companion refuses as well, with its reason, and no socket is made.
    QProcess companion;
    companion.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tenkora-companion"),
                    {QStringLiteral("--handle"), QStringLiteral("7e57abcd")});
    ASSERT_TRUE(companion.waitForFinished(5000));
    EXPECT_EQ(companion.exitCode(), 1);
    EXPECT_TRUE(companion.readAllStandardError().contains("symbolic link"));
    EXPECT_TRUE(QDir(real).isEmpty());
}

TEST(LinkMode, ASocketThatAnotherProgramAnswersOnIsReportedAndLeftAlone)
{
    QLocalServer other;
    const QString path = LinkChannel::socketPath(QStringLiteral("tenkora"), std::uint32_t(QCoreApplication::applicationPid()));
    ASSERT_TRUE(other.listen(path));
    std::unique_ptr<MainWindow> frame;
    const QString message = startReportingAProblem(0, frame);
    EXPECT_TRUE(message.startsWith(QStringLiteral("リンクモードの接続口を開けません: "))) << message.toStdString();
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(other.isListening());
    QLocalSocket client;
    client.connectToServer(path);
    EXPECT_TRUE(client.waitForConnected(1000)); // still the other program's
}

TEST(LinkMode, TypingStaysInstantWhileTheCompanionHoldsItsAnswers)
{
    FakeCompanion companion;
    MainWindow frame(PageLayout{}, true, false, companion.handle);
    frame.show();
    ASSERT_TRUE(waitUntil([&] { return !companion.frames.empty(); }, 20000));
    EXPECT_EQ(companion.frames.front().message, link::kStart);
    frame.view().setFocus();
    // Nothing is answered: twenty keys, then in MATH a key with its candidates and the
    // companion's caret key.
    QElapsedTimer clock;
    clock.start();
    const char keys[] = "aiueoaiueoaiueoaiueo";
    int typed = 0;
    for (; typed < 20 && clock.elapsed() < 1000; ++typed)
        QTest::keyClick(&frame.view(), keys[typed]);
    QTest::keyClick(&frame.view(), Qt::Key_F2);
    QTest::keyClick(&frame.view(), 'a');
    const CandidateMatches& candidates = frame.view().session().modes().mathSystem().candidates();
    ASSERT_GE(candidates.keys().size(), 2u);
    const std::size_t chosen = candidates.selected();
    QTest::keyClick(&frame.view(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    const qint64 took = clock.elapsed();
    EXPECT_EQ(typed, 20);
    EXPECT_LT(took, 1000);
    // One update is out; what came after waits for its answer. The caret key is the companion's
    // until it answers.
    ASSERT_TRUE(waitUntil([&] { return companion.updates().size() == 1 && companion.keys() == 1; }));
    QTest::qWait(200);
    EXPECT_EQ(companion.updates().size(), 1u);
    EXPECT_EQ(candidates.selected(), chosen);
    // The first update is taken, but the book changed since: it stays modified, and everything
    // typed goes as one update. The companion did not move its caret: the key goes on in the
    // editor, where it chooses the next candidate.
    companion.answerAll();
    ASSERT_TRUE(waitUntil([&] { return companion.updates().size() == 2; }));
    EXPECT_TRUE(frame.book().isModified());
    const std::u16string all = companion.updates()[1];
    EXPECT_EQ(all, link::updateText(frame.book().document()));
    std::size_t characters = 0;
    for (std::size_t at = all.find(u"{text`"); at != std::u16string::npos; at = all.find(u"{text`", at + 1))
        ++characters;
    EXPECT_EQ(characters, 20u);
    EXPECT_TRUE(waitUntil([&] { return candidates.selected() == chosen + 1; }));
    // That one taken as well: the book is the companion's again, and nothing more goes.
    companion.answerAll();
    EXPECT_TRUE(waitUntil([&] { return !frame.book().isModified(); }));
    QTest::qWait(200);
    EXPECT_EQ(companion.updates().size(), 2u);
    // An update never answered is given up after the timeout; what waited goes then.
    frame.linkMode()->channel().setAnswerTimeout(300);
    QTest::keyClick(&frame.view(), Qt::Key_F2);
    QTest::keyClick(&frame.view(), 'a');
    ASSERT_TRUE(waitUntil([&] { return companion.updates().size() == 3; }));
    QTest::keyClick(&frame.view(), 'i');
    ASSERT_TRUE(waitUntil([&] { return companion.updates().size() == 4; }));
    EXPECT_EQ(companion.updates()[3], link::updateText(frame.book().document()));
    EXPECT_NE(companion.updates()[3], companion.updates()[2]);
    EXPECT_TRUE(frame.book().isModified());
}

TEST(LinkMode, ATextThatArrivesDuringAnEditsDialogWaitsUntilTheEditIsDone)
{
    FakeCompanion companion;
    MainWindow frame(PageLayout{}, true, false, companion.handle);
    frame.show();
    ASSERT_TRUE(waitUntil([&] { return companion.editor && !companion.frames.empty(); }, 20000));
    companion.sendText(u"{t`A`あ}");
    ASSERT_TRUE(waitUntil([&] { return companion.replies() == 1; }));
    ASSERT_NE(prints(frame.book().document()).find("あ"), std::string::npos);
    // Undo with nothing to undo tells so in a real message box, inside the edit; the companion's
    // new text arrives while it is open.
    Prompts::setAnswers({});
    const BrailleDocument* during = nullptr;
    std::string printsDuring;
    bool boxSeen = false;
    QTimer::singleShot(50, [&] {
        boxSeen = qobject_cast<QDialog*>(QApplication::activeModalWidget()) != nullptr;
        companion.sendText(u"{t`B`い}");
        QTimer::singleShot(300, [&] {
            during = &frame.book().document();
            printsDuring = prints(frame.book().document());
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                box->done(0);
        });
    });
    const BrailleDocument* editing = &frame.book().document();
    frame.view().setFocus();
    QTest::keyClick(&frame.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(during, editing);
    EXPECT_NE(printsDuring.find("あ"), std::string::npos);
    // Afterwards, from the event loop, it is shown and answered.
    EXPECT_TRUE(waitUntil([&] { return companion.replies() == 2; }));
    EXPECT_NE(prints(frame.book().document()).find("い"), std::string::npos);
}
