#pragma once
// A UTF-8 file read or written one UTF-16 code unit at a time.
//
// In read mode the whole file is read into memory when the object is made and decoded as it is
// consumed; carriage returns and U+FEFF are dropped wherever they occur. In write mode code
// units are encoded to UTF-8 and collected in a buffer that goes to the file in large writes.
// While the file is open it holds an advisory lock (flock), shared for reading and exclusive for
// writing, so a file is never read while another Tenkora writes it or written while another
// reads it; a file locked against us counts as one that cannot be opened. A file that cannot be opened leaves the object usable: a reader sees an empty
// stream, a writer writes nothing and reports the failure.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace braille {

class Utf8File {
public:
    enum Mode : unsigned { Read = 0, Write = 1 };

    Utf8File(const std::filesystem::path& name, unsigned mode);
    virtual ~Utf8File();
    Utf8File(const Utf8File&) = delete;
    Utf8File& operator=(const Utf8File&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    const std::filesystem::path& name() const { return m_name; }

    // Reading. readUnit returns the next code unit, or kEndOfData once the data is exhausted
    // (atEnd() then tells it apart from a real U+FFFF).
    static constexpr char16_t kEndOfData = 0xFFFF;
    char16_t readUnit();
    bool atEnd() const { return m_atEnd; }
    // Up to `max` code units into `out`, decoded exactly as readUnit decodes them; returns how
    // many, 0 only at the end of the data. Readers that scan a whole file take it this way,
    // which is several times faster than a call per code unit.
    std::size_t readUnits(char16_t* out, std::size_t max);
    // All the remaining code units, appended to `out`.
    void readAll(std::u16string& out);
    // The next field of a table: the characters up to the next tab or line feed, which is
    // consumed. An empty field is absent.
    std::optional<std::u16string> readField();

    // Writing. Code points of 0x200000 and above are dropped; a high surrogate is joined with the
    // low surrogate that follows it.
    void writeCodePoint(char32_t cp);
    void write(std::u16string_view text);
    void writeUnit(char16_t unit);
    // Sends the buffer to the file and reports whether everything so far reached it.
    bool flush();
    // A write failure that happened so far (empty when none).
    const std::string& error() const { return m_error; }

    std::uint64_t byteCount() const { return m_byteCount; }
    // Reading: bytes decoded so far, and the size of the whole data.
    std::size_t bytesRead() const { return m_writing ? 0 : m_readPos; }
    std::size_t dataSize() const { return m_writing ? 0 : m_buffer.size(); }

private:
    void fail(const char* what);
    bool takeByte(unsigned char& b);

    std::filesystem::path m_name;
    int m_fd = -1;
    bool m_writing = false;
    bool m_atEnd = false;
    std::optional<char16_t> m_pendingLow;  // second half of a decoded 4-byte character
    std::optional<char16_t> m_pendingHigh; // high surrogate waiting for its low half
    std::uint64_t m_byteCount = 0;
    std::vector<unsigned char> m_buffer; // the whole file (read) or unwritten bytes (write)
    std::size_t m_readPos = 0;
    std::string m_error;
};

} // namespace braille
