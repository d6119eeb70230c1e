#pragma once
// Helpers shared by the core tests: temporary folders, files written byte for byte, UTF-8 at
// the edges, and the process-wide dictionary filled from the shipped tables.

#include "CharacterDictionary.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace braille::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path file(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void writeBytes(const std::filesystem::path& path, std::string_view bytes);
std::string readBytes(const std::filesystem::path& path);

// A dictionary loaded from table files made of the given contents (file name to bytes).
std::unique_ptr<CharacterDictionary> dictionaryFromTables(const std::map<std::string, std::string>& files);

// The process-wide dictionary, filled once with the shipped tables (those copied beside the test
// executable).
const CharacterDictionary& shippedDictionary();
// The repository's source folder (for test data).
std::filesystem::path sourceDir();

std::string u8(std::u16string_view s);
std::u16string u16(std::string_view s);

} // namespace braille::test
