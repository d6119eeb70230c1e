#pragma once
// The core's UTF-16 text as Qt's, for everything the window shows.

#include <QString>

#include <string_view>

namespace braille {

inline QString qt(std::u16string_view text) { return QString::fromUtf16(text.data(), qsizetype(text.size())); }

} // namespace braille
