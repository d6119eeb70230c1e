// libktnbrlc.so over BRLTTY: every braille display BRLTTY drives works with the editor.
//
// The editor loads this library and calls its five entry points (see BrailleDisplayLink.h).
// brldvc_init connects to the BrlAPI server named by BRLAPI_HOST with the key in BRLAPI_AUTH
// (BrlAPI's usual environment; both have defaults) and takes the display in tty mode, asking for
// BRLTTY's commands rather than one driver's key codes. The port number is ignored. When BRLTTY
// is not running, opening fails quietly and the editor tries again later.
//
// brldvc_print is called on the editor's user-interface thread and brldvc_key on its poll
// thread; one mutex keeps the connection to one call at a time.

#include "BrlapiKeys.h"

#define BRLAPI_NO_DEPRECATED
#define BRLAPI_NO_SINGLE_SESSION
#include <brlapi.h>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

namespace {

std::mutex g_mutex;
brlapi_handle_t* g_handle = nullptr;
int g_width = 0;
int g_windowStart = 0;
bool g_broken = false;
// In a desktop session the display is shared with a screen reader: the tty path names the X
// server's terminal (WINDOWPATH) and the editor's own window (WINDOWID, which the editor sets),
// and the display is given back while the editor's view has not the keyboard focus (a menu is
// open), so the screen reader shows the menu. Elsewhere the editor keeps the display throughout.
bool g_shared = false;
bool g_released = false;
std::string g_row; // the row last printed, shown again when the focus comes back
int g_caret = 0;

// A server on another machine that does not answer: tried again after a growing pause.
using Clock = std::chrono::steady_clock;
Clock::time_point g_nextRemoteTry{};
int g_remoteFailures = 0;

// Whether a BrlAPI server that BRLAPI_HOST puts on another machine (or on this one over TCP)
// answers at once. BrlAPI's own
// connect waits for the system's timeout (ten seconds and more) and the editor opens the display
// on its window's thread: an unreachable host must not freeze the window at every retry. A local
// server (no host, or a socket path) needs no such care.
bool remoteServerAnswers()
{
    const char* env = std::getenv("BRLAPI_HOST");
    const std::string spec = env ? env : "";
    const std::size_t colon = spec.rfind(':');
    std::string host = spec.substr(0, colon);
    if (host.empty() || host[0] == '/')
        return true;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if (Clock::now() < g_nextRemoteTry)
        return false;
    const int offset = colon == std::string::npos ? 0 : std::atoi(spec.c_str() + colon + 1);
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    bool answers = false;
    if (getaddrinfo(host.c_str(), std::to_string(4101 + offset).c_str(), &hints, &found) == 0) {
        for (const addrinfo* a = found; a && !answers; a = a->ai_next) {
            const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
            if (fd < 0)
                continue;
            // A BrlAPI server greets a new connection at once with its protocol version.
            bool connected = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
            if (!connected && errno == EINPROGRESS) {
                pollfd wait{fd, POLLOUT, 0};
                int error = 0;
                socklen_t size = sizeof error;
                connected = poll(&wait, 1, 300) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
                            error == 0;
            }
            if (connected) {
                pollfd greeting{fd, POLLIN, 0};
                answers = poll(&greeting, 1, 300) == 1 && (greeting.revents & POLLIN);
            }
            close(fd);
        }
        freeaddrinfo(found);
    }
    g_remoteFailures = answers ? 0 : std::min(g_remoteFailures + 1, 5);
    g_nextRemoteTry = Clock::now() + std::chrono::seconds(answers ? 0 : 1 << g_remoteFailures);
    return answers;
}

// BrlAPI's own handler ends the process on a protocol error; a display that goes away must not
// take the editor with it.
void onBrlapiError(brlapi_handle_t*, int, brlapi_packetType_t, const void*, size_t) { g_broken = true; }

void disconnect()
{
    if (!g_handle)
        return;
    if (!g_broken && !(g_shared && g_released))
        brlapi__leaveTtyMode(g_handle);
    brlapi__closeConnection(g_handle);
    std::free(g_handle);
    g_handle = nullptr;
    g_width = 0;
}

// Takes the display in tty mode: the tty of the window (WINDOWPATH, WINDOWID, CONTROLVT);
// without one, the root of the tty tree, as a program started outside any terminal has.
bool enterTty()
{
    const bool tty = brlapi__enterTtyMode(g_handle, BRLAPI_TTY_DEFAULT, nullptr) >= 0 ||
                     brlapi__enterTtyModeWithPath(g_handle, nullptr, 0, nullptr) >= 0;
    if (!tty || g_broken)
        return false;
    // Typed cells as dots, not as characters of the server's text table: the editor has its own.
    const brlapi_param_retainDots_t retain = 1;
    brlapi__setParameter(g_handle, BRLAPI_PARAM_RETAIN_DOTS, 0, BRLAPI_PARAMF_LOCAL, &retain, sizeof retain);
    return true;
}

bool connect()
{
    // A server that closes its socket would otherwise end the editor with SIGPIPE.
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGPIPE, SIG_IGN);
    if (!remoteServerAnswers())
        return false;
    g_handle = static_cast<brlapi_handle_t*>(std::malloc(brlapi_getHandleSize()));
    if (!g_handle)
        return false;
    g_broken = false;
    if (brlapi__openConnection(g_handle, nullptr, nullptr) < 0) {
        std::free(g_handle);
        g_handle = nullptr;
        return false;
    }
    brlapi__setExceptionHandler(g_handle, onBrlapiError);
    unsigned int x = 0, y = 0;
    const bool sized = brlapi__getDisplaySize(g_handle, &x, &y) >= 0 && x > 0;
    g_shared = std::getenv("WINDOWPATH") && *std::getenv("WINDOWPATH") && std::getenv("WINDOWID") &&
               *std::getenv("WINDOWID");
    if (!sized || !enterTty()) {
        brlapi__closeConnection(g_handle);
        std::free(g_handle);
        g_handle = nullptr;
        return false;
    }
    if (g_shared && g_released)
        brlapi__leaveTtyMode(g_handle); // opened while a menu was up
    g_width = int(x);
    return true;
}

void show()
{
    g_windowStart = braille::bridge::windowStart(int(g_row.size()), g_caret, g_width);
    const auto dots = braille::bridge::windowDots(g_row, g_caret, g_windowStart, g_width);
    brlapi__writeDots(g_handle, dots.data());
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int brldvc_init(int, int, int)
{
    std::lock_guard lock(g_mutex);
    if (g_handle && !g_broken)
        return 1;
    disconnect();
    return connect() ? 1 : 0;
}

__attribute__((visibility("default"))) int brldvc_delete(int)
{
    std::lock_guard lock(g_mutex);
    disconnect();
    return 0;
}

__attribute__((visibility("default"))) int brldvc_print(int, const char* cells, int caret, int, int)
{
    std::lock_guard lock(g_mutex);
    // A server that went away and came back (BRLTTY restarted) is taken up again here, at most
    // once a repaint.
    if (g_broken || !g_handle) {
        disconnect();
        if (!connect())
            return 0;
    }
    if (!cells)
        return 0;
    g_row.assign(cells, std::strlen(cells));
    g_caret = caret;
    if (g_shared && g_released)
        return 1; // shown when the focus comes back
    g_windowStart = braille::bridge::windowStart(int(g_row.size()), caret, g_width);
    const auto dots = braille::bridge::windowDots(g_row, caret, g_windowStart, g_width);
    return brlapi__writeDots(g_handle, dots.data()) >= 0 ? 1 : 0;
}

__attribute__((visibility("default"))) int brldvc_focus(int, int focused)
{
    std::lock_guard lock(g_mutex);
    const bool release = focused == 0;
    if (release == g_released)
        return 1;
    g_released = release;
    if (!g_shared || !g_handle || g_broken)
        return 1;
    if (release) {
        brlapi__leaveTtyMode(g_handle);
    } else if (enterTty()) {
        show();
    } else {
        g_broken = true; // the next print connects again
    }
    return 1;
}

__attribute__((visibility("default"))) int brldvc_length() { return g_width; }

__attribute__((visibility("default"))) int brldvc_key(int)
{
    std::lock_guard lock(g_mutex);
    if (!g_handle || g_broken)
        return -1;
    if (g_shared && g_released)
        return 0; // the screen reader has the keys
    brlapi_keyCode_t key = 0;
    if (brlapi__readKey(g_handle, 0, &key) <= 0)
        return 0;
    return braille::bridge::editorKeyCode(key, g_windowStart);
}

} // extern "C"
