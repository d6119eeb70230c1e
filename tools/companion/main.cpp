// tenkora-companion: the reading application's side of link mode, for trying link mode out and
// for tests. It listens on its socket, starts Tenkora in link mode (--start) or waits for one,
// answers its Start, sends a link text, prints what comes back, and ends link mode.
//
//   tenkora-companion [--handle HEX] [--start PROGRAM] [--text TEXT | --text-file FILE]
//                     [--text-id HEX] [--answer N] [--end-after SECONDS]
//
// Output, one line each: "listening HEX", "start: HEX" (the editor's handle), "loaded: N" (the
// editor's answer to the text), "update: TEXT" (UTF-8), "event: N KEY", "end". Its socket is in the
// runtime folder the editor uses; when that folder is not the user's alone it says why and exits 1.

#include "LinkProtocol.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

using namespace braille;

namespace {

struct Options {
    std::uint32_t handle = 0;
    QString start;
    std::u16string text;
    bool hasText = false;
    std::uint32_t textId = link::kChangeData;
    std::uint32_t answer = 1;
    int endAfter = -1;
};

void say(const QString& line)
{
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

class Companion : public QObject {
public:
    explicit Companion(const Options& options) : m_options(options)
    {
        // The sockets' folder must be ours alone: a socket where others can write may be theirs.
        const link::SocketFolder folder = link::socketFolder();
        if (!folder.usable) {
            std::fprintf(stderr, "tenkora-companion: link mode cannot use the runtime folder: %s\n",
                         folder.usable.reason.c_str());
            QTimer::singleShot(0, [] { QCoreApplication::exit(1); });
            return;
        }
        m_path = QString::fromStdString(link::socketPath(folder.folder, "orvalis", options.handle).string());
        QLocalServer::removeServer(m_path);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        if (!m_server.listen(m_path)) {
            std::fprintf(stderr, "tenkora-companion: cannot listen on %s\n", m_path.toLocal8Bit().constData());
            QTimer::singleShot(0, [] { QCoreApplication::exit(1); });
            return;
        }
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* s = m_server.nextPendingConnection()) {
                m_editor = s;
                connect(s, &QLocalSocket::readyRead, this, [this] { read(); });
                connect(s, &QLocalSocket::disconnected, this, [this] {
                    say(QStringLiteral("end"));
                    // An editor we started is let finish before we go.
                    if (m_process.state() != QProcess::NotRunning)
                        m_process.waitForFinished(5000);
                    QCoreApplication::quit();
                });
            }
        });
        say(QStringLiteral("listening %1").arg(options.handle, 8, 16, QLatin1Char('0')));
        if (!options.start.isEmpty()) {
            m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            m_process.start(options.start, {QStringLiteral("/linkmode"),
                                            QStringLiteral("/handle:%1").arg(options.handle, 8, 16, QLatin1Char('0'))});
            connect(&m_process, &QProcess::finished, this, [] { QCoreApplication::quit(); });
        }
        if (options.endAfter >= 0) {
            QTimer::singleShot(options.endAfter * 1000, this, [this] { end(); });
        } else {
            // End of input ends link mode.
            auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
            connect(input, &QSocketNotifier::activated, this, [this, input] {
                char buffer[256];
                if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                    input->setEnabled(false);
                    end();
                }
            });
        }
    }
    ~Companion() override
    {
        if (!m_path.isEmpty())
            QLocalServer::removeServer(m_path);
    }

private:
    void write(const link::Frame& frame)
    {
        if (!m_editor)
            return;
        const std::vector<std::uint8_t> bytes = link::encodeFrame(frame);
        m_editor->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        m_editor->flush();
    }

    void end()
    {
        write({link::FrameType::Posted, link::kEnd, m_options.handle, 0, 0, {}});
        // The editor closes; the connection's end quits. An editor that never came: quit now.
        if (!m_editor)
            QCoreApplication::quit();
    }

    void read()
    {
        const QByteArray bytes = m_editor->readAll();
        m_reader.append(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        while (std::optional<link::Frame> frame = m_reader.next())
            handle(*frame);
    }

    void handle(const link::Frame& frame)
    {
        std::uint32_t result = 0;
        if (frame.message == link::kStart && frame.type != link::FrameType::Reply && !m_started) {
            m_started = true;
            say(QStringLiteral("start: %1").arg(frame.wParam, 8, 16, QLatin1Char('0')));
            write({link::FrameType::Posted, link::kStart, m_options.handle, frame.wParam, 0, {}});
            if (m_options.hasText)
                write({link::FrameType::Sent, link::kCopyData, m_options.handle, 0, 12,
                       link::textPayload(m_options.handle, m_options.textId, m_options.text)});
        } else if (frame.type == link::FrameType::Reply && frame.message == link::kCopyData) {
            say(QStringLiteral("loaded: %1").arg(frame.lParam));
        } else if (frame.message == link::kCopyData && frame.data.size() >= 8) {
            const std::optional<link::TextPayload> payload = link::readTextPayload(frame.data);
            if (payload && payload->id == link::kUpdate) {
                say(QStringLiteral("update: ") + QString::fromStdU16String(payload->text));
                result = m_options.answer;
            } else if (const std::optional<link::EventRecord> event = link::readEventRecord(frame.data)) {
                say(QStringLiteral("event: %1 %2").arg(event->event).arg(event->first));
            }
        } else if (frame.message == link::kEnd) {
            say(QStringLiteral("end"));
        }
        if (frame.type == link::FrameType::Sent)
            write({link::FrameType::Reply, frame.message, 0, result, 0, {}});
    }

    Options m_options;
    QString m_path;
    QLocalServer m_server;
    QLocalSocket* m_editor = nullptr;
    link::FrameReader m_reader;
    QProcess m_process;
    bool m_started = false;
};

int usage(const char* why)
{
    std::fprintf(stderr,
                 "tenkora-companion: %s\nusage: tenkora-companion [--handle HEX] [--start PROGRAM] [--text TEXT | "
                 "--text-file FILE] [--text-id HEX] [--answer N] [--end-after SECONDS]\n",
                 why);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    options.handle = std::uint32_t(QCoreApplication::applicationPid());
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QStringLiteral("--help"))
            return usage("the reading application's side of link mode") == 2 ? 0 : 0;
        if (!hasValue)
            return usage(("missing value after " + a.toStdString()).c_str());
        const QString value = args[++i];
        if (a == QStringLiteral("--handle"))
            options.handle = value.toUInt(&ok, 16);
        else if (a == QStringLiteral("--start"))
            options.start = value;
        else if (a == QStringLiteral("--text")) {
            options.text = value.toStdU16String();
            options.hasText = true;
        } else if (a == QStringLiteral("--text-file")) {
            QFile file(value);
            ok = file.open(QIODevice::ReadOnly);
            options.text = QString::fromUtf8(file.readAll()).toStdU16String();
            options.hasText = ok;
        } else if (a == QStringLiteral("--text-id"))
            options.textId = value.toUInt(&ok, 16);
        else if (a == QStringLiteral("--answer"))
            options.answer = value.toUInt(&ok);
        else if (a == QStringLiteral("--end-after"))
            options.endAfter = value.toInt(&ok);
        else
            return usage(("unknown option " + a.toStdString()).c_str());
        if (!ok)
            return usage(("bad value for " + a.toStdString()).c_str());
    }
    Companion companion(options);
    return app.exec();
}
