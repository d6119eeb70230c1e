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

// Calls `each(line, start, last)` for every line of `text`, split at line feeds with a carriage
// return before one dropped: the line, where it starts in `text`, and whether it is the last.
// Text from other programs comes with either line ending.
template <typename Each>
void forEachLine(std::u16string_view text, Each&& each)
{
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(u'\n', start);
        const bool last = end == std::u16string_view::npos;
        if (last)
            end = text.size();
        std::u16string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        each(line, start, last);
        if (last)
            return;
        start = end + 1;
    }
}

} // namespace braille
