#include "BrailleDisplayLink.h"

#include "DataPaths.h"
#include "DisplayDriverCodes.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <chrono>
#include <string>

namespace braille {

namespace {

constexpr int kDisplayVendor = 0x1148;
constexpr int kDisplayProduct = 0x0001;
constexpr int kRetryMs = 2000;
constexpr int kPollMs = 10;

} // namespace

int displayPortAmong(const std::vector<SerialDevice>& devices)
{
    int best = -1;
    for (const SerialDevice& d : devices) {
        if (!d.hasIds || d.vendorId != kDisplayVendor || d.productId != kDisplayProduct)
            continue;
        const int n = displayPortFromDeviceName(d.systemLocation.toStdString());
        if (n >= 0 && (best < 0 || n < best))
            best = n;
    }
    return best;
}

int findDisplayPort()
{
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back({info.hasVendorIdentifier() && info.hasProductIdentifier(), info.vendorIdentifier(),
                           info.productIdentifier(), info.systemLocation()});
    return displayPortAmong(devices);
}

BrailleDisplayLink::BrailleDisplayLink(QObject* parent) : QObject(parent)
{
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { tick(); });
}

BrailleDisplayLink::~BrailleDisplayLink() { close(); }

QString BrailleDisplayLink::defaultLibraryPath()
{
    if (qEnvironmentVariableIsSet("TENKORA_DISPLAY_DRIVER"))
        return qEnvironmentVariable("TENKORA_DISPLAY_DRIVER");
    // Beside the program in the build tree, in lib/tenkora once installed; none when the
    // program's folder is unknown.
    const std::filesystem::path folder = paths::libraryFolder();
    return folder.empty() ? QString() : QString::fromStdU16String((folder / "libktnbrlc.so").u16string());
}

void BrailleDisplayLink::start(const QString& libraryPath, std::optional<int> port, Hooks hooks)
{
    m_hooks = std::move(hooks);
    m_portOverride = port;
    if (!load(libraryPath))
        return;
    open();
    m_retry.start();
}

bool BrailleDisplayLink::load(const QString& path)
{
    // Most users have no display: a missing library is no failure, and nothing is said.
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    m_library.setFileName(path);
    if (m_library.load()) {
        m_init = reinterpret_cast<InitFn>(m_library.resolve("brldvc_init"));
        m_delete = reinterpret_cast<DeleteFn>(m_library.resolve("brldvc_delete"));
        m_print = reinterpret_cast<PrintFn>(m_library.resolve("brldvc_print"));
        const bool hasLength = m_library.resolve("brldvc_length") != nullptr;
        m_key = reinterpret_cast<KeyFn>(m_library.resolve("brldvc_key"));
        m_focus = reinterpret_cast<FocusFn>(m_library.resolve("brldvc_focus"));
        m_libraryLoaded = m_init && m_delete && m_print && hasLength;
        if (!m_libraryLoaded)
            m_library.unload();
    }
    if (!m_libraryLoaded)
        report(QStringLiteral("点字ディスプレイのドライバ %1 を読み込めません: %2")
                   .arg(path, m_library.isLoaded() || m_library.errorString().isEmpty()
                                  ? QStringLiteral("必要な関数がありません")
                                  : m_library.errorString()));
    return m_libraryLoaded;
}

bool BrailleDisplayLink::open()
{
    if (!m_libraryLoaded || m_deviceOpen)
        return m_deviceOpen;
    // Without a serial port the driver is asked all the same, with -1: a driver that reaches
    // its display another way needs none.
    m_port = m_portOverride ? *m_portOverride : findDisplayPort();
    if (m_init(m_port, 3, 7) != 1) {
        // Said once where a display is evidently there (its port was found or set); without a
        // port, a display that is not there is no news.
        if (m_port >= 0 && !m_saidOpenFailure) {
            m_saidOpenFailure = true;
            report(QStringLiteral("点字ディスプレイ（ポート %1）を開けません。2秒ごとに開き直します。").arg(m_port));
        }
        return false;
    }
    m_deviceOpen = true;
    if (m_focus && !m_focused)
        m_focus(m_port, 0);
    if (m_caretCell >= 0)
        m_print(m_port, m_row.c_str(), m_caretCell, m_caretCell, 1);
    if (m_key) {
        m_polling = true;
        m_thread = std::thread([this] { poll(); });
    }
    return true;
}

void BrailleDisplayLink::tick()
{
    if (!m_deviceOpen)
        open();
}

void BrailleDisplayLink::registerTarget()
{
    {
        std::lock_guard lock(m_mutex);
        m_targetReady = true;
    }
    m_wake.notify_all();
}

void BrailleDisplayLink::show(std::string_view cells, int caretCell)
{
    // Kept, so that a display opened later shows the row at once rather than at the next change.
    m_row.assign(cells.substr(0, kDisplayRowBytes));
    m_caretCell = caretCell;
    if (m_libraryLoaded && m_deviceOpen)
        m_print(m_port, m_row.c_str(), m_caretCell, m_caretCell, 1);
}

void BrailleDisplayLink::setFocused(bool focused)
{
    if (focused == m_focused)
        return;
    m_focused = focused;
    if (m_libraryLoaded && m_deviceOpen && m_focus)
        m_focus(m_port, focused ? 1 : 0);
}

void BrailleDisplayLink::poll()
{
    while (m_polling) {
        if (!m_targetReady) {
            // Keys wait in the driver until the view can take them.
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_targetReady || !m_polling; });
            continue;
        }
        const int code = m_key(m_port);
        if (translateDisplayDriverKey(code).kind != DisplayDriverKey::None)
            deliver(code);
        waitFor(kPollMs);
    }
}

void BrailleDisplayLink::deliver(int code)
{
    {
        std::lock_guard lock(m_mutex);
        m_handled = false;
    }
    // Runs on the user-interface thread; this thread waits until the view has handled the key,
    // or until the link closes (a key still queued then is dropped).
    QMetaObject::invokeMethod(this, [this, code] {
        if (m_polling && m_hooks.key)
            m_hooks.key(code);
        std::lock_guard lock(m_mutex);
        m_handled = true;
        m_wake.notify_all();
    }, Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_handled || !m_polling; });
}

void BrailleDisplayLink::waitFor(int milliseconds)
{
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return !m_polling; });
}

void BrailleDisplayLink::close()
{
    m_retry.stop();
    {
        std::lock_guard lock(m_mutex);
        m_polling = false;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_libraryLoaded) {
        m_delete(m_port);
        m_library.unload();
        m_libraryLoaded = false;
    }
    m_deviceOpen = false;
}

void BrailleDisplayLink::report(const QString& text)
{
    if (m_hooks.report)
        m_hooks.report(text);
}

} // namespace braille
