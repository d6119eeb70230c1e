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

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>

namespace {

std::mutex g_mutex;
brlapi_handle_t* g_handle = nullptr;
int g_width = 0;
int g_windowStart = 0;
bool g_broken = false;

// BrlAPI's own handler ends the process on a protocol error; a display that goes away must not
// take the editor with it.
void onBrlapiError(brlapi_handle_t*, int, brlapi_packetType_t, const void*, size_t) { g_broken = true; }

void disconnect()
{
    if (!g_handle)
        return;
    if (!g_broken)
        brlapi__leaveTtyMode(g_handle);
    brlapi__closeConnection(g_handle);
    std::free(g_handle);
    g_handle = nullptr;
    g_width = 0;
}

bool connect()
{
    // A server that closes its socket would otherwise end the editor with SIGPIPE.
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGPIPE, SIG_IGN);
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
    // The tty of the window (WINDOWPATH, WINDOWID, CONTROLVT); without one, the root of the tty
    // tree, as a program started outside any terminal has.
    const bool tty = sized && (brlapi__enterTtyMode(g_handle, BRLAPI_TTY_DEFAULT, nullptr) >= 0 ||
                               brlapi__enterTtyModeWithPath(g_handle, nullptr, 0, nullptr) >= 0);
    if (!tty || g_broken) {
        brlapi__closeConnection(g_handle);
        std::free(g_handle);
        g_handle = nullptr;
        return false;
    }
    // Typed cells as dots, not as characters of the server's text table: the editor has its own.
    const brlapi_param_retainDots_t retain = 1;
    brlapi__setParameter(g_handle, BRLAPI_PARAM_RETAIN_DOTS, 0, BRLAPI_PARAMF_LOCAL, &retain, sizeof retain);
    g_width = int(x);
    return true;
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
    const std::string_view row(cells, std::strlen(cells));
    g_windowStart = braille::bridge::windowStart(int(row.size()), caret, g_width);
    const auto dots = braille::bridge::windowDots(row, caret, g_windowStart, g_width);
    return brlapi__writeDots(g_handle, dots.data()) >= 0 ? 1 : 0;
}

__attribute__((visibility("default"))) int brldvc_length() { return g_width; }

__attribute__((visibility("default"))) int brldvc_key(int)
{
    std::lock_guard lock(g_mutex);
    if (!g_handle || g_broken)
        return -1;
    brlapi_keyCode_t key = 0;
    if (brlapi__readKey(g_handle, 0, &key) <= 0)
        return 0;
    return braille::bridge::editorKeyCode(key, g_windowStart);
}

} // extern "C"
