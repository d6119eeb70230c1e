// A display driver for tests: the entry points of libktnbrlc.so, recording what it is asked
// to show and handing out keys a test queues. Built three times: complete, without
// brldvc_print (no driver at all) and without brldvc_key (a display that only shows).
// The test reaches its state through the testdisplay_* functions of the same library.

#include <deque>
#include <mutex>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::mutex g_mutex;
std::deque<int> g_keys;
int g_initFailures = 0; // how many opens fail before one succeeds
int g_inits = 0, g_prints = 0, g_deletes = 0, g_keyCalls = 0;
std::string g_row;
int g_caret = -1;
int g_focus = -1; // the last focus the editor reported; -1 before any
} // namespace

EXPORT int brldvc_init(int, int, int)
{
    std::lock_guard lock(g_mutex);
    ++g_inits;
    if (g_initFailures > 0) {
        --g_initFailures;
        return 0;
    }
    return 1;
}

EXPORT int brldvc_delete(int)
{
    std::lock_guard lock(g_mutex);
    ++g_deletes;
    return 0;
}

#ifndef WITHOUT_PRINT
EXPORT int brldvc_print(int, const char* cells, int caret, int, int)
{
    std::lock_guard lock(g_mutex);
    ++g_prints;
    g_row = cells;
    g_caret = caret;
    return 1;
}
#endif

EXPORT int brldvc_length() { return 40; }

EXPORT int brldvc_focus(int, int focused)
{
    std::lock_guard lock(g_mutex);
    g_focus = focused;
    return 1;
}

#ifndef WITHOUT_KEY
EXPORT int brldvc_key(int)
{
    std::lock_guard lock(g_mutex);
    ++g_keyCalls;
    if (g_keys.empty())
        return -1;
    const int code = g_keys.front();
    g_keys.pop_front();
    return code;
}
#endif

EXPORT void testdisplay_reset(int initFailures)
{
    std::lock_guard lock(g_mutex);
    g_keys.clear();
    g_initFailures = initFailures;
    g_inits = g_prints = g_deletes = g_keyCalls = 0;
    g_row.clear();
    g_caret = -1;
    g_focus = -1;
}

EXPORT void testdisplay_press(int code)
{
    std::lock_guard lock(g_mutex);
    g_keys.push_back(code);
}

EXPORT int testdisplay_waiting()
{
    std::lock_guard lock(g_mutex);
    return int(g_keys.size());
}

// inits, prints, deletes, key calls, the caret of the last print, the last focus; the last row
// into `row`.
EXPORT void testdisplay_counts(int* counts, char* row, int rowSize)
{
    std::lock_guard lock(g_mutex);
    counts[0] = g_inits;
    counts[1] = g_prints;
    counts[2] = g_deletes;
    counts[3] = g_keyCalls;
    counts[4] = g_caret;
    counts[5] = g_focus;
    if (rowSize > 0) {
        const std::string cut = g_row.substr(0, std::size_t(rowSize - 1));
        cut.copy(row, cut.size());
        row[cut.size()] = '\0';
    }
}
