#include "TextDecoding.h"

#include <bit>
#include <cerrno>
#include <iconv.h>

namespace braille::import {

namespace {

constexpr const char* kNativeUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Closes the conversion descriptor on every way out.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (valid())
            iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

void dropByteOrderMark(std::u16string& text)
{
    if (!text.empty() && text.front() == u'\uFEFF')
        text.erase(0, 1);
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n)
                return false;
            const auto cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((more == 2 && cp < 0x800) || (more == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

DecodedText decodeAs(std::string_view bytes, const std::string& encoding)
{
    DecodedText result;
    result.encoding = encoding;
    IconvHandle cd(kNativeUtf16, encoding.c_str());
    if (!cd.valid()) {
        result.error = "the encoding \"" + encoding + "\" is not one this system knows";
        return result;
    }
    std::u16string out(bytes.size() + 8, u'\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t used = 0;
    for (;;) {
        char* outPtr = reinterpret_cast<char*>(out.data() + used);
        std::size_t outLeft = (out.size() - used) * sizeof(char16_t);
        const std::size_t before = outLeft;
        const std::size_t r = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        used += (before - outLeft) / sizeof(char16_t);
        if (r != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
            continue;
        }
        const std::size_t at = bytes.size() - inLeft;
        result.failedAt = at;
        if (errno == EILSEQ)
            result.error = "the text is not valid " + encoding + " (at byte " + std::to_string(at) + ")";
        else
            result.error = "the text ends in the middle of a " + encoding + " character";
        return result;
    }
    out.resize(used);
    dropByteOrderMark(out);
    result.text = std::move(out);
    result.ok = true;
    return result;
}

DecodedText decodeText(std::string_view bytes, const std::string& encoding)
{
    if (!encoding.empty())
        return decodeAs(bytes, encoding);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return decodeAs(bytes.substr(2), "UTF-16LE");
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF)
        return decodeAs(bytes.substr(2), "UTF-16BE");
    if (isValidUtf8(bytes))
        return decodeAs(bytes, "UTF-8");
    DecodedText sjis = decodeAs(bytes, "CP932");
    if (!sjis.ok)
        sjis.error = "the text is neither UTF-8, UTF-16 with a byte order mark nor Shift_JIS (at byte " +
                     std::to_string(sjis.failedAt) + "); name its encoding";
    return sjis;
}

} // namespace braille::import
