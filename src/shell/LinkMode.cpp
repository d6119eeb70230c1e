#include "LinkMode.h"

#include "CConsoleDlg.h"
#include "CMainFrame.h"
#include "LinkTextConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QStatusBar>
#include <QTimer>

namespace braille {

LinkMode::LinkMode(CMainFrame& frame, std::uint32_t companion)
    : QObject(&frame), m_frame(frame),
      m_channel(QStringLiteral("tenkora"), std::uint32_t(QCoreApplication::applicationPid()), this)
{
    m_channel.setHandler([this](const link::Frame& f) { return handleFrame(f); });
    connect(&m_channel, &LinkChannel::peerGone, this, [this] { m_companion = 0; });
    // "Is it a window?": its socket accepts a connection.
    if (companion && m_channel.connectTo(QStringLiteral("orvalis"), companion)) {
        m_companion = companion;
        m_channel.post({link::FrameType::Posted, link::kStart, handle(), companion, 0, {}});
        QTimer::singleShot(0, &frame, [&frame] { frame.view().setFocus(); });
    }
}

LinkMode::~LinkMode() = default;

void LinkMode::log(const char* name, const link::Frame& frame)
{
    consolePrint(QString::asprintf(">>%s wParam=%08X : lParam=%08X\n", name, frame.wParam, frame.lParam));
}

void LinkMode::status(const QString& text) { m_frame.statusBar()->showMessage(text); }

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
            m_frame.view().setFocus();
        }
        return 0;
    case link::kEnd:
        log("WM_PEERMODE_LINK_APP_END   ", frame);
        if (m_companion != 0 && frame.wParam == m_companion) {
            m_companion = 0;
            m_endedByCompanion = true;
            // The window closes once this frame is handled, without a question.
            QTimer::singleShot(0, &m_frame, [this] { m_frame.close(); });
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

void LinkMode::loadPayload(const std::vector<std::uint8_t>& data)
{
    const std::optional<link::TextPayload> payload = link::readTextPayload(data);
    if (!payload || payload->id != link::kChangeData) {
        status(QStringLiteral("Copy Data Error!"));
        return;
    }
    LinkTextConverter converter;
    if (!converter.convert(payload->text))
        return;
    const QString work = QDir::temp().filePath(QStringLiteral("TenkoraWork.bml"));
    const SaveResult saved = converter.save(work.toStdU16String());
    if (!saved) {
        // The book on the screen stays; the transcriber learns why the new text did not come.
        status(QStringLiteral("作業ファイルを保存できません: %1").arg(QString::fromStdString(saved.reason)));
        return;
    }
    // The old text is replaced without a question: it belongs to the companion.
    m_frame.doc().document().modified = false;
    m_frame.doc().openPath(work, false);
}

void LinkMode::sendUpdate()
{
    BrailleDocument& document = m_frame.doc().document();
    if (!m_companion || !document.modified)
        return;
    const std::u16string text = link::updateText(document);
    if (text.empty())
        return;
    const std::uint32_t answer = m_channel.send({link::FrameType::Sent, link::kCopyData, handle(), 0, 12,
                                                 link::updateRecord(handle(), text)});
    if (answer != 0)
        m_frame.view().session().markSaved();
}

void LinkMode::focusChanged(bool gained)
{
    if (!m_companion || !m_channel.connected())
        return;
    m_channel.send({link::FrameType::Sent, link::kCopyData, handle(), 0, 12,
                    link::eventRecord(handle(), gained ? link::kSetFocus : link::kKillFocus, 0, handle())});
}

bool LinkMode::sendKey(int key)
{
    if (!m_companion || !m_channel.connected())
        return false;
    return m_channel.send({link::FrameType::Sent, link::kCopyData, handle(), 0, 12,
                           link::eventRecord(handle(), link::kKeyDown, std::uint32_t(key), 1)}) != 0;
}

void LinkMode::closing()
{
    if (!m_companion)
        return;
    m_channel.post({link::FrameType::Posted, link::kEnd, handle(), 0, 0, {}});
    m_companion = 0;
}

} // namespace braille
