#pragma once
// Link mode's messages, as they travel between Tenkora and its companion reading application
// over a local socket: the frame that carries a message, the copy-data records inside it, and
// the body text Tenkora sends back after every change. docs/link-protocol.md describes the
// protocol for other applications.
//
// A frame is little-endian: u32 length of the rest; u32 type (1 posted, 2 sent, 3 reply); u32
// message number; u32 wParam; u32 lParam; for WM_COPYDATA then u32 dwData, u32 cbData and cbData
// bytes. Reading never goes past what a frame's length and the bytes at hand allow.

#include "BrailleDocument.h"
#include "ConfigPaths.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace braille::link {

// The message numbers: the five registered messages and the window messages used.
constexpr std::uint32_t kStart = 0xC101;      // "OrvalisLinkModeStart"
constexpr std::uint32_t kEnd = 0xC102;        // "OrvalisLinkModeEnd"
constexpr std::uint32_t kChangeData = 0xC103; // "OrvalisLinkModeChangeData"
constexpr std::uint32_t kUpdate = 0xC104;     // "OrvalisLinkModeUpdate"
constexpr std::uint32_t kMessage = 0xC105;    // "OrvalisLinkMessage"
constexpr std::uint32_t kSetFocus = 7;
constexpr std::uint32_t kKillFocus = 8;
constexpr std::uint32_t kKeyDown = 0x100;
constexpr std::uint32_t kCopyData = 0x004A;

enum class FrameType : std::uint32_t { Posted = 1, Sent = 2, Reply = 3 };

struct Frame {
    FrameType type = FrameType::Posted;
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    // WM_COPYDATA only.
    std::uint32_t dwData = 0;
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> encodeFrame(const Frame& frame);

// Collects bytes as they arrive and hands out whole frames. A frame whose length cannot be
// right (shorter than its fixed fields, longer than 16 MiB, or a copy-data size that does not
// fit it) is a broken stream: `broken()` turns true and nothing more is read from it.
class FrameReader {
public:
    void append(const std::uint8_t* bytes, std::size_t size);
    std::optional<Frame> next();
    bool broken() const { return m_broken; }

private:
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_read = 0;
    bool m_broken = false;
};

// The text payload the companion sends: its handle, the id (must be kChangeData) and the link
// text up to its terminating zero (or the end of the data when there is none). None when the
// data is shorter than the two fields.
struct TextPayload {
    std::uint32_t sender = 0;
    std::uint32_t id = 0;
    std::u16string text;
};
std::optional<TextPayload> readTextPayload(const std::vector<std::uint8_t>& data);
std::vector<std::uint8_t> textPayload(std::uint32_t sender, std::uint32_t id, std::u16string_view text);

// The edited body as the companion receives it: "{mode`cells`print}," for every character of the
// body's rows, leaving out rows of a single character and line breaks, end markers and blanks.
// Empty when nothing is left.
std::u16string updateText(const BrailleDocument& document);
// The update record: Tenkora's handle, kUpdate, the text and its terminating zero.
std::vector<std::uint8_t> updateRecord(std::uint32_t editor, std::u16string_view text);
// A forwarded event: Tenkora's handle, kMessage, the event (7, 8 or 0x100) and its two values.
std::vector<std::uint8_t> eventRecord(std::uint32_t editor, std::uint32_t event, std::uint32_t first,
                                      std::uint32_t second);
struct EventRecord {
    std::uint32_t sender = 0;
    std::uint32_t event = 0;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};
// None when the data is not an event record (too short, or its id is not kMessage).
std::optional<EventRecord> readEventRecord(const std::vector<std::uint8_t>& data);

// The folder of both sides' sockets: the runtime folder, made and checked owner-only first. When
// it cannot be used (not ours, a link, not a folder) neither side listens or connects there: a
// socket in a folder someone else controls may be theirs, and would read the book or send text.
struct SocketFolder {
    std::filesystem::path folder;
    FolderResult usable;
};
SocketFolder socketFolder();
// "<folder>/<name>-link-XXXXXXXX", the handle as 8 lowercase hexadecimal digits.
std::filesystem::path socketPath(const std::filesystem::path& folder, std::string_view name, std::uint32_t handle);

} // namespace braille::link
