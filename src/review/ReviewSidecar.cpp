#include "ReviewSidecar.h"

#include "AtomicSave.h"
#include "Utf.h"

#include <array>
#include <charconv>
#include <fstream>
#include <sstream>

namespace braille {

namespace {

constexpr std::string_view kHeader = "tenkora-review 1";

constexpr std::array<std::pair<ReviewKind, std::string_view>, 9> kKindNames = {{
    {ReviewKind::GuessedReading, "guessed"},
    {ReviewKind::UnknownWord, "unknown"},
    {ReviewKind::StrayNumberSign, "stray-number-sign"},
    {ReviewKind::DigitsWithoutNumberSign, "digits-without-number-sign"},
    {ReviewKind::KanaWithoutConnector, "kana-without-connector"},
    {ReviewKind::BlanksAfterPunctuation, "blanks-after-punctuation"},
    {ReviewKind::LettersWithoutForeignSign, "letters-without-foreign-sign"},
    {ReviewKind::BreakInsideWord, "break-inside-word"},
    {ReviewKind::EmptyParagraphs, "empty-paragraphs"},
}};

std::string escape(std::u16string_view text)
{
    std::string out;
    for (char c : toUtf8(text)) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i)
        if (i == line.size() || line[i] == '\t') {
            out.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    return out;
}

bool number(std::string_view text, std::uint32_t& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace

std::filesystem::path reviewSidecarPath(const std::filesystem::path& book)
{
    std::filesystem::path path = book;
    path += ".review";
    return path;
}

std::string writeReviewText(const std::vector<ReviewItem>& items)
{
    std::ostringstream out;
    out << kHeader << '\n';
    for (const ReviewItem& item : items) {
        std::string_view kind;
        for (const auto& [k, name] : kKindNames)
            if (k == item.kind)
                kind = name;
        out << kind << '\t' << sectionName(item.section) << '\t' << item.begin.paragraph << '\t'
            << item.begin.character << '\t' << item.end.paragraph << '\t' << item.end.character << '\t'
            << (item.done ? 1 : 0) << '\t' << item.count << '\t' << escape(item.print) << '\t'
            << escape(item.braille) << '\n';
    }
    return out.str();
}

SaveResult writeReviewSidecar(const std::filesystem::path& path, const std::vector<ReviewItem>& items)
{
    // The list file lies in the book's folder, which others may write to: a link planted there
    // under its name is never followed (it could point at any file of the user's).
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec))
        return SaveResult::failure("cannot write " + path.string() + ": it is a symbolic link");
    return saveBytesAtomically(path, writeReviewText(items));
}

ReviewRead parseReviewText(std::string_view text)
{
    ReviewRead read;
    read.found = true;
    std::size_t lineNumber = 0;
    const auto fail = [&](const char* why) {
        read.items.clear();
        read.error = std::to_string(lineNumber) + " 行目: " + why;
        return read;
    };
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (lineNumber == 1) {
            if (line != kHeader)
                return fail("確認リストのファイルではありません");
            continue;
        }
        if (line.empty())
            continue;
        const std::vector<std::string_view> f = fields(line);
        if (f.size() != 10)
            return fail("項目の数が合いません");
        ReviewItem item;
        bool kindKnown = false;
        for (const auto& [k, name] : kKindNames)
            if (name == f[0]) {
                item.kind = k;
                kindKnown = true;
            }
        if (!kindKnown)
            return fail("知らない種類の項目です");
        bool sectionKnown = false;
        for (int s = 0; s < kSectionCount; ++s)
            if (f[1] == sectionName(SectionKind(s))) {
                item.section = SectionKind(s);
                sectionKnown = true;
            }
        std::uint32_t done = 0;
        if (!sectionKnown || !number(f[2], item.begin.paragraph) || !number(f[3], item.begin.character) ||
            !number(f[4], item.end.paragraph) || !number(f[5], item.end.character) || !number(f[6], done) ||
            done > 1 || !number(f[7], item.count))
            return fail("場所の書き方が正しくありません");
        item.done = done == 1;
        const std::optional<std::string> print = unescape(f[8]), braille = unescape(f[9]);
        if (!print || !braille)
            return fail("文字の書き方が正しくありません");
        item.print = fromUtf8(*print);
        item.braille = fromUtf8(*braille);
        read.items.push_back(std::move(item));
    }
    if (lineNumber == 0)
        return fail("空のファイルです");
    return read;
}

ReviewRead readReviewSidecar(const std::filesystem::path& path)
{
    ReviewRead read;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return read;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        read.found = true;
        read.error = "ファイルを開けません";
        return read;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return parseReviewText(bytes.str());
}

} // namespace braille
