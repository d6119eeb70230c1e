#include "UserReadings.h"

#include "ConfigPaths.h"
#include "KanaSpelling.h"
#include "Utf.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace braille::autotranslate {

namespace {

std::u16string trim(std::u16string_view s)
{
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\u3000'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return std::u16string(s);
}

// Braille kana: kana, the long-vowel mark, blanks, digits and letters (the rules sign them).
bool isBrailleKana(std::u16string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char16_t c) {
        return isKana(std::u16string_view(&c, 1)) || c == u' ' || c == u'\u3000' || (c >= u'0' && c <= u'9') ||
               (c >= u'０' && c <= u'９') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
               (c >= u'ａ' && c <= u'ｚ') || (c >= u'Ａ' && c <= u'Ｚ');
    });
}

} // namespace

UserReadings UserReadings::parse(std::u16string_view text, std::vector<UserReadingError>& errors)
{
    std::vector<UserReading> entries;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string_view::npos)
            end = text.size();
        const std::u16string line = trim(text.substr(start, end - start));
        ++number;
        start = end + 1;
        if (line.empty() || line[0] == u'#')
            continue;
        const std::size_t tab = line.find(u'\t');
        if (tab == std::u16string::npos) {
            errors.push_back({number, "no tab between the print and its braille"});
            continue;
        }
        UserReading entry{trim(std::u16string_view(line).substr(0, tab)),
                          trim(std::u16string_view(line).substr(tab + 1))};
        if (entry.print.empty() || entry.braille.empty()) {
            errors.push_back({number, entry.print.empty() ? "the print is empty" : "the braille is empty"});
            continue;
        }
        if (entry.braille.find(u'\t') != std::u16string::npos) {
            errors.push_back({number, "more than two fields"});
            continue;
        }
        entry.braille = toKatakana(entry.braille);
        if (!isBrailleKana(entry.braille)) {
            errors.push_back({number, "the braille holds characters other than kana, blanks, digits and letters"});
            continue;
        }
        std::replace(entry.braille.begin(), entry.braille.end(), u' ', u'\u3000');
        entries.push_back(std::move(entry));
    }
    return UserReadings(std::move(entries));
}

std::string UserReadings::defaultPath()
{
    // In the settings folder, which TENKORA_CONFIG_DIR moves as it moves the settings.
    const std::filesystem::path folder = paths::configFolder();
    return folder.empty() ? std::string() : (folder / "readings.tsv").string();
}

FileStamp UserReadings::stampOf(const std::string& path)
{
    std::error_code ec;
    FileStamp stamp;
    stamp.written = std::filesystem::last_write_time(path, ec);
    if (ec)
        return {};
    stamp.size = std::filesystem::file_size(path, ec);
    stamp.exists = !ec;
    return stamp.exists ? stamp : FileStamp{};
}

UserReadings UserReadings::load(const std::string& path, std::vector<UserReadingError>& errors)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::error_code ec;
        if (std::filesystem::exists(path, ec))
            errors.push_back({0, "cannot read " + path});
        return {};
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        errors.push_back({0, "cannot read " + path});
        return {};
    }
    std::string bytes = buffer.str();
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    return parse(fromUtf8(bytes), errors);
}

UserReadings::UserReadings(std::vector<UserReading> entries)
{
    // A later entry for the same print replaces the earlier one; the index is built once, so a
    // dictionary of tens of thousands of entries loads in time linear in its size.
    std::unordered_map<std::u16string_view, std::size_t> byPrint;
    byPrint.reserve(entries.size());
    m_entries.reserve(entries.size());
    for (UserReading& entry : entries) {
        if (entry.print.empty())
            continue;
        if (auto it = byPrint.find(entry.print); it != byPrint.end()) {
            m_entries[it->second].braille = std::move(entry.braille);
            continue;
        }
        m_entries.push_back(std::move(entry));
        byPrint.emplace(m_entries.back().print, m_entries.size() - 1); // reserved: the views stay valid
    }
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const UserReading& a, const UserReading& b) { return a.print.size() > b.print.size(); });
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_byFirst[m_entries[i].print.front()].push_back(i);
}

const UserReading* UserReadings::match(std::u16string_view text, std::size_t at) const
{
    const std::vector<const UserReading*> all = matches(text, at);
    return all.empty() ? nullptr : all.front();
}

std::vector<const UserReading*> UserReadings::matches(std::u16string_view text, std::size_t at) const
{
    std::vector<const UserReading*> out;
    if (at >= text.size())
        return out;
    const auto it = m_byFirst.find(text[at]);
    if (it == m_byFirst.end())
        return out;
    for (std::size_t i : it->second)
        if (text.substr(at).starts_with(m_entries[i].print))
            out.push_back(&m_entries[i]);
    return out;
}

} // namespace braille::autotranslate
