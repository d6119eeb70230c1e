#pragma once
// The user's own readings: names and terms with the braille they are to become, which override
// the analyser's reading and spacing. The file is UTF-8 text, one entry a line: the print, a
// tab, the braille kana (blanks as spaces or U+3000); `#` starts a comment line.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace braille::autotranslate {

struct UserReading {
    std::u16string print;
    std::u16string braille;
};

struct UserReadingError {
    int line = 0;
    std::string message;
};

// When the file was last written and how large it is: the window reads the file again only
// when either changed.
struct FileStamp {
    bool exists = false;
    std::filesystem::file_time_type written{};
    std::uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

class UserReadings {
public:
    UserReadings() = default;
    // Entries in file order: a later one for the same print replaces the earlier.
    explicit UserReadings(std::vector<UserReading> entries);
    // Malformed lines are skipped and reported with their line numbers.
    static UserReadings parse(std::u16string_view text, std::vector<UserReadingError>& errors);
    // readings.tsv in the settings folder: $TENKORA_CONFIG_DIR, else $XDG_CONFIG_HOME/Tenkora
    // (~/.config/Tenkora).
    static std::string defaultPath();
    static FileStamp stampOf(const std::string& path);
    // A missing file is an empty dictionary; an unreadable one is an error.
    static UserReadings load(const std::string& path, std::vector<UserReadingError>& errors);

    bool empty() const { return m_entries.empty(); }
    const std::vector<UserReading>& entries() const { return m_entries; }
    // The longest entry whose print starts at `text[at]`, or null.
    const UserReading* match(std::u16string_view text, std::size_t at) const;
    // Every entry whose print starts at `text[at]`, longest first.
    std::vector<const UserReading*> matches(std::u16string_view text, std::size_t at) const;

private:
    std::vector<UserReading> m_entries; // longest print first
    // For each first character, the entries starting with it (indexes, longest first), so a
    // book-length text with a large dictionary is matched in time.
    std::unordered_map<char16_t, std::vector<std::size_t>> m_byFirst;
};

} // namespace braille::autotranslate
