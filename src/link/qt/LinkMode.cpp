#include "LinkMode.h"

#include "ConfigPaths.h"
#include "EditingSession.h"
#include "LinkTextConverter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTimer>

#include <filesystem>
#include <system_error>

namespace braille {

namespace {

// Marks link mode's own work, during which frames wait in the queue.
struct Busy {
    explicit Busy(int& count) : m_count(count) { ++m_count; }
    ~Busy() { --m_count; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    int& m_count;
};

} // namespace

LinkMode::LinkMode(LinkHost& host, std::uint32_t companion, QObject* parent)
    : QObject(parent), m_host(host),
      m_channel(QStringLiteral("tenkora"), std::uint32_t(QCoreApplication::applicationPid()), this)
{
    m_channel.setHandler([this](const link::Frame& f) { return handleFrame(f); });
    m_channel.setReady([this] { return readyForFrames(); });
    connect(&m_channel, &LinkChannel::peerGone, this, [this] { m_companion = 0; });
    // A socket in a folder that is not ours alone could be someone else's: no link mode at all.
    const link::SocketFolder folder = link::socketFolder();
    if (!folder.usable) {
        report(QStringLiteral("リンクモードを使えません: %1").arg(QString::fromStdString(folder.usable.reason)));
        return;
    }
    // Without our own socket a companion can still talk over the connection we make to it.
    if (const QString why = m_channel.listen(); !why.isEmpty())
        report(QStringLiteral("リンクモードの接続口を開けません: %1").arg(why));
    // "Is it a window?": its socket accepts a connection.
    if (companion && m_channel.connectTo(QStringLiteral("orvalis"), companion)) {
        m_companion = companion;
        m_channel.post({link::FrameType::Posted, link::kStart, handle(), companion, 0, {}});
        QTimer::singleShot(0, this, [this] { m_host.focusEditor(); });
    }
}

LinkMode::~LinkMode()
{
    if (!m_workFile.isEmpty()) {
        std::error_code ignored;
        std::filesystem::remove(m_workFile.toStdString(), ignored);
    }
}

void LinkMode::log(const char* name, const link::Frame& frame)
{
    m_host.logToConsole(QString::asprintf(">>%s wParam=%08X : lParam=%08X\n", name, frame.wParam, frame.lParam));
}

void LinkMode::status(const QString& text) { m_host.showLinkStatus(text); }

void LinkMode::report(const QString& text)
{
    status(text);
    m_host.logToConsole(text + u'\n');
    qWarning("%s", qPrintable(text));
}

bool LinkMode::readyForFrames() const
{
    // A dialog or menu runs its own loop, possibly from inside an edit; a book being read, a tool
    // or a long paste lets the window's events run in its middle.
    return m_busy == 0 && !QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
           !m_host.editorBusy() && m_host.linkSession().document() != nullptr;
}

std::uint32_t LinkMode::handleFrame(const link::Frame& frame)
{
    switch (frame.message) {
    case link::kStart:
        log("WM_PEERMODE_LINK_APP_START ", frame);
        if (frame.wParam != 0) {
            // A companion that connected to us talks over that connection; one that is only named
            // is connected to.
            if (!m_channel.connected())
                m_channel.connectTo(QStringLiteral("orvalis"), frame.wParam);
            m_companion = frame.wParam;
            m_channel.post({link::FrameType::Posted, link::kStart, handle(), m_companion, 0, {}});
            m_host.focusEditor();
        }
        return 0;
    case link::kEnd:
        log("WM_PEERMODE_LINK_APP_END   ", frame);
        if (m_companion != 0 && frame.wParam == m_companion) {
            m_companion = 0;
            m_endedByCompanion = true;
            // The window closes once this frame is handled, without a question.
            QTimer::singleShot(0, this, [this] { m_host.closeForCompanion(); });
        }
        return 0;
    case link::kChangeData:
        log("WM_PEERMODE_LINK_CHANGEDATA", frame);
        if (frame.wParam == 0) {
            status(QStringLiteral("OnPeermodeLinkChangeData Buffer Empty!"));
            return 0;
        }
        return 1;
    case link::kUpdate:
        log("WM_PEERMODE_LINK_UPDATE    ", frame);
        return 0;
    case link::kCopyData:
        loadPayload(frame.data);
        return 1;
    default:
        return 0;
    }
}

std::optional<QString> LinkMode::workPath(QString& why)
{
    const std::filesystem::path folder = paths::runtimeFolder() / "tenkora";
    if (const FolderResult made = paths::privateFolder(folder); !made) {
        why = QString::fromStdString(made.reason);
        return std::nullopt;
    }
    // A name of this process alone, so that two editors never share a work file.
    if (m_workFile.isEmpty())
        m_workFile = QString::fromStdString(folder.string()) +
                     QStringLiteral("/work-%1-%2.bml")
                         .arg(QCoreApplication::applicationPid())
                         .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    return m_workFile;
}

void LinkMode::loadPayload(const std::vector<std::uint8_t>& data)
{
    const Busy busy(m_busy);
    const std::optional<link::TextPayload> payload = link::readTextPayload(data);
    if (!payload || payload->id != link::kChangeData) {
        status(QStringLiteral("Copy Data Error!"));
        return;
    }
    LinkTextConverter converter;
    if (!converter.convert(payload->text))
        return;
    QString why;
    const std::optional<QString> work = workPath(why);
    const SaveResult saved = work ? converter.save(work->toStdString(), SaveKind::PrivateFile) : SaveResult{};
    if (!work || !saved) {
        // The book on the screen stays; the transcriber learns why the new text did not come.
        status(QStringLiteral("作業ファイルを保存できません: %1")
                   .arg(work ? QString::fromStdString(saved.reason) : why));
        return;
    }
    // The old text is replaced without a question: it belongs to the companion. Answers about
    // updates of the old text change nothing in the new one.
    ++m_loads;
    m_host.openLinkText(*work);
}

void LinkMode::sendUpdate()
{
    if (m_updateOut) {
        // One update at a time: what changes meanwhile goes when its answer comes.
        m_updateWanted = true;
        return;
    }
    m_updateWanted = false;
    const BrailleDocument* document = m_host.linkSession().document();
    if (!m_companion || !document || !document->modified)
        return;
    std::u16string text = link::updateText(*document);
    if (text.empty())
        return;
    link::Frame frame{link::FrameType::Sent, link::kCopyData, handle(), 0, 12, link::updateRecord(handle(), text)};
    m_updateOut = m_channel.send(std::move(frame), [this, sent = std::move(text), loads = m_loads](
                                                       std::optional<std::uint32_t> answer) {
        updateAnswered(answer, sent, loads);
    });
}

void LinkMode::updateAnswered(std::optional<std::uint32_t> answer, const std::u16string& sent, std::uint64_t loads)
{
    m_updateOut = false;
    EditingSession& session = m_host.linkSession();
    const BrailleDocument* document = session.document();
    // Taken, and the body is still what was sent: the companion has the book as it is.
    const bool current = document && loads == m_loads && link::updateText(*document) == sent;
    if (answer && *answer != 0 && current && document->modified) {
        session.markSaved();
        m_host.editorStateChanged();
    }
    // Newer changes go now, as one update; a refused update goes again at the next change or
    // caret move, as it would have.
    if (m_updateWanted || (document && document->modified && !current))
        sendUpdate();
}

void LinkMode::focusChanged(bool gained)
{
    if (!m_companion || !m_channel.connected())
        return;
    // The answer means nothing to the editor: it is not waited for.
    m_channel.send({link::FrameType::Sent, link::kCopyData, handle(), 0, 12,
                    link::eventRecord(handle(), gained ? link::kSetFocus : link::kKillFocus, 0, handle())});
}

bool LinkMode::sendKey(int key)
{
    // The companion left this key to the editor: it moves the editor's caret.
    if (m_keyFromAnswer)
        return false;
    if (!m_companion || !m_channel.connected())
        return false;
    // Only the keyboard's Ctrl+Shift+Up/Down go on in the editor when the companion leaves them;
    // the toolbar's buttons (the commands) are the companion's alone.
    const EditingSession& session = m_host.linkSession();
    const bool fromKeyboard = session.shiftDown() && session.controlDown();
    link::Frame frame{link::FrameType::Sent, link::kCopyData, handle(), 0, 12,
                      link::eventRecord(handle(), link::kKeyDown, std::uint32_t(key), 1)};
    if (!fromKeyboard)
        return m_channel.send(std::move(frame));
    return m_channel.send(std::move(frame), [this, key, loads = m_loads](std::optional<std::uint32_t> answer) {
        keyAnswered(key, answer, loads);
    });
}

void LinkMode::keyAnswered(int key, std::optional<std::uint32_t> answer, std::uint64_t loads)
{
    // The companion moved its caret; or the key was about a text that is gone.
    if ((answer && *answer != 0) || loads != m_loads)
        return;
    EditingSession& session = m_host.linkSession();
    if (!session.document())
        return;
    // Ctrl+Shift+key as the keyboard gave it, then the modifiers as they are now.
    const unsigned now =
        (session.shiftDown() ? kShiftModifier : kNoModifier) | (session.controlDown() ? kControlModifier : kNoModifier);
    const Busy busy(m_busy);
    m_keyFromAnswer = true;
    session.keyDown(key, kShiftModifier | kControlModifier);
    session.keyUp(key, now);
    m_keyFromAnswer = false;
    m_host.editorStateChanged();
}

void LinkMode::closing()
{
    if (!m_companion)
        return;
    m_channel.post({link::FrameType::Posted, link::kEnd, handle(), 0, 0, {}});
    m_companion = 0;
}

} // namespace braille
