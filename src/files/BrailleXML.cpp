#include "BrailleXML.h"

#include "CharacterDictionary.h"
#include "RowLayout.h"
#include "XmlText.h"

namespace braille {

namespace {

// A name ends at any of these, which is left unread. A tab is not among them: "<br\t/>" is not
// a br element.
bool endsName(char16_t c)
{
    return c == u'\n' || c == u' ' || c == u'"' || c == u'\'' || c == u'<' || c == u'=' || c == u'>';
}

bool isWhitespace(char16_t c) { return c == u'\n' || c == u' '; }

bool endsWith(const CharacterSequence& seq, const BrailleCharacter* c) { return !seq.empty() && seq.back() == c; }

} // namespace

std::size_t BrailleXML::LookupKeyHash::operator()(const LookupKey& k) const
{
    const std::hash<std::u16string_view> h;
    return h(k.print) * 31 + h(k.nabcc) * 7 + k.mode;
}

BrailleXML::BrailleXML(const std::filesystem::path& path)
    : m_file(path, file_utf8::Read), m_dictionary(CharacterDictionary::instance())
{
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(path, ec);
    if (!ec)
        m_text.reserve(std::size_t(bytes));
    for (;;) {
        const char16_t u = m_file.readUnit();
        if (u == file_utf8::kEndOfData && m_file.atEnd())
            break;
        m_text.push_back(u);
    }
}

std::u16string_view BrailleXML::readName()
{
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && !endsName(m_text[m_pos]))
        ++m_pos;
    return std::u16string_view(m_text).substr(start, m_pos - start);
}

void BrailleXML::skipWhitespace()
{
    while (m_pos < m_text.size() && isWhitespace(m_text[m_pos]))
        ++m_pos;
}

void BrailleXML::skipPast(char16_t c)
{
    const std::size_t at = m_text.find(c, m_pos);
    m_pos = at == std::u16string::npos ? m_text.size() : at + 1;
}

// After "=": a value in double quotes. Anything else (no quote, or an empty pair) is an empty
// value; a quote that never closes takes the rest of the input.
void BrailleXML::readQuotedValue()
{
    m_value.clear();
    skipWhitespace();
    std::size_t quotes = 0;
    while (m_pos < m_text.size() && m_text[m_pos] == u'"') {
        ++quotes;
        ++m_pos;
    }
    if (quotes != 1)
        return;
    const std::size_t close = m_text.find(u'"', m_pos);
    const std::size_t end = close == std::u16string::npos ? m_text.size() : close;
    m_value.assign(m_text, m_pos, end - m_pos);
    m_pos = close == std::u16string::npos ? end : close + 1;
}

// The first quoted value of a line element, whatever attribute it belongs to. A ">" before
// either quote means the element has no value.
std::u16string BrailleXML::readLineLabel()
{
    const std::size_t open = m_text.find_first_of(u"\">", m_pos);
    if (open == std::u16string::npos || m_text[open] == u'>') {
        m_pos = open == std::u16string::npos ? m_text.size() : open + 1;
        return {};
    }
    m_pos = open + 1;
    const std::size_t close = m_text.find_first_of(u"\">", m_pos);
    if (close == std::u16string::npos || m_text[close] == u'>') {
        m_pos = close == std::u16string::npos ? m_text.size() : close + 1;
        return {};
    }
    m_value.assign(m_text, m_pos, close - m_pos);
    m_pos = close + 1;
    decodeReferencesInPlace(m_value);
    return m_value;
}

// The attributes and content of a char element, after its name.
const BrailleCharacter* BrailleXML::readCharacter()
{
    std::uint16_t mode = kTextSet;
    std::u16string nabcc;
    while (!atEnd()) {
        skipWhitespace();
        const std::u16string_view name = readName();
        if (name == u"mode" || name == u"nabcc") {
            skipWhitespace();
            if (atEnd())
                break;
            if (m_text[m_pos++] != u'=')
                continue;
            readQuotedValue();
            if (name == u"mode") {
                if (m_value == u"text")
                    mode = kTextSet;
                else if (m_value == u"math")
                    mode = kMathSet;
            } else {
                decodeReferencesInPlace(m_value);
                // Cells are upper-case NABCC; some tools write the letters in lower case.
                for (char16_t& c : m_value)
                    if (c >= u'a' && c <= u'z')
                        c = char16_t(c - u'a' + u'A');
                nabcc = m_value;
            }
            continue;
        }
        if (atEnd())
            break;
        if (m_text[m_pos++] != u'>')
            continue;
        const std::size_t close = m_text.find(u'<', m_pos);
        const std::size_t end = close == std::u16string::npos ? m_text.size() : close;
        std::u16string print(m_text, m_pos, end - m_pos);
        m_pos = end;
        decodeReferencesInPlace(print);
        return lookUp(mode, print, nabcc);
    }
    return m_dictionary.defaultEntry(mode);
}

// The entry for a stored character: the stored mode's set, then the special set, then the
// mode's default entry. A math character that only the gaiji set (or the special set) knows is
// looked for there before it falls back to the default.
const BrailleCharacter* BrailleXML::lookUp(std::uint16_t mode, const std::u16string& print, const std::u16string& nabcc)
{
    m_key.mode = mode;
    m_key.print = print;
    m_key.nabcc = nabcc;
    if (auto it = m_cache.find(m_key); it != m_cache.end())
        return it->second;

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

    // Keys of reasonable size only, so that a file of endless distinct junk cannot grow the cache
    // beyond the size of its text.
    if (print.size() + nabcc.size() <= 64)
        m_cache.emplace(m_key, e);
    return e;
}

void BrailleXML::readUse(BrailleDocument& document)
{
    const std::size_t slash = m_text.find(u'/', m_pos);
    const std::size_t end = slash == std::u16string::npos ? m_text.size() : slash;
    const std::u16string_view attributes = std::u16string_view(m_text).substr(m_pos, end - m_pos);
    m_pos = end;
    m_useOrgPage = attributes.find(u"orgpage=\"yes\"") != std::u16string_view::npos;
    document.useOrgPage = m_useOrgPage;
}

// A section start tag replaces whatever the section held; characters already read stay pending
// and go into this section.
void BrailleXML::startSection(BrailleDocument& document, SectionKind kind)
{
    document.currentSection = kind;
    document.section().paragraphs.clear();
}

void BrailleXML::finishParagraph(BrailleDocument& document)
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
    relayout(*paragraph);

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

void BrailleXML::finishSection(BrailleDocument& document)
{
    DocumentSection& section = document.section();
    const BrailleCharacter* endMarker = m_dictionary.endMarkerEntry();
    if (m_pending->empty()) {
        // A section already finished keeps its end; an empty one gets its end marker paragraph.
        if (section.paragraphs.empty() || !endsWith(*section.paragraphs.back().characters, endMarker)) {
            CharacterSequence* seq = document.newCharacterSequence();
            seq->push_back(endMarker);
            relayout(section.paragraphs.emplace_back(seq));
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
void BrailleXML::finishDocument(BrailleDocument& document)
{
    const BrailleCharacter* endMarker = m_dictionary.endMarkerEntry();
    for (int k = 0; k < kSectionCount; ++k) {
        DocumentSection& section = document.sections[k];
        if (section.paragraphs.empty() || !endsWith(*section.paragraphs.back().characters, endMarker)) {
            CharacterSequence* seq = document.newCharacterSequence();
            seq->push_back(endMarker);
            relayout(section.paragraphs.emplace_back(seq));
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

int BrailleXML::readStep(BrailleDocument& document)
{
    if (m_finished)
        return kReadEnd;
    const CharacterDictionary& d = m_dictionary;
    m_pending = document.newCharacterSequence();
    for (;;) {
        // Text and whitespace between elements are ignored.
        const std::size_t open = m_text.find(u'<', m_pos);
        if (open == std::u16string::npos) {
            m_pos = m_text.size();
            finishDocument(document);
            return kReadEnd;
        }
        m_pos = open + 1;
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
        } else if (name == u"/char" || name == u"?xml" || name == u"document" || name == u"header" ||
                   name == u"/header") {
            skipPast(u'>');
        } else if (name == u"/document") {
            skipPast(u'>');
            finishDocument(document);
            return kReadEnd;
        } else if (name == u"use") {
            readUse(document);
        } else if (name == u"cover" || name == u"contents" || name == u"body" || name == u"colophon") {
            skipPast(u'>');
            startSection(document, name == u"cover"      ? Cover
                                   : name == u"contents" ? Contents
                                   : name == u"body"     ? Body
                                                         : Colophon);
        } else if (name == u"/cover" || name == u"/contents" || name == u"/body" || name == u"/colophon") {
            skipPast(u'>');
            finishSection(document);
        }
        // Any other name ("head", "/line", ...) is left; the rest of the element reads as text.
    }
}

} // namespace braille
