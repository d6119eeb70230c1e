#pragma once
// Conversions between the UTF-16 text held in memory and UTF-8 at the edges (command line,
// terminal, files read whole).

#include <string>
#include <string_view>

namespace braille {

// Ill-formed input never fails: a byte that cannot be decoded becomes U+FFFD.
std::u16string fromUtf8(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view utf16);

} // namespace braille
