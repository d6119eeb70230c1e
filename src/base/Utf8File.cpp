#include "Utf8File.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace braille {

namespace {
constexpr std::size_t kWriteChunk = 64 * 1024;

bool writeAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}
} // namespace

Utf8File::Utf8File(const std::filesystem::path& name, unsigned mode)
    : m_name(name), m_writing(mode & Write)
{
    // Write mode truncates only after the lock is held, so a file that another process has open
    // is never emptied under it.
    const int flags = m_writing ? (O_WRONLY | O_CREAT | O_CLOEXEC) : (O_RDONLY | O_CLOEXEC);
    int fd = ::open(name.c_str(), flags, 0666);
    if (fd < 0) {
        fail("cannot open");
        return;
    }
    // Readers share the file; a writer has it alone. Two programs starting at once can read the
    // same tables, but nobody reads a file while it is being written, or writes one being read.
    if (::flock(fd, (m_writing ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        ::close(fd);
        fail("the file is in use by another program");
        return;
    }
    m_fd = fd;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (m_writing) {
        if (regular && ::ftruncate(fd, 0) != 0)
            fail("cannot truncate");
        m_buffer.reserve(kWriteChunk);
        return;
    }
    if (mode != Read)
        return;
    if (regular && st.st_size > 0)
        m_buffer.reserve(std::size_t(st.st_size));
    unsigned char chunk[64 * 1024];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        m_buffer.insert(m_buffer.end(), chunk, chunk + n);
    }
}

Utf8File::~Utf8File()
{
    if (m_fd >= 0) {
        if (m_writing)
            flush();
        ::close(m_fd); // closing releases the lock
    }
}

void Utf8File::fail(const char* what)
{
    if (m_error.empty())
        m_error = std::string(what) + " " + m_name.string() + (errno ? std::string(": ") + std::strerror(errno) : "");
}

bool Utf8File::takeByte(unsigned char& b)
{
    if (m_readPos >= m_buffer.size())
        return false;
    b = m_buffer[m_readPos++];
    return true;
}

char16_t Utf8File::readUnit()
{
    if (m_pendingLow) {
        char16_t low = *m_pendingLow;
        m_pendingLow.reset();
        return low;
    }
    if (m_writing)
        m_atEnd = true;
    while (!m_atEnd) {
        unsigned char b;
        if (!takeByte(b))
            break;
        if (b < 0x80) {
            if (b == 0x0D)
                continue;
            return b;
        }
        // Continuation bytes are taken as they come; a sequence cut short by the end of the
        // data yields nothing.
        unsigned char c1, c2, c3;
        if (b >= 0xC0 && b <= 0xDF) {
            if (!takeByte(c1))
                break;
            return char16_t(((b & 0x1F) << 6) | (c1 & 0x3F));
        }
        if (b >= 0xE0 && b <= 0xEF) {
            if (!takeByte(c1) || !takeByte(c2))
                break;
            char16_t u = char16_t(((b & 0x0F) << 12) | ((c1 & 0x3F) << 6) | (c2 & 0x3F));
            if (u == 0xFEFF)
                continue;
            return u;
        }
        if (b >= 0xF0 && b <= 0xF7) {
            if (!takeByte(c1) || !takeByte(c2) || !takeByte(c3))
                break;
            char32_t cp = (char32_t(b & 0x07) << 18) | (char32_t(c1 & 0x3F) << 12) | (char32_t(c2 & 0x3F) << 6) |
                          char32_t(c3 & 0x3F);
            if (cp < 0x10000) // an overlong form of a BMP character
                return char16_t(cp);
            if (cp > 0x10FFFF)
                return 0;
            cp -= 0x10000;
            m_pendingLow = char16_t(0xDC00 + (cp & 0x3FF));
            return char16_t(0xD800 + (cp >> 10));
        }
        return 0; // a byte that cannot start a character
    }
    m_atEnd = true;
    return kEndOfData;
}

std::size_t Utf8File::readUnits(char16_t* out, std::size_t max)
{
    std::size_t n = 0;
    while (n < max) {
        // ASCII (most of any markup) and three-byte characters (kana and most symbols) are
        // decoded here; everything else goes through readUnit.
        if (!m_pendingLow && !m_writing) {
            const unsigned char* src = m_buffer.data();
            std::size_t pos = m_readPos;
            const std::size_t size = m_buffer.size();
            while (n < max) {
                if (pos < size && src[pos] < 0x80) {
                    out[n] = char16_t(src[pos++]);
                    n += out[n] != u'\r';
                } else if (pos + 2 < size && (src[pos] & 0xF0) == 0xE0) {
                    const char16_t u =
                        char16_t(((src[pos] & 0x0F) << 12) | ((src[pos + 1] & 0x3F) << 6) | (src[pos + 2] & 0x3F));
                    pos += 3;
                    if (u != 0xFEFF)
                        out[n++] = u;
                } else {
                    break;
                }
            }
            m_readPos = pos;
            if (n == max)
                break;
        }
        const char16_t u = readUnit();
        if (m_atEnd && u == kEndOfData)
            break;
        out[n++] = u;
    }
    return n;
}

void Utf8File::readAll(std::u16string& out)
{
    // The text never has more code units than the data has bytes (four bytes give two units),
    // so one pass fills room made once; the loop only guards that reasoning.
    for (;;) {
        const std::size_t n = out.size();
        out.resize(n + 2 + (m_writing ? 0 : m_buffer.size() - std::min(m_readPos, m_buffer.size())));
        const std::size_t got = readUnits(out.data() + n, out.size() - n);
        out.resize(n + got);
        if (got == 0)
            return;
    }
}

std::optional<std::u16string> Utf8File::readField()
{
    std::u16string field;
    for (;;) {
        char16_t u = readUnit();
        if (m_atEnd && !m_pendingLow && u == kEndOfData)
            break;
        if (u == u'\t' || u == u'\n')
            break;
        field.push_back(u);
    }
    if (field.empty())
        return std::nullopt;
    return field;
}

void Utf8File::writeCodePoint(char32_t cp)
{
    unsigned char bytes[4];
    std::size_t n;
    if (cp < 0x80) {
        bytes[0] = static_cast<unsigned char>(cp);
        n = 1;
    } else if (cp < 0x800) {
        bytes[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        bytes[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 2;
    } else if (cp < 0x10000) {
        bytes[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 3;
    } else if (cp < 0x200000) {
        bytes[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
        bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 4;
    } else {
        return;
    }
    m_byteCount += n;
    if (m_fd < 0 || !m_writing)
        return;
    for (std::size_t i = 0; i < n; ++i)
        m_buffer.push_back(bytes[i]);
    if (m_buffer.size() >= kWriteChunk)
        flush();
}

void Utf8File::writeUnit(char16_t unit)
{
    if (m_pendingHigh) {
        char16_t high = *m_pendingHigh;
        m_pendingHigh.reset();
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            writeCodePoint(0x10000 + (char32_t(high - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
        // A high surrogate without its low half is written on its own, so that reading the file
        // back gives the same code units.
        writeCodePoint(high);
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        m_pendingHigh = unit;
        return;
    }
    writeCodePoint(unit);
}

void Utf8File::write(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        // Runs of ASCII go straight into the buffer; they are most of what Tenkora writes.
        if (!m_pendingHigh && m_fd >= 0 && m_writing && text[i] < 0x80) {
            std::size_t end = i;
            while (end < text.size() && text[end] < 0x80)
                ++end;
            m_buffer.insert(m_buffer.end(), text.begin() + std::ptrdiff_t(i), text.begin() + std::ptrdiff_t(end));
            m_byteCount += end - i;
            i = end;
            if (m_buffer.size() >= kWriteChunk)
                flush();
            continue;
        }
        writeUnit(text[i++]);
    }
}

bool Utf8File::flush()
{
    if (!m_writing)
        return true;
    if (m_pendingHigh) {
        char16_t high = *m_pendingHigh;
        m_pendingHigh.reset();
        writeCodePoint(high);
    }
    if (m_fd < 0) {
        m_buffer.clear();
        return false;
    }
    if (!m_buffer.empty() && !writeAll(m_fd, m_buffer.data(), m_buffer.size()))
        fail("cannot write");
    m_buffer.clear();
    return m_error.empty();
}

} // namespace braille
