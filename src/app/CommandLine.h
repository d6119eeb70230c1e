#pragma once
// The program's command line: a document to open, and the link-mode options with which the
// companion reading application starts the editor.
//
// Options begin with "-" or "/" and are compared without it and without regard to case:
// "linkmode" (the whole argument) and "handle:" followed by the companion's window id in
// hexadecimal (looked at only in link mode); the first match of each wins. Absolute paths begin
// with "/" here, so an argument beginning with "/" that is no known option is a path. The last
// argument that is not an option is the document to open.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace braille {

struct CommandLine {
    bool linkMode = false;
    std::optional<std::uint64_t> companion; // a non-zero window id in link mode
    std::string documentPath;               // empty: a new document
};

// `arguments` without the program's own path.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

} // namespace braille
