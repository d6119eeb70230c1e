#include "BmlReader.h"

#include "CharacterDictionary.h"
#include "RowLayout.h"
#include "XmlText.h"

#include <algorithm>
#include <fstream>

namespace braille {

namespace {

constexpr std::size_t kCacheSlots = 4096;

// A name ends at any of these, which is left unread. A tab is not among them: "<br\t/>" is not
// a br element.
bool endsName(char16_t c)
{
    return c == u'\n' || c == u' ' || c == u'"' || c == u'\'' || c == u'<' || c == u'=' || c == u'>';
}

bool isWhitespace(char16_t c) { return c == u'\n' || c == u' '; }

bool endsWith(const CharacterSequence& seq, const BrailleCharacter* c) { return !seq.empty() && seq.back() == c; }

} // namespace

BmlReader::BmlReader(const std::filesystem::path& path, ReadWindow window)
    : m_file(path, Utf8File::Read), m_window(window), m_dictionary(CharacterDictionary::instance())
{
    m_window.fillUnits = std::max<std::size_t>(m_window.fillUnits, 1);
}

bool BmlReader::fill()
{
    const std::size_t old = m_text.size();
    m_text.resize(old + m_window.fillUnits);
    const std::size_t got = m_file.readUnits(m_text.data() + old, m_window.fillUnits);
    m_text.resize(old + got);
    return got != 0;
}

// Only between elements: nothing refers into the window then.
void BmlReader::dropConsumed()
{
    if (m_pos < m_window.dropAfter)
        return;
    m_text.erase(0, m_pos);
    m_pos = 0;
    m_value = {};
}

std::size_t BmlReader::find(char16_t c, std::size_t from)
{
    for (;;) {
        const std::size_t at = m_text.find(c, from);
        if (at != std::u16string::npos)
            return at;
        from = m_text.size();
        if (!fill())
            return std::u16string::npos;
    }
}

std::size_t BmlReader::findQuoteOrClose(std::size_t from)
{
    for (;;) {
        const std::size_t at = m_text.find_first_of(u"\">", from);
        if (at != std::u16string::npos)
            return at;
        from = m_text.size();
        if (!fill())
            return std::u16string::npos;
    }
}

// The view stays valid until the window next grows.
std::u16string_view BmlReader::readName()
{
    const std::size_t start = m_pos;
    for (;;) {
        while (m_pos < m_text.size() && !endsName(m_text[m_pos]))
            ++m_pos;
        if (m_pos < m_text.size() || !fill())
            break;
    }
    return std::u16string_view(m_text).substr(start, m_pos - start);
}

void BmlReader::skipWhitespace()
{
    while (!atEnd() && isWhitespace(m_text[m_pos]))
        ++m_pos;
}

void BmlReader::skipPast(char16_t c)
{
    const std::size_t at = find(c, m_pos);
    m_pos = at == std::u16string::npos ? m_text.size() : at + 1;
}

// After "=": a value in double quotes. Anything else (no quote, or an empty pair) is an empty
// value; a quote that never closes takes the rest of the input. The view stays valid until the
// window next grows.
std::u16string_view BmlReader::readQuotedValue()
{
    m_value = {};
    skipWhitespace();
    std::size_t quotes = 0;
    while (!atEnd() && m_text[m_pos] == u'"') {
        ++quotes;
        ++m_pos;
    }
    if (quotes != 1)
        return m_value;
    const std::size_t close = find(u'"', m_pos);
    const std::size_t end = close == std::u16string::npos ? m_text.size() : close;
    m_value = std::u16string_view(m_text).substr(m_pos, end - m_pos);
    m_pos = close == std::u16string::npos ? end : close + 1;
    return m_value;
}

// The first quoted value of a line element, whatever attribute it belongs to. A ">" before
// either quote means the element has no value.
std::u16string BmlReader::readLineLabel()
{
    const std::size_t open = findQuoteOrClose(m_pos);
    if (open == std::u16string::npos || m_text[open] == u'>') {
        m_pos = open == std::u16string::npos ? m_text.size() : open + 1;
        return {};
    }
    m_pos = open + 1;
    const std::size_t close = findQuoteOrClose(m_pos);
    if (close == std::u16string::npos || m_text[close] == u'>') {
        m_pos = close == std::u16string::npos ? m_text.size() : close + 1;
        return {};
    }
    m_value = std::u16string_view(m_text).substr(m_pos, close - m_pos);
    m_pos = close + 1;
    return decodeReferences(m_value);
}

// A char element spelled as Tenkora and XML serialisers write it, with the end tag:
// ` mode="text" nabcc="CELLS">PRINT</char>` (or "math"). Reading it here gives what the general
// steps below give, with a fraction of the work; anything else returns none and reads nothing.
const BrailleCharacter* BmlReader::readUsualCharacter()
{
    static constexpr std::u16string_view text = u" mode=\"text\" nabcc=\"", math = u" mode=\"math\" nabcc=\"";
    if (m_text.size() - m_pos < text.size() + 2 && !fill())
        return nullptr;
    const std::u16string_view rest = std::u16string_view(m_text).substr(m_pos);
    std::uint16_t mode;
    if (rest.starts_with(text))
        mode = kTextSet;
    else if (rest.starts_with(math))
        mode = kMathSet;
    else
        return nullptr;
    // A second quote right away is the general case of an empty or odd value.
    const std::size_t open = m_pos + text.size();
    if ((open >= m_text.size() && !fill()) || m_text[open] == u'"')
        return nullptr;
    const std::size_t close = find(u'"', open);
    if (close == std::u16string::npos || close + 1 >= m_text.size() || m_text[close + 1] != u'>')
        return nullptr;
    if (std::any_of(m_text.begin() + std::ptrdiff_t(open), m_text.begin() + std::ptrdiff_t(close),
                    [](char16_t c) { return c == u'&' || (c >= u'a' && c <= u'z'); }))
        return nullptr;
    const std::size_t printStart = close + 2;
    const std::size_t printEnd = find(u'<', printStart);
    if (printEnd == std::u16string::npos)
        return nullptr;
    // Views only now: finding the print text's end may have grown the window.
    const std::u16string_view cells = std::u16string_view(m_text).substr(open, close - open);
    const std::u16string_view print = std::u16string_view(m_text).substr(printStart, printEnd - printStart);
    if (print.find(u'&') != std::u16string_view::npos)
        return nullptr;
    m_value = cells;
    m_pos = printEnd;
    const BrailleCharacter* e = lookUp(mode, print, cells);
    // The end tag, which the read step would otherwise skip as an element of its own.
    static constexpr std::u16string_view endTag = u"</char>";
    if (m_text.size() - m_pos < endTag.size())
        fill();
    if (std::u16string_view(m_text).substr(m_pos).starts_with(endTag))
        m_pos += endTag.size();
    return e;
}

// The attributes and content of a char element, after its name.
const BrailleCharacter* BmlReader::readCharacter()
{
    if (const BrailleCharacter* e = readUsualCharacter())
        return e;
    std::uint16_t mode = kTextSet;
    m_nabcc.clear();
    while (!atEnd()) {
        skipWhitespace();
        const std::u16string_view name = readName();
        const bool isMode = name == u"mode";
        if (isMode || name == u"nabcc") {
            skipWhitespace();
            if (atEnd())
                break;
            if (m_text[m_pos++] != u'=')
                continue;
            const std::u16string_view value = readQuotedValue();
            if (isMode) {
                if (value == u"text")
                    mode = kTextSet;
                else if (value == u"math")
                    mode = kMathSet;
                continue;
            }
            if (value.find(u'&') != std::u16string_view::npos)
                m_nabcc = decodeReferences(value);
            else
                m_nabcc.assign(value);
            // Cells are upper-case NABCC; some tools write the letters in lower case.
            for (char16_t& c : m_nabcc)
                if (c >= u'a' && c <= u'z')
                    c = char16_t(c - u'a' + u'A');
            continue;
        }
        if (atEnd())
            break;
        if (m_text[m_pos++] != u'>')
            continue;
        const std::size_t close = find(u'<', m_pos);
        const std::size_t end = close == std::u16string::npos ? m_text.size() : close;
        std::u16string_view print = std::u16string_view(m_text).substr(m_pos, end - m_pos);
        m_pos = end;
        if (print.find(u'&') != std::u16string_view::npos) {
            m_print = decodeReferences(print);
            print = m_print;
        }
        return lookUp(mode, print, m_nabcc);
    }
    return m_dictionary.defaultEntry(mode);
}

// The entry for a stored character: the stored mode's set, then the special set, then the
// mode's default entry. A math character that only the gaiji set (or the special set) knows is
// looked for there before it falls back to the default.
const BrailleCharacter* BmlReader::lookUp(std::uint16_t mode, std::u16string_view print, std::u16string_view nabcc)
{
    // Keys of reasonable size only, so that a file of endless distinct junk cannot grow the cache
    // beyond the size of its text.
    CacheSlot* slot = nullptr;
    if (print.size() + nabcc.size() <= 64) {
        m_key.assign(1, char16_t(mode));
        m_key.push_back(char16_t(print.size()));
        m_key += print;
        m_key += nabcc;
        std::uint32_t hash = 2166136261u; // FNV-1a
        for (char16_t c : m_key)
            hash = (hash ^ c) * 16777619u;
        if (m_cache.empty())
            m_cache.resize(kCacheSlots);
        slot = &m_cache[hash % kCacheSlots];
        if (slot->entry && slot->key == m_key)
            return slot->entry;
    }

    const CharacterDictionary& d = m_dictionary;
    const BrailleCharacter* e = d.findStored(mode, print, nabcc);
    if (!e)
        e = d.findStored(kSpecialSet, print, nabcc);
    if (!e)
        e = d.defaultEntry(mode);
    if (mode == kMathSet && e == d.defaultEntry(kMathSet)) {
        if (const BrailleCharacter* g = d.findStored(kGaijiSet, print, nabcc))
            e = g;
        else if (const BrailleCharacter* s = d.findStored(kSpecialSet, print, nabcc))
            e = s;
    }
    // Paragraph and section ends come only from br elements and section ends; a char element
    // that names the line break or the end marker must not split or end a paragraph.
    if (e == d.lineBreakEntry() || e == d.endMarkerEntry())
        e = d.defaultEntry(mode);

    if (slot) {
        slot->key = m_key;
        slot->entry = e;
    }
    return e;
}

void BmlReader::readUse(BrailleDocument& document)
{
    const std::size_t slash = find(u'/', m_pos);
    const std::size_t end = slash == std::u16string::npos ? m_text.size() : slash;
    const std::u16string_view attributes = std::u16string_view(m_text).substr(m_pos, end - m_pos);
    m_pos = end;
    m_useOrgPage = attributes.find(u"orgpage=\"yes\"") != std::u16string_view::npos;
    document.useOrgPage = m_useOrgPage;
}

// A section start tag replaces whatever the section held; characters already read stay pending
// and go into this section.
void BmlReader::startSection(BrailleDocument& document, SectionKind kind)
{
    document.currentSection = kind;
    document.section().paragraphs.clear();
}

void BmlReader::finishParagraph(BrailleDocument& document)
{
    DocumentSection& section = document.section();
    const BrailleCharacter* endMarker = m_dictionary.endMarkerEntry();
    std::vector<std::u16string> labels;
    BrailleParagraph* paragraph;
    if (!section.paragraphs.empty() && endsWith(*section.paragraphs.back().characters, endMarker)) {
        // The section was finished already (a repeated end tag, or sections inside each other):
        // the new characters continue its last paragraph, so that the end marker stays the last
        // character of the section and nothing read is lost.
        paragraph = &section.paragraphs.back();
        CharacterSequence& seq = *paragraph->characters;
        for (const BrailleRow& row : paragraph->rows)
            if (!(row.end == row.begin + 1 && seq[row.begin] == endMarker))
                labels.push_back(row.orgPage);
        seq.pop_back();
        seq.insert(seq.end(), m_pending->begin(), m_pending->end());
        m_pending->clear();
    } else {
        paragraph = &section.paragraphs.emplace_back(m_pending);
    }
    relayout(*paragraph, document.cellsPerLine);

    PendingOrgPages& pending = document.pendingOrgPages;
    if (document.useOrgPage) {
        labels.insert(labels.end(), pending.labels.begin() + std::ptrdiff_t(std::min(pending.next, pending.labels.size())),
                      pending.labels.end());
        for (std::size_t r = 0; r < paragraph->rows.size() && r < labels.size(); ++r)
            paragraph->rows[r].orgPage = std::move(labels[r]);
    }
    pending.labels.clear();
    pending.next = 0;
}

void BmlReader::finishSection(BrailleDocument& document)
{
    DocumentSection& section = document.section();
    const BrailleCharacter* endMarker = m_dictionary.endMarkerEntry();
    if (m_pending->empty()) {
        // A section already finished keeps its end; an empty one gets its end marker paragraph.
        if (section.paragraphs.empty() || !endsWith(*section.paragraphs.back().characters, endMarker)) {
            CharacterSequence* seq = document.newCharacterSequence();
            seq->push_back(endMarker);
            relayout(section.paragraphs.emplace_back(seq), document.cellsPerLine);
        }
    } else {
        m_pending->push_back(endMarker);
        finishParagraph(document);
        m_pending = document.newCharacterSequence();
    }
    document.recountRows();
}

// Characters after the last paragraph or section end are dropped. Sections that never ended
// (or never appeared) are ended here, so that every section ends with the end marker.
void BmlReader::finishDocument(BrailleDocument& document)
{
    const BrailleCharacter* endMarker = m_dictionary.endMarkerEntry();
    for (int k = 0; k < kSectionCount; ++k) {
        DocumentSection& section = document.sections[k];
        if (section.paragraphs.empty() || !endsWith(*section.paragraphs.back().characters, endMarker)) {
            m_endedEarly = m_endedEarly || !section.paragraphs.empty();
            CharacterSequence* seq = document.newCharacterSequence();
            seq->push_back(endMarker);
            relayout(section.paragraphs.emplace_back(seq), document.cellsPerLine);
        }
        document.currentSection = SectionKind(k);
        document.recountRows();
    }
    document.pendingOrgPages.labels.clear();
    document.pendingOrgPages.next = 0;
    document.currentSection = Body;
    document.complete = true;
    m_finished = true;
}

int BmlReader::readStep(BrailleDocument& document)
{
    if (m_finished)
        return kReadEnd;
    const CharacterDictionary& d = m_dictionary;
    m_pending = document.newCharacterSequence();
    for (;;) {
        dropConsumed();
        // Text and whitespace between elements are ignored.
        const std::size_t open = find(u'<', m_pos);
        if (open == std::u16string::npos) {
            m_pos = m_text.size();
            finishDocument(document);
            return kReadEnd;
        }
        m_pos = open + 1;
        // The name is a view into the window: it is compared before anything reads further.
        const std::u16string_view name = readName();
        if (name == u"char") {
            m_pending->push_back(readCharacter());
        } else if (name == u"br/") {
            m_pending->push_back(d.lineBreakEntry());
            finishParagraph(document);
            return kReadParagraph;
        } else if (name == u"line") {
            if (m_useOrgPage)
                document.pendingOrgPages.labels.push_back(readLineLabel());
            else
                skipPast(u'>');
        } else if (name == u"document") {
            m_sawDocument = true;
            skipPast(u'>');
        } else if (name == u"/char" || name == u"?xml" || name == u"header" || name == u"/header") {
            skipPast(u'>');
        } else if (name == u"/document") {
            skipPast(u'>');
            finishDocument(document);
            return kReadEnd;
        } else if (name == u"use") {
            readUse(document);
        } else if (name == u"cover" || name == u"contents" || name == u"body" || name == u"colophon") {
            const SectionKind kind = name == u"cover"      ? Cover
                                     : name == u"contents" ? Contents
                                     : name == u"body"     ? Body
                                                           : Colophon;
            skipPast(u'>');
            startSection(document, kind);
        } else if (name == u"/cover" || name == u"/contents" || name == u"/body" || name == u"/colophon") {
            skipPast(u'>');
            finishSection(document);
        }
        // Any other name ("head", "/line", ...) is left; the rest of the element reads as text.
    }
}

ForeignFile classifyForeignFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    char head[512];
    in.read(head, sizeof head);
    const std::string_view bytes(head, std::size_t(in.gcount()));
    if (bytes.empty())
        return ForeignFile::Empty;
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return ForeignFile::Utf16;
    // UTF-16 without a byte order mark: every other byte of ASCII markup is zero.
    if (bytes.find('\0') != std::string_view::npos)
        return bytes.size() >= 2 && (bytes[0] == '<' || bytes[1] == '<') ? ForeignFile::Utf16 : ForeignFile::Binary;
    std::size_t start = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' || bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    return start < bytes.size() && bytes[start] == '<' ? ForeignFile::Xml : ForeignFile::Text;
}

} // namespace braille
