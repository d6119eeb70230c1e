#include "LinkChannel.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <algorithm>

namespace braille {

namespace {

// While the owner is not ready, the queue is looked at again this often.
constexpr int kRetryMs = 20;
// Answers given up on are kept to swallow their late replies; beyond this many per connection
// the oldest go (a companion that far behind has stopped answering anyway).
constexpr std::size_t kGivenUpKept = 64;

bool isOpen(const QLocalSocket* socket) { return socket && socket->state() == QLocalSocket::ConnectedState; }

} // namespace

QString LinkChannel::socketPath(const QString& name, std::uint32_t handle)
{
    return QString::fromStdString(link::socketPath(paths::runtimeFolder(), name.toStdString(), handle).string());
}

LinkChannel::LinkChannel(const QString& name, std::uint32_t handle, QObject* parent)
    : QObject(parent), m_handle(handle), m_name(name), m_server(new QLocalServer(this))
{
    m_clock.start();
    m_queueTimer.setSingleShot(true);
    connect(&m_queueTimer, &QTimer::timeout, this, &LinkChannel::handleQueued);
    m_deadlineTimer.setSingleShot(true);
    connect(&m_deadlineTimer, &QTimer::timeout, this, [this] { soon(0); });
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            adopt(socket);
            // A companion that connects to us is the peer until another one does.
            if (!m_peer)
                m_peer = socket;
        }
    });
}

LinkChannel::~LinkChannel()
{
    const QString path = m_server->fullServerName();
    m_server->close();
    if (!path.isEmpty())
        QLocalServer::removeServer(path);
}

QString LinkChannel::listen()
{
    const link::SocketFolder folder = link::socketFolder();
    if (!folder.usable)
        return QString::fromStdString(folder.usable.reason);
    const QString path = QString::fromStdString(link::socketPath(folder.folder, m_name.toStdString(), m_handle).string());
    // A socket that answers belongs to a running program and stays (listening would silently
    // put ours in its place); one left by a process that is gone answers nothing and is replaced.
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(200))
            return QStringLiteral("%1: another program already answers on this socket").arg(path);
        QLocalServer::removeServer(path);
    }
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(path))
        return {};
    return QStringLiteral("%1: %2").arg(path, m_server->errorString());
}

bool LinkChannel::listening() const { return m_server->isListening(); }

bool LinkChannel::connected() const { return isOpen(m_peer); }

void LinkChannel::adopt(QLocalSocket* socket)
{
    m_readers[socket];
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        m_readers.erase(socket);
        if (socket == m_peer)
            emit peerGone();
        socket->deleteLater();
        soon(0); // its unanswered frames get none
    });
}

bool LinkChannel::connectTo(const QString& name, std::uint32_t handle)
{
    const link::SocketFolder folder = link::socketFolder();
    if (!folder.usable)
        return false;
    auto* socket = new QLocalSocket(this);
    socket->connectToServer(QString::fromStdString(link::socketPath(folder.folder, name.toStdString(), handle).string()));
    if (!socket->waitForConnected(1000)) {
        delete socket;
        return false;
    }
    adopt(socket);
    if (m_peer && m_peer != socket)
        m_peer->disconnectFromServer();
    m_peer = socket;
    return true;
}

void LinkChannel::disconnectPeer()
{
    if (m_peer)
        m_peer->disconnectFromServer();
    m_peer = nullptr;
}

void LinkChannel::readFrom(QLocalSocket* socket)
{
    auto it = m_readers.find(socket);
    if (it == m_readers.end())
        return;
    const QByteArray bytes = socket->readAll();
    it->second.append(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    while (std::optional<link::Frame> frame = it->second.next())
        m_incoming.push_back({socket, std::move(*frame)});
    if (it->second.broken()) {
        // A stream that lies about its lengths cannot be read on: that connection is dropped.
        socket->abort();
    }
    soon(0);
}

void LinkChannel::soon(int ms)
{
    if (!m_queueTimer.isActive() || m_queueTimer.remainingTime() > ms)
        m_queueTimer.start(ms);
}

void LinkChannel::handleQueued()
{
    // A frame handled inside another one's handling (its dialog, its loading screen) waits: the
    // outer loop below takes it next.
    if (m_handling)
        return;
    m_handling = true;
    QPointer<LinkChannel> alive(this);
    while (!m_incoming.empty() || std::any_of(m_pending.begin(), m_pending.end(), [this](const Pending& p) {
               return !p.done && (!isOpen(p.socket) || m_clock.elapsed() >= p.deadline);
           })) {
        if (m_ready && !m_ready()) {
            soon(kRetryMs);
            break;
        }
        if (m_incoming.empty()) {
            giveUpOverdue();
            continue;
        }
        Incoming in = std::move(m_incoming.front());
        m_incoming.pop_front();
        if (in.frame.type == link::FrameType::Reply) {
            answered(in.socket, in.frame.lParam);
        } else {
            const std::uint32_t result = m_handler ? m_handler(in.frame) : 0;
            if (!alive)
                return;
            if (in.frame.type == link::FrameType::Sent && isOpen(in.socket)) {
                const std::vector<std::uint8_t> reply =
                    link::encodeFrame({link::FrameType::Reply, in.frame.message, 0, result, 0, {}});
                in.socket->write(reinterpret_cast<const char*>(reply.data()), qint64(reply.size()));
                in.socket->flush();
            }
        }
        if (!alive)
            return;
    }
    m_handling = false;
    watchDeadlines();
}

void LinkChannel::answered(QLocalSocket* socket, std::uint32_t value)
{
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [socket](const Pending& p) { return p.connection == socket; });
    if (it == m_pending.end())
        return; // a reply nobody waits for
    const bool late = it->done;
    Answer answer = std::move(it->answer);
    m_pending.erase(it);
    if (!late && answer)
        answer(value);
}

void LinkChannel::giveUpOverdue()
{
    const qint64 now = m_clock.elapsed();
    // By index: an answer may send again, which appends.
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        Pending& p = m_pending[i];
        if (p.done || (isOpen(p.socket) && now < p.deadline))
            continue;
        p.done = true;
        Answer answer = std::move(p.answer);
        if (answer)
            answer(std::nullopt);
    }
    // A gone connection brings no late replies; a live one keeps a bounded number to swallow.
    std::erase_if(m_pending, [](const Pending& p) { return p.done && !isOpen(p.socket); });
    std::map<QLocalSocket*, std::size_t> givenUp;
    for (const Pending& p : m_pending)
        givenUp[p.connection] += p.done;
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (it->done && givenUp[it->connection] > kGivenUpKept) {
            --givenUp[it->connection];
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
}

void LinkChannel::watchDeadlines()
{
    qint64 next = -1;
    for (const Pending& p : m_pending)
        if (!p.done && (next < 0 || p.deadline < next))
            next = p.deadline;
    if (next < 0)
        m_deadlineTimer.stop();
    else
        m_deadlineTimer.start(int(std::max<qint64>(0, next - m_clock.elapsed())));
}

void LinkChannel::post(const link::Frame& frame)
{
    if (!connected())
        return;
    link::Frame posted = frame;
    posted.type = link::FrameType::Posted;
    const std::vector<std::uint8_t> bytes = link::encodeFrame(posted);
    m_peer->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    m_peer->flush();
}

bool LinkChannel::send(link::Frame frame, Answer answer)
{
    if (!connected())
        return false;
    frame.type = link::FrameType::Sent;
    const std::vector<std::uint8_t> bytes = link::encodeFrame(frame);
    m_peer->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    m_peer->flush();
    m_pending.push_back({m_peer.data(), m_peer, std::move(answer), m_clock.elapsed() + m_answerTimeoutMs, false});
    if (!m_handling)
        watchDeadlines();
    return true;
}

} // namespace braille
