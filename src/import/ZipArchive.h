#pragma once
// A ZIP archive opened for reading (EPUB and DOCX are ZIP archives), through libzip. Opening
// checks the archive's consistency, so a truncated or damaged file is refused there.

#include <filesystem>
#include <optional>
#include <string>

struct zip;

namespace braille::import {

class ZipArchive {
public:
    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens `file`; on failure says why in `error`.
    bool open(const std::filesystem::path& file, std::string& error);

    bool contains(const std::string& name) const;
    // The entry's bytes, or nothing with `error` set (missing, too large, damaged).
    std::optional<std::string> read(const std::string& name, std::string& error) const;

private:
    long long locate(const std::string& name) const;
    struct zip* m_zip = nullptr;
};

} // namespace braille::import
