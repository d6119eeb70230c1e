#pragma once
// The local time now, formatted with strftime (for file headers and records).

#include <ctime>
#include <string>

namespace braille {

inline std::string localTimeText(const char* format)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    return std::strftime(text, sizeof text, format, &local) ? std::string(text) : std::string();
}

} // namespace braille
