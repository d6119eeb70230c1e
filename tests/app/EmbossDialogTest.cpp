// 点字プリンタで印刷 as a user meets it, against a CUPS server of the test's own
// (tests/support/private_cupsd.sh) with cups-brf queues: the dialog opened by Ctrl+Shift+P sends
// what CellExport --format brf writes of the same book, a range and copies, remembers the queue,
// offers both sides only where the driver does, and says why when CUPS is not there, refuses the
// job or the job fails.

#include "MainWindow.h"
#include "EmbossDialog.h"
#include "GuiTestSupport.h"
#include "OpenBook.h"
#include "Prompts.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// A CUPS server of the test's own; CUPS_SERVER points at it while it lives.
class PrivateCups {
public:
    PrivateCups()
    {
        QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFile::ExeOther | QFile::ReadOther);
        const QString out = run({QStringLiteral("start"), m_dir.path()});
        if (m_exit == 77) {
            m_skip = out.trimmed();
            return;
        }
        m_socket = out.trimmed();
        m_before = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", m_socket.toLocal8Bit());
        m_prefix = QStringLiteral("tenkora_gui_%1_%2_").arg(QCoreApplication::applicationPid()).arg(QRandomGenerator::global()->bounded(100000));
    }
    ~PrivateCups()
    {
        if (!m_skip.isEmpty())
            return;
        run({QStringLiteral("stop"), m_dir.path()});
        if (m_before.isEmpty())
            qunsetenv("CUPS_SERVER");
        else
            qputenv("CUPS_SERVER", m_before);
    }
    const QString& skipped() const { return m_skip; }
    bool started() const { return m_exit == 0; }
    // A queue on cups-brf:/ named for this test.
    QString queue(const QString& name, const QString& ppd = QStringLiteral("drv:///generic-brf.drv/gen-brf.ppd"))
    {
        run({QStringLiteral("queue"), m_dir.path(), m_prefix + name, ppd});
        return m_exit == 0 ? m_prefix + name : QString();
    }
    // The files the cups-brf backend wrote, by name.
    QStringList received() const
    {
        return QDir(m_dir.filePath(QStringLiteral("home/BRF"))).entryList(QDir::Files, QDir::Name);
    }
    QByteArray receivedBytes(const QString& name) const
    {
        QFile file(m_dir.filePath(QStringLiteral("home/BRF/") + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    int command(const QString& program, const QStringList& arguments)
    {
        return QProcess::execute(program, arguments);
    }

private:
    QString run(const QStringList& arguments)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel); // the script's complaints, in the test's output
        p.start(QStringLiteral("bash"),
                QStringList{QString::fromStdString((sourceDir() / "tests/support/private_cupsd.sh").string())} + arguments);
        p.waitForFinished(30000);
        m_exit = p.exitCode();
        return QString::fromLocal8Bit(p.readAllStandardOutput());
    }

    QTemporaryDir m_dir;
    QString m_socket, m_skip, m_prefix;
    QByteArray m_before;
    int m_exit = -1;
};

struct FreshSettings {
    FreshSettings() { QDir(Settings::folder()).removeRecursively(); }
    ~FreshSettings() { QDir(Settings::folder()).removeRecursively(); }
};

// CellExport's BRF of the book with the settings' page layout, as the export command writes it.
QByteArray cellExport(const QString& book, const QString& out)
{
    QProcess::execute(OpenBook::toolPath(QStringLiteral("CellExport")), {QStringLiteral("--format"), QStringLiteral("brf"), book, out});
    QFile file(out);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Opens the dialog the way a user does, and waits until it has asked CUPS for the queues.
EmbossDialog* openEmbossDialog(MainWindow& frame)
{
    if (!QTest::qWaitForWindowExposed(&frame))
        return nullptr;
    frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&frame))
        return nullptr;
    frame.view().setFocus();
    QTest::keyClick(&frame.view(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EmbossDialog* dialog = frame.embossDialog();
    if (!dialog || !dialog->isVisible())
        return nullptr;
    waitUntil([&] { return dialog->stage() != EmbossDialog::Stage::Listing; }, 15000);
    return dialog;
}

bool waitUntilDone(EmbossDialog* dialog)
{
    const bool done = waitUntil([&] { return dialog->stage() == EmbossDialog::Stage::Done; }, 20000);
    if (!done)
        ADD_FAILURE() << "stage " << int(dialog->stage()) << ": " << dialog->statusLabel()->text().toStdString();
    return done;
}

// The file that came since `before`.
QString newFile(const PrivateCups& cups, const QStringList& before)
{
    for (const QString& name : cups.received())
        if (!before.contains(name))
            return name;
    return {};
}

} // namespace

TEST(EmbossDialog, SendsWhatCellExportWritesARangeAndCopiesAndRemembersTheQueue)
{
    PrivateCups cups;
    if (!cups.skipped().isEmpty())
        GTEST_SKIP() << cups.skipped().toStdString();
    ASSERT_TRUE(cups.started());
    FreshSettings fresh;
    Settings::setPageLayout(PageLayout{5, 16});
    const QString generic = cups.queue(QStringLiteral("b_generic"));
    const QString index = cups.queue(QStringLiteral("c_index"), QStringLiteral("drv:///indexv4.drv/ieveres4.ppd"));
    const QString laser = cups.queue(QStringLiteral("a_laser"), QStringLiteral("drv:///sample.drv/generic.ppd"));
    ASSERT_FALSE(generic.isEmpty() || index.isEmpty() || laser.isEmpty());
    const QString book = cups.path(QStringLiteral("book.bml"));
    ASSERT_TRUE(QFile::copy(QString::fromStdString((sourceDir() / "samples" / "sample.bml").string()), book));
    const QByteArray expected = cellExport(book, cups.path(QStringLiteral("book.brf")));
    const QList<QByteArray> pages = expected.split('\f');
    ASSERT_GE(pages.size(), 4);

    MainWindow frame(Settings::pageLayout());
    frame.show();
    ASSERT_TRUE(frame.book().openPath(book));
    EmbossDialog* dialog = openEmbossDialog(frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("点字プリンタで印刷"));
    ASSERT_EQ(dialog->stage(), EmbossDialog::Stage::Ready) << dialog->statusLabel()->text().toStdString();
    // The queues that take BRF come first; the first of them is proposed while none was used.
    ASSERT_EQ(dialog->queueBox()->count(), 3);
    EXPECT_EQ(dialog->queueBox()->itemData(0).toString(), generic);
    EXPECT_EQ(dialog->queueBox()->itemData(1).toString(), index);
    EXPECT_EQ(dialog->queueBox()->itemData(2).toString(), laser);
    EXPECT_TRUE(dialog->queueBox()->itemText(2).endsWith(QStringLiteral("（点字プリンタではありません）")));
    EXPECT_EQ(dialog->queue(), generic);
    EXPECT_EQ(dialog->allPagesButton()->text(), QStringLiteral("すべて（全 %1 ページ）(&A)").arg(pages.size()));
    // Both sides only where the driver offers it.
    EXPECT_FALSE(dialog->bothSidesBox()->isEnabled());
    dialog->queueBox()->setCurrentIndex(1);
    EXPECT_TRUE(dialog->bothSidesBox()->isEnabled());
    dialog->queueBox()->setCurrentIndex(0);
    EXPECT_FALSE(dialog->bothSidesBox()->isEnabled());

    // Enter prints the whole book with what is shown: CellExport's bytes and the backend's SUB.
    EXPECT_EQ(QApplication::focusWidget(), dialog->queueBox());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(dialog->isVisible()); // the dialog stays to follow the job
    ASSERT_TRUE(waitUntilDone(dialog)) << dialog->statusLabel()->text().toStdString();
    EXPECT_EQ(dialog->statusLabel()->text(), QStringLiteral("ジョブ %1：印刷が終わりました。").arg(dialog->jobId()));
    ASSERT_EQ(cups.received().size(), 1);
    EXPECT_TRUE(cups.received().front().startsWith(QStringLiteral("book.")));
    const QByteArray whole = cups.receivedBytes(cups.received().front());
    EXPECT_TRUE(whole == expected + '\x1a') << "received " << whole.size() << " bytes, CellExport wrote "
                                             << expected.size();
    EXPECT_EQ(Settings::embosser(), generic);

    // Pages 2 to 3, two copies.
    const QStringList before = cups.received();
    dialog->rangeButton()->click();
    dialog->fromBox()->setValue(2);
    dialog->toBox()->setValue(3);
    dialog->copiesBox()->setValue(2);
    QTest::mouseClick(dialog->printButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntilDone(dialog)) << dialog->statusLabel()->text().toStdString();
    const QByteArray copy = pages[1] + '\f' + pages[2];
    const QByteArray part = cups.receivedBytes(newFile(cups, before));
    EXPECT_TRUE(part == copy + '\f' + copy + '\x1a') << "received " << part.size() << " bytes";
    dialog->close();
    EXPECT_TRUE(waitUntil([&] { return frame.embossDialog() == nullptr; }));

    // The next time the queue last used is proposed.
    Settings::setEmbosser(index);
    dialog = openEmbossDialog(frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->queue(), index);
    dialog->close();
}

TEST(EmbossDialog, SaysWhyWhenThereIsNoServerOrQueueOrCupsRefusesOrTheJobFails)
{
    PrivateCups cups;
    if (!cups.skipped().isEmpty())
        GTEST_SKIP() << cups.skipped().toStdString();
    ASSERT_TRUE(cups.started());
    FreshSettings fresh;
    QStringList told;
    Prompts::setAnswers({.message = [&](const QString& text) { told << text; }});
    MainWindow frame(Settings::pageLayout());
    frame.show();
    fillSection(frame.book().document(), u"あいうえお");
    frame.view().setDocument(&frame.book().document());

    // A server with no queue.
    EmbossDialog* dialog = openEmbossDialog(frame);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told.back(), QStringLiteral("CUPS にプリンタ（キュー）がありません。点字プリンタのキューを作ってから印刷してください。"));
    EXPECT_EQ(dialog->statusLabel()->text(), told.back());
    EXPECT_FALSE(dialog->printButton()->isEnabled());
    dialog->close();

    // No server at all.
    const QByteArray socket = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", cups.path(QStringLiteral("none.sock")).toLocal8Bit());
    dialog = openEmbossDialog(frame);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told.back().startsWith(QStringLiteral("CUPS の印刷サーバーに接続できません（"))) << told.back().toStdString();
    EXPECT_FALSE(dialog->printButton()->isEnabled());
    dialog->close();
    qputenv("CUPS_SERVER", socket);

    // A queue that refuses jobs: the user is told, and may choose again.
    const QString queue = cups.queue(QStringLiteral("refusing"));
    ASSERT_FALSE(queue.isEmpty());
    ASSERT_EQ(cups.command(QStringLiteral("cupsreject"), {queue}), 0);
    dialog = openEmbossDialog(frame);
    ASSERT_NE(dialog, nullptr);
    QTest::keyClick(dialog, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return told.size() == 3; }, 15000));
    EXPECT_TRUE(told.back().startsWith(QStringLiteral("プリンタ「%1」は印刷を受け付けませんでした（").arg(queue)))
        << told.back().toStdString();
    EXPECT_EQ(dialog->stage(), EmbossDialog::Stage::Ready);
    EXPECT_TRUE(cups.received().isEmpty());

    // A job the backend cannot write (its BRF folder is a file): the job fails, and the user is told.
    ASSERT_EQ(cups.command(QStringLiteral("cupsaccept"), {queue}), 0);
    QDir().mkpath(cups.path(QStringLiteral("home")));
    QFile blocker(cups.path(QStringLiteral("home/BRF")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTest::mouseClick(dialog->printButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return told.size() == 4; }, 20000)) << dialog->statusLabel()->text().toStdString();
    EXPECT_TRUE(told.back().startsWith(QStringLiteral("プリンタ「%1」のジョブ %2 は印刷できませんでした（").arg(queue).arg(dialog->jobId())))
        << told.back().toStdString();
    EXPECT_EQ(dialog->stage(), EmbossDialog::Stage::Done);
    dialog->close();
}
