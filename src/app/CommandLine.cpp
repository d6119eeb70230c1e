#include "CommandLine.h"

#include <algorithm>
#include <cctype>

namespace braille {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::optional<std::uint64_t> hexNumber(std::string_view s)
{
    if (s.empty() || s.size() > 16)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : s) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                      : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + std::uint64_t(digit);
    }
    return value;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    bool handleSeen = false;
    std::optional<std::uint64_t> handle;
    for (const std::string& argument : arguments) {
        const bool prefixed = !argument.empty() && (argument[0] == '-' || argument[0] == '/');
        const std::string option = prefixed ? lower(std::string_view(argument).substr(1)) : std::string();
        if (prefixed && option == "linkmode") {
            line.linkMode = true;
            continue;
        }
        if (prefixed && option.rfind("handle:", 0) == 0) {
            if (!handleSeen) {
                handleSeen = true;
                handle = hexNumber(std::string_view(argument).substr(8));
            }
            continue;
        }
        if (prefixed && argument[0] == '-')
            continue; // an option Tenkora does not know
        line.documentPath = argument;
    }
    if (line.linkMode && handle && *handle != 0)
        line.companion = handle;
    return line;
}

} // namespace braille
