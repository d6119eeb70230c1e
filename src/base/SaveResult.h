#pragma once
// The outcome of writing a file: done, or the reason it could not be done.
//
// Saving can fail for reasons outside the program (a full disk, a folder that is gone, a file
// that another program holds). The core returns the reason; the Qt layer shows it.

#include <string>
#include <utility>

namespace braille {

struct SaveResult {
    bool ok = true;
    std::string reason; // what went wrong, naming the file; empty on success

    static SaveResult failure(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

} // namespace braille
