#pragma once
// The local sockets of link mode. Each side is known by a 32-bit handle and listens on
// <runtime folder>/<name>-link-XXXXXXXX (its handle in hexadecimal): Tenkora as "tenkora", the
// companion as "orvalis". Frames (LinkProtocol) go both ways over any connection between them.
//
// Nothing here waits for the other side, so a busy or stopped companion never holds up the
// window. A sent frame's answer goes to the sender's callback when its reply comes (a connection
// answers its sent frames in order), or as none once the answer timeout has passed or the
// connection went. Frames that arrive are queued and handled from the event loop one at a time,
// and only while the owner says it is ready: never inside an edit or a dialog that is still
// running, where a new text would replace the document under it.

#include "LinkProtocol.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace braille {

class LinkChannel : public QObject {
    Q_OBJECT

public:
    // Handles a frame that arrived; the result answers a sent frame.
    using Handler = std::function<std::uint32_t(const link::Frame&)>;
    // The answer to a sent frame, or none when it did not come in time or the connection went.
    using Answer = std::function<void(std::optional<std::uint32_t>)>;
    // Whether queued frames may be handled now.
    using Ready = std::function<bool()>;

    static constexpr int kAnswerTimeoutMs = 5000;

    LinkChannel(const QString& name, std::uint32_t handle, QObject* parent = nullptr);
    ~LinkChannel() override;

    // The socket of `name` with `handle` in the runtime folder.
    static QString socketPath(const QString& name, std::uint32_t handle);
    // Listens, owner-only, once the folder is checked; a stale socket of a dead process is
    // replaced, one that something answers on is left alone. Empty when listening, else why not.
    QString listen();
    std::uint32_t handle() const { return m_handle; }
    bool listening() const;
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void setReady(Ready ready) { m_ready = std::move(ready); }
    void setAnswerTimeout(int ms) { m_answerTimeoutMs = ms; }

    // Connects to the other side's socket ("is it a window?"); true when it accepted. Never in a
    // folder that cannot be used.
    bool connectTo(const QString& name, std::uint32_t handle);
    bool connected() const;
    void disconnectPeer();

    void post(const link::Frame& frame);
    // Sends without waiting; `answer` is called later, from the event loop. False when there is
    // no peer (then `answer` is never called).
    bool send(link::Frame frame, Answer answer = {});

signals:
    void peerGone();

private:
    struct Incoming {
        QPointer<QLocalSocket> socket;
        link::Frame frame;
    };
    struct Pending {
        QLocalSocket* connection = nullptr; // which connection the reply comes on
        QPointer<QLocalSocket> socket;
        Answer answer;
        qint64 deadline = 0;
        bool done = false; // answered, or given up (then a late reply is only swallowed)
    };

    void adopt(QLocalSocket* socket);
    void readFrom(QLocalSocket* socket);
    void soon(int ms);
    void handleQueued();
    void answered(QLocalSocket* socket, std::uint32_t value);
    void giveUpOverdue();
    void watchDeadlines();

    std::uint32_t m_handle;
    QString m_name;
    QLocalServer* m_server;
    QPointer<QLocalSocket> m_peer; // where frames go
    std::map<QLocalSocket*, link::FrameReader> m_readers;
    Handler m_handler;
    Ready m_ready;
    std::deque<Incoming> m_incoming;
    std::deque<Pending> m_pending;
    QTimer m_queueTimer;    // handles the queue from the event loop
    QTimer m_deadlineTimer; // wakes at the next answer's deadline
    QElapsedTimer m_clock;
    int m_answerTimeoutMs = kAnswerTimeoutMs;
    bool m_handling = false;
};

} // namespace braille
