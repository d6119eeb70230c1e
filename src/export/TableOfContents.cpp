#include "TableOfContents.h"

#include "CharacterDictionary.h"
#include "Pagination.h"
#include "RowLayout.h"

#include <string>

namespace braille {

namespace {

std::uint32_t cellsOf(const EntryList& entries)
{
    std::uint32_t n = 0;
    for (const BrailleCharacter* e : entries)
        n += std::uint32_t(e->cellCount());
    return n;
}

EntryList numberEntries(std::uint32_t page)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    EntryList out{d.findOrDefault(kTextSet, u"\uE003", u"#")};
    static constexpr std::u16string_view digits = u"０１２３４５６７８９";
    for (char c : std::to_string(page)) {
        const char16_t print = digits[std::size_t(c - '0')];
        const char16_t cell = c == '0' ? u'J' : char16_t(u'A' + (c - '1'));
        out.push_back(d.findOrDefault(kTextSet, std::u16string_view(&print, 1), std::u16string_view(&cell, 1)));
    }
    return out;
}

EntryList textEntries(std::u16string_view text)
{
    EntryList out;
    StoredCharMode mode = kTextSet;
    const char16_t* pos = text.data();
    CharacterDictionary::instance().convertText(mode, pos, pos + text.size(), out);
    return out;
}

} // namespace

std::vector<Heading> findHeadings(const BrailleDocument& document, const PageLayout& layout)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    std::vector<Heading> headings;
    std::uint32_t row = 0;
    for (const BrailleParagraph& p : document.sections[Body].paragraphs) {
        const CharacterSequence& chars = *p.characters;
        std::uint32_t blanks = 0;
        while (blanks < chars.size() && chars[blanks] == d.blankEntry())
            ++blanks;
        if ((blanks == 4 || blanks == 6 || blanks == 8) && blanks < chars.size() &&
            chars[blanks] != d.lineBreakEntry() && chars[blanks] != d.endMarkerEntry()) {
            Heading h;
            h.indent = blanks;
            for (std::size_t i = blanks; i < chars.size(); ++i)
                if (chars[i] != d.lineBreakEntry() && chars[i] != d.endMarkerEntry())
                    h.text.push_back(chars[i]);
            while (!h.text.empty() && h.text.back() == d.blankEntry())
                h.text.pop_back();
            h.page = pageOfRow(row, layout.LineNumber);
            headings.push_back(std::move(h));
        }
        row += std::uint32_t(p.rows.size());
    }
    return headings;
}

std::vector<EntryList> contentsLines(const std::vector<Heading>& headings, const PageLayout& layout)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    const BrailleCharacter* leader = d.rawCellEntry(kTextSet, u'3'); // dots 2-5
    std::vector<EntryList> lines;
    EntryList title(8, d.blankEntry());
    const EntryList word = textEntries(u"もくじ");
    title.insert(title.end(), word.begin(), word.end());
    lines.push_back(std::move(title));
    for (const Heading& h : headings) {
        EntryList line(h.indent, d.blankEntry());
        line.insert(line.end(), h.text.begin(), h.text.end());
        const EntryList number = numberEntries(h.page);
        // The leader fills the line so that the page number ends at the last cell; a heading too
        // long for that keeps a short leader and its number follows it.
        const std::uint32_t used = cellsOf(line) + 2 + cellsOf(number);
        const std::uint32_t dots = used + 2 <= layout.ColumnNumber ? layout.ColumnNumber - used : 2;
        line.push_back(d.blankEntry());
        line.insert(line.end(), dots, leader);
        line.push_back(d.blankEntry());
        line.insert(line.end(), number.begin(), number.end());
        lines.push_back(std::move(line));
    }
    return lines;
}

namespace {

void setContents(BrailleDocument& document, const std::vector<EntryList>& lines)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    DocumentSection& contents = document.sections[Contents];
    contents.forgetPlace();
    contents.paragraphs.clear();
    for (const EntryList& line : lines) {
        CharacterSequence* seq = document.newCharacterSequence();
        seq->assign(line.begin(), line.end());
        seq->push_back(d.lineBreakEntry());
        relayout(contents.paragraphs.emplace_back(seq), document.cellsPerLine);
    }
    CharacterSequence* last = document.newCharacterSequence();
    last->push_back(d.endMarkerEntry());
    relayout(contents.paragraphs.emplace_back(last), document.cellsPerLine);
    contents.rowCount = 0;
    for (const BrailleParagraph& p : contents.paragraphs)
        contents.rowCount += std::uint32_t(p.rows.size());
    document.modified = true;
}

} // namespace

bool composeTableOfContents(BrailleDocument& document, const PageLayout& layout)
{
    const std::vector<Heading> headings = findHeadings(document, layout);
    if (headings.empty())
        return false;
    setContents(document, contentsLines(headings, layout));
    return true;
}

void composeCombinedContents(const std::vector<std::vector<Heading>>& volumes, const PageLayout& layout,
                             BrailleDocument& out)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    std::vector<EntryList> lines;
    for (std::size_t v = 0; v < volumes.size(); ++v) {
        std::vector<EntryList> volume = contentsLines(volumes[v], layout);
        if (v == 0)
            lines.push_back(volume.front()); // the title once
        // "第N巻": the number with its number sign, as the rules would write it.
        EntryList heading(8, d.blankEntry());
        for (const EntryList& part : {textEntries(u"だい"), numberEntries(std::uint32_t(v + 1)), textEntries(u"かん")})
            heading.insert(heading.end(), part.begin(), part.end());
        lines.push_back(std::move(heading));
        lines.insert(lines.end(), std::next(volume.begin()), volume.end());
    }
    setContents(out, lines);
}

} // namespace braille
