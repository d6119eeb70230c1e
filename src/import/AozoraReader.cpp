// Aozora Bunko's text files: the title block, the notation block between dashed lines, ruby in
// 《》 (with ｜ where the base does not start at a change of script), annotations in ［＃］ and the
// bibliographic block from 底本： on.

#include "ParagraphBuilder.h"
#include "Readers.h"
#include "Utf.h"

#include <algorithm>
#include <optional>

namespace braille::import {

namespace {

constexpr char16_t kRubyStart = u'\uFF5C'; // ｜
constexpr char16_t kRubyOpen = u'\u300A';  // 《
constexpr char16_t kRubyClose = u'\u300B'; // 》
constexpr char16_t kBracketOpen = u'\uFF3B';  // ［
constexpr char16_t kBracketClose = u'\uFF3D'; // ］
constexpr char16_t kSharp = u'\uFF03';        // ＃
constexpr char16_t kGaijiMark = u'\u203B';    // ※

enum class Script { Kanji, Hiragana, Katakana, Latin, Other };

Script scriptOf(char16_t c)
{
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
        c == u'々' || c == u'〆' || c == u'ヶ' || c == u'〇')
        return Script::Kanji;
    if (c >= 0x3041 && c <= 0x309F)
        return Script::Hiragana;
    if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F))
        return Script::Katakana;
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
        (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A) ||
        (c >= 0xC0 && c <= 0x24F))
        return Script::Latin;
    return Script::Other;
}

// How many UTF-16 units before `end` make one character of `script` (a kanji outside the basic
// plane is a surrogate pair).
std::size_t unitsOf(std::u16string_view text, std::size_t end, Script script)
{
    if (end == 0)
        return 0;
    const char16_t last = text[end - 1];
    if (script == Script::Kanji && last >= 0xDC00 && last <= 0xDFFF && end >= 2 && text[end - 2] >= 0xD840 &&
        text[end - 2] <= 0xD8BF)
        return 2;
    return scriptOf(last) == script ? 1 : 0;
}

// Where the base of a reading begins when no ｜ marks it: the run of kanji before 《, or failing
// that the run of one script (kana, Latin letters) that ends there.
std::size_t baseStart(std::u16string_view text)
{
    std::size_t at = text.size();
    for (std::size_t n; (n = unitsOf(text, at, Script::Kanji)) > 0;)
        at -= n;
    if (at < text.size() || text.empty())
        return at;
    const Script script = scriptOf(text.back());
    if (script == Script::Other)
        return text.size();
    while (at > 0 && scriptOf(text[at - 1]) == script)
        --at;
    return at;
}

bool isDashedLine(std::u16string_view line)
{
    std::size_t dashes = 0;
    for (char16_t c : line) {
        if (c == u'-' || c == u'\uFF0D')
            ++dashes;
        else if (!isBlank(c))
            return false;
    }
    return dashes >= 10;
}

bool isBlankLine(std::u16string_view line)
{
    return std::all_of(line.begin(), line.end(), isBlank);
}

bool startsWith(std::u16string_view s, std::u16string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::u16string_view s, std::u16string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// 大見出し, 中見出し, 小見出し (also 同行… and 窓…) at the end of `s`: the heading level, else 0.
int headingLevelAtEnd(std::u16string_view s)
{
    if (endsWith(s, u"大見出し"))
        return 1;
    if (endsWith(s, u"中見出し"))
        return 2;
    if (endsWith(s, u"小見出し"))
        return 3;
    return 0;
}

bool isHeadingName(std::u16string_view s)
{
    if (startsWith(s, u"同行") || startsWith(s, u"窓"))
        s.remove_prefix(startsWith(s, u"同行") ? 2 : 1);
    return s == u"大見出し" || s == u"中見出し" || s == u"小見出し";
}

struct HeadingMark {
    std::size_t begin = 0;
    std::size_t end = std::u16string::npos; // open until the line ends
    int level = 0;
};

// One line with its notation read: the text and readings, the headings and page breaks found.
struct ParsedLine {
    PrintParagraph paragraph;
    std::vector<HeadingMark> headings;
    std::vector<std::size_t> breaks;
    int wholeLineLevel = 0;
    int blockStart = 0;    // ［＃ここから…見出し］
    bool blockEnd = false; // ［＃ここで…見出し終わり］
};

class AozoraLineParser {
public:
    explicit AozoraLineParser(ImportReport& report) : m_report(report) {}

    ParsedLine parse(std::u16string_view line)
    {
        ParsedLine out;
        std::u16string& text = out.paragraph.text;
        std::optional<std::size_t> marked;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char16_t c = line[i];
            if (c == kRubyStart) {
                marked = text.size();
                continue;
            }
            if (c == kRubyOpen) {
                const std::size_t close = line.find(kRubyClose, i + 1);
                if (close != std::u16string_view::npos) {
                    addRuby(out, marked, line.substr(i + 1, close - i - 1));
                    marked.reset();
                    i = close;
                    continue;
                }
            }
            if (c == kBracketOpen && i + 1 < line.size() && line[i + 1] == kSharp) {
                const std::size_t close = matchingBracket(line, i);
                if (close != std::u16string_view::npos) {
                    annotation(out, line.substr(i + 2, close - i - 2));
                    i = close;
                    continue;
                }
            }
            text.push_back(c);
        }
        return out;
    }

private:
    static std::size_t matchingBracket(std::u16string_view line, std::size_t open)
    {
        int depth = 0;
        for (std::size_t i = open; i < line.size(); ++i) {
            if (line[i] == kBracketOpen)
                ++depth;
            else if (line[i] == kBracketClose && --depth == 0)
                return i;
        }
        return std::u16string_view::npos;
    }

    void addRuby(ParsedLine& out, std::optional<std::size_t> marked, std::u16string_view reading)
    {
        const std::u16string& text = out.paragraph.text;
        const std::size_t begin = marked ? *marked : baseStart(text);
        if (begin >= text.size() || reading.empty()) {
            ++m_report.droppedAnnotations;
            noteOnce(m_report, "Readings in 《》 with no base text before them were dropped.");
            return;
        }
        out.paragraph.ruby.push_back({begin, text.size(), std::u16string(reading)});
    }

    void annotation(ParsedLine& out, std::u16string_view content)
    {
        std::u16string& text = out.paragraph.text;
        if (content == u"改ページ" || content == u"改丁" || content == u"改段" || content == u"改見開き") {
            out.breaks.push_back(text.size());
            noteOnce(m_report, "Page breaks (［＃改ページ］ and the like) are not kept as such: each ends a paragraph.");
            return;
        }
        if (startsWith(content, u"「")) {
            const std::size_t close = content.find(u"」は");
            const int level = close == std::u16string_view::npos ? 0 : headingLevelAtEnd(content);
            if (level > 0) {
                const std::u16string_view target = content.substr(1, close - 1);
                const std::size_t at = target.empty() ? std::u16string::npos : text.rfind(target);
                if (at == std::u16string::npos) {
                    out.wholeLineLevel = level;
                    noteOnce(m_report, "A heading whose text was not found before its annotation makes its whole line the heading.");
                } else {
                    out.headings.push_back({at, at + target.size(), level});
                }
                return;
            }
        }
        if (isHeadingName(content)) {
            out.headings.push_back({text.size(), std::u16string::npos, headingLevelAtEnd(content)});
            return;
        }
        if (endsWith(content, u"見出し終わり") && !startsWith(content, u"ここで")) {
            if (!out.headings.empty() && out.headings.back().end == std::u16string::npos) {
                out.headings.back().end = text.size();
                return;
            }
        }
        if (startsWith(content, u"ここから") && headingLevelAtEnd(content) > 0) {
            out.blockStart = headingLevelAtEnd(content);
            return;
        }
        if (startsWith(content, u"ここで") && endsWith(content, u"見出し終わり")) {
            out.blockEnd = true;
            return;
        }
        if (!text.empty() && text.back() == kGaijiMark)
            noteOnce(m_report, "Characters outside JIS stay as ※; their descriptions in ［＃］ were dropped.");
        ++m_report.droppedAnnotations;
    }

    ImportReport& m_report;
};

// Cuts a parsed line into paragraphs at its page breaks and heading bounds.
void emitLine(ParsedLine& line, int blockLevel, std::vector<PrintParagraph>& out)
{
    const std::u16string& text = line.paragraph.text;
    std::vector<std::size_t> cuts{0, text.size()};
    for (std::size_t at : line.breaks)
        cuts.push_back(at);
    for (HeadingMark& mark : line.headings) {
        mark.end = std::min(mark.end, text.size());
        cuts.push_back(mark.begin);
        cuts.push_back(mark.end);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const std::size_t a = cuts[k];
        const std::size_t b = cuts[k + 1];
        int level = blockLevel ? blockLevel : line.wholeLineLevel;
        for (const HeadingMark& mark : line.headings)
            if (mark.begin <= a && b <= mark.end && mark.begin < mark.end)
                level = mark.level;
        PrintParagraph paragraph;
        paragraph.text = text.substr(a, b - a);
        for (const RubySpan& span : line.paragraph.ruby)
            if (span.begin >= a && span.end <= b)
                paragraph.ruby.push_back({span.begin - a, span.end - a, span.reading});
        trimParagraph(paragraph);
        if (paragraph.text.empty())
            continue;
        if (level > 0) {
            paragraph.kind = PrintParagraph::Heading;
            paragraph.level = level;
        }
        out.push_back(std::move(paragraph));
    }
}

} // namespace

bool looksLikeAozora(std::u16string_view text)
{
    if (text.find(u"［＃") != std::u16string_view::npos ||
        text.find(u"【テキスト中に現れる記号について】") != std::u16string_view::npos)
        return true;
    const std::size_t open = text.find(kRubyOpen);
    return open != std::u16string_view::npos && text.find(kRubyClose, open) != std::u16string_view::npos;
}

std::string readAozoraText(std::u16string_view text, PrintBook& book)
{
    book.source = PrintBook::Source::AozoraText;
    std::vector<std::u16string_view> lines;
    forEachLine(text, [&](std::u16string_view line, std::size_t, bool) { lines.push_back(line); });

    AozoraLineParser parser(book.report);
    std::size_t i = 0;
    while (i < lines.size() && isBlankLine(lines[i]))
        ++i;

    // The title block: the first lines up to a blank or dashed line, the title first and the
    // author last.
    std::size_t headerEnd = i;
    while (headerEnd < lines.size() && !isBlankLine(lines[headerEnd]) && !isDashedLine(lines[headerEnd]))
        ++headerEnd;
    if (headerEnd > i && headerEnd - i <= 5 && headerEnd < lines.size()) {
        for (; i < headerEnd; ++i) {
            ParsedLine parsed = parser.parse(lines[i]);
            emitLine(parsed, 0, book.cover);
        }
        for (PrintParagraph& p : book.cover) {
            p.kind = PrintParagraph::Body;
            p.level = 0;
        }
        if (!book.cover.empty())
            book.title = book.cover.front().text;
        if (book.cover.size() >= 2)
            book.author = book.cover.back().text;
    } else {
        noteOnce(book.report, "No title block was found at the start of the text.");
    }

    // The notation block between two dashed lines says how the notation is used: not text.
    std::size_t j = i;
    while (j < lines.size() && isBlankLine(lines[j]))
        ++j;
    if (j < lines.size() && isDashedLine(lines[j])) {
        std::size_t close = j + 1;
        while (close < lines.size() && !isDashedLine(lines[close]))
            ++close;
        if (close < lines.size())
            i = close + 1;
        else
            i = j + 1;
    }

    int blockLevel = 0;
    std::vector<PrintParagraph>* target = &book.body;
    for (; i < lines.size(); ++i) {
        std::u16string_view line = lines[i];
        if (target == &book.body) {
            std::u16string_view start = line;
            while (!start.empty() && isBlank(start.front()))
                start.remove_prefix(1);
            if (startsWith(start, u"底本："))
                target = &book.colophon;
        }
        ParsedLine parsed = parser.parse(line);
        const int level = target == &book.body ? (blockLevel ? blockLevel : parsed.blockStart) : 0;
        emitLine(parsed, level, *target);
        if (parsed.blockStart)
            blockLevel = parsed.blockStart;
        if (parsed.blockEnd)
            blockLevel = 0;
    }
    return {};
}

} // namespace braille::import
