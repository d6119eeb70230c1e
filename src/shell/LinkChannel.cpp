#include "LinkChannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace braille {

namespace {

constexpr int kAnswerTimeoutMs = 5000;

} // namespace

QString LinkChannel::socketPath(const QString& name, std::uint32_t handle)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QStringLiteral("%1/%2-link-%3").arg(folder, name).arg(handle, 8, 16, QLatin1Char('0'));
}

LinkChannel::LinkChannel(const QString& name, std::uint32_t handle, QObject* parent)
    : QObject(parent), m_handle(handle), m_server(new QLocalServer(this))
{
    const QString path = socketPath(name, handle);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        // A socket left by a process that is gone: nobody answers on it, so it is replaced.
        QLocalSocket probe;
        probe.connectToServer(path);
        if (!probe.waitForConnected(200)) {
            QLocalServer::removeServer(path);
            m_server->listen(path);
        }
    }
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

bool LinkChannel::listening() const { return m_server->isListening(); }

bool LinkChannel::connected() const { return m_peer && m_peer->state() == QLocalSocket::ConnectedState; }

void LinkChannel::adopt(QLocalSocket* socket)
{
    m_readers[socket];
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        m_readers.erase(socket);
        if (socket == m_peer)
            emit peerGone();
        socket->deleteLater();
    });
}

bool LinkChannel::connectTo(const QString& name, std::uint32_t handle)
{
    auto* socket = new QLocalSocket(this);
    socket->connectToServer(socketPath(name, handle));
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
    while (std::optional<link::Frame> frame = it->second.next()) {
        dispatch(socket, *frame);
        it = m_readers.find(socket);
        if (it == m_readers.end())
            return;
    }
    if (it->second.broken()) {
        // A stream that lies about its lengths cannot be read on: that connection is dropped.
        socket->abort();
    }
}

void LinkChannel::dispatch(QLocalSocket* socket, const link::Frame& frame)
{
    if (frame.type == link::FrameType::Reply) {
        if (m_waiting)
            m_reply = frame.lParam;
        return;
    }
    const std::uint32_t result = m_handler ? m_handler(frame) : 0;
    if (frame.type == link::FrameType::Sent && socket->state() == QLocalSocket::ConnectedState) {
        const std::vector<std::uint8_t> reply = link::encodeFrame({link::FrameType::Reply, frame.message, 0, result, 0, {}});
        socket->write(reinterpret_cast<const char*>(reply.data()), qint64(reply.size()));
        socket->flush();
    }
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

std::uint32_t LinkChannel::send(link::Frame frame)
{
    if (!connected() || m_waiting)
        return 0;
    frame.type = link::FrameType::Sent;
    const std::vector<std::uint8_t> bytes = link::encodeFrame(frame);
    QPointer<QLocalSocket> socket = m_peer;
    socket->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    socket->flush();
    // Waits for the answer on that connection; frames the other side sends meanwhile are handled
    // as they come.
    m_waiting = true;
    m_reply.reset();
    QElapsedTimer clock;
    clock.start();
    while (!m_reply && socket && socket->state() == QLocalSocket::ConnectedState &&
           clock.elapsed() < kAnswerTimeoutMs) {
        if (socket->bytesAvailable() > 0 || socket->waitForReadyRead(int(kAnswerTimeoutMs - clock.elapsed())))
            readFrom(socket);
    }
    m_waiting = false;
    return m_reply.value_or(0);
}

} // namespace braille
