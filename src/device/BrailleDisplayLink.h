#pragma once
// The link to a refreshable braille display, owned by the view.
//
// The device work is a driver library, libktnbrlc.so (beside the program in the build tree, in
// lib/tenkora once installed: paths::libraryFolder), loaded at run time with
// five C entry points:
//   int brldvc_init(int port, int, int)     opens the display; 1 when it is ready
//   int brldvc_delete(int port)             gives it back
//   int brldvc_print(int port, const char* cells, int caret, int caret, int)
//                                           shows a row of NABCC bytes with the caret cell
//   int brldvc_length()                     must exist; never called
//   int brldvc_key(int port)                the next key code, -1 or 0 when none is waiting
//   int brldvc_focus(int port, int focused) optional: the view took (1) or lost (0) the keyboard
//                                           focus, so a driver that shares the display with a
//                                           screen reader can give it back while a menu is open
// A library without the first four is no library; without brldvc_key the display only shows.
//
// The device is opened at once and, while it stays closed, again every two seconds, so a display
// plugged in later is found. Once open, a poll thread asks for keys every 10 ms (none until the
// view has shown its first row; a window that is never painted still shows rows) and hands each
// to the view on the user-interface thread, waiting until the view has handled it, so the
// editor's state only ever changes on that thread.

#include <QLibrary>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace braille {

// A serial device as the system lists it.
struct SerialDevice {
    bool hasIds = false;
    int vendorId = 0;
    int productId = 0;
    QString systemLocation; // "/dev/ttyUSB3"
};

// The display's port among `devices`: the lowest number of a device with the display's USB ids
// (vendor 0x1148, product 0x0001); -1 when there is none.
int displayPortAmong(const std::vector<SerialDevice>& devices);
// The same over the serial devices present now.
int findDisplayPort();

class BrailleDisplayLink : public QObject {
public:
    struct Hooks {
        std::function<void(int code)> key;                // a driver key code, on the UI thread
        std::function<void(const QString& text)> report; // a failure, said once
    };

    explicit BrailleDisplayLink(QObject* parent = nullptr);
    ~BrailleDisplayLink() override;

    // libktnbrlc.so in the program's folder; `TENKORA_DISPLAY_DRIVER` names another (empty: none).
    static QString defaultLibraryPath();

    // Loads the library and opens the display at once, then keeps trying every two seconds while
    // it stays closed. `port` overrides the search for the display's serial port.
    void start(const QString& libraryPath, std::optional<int> port, Hooks hooks);
    // The view is set up: keys may be handed to it from now on.
    void registerTarget();
    // Shows a row (NABCC bytes) with the caret cell counted from 1, 0 after the last character.
    void show(std::string_view cells, int caretCell);
    // The view took or lost the keyboard focus (a menu, a dialog, another program).
    void setFocused(bool focused);
    // Stops the poll thread and waits for it, gives the display back and unloads the library.
    void close();

    bool libraryLoaded() const { return m_libraryLoaded; }
    bool deviceOpen() const { return m_deviceOpen; }
    bool polling() const { return m_thread.joinable(); }
    int port() const { return m_port; }

private:
    using InitFn = int (*)(int, int, int);
    using DeleteFn = int (*)(int);
    using PrintFn = int (*)(int, const char*, int, int, int);
    using LengthFn = int (*)();
    using KeyFn = int (*)(int);
    using FocusFn = int (*)(int, int);

    bool load(const QString& path);
    bool open();
    void tick();
    void poll();
    void deliver(int code);
    void waitFor(int milliseconds);
    void report(const QString& text);

    Hooks m_hooks;
    QLibrary m_library;
    InitFn m_init = nullptr;
    DeleteFn m_delete = nullptr;
    PrintFn m_print = nullptr;
    KeyFn m_key = nullptr;
    FocusFn m_focus = nullptr;
    bool m_focused = true;
    bool m_libraryLoaded = false;
    bool m_deviceOpen = false;
    std::optional<int> m_portOverride;
    int m_port = -1;
    QTimer m_retry;
    bool m_saidOpenFailure = false;
    std::string m_row;     // the row last given to show()
    int m_caretCell = -1; // its caret cell; -1 before the first row

    // Shared with the poll thread.
    std::thread m_thread;
    std::atomic<bool> m_polling{false};
    std::atomic<bool> m_targetReady{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_handled = false;
};

} // namespace braille
