#pragma once
// Bytes of text from another program turned into UTF-16: UTF-8, UTF-16 with a byte order mark,
// Shift_JIS (as Windows writes it, CP932) or any encoding iconv knows by name.

#include <string>
#include <string_view>

namespace braille::import {

struct DecodedText {
    bool ok = false;
    std::u16string text;  // without a byte order mark
    std::string encoding; // what the bytes were read as
    std::string error;    // why not, in one line, when !ok
    std::size_t failedAt = 0; // the first byte that could not be decoded, when !ok
};

bool isValidUtf8(std::string_view bytes);

// Decodes with iconv from `encoding`; an unknown name or a byte sequence that is not of that
// encoding is an error that says where.
DecodedText decodeAs(std::string_view bytes, const std::string& encoding);

// With `encoding` empty: a byte order mark decides, else valid UTF-8 is UTF-8 and anything else
// is tried as CP932. Otherwise `encoding` is used as given.
DecodedText decodeText(std::string_view bytes, const std::string& encoding);

} // namespace braille::import
