#pragma once
// The local sockets of link mode. Each side is known by a 32-bit handle and listens on
// $XDG_RUNTIME_DIR/<name>-link-XXXXXXXX (its handle in hexadecimal): Tenkora as "tenkora", the
// companion as "orvalis". Frames (LinkProtocol) go both ways over any connection between them; a
// sent frame is answered by a reply frame, which the sender waits for (5 s at most; then the
// answer is 0).

#include "LinkProtocol.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

class QLocalServer;
class QLocalSocket;

namespace braille {

class LinkChannel : public QObject {
    Q_OBJECT

public:
    // Handles a frame that arrived; the result answers a sent frame.
    using Handler = std::function<std::uint32_t(const link::Frame&)>;

    // Listens as `name` with `handle` (owner-only; a stale socket of a dead process is replaced).
    LinkChannel(const QString& name, std::uint32_t handle, QObject* parent = nullptr);
    ~LinkChannel() override;

    static QString socketPath(const QString& name, std::uint32_t handle);
    std::uint32_t handle() const { return m_handle; }
    bool listening() const;
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Connects to the other side's socket ("is it a window?"); true when it accepted.
    bool connectTo(const QString& name, std::uint32_t handle);
    bool connected() const;
    void disconnectPeer();

    void post(const link::Frame& frame);
    // Sends and waits for the answer; 0 when there is no peer or no answer came in time.
    std::uint32_t send(link::Frame frame);

signals:
    void peerGone();

private:
    void adopt(QLocalSocket* socket);
    void readFrom(QLocalSocket* socket);
    void dispatch(QLocalSocket* socket, const link::Frame& frame);

    std::uint32_t m_handle;
    QLocalServer* m_server;
    QPointer<QLocalSocket> m_peer; // where frames go
    std::map<QLocalSocket*, link::FrameReader> m_readers;
    Handler m_handler;
    bool m_waiting = false;
    std::optional<std::uint32_t> m_reply;
};

} // namespace braille
