#include "BrailleDocument.h"

#include "CharacterDictionary.h"
#include "PageLayout.h"
#include "RowLayout.h"

#include <algorithm>

namespace braille {

const char* sectionName(SectionKind kind)
{
    static const char* const names[kSectionCount] = {"cover", "contents", "body", "colophon"};
    return kind < kSectionCount ? names[kind] : "";
}

BrailleDocument::BrailleDocument() : cellsPerLine(std::max<std::uint32_t>(pageLayout().ColumnNumber, 1))
{
    setUpSections(false);
    recountRows();
    complete = true;
}

BrailleDocument::BrailleDocument(ForReadingTag) : cellsPerLine(std::max<std::uint32_t>(pageLayout().ColumnNumber, 1))
{
    setUpSections(true);
}

BrailleDocument::~BrailleDocument() = default;

void BrailleDocument::setUpSections(bool forReading)
{
    const BrailleCharacter* endMarker = CharacterDictionary::instance().endMarkerEntry();
    for (int i = 0; i < kSectionCount; ++i) {
        DocumentSection& s = sections[i];
        s.kind = SectionKind(i);
        s.forgetPlace();
        s.paragraphs.clear();
        s.rowCount = 0;
        if (forReading)
            continue; // the reader makes every paragraph
        CharacterSequence* seq = newCharacterSequence();
        seq->push_back(endMarker);
        BrailleParagraph& p = s.paragraphs.emplace_back(seq);
        relayout(p, cellsPerLine);
        s.rowCount = std::uint32_t(p.rows.size());
    }
    currentSection = Body;
    complete = false;
    modified = false;
    useOrgPage = false;
    pendingOrgPages.next = 0;
}

void BrailleDocument::setCellsPerLine(std::uint32_t cells)
{
    cellsPerLine = std::max<std::uint32_t>(cells, 1);
    for (DocumentSection& s : sections) {
        for (BrailleParagraph& p : s.paragraphs) {
            // The labels go back to the new rows in order, as reading a file hands them out.
            std::vector<std::u16string> labels;
            for (BrailleRow& r : p.rows)
                labels.push_back(std::move(r.orgPage));
            relayout(p, cellsPerLine);
            for (std::size_t r = 0; r < p.rows.size() && r < labels.size(); ++r)
                p.rows[r].orgPage = std::move(labels[r]);
        }
        s.forgetPlace();
        s.rowCount = 0;
        for (const BrailleParagraph& p : s.paragraphs)
            s.rowCount += std::uint32_t(p.rows.size());
    }
}

CharacterSequence* BrailleDocument::newCharacterSequence()
{
    characterPool.push_back(std::make_unique<CharacterSequence>());
    return characterPool.back().get();
}

void BrailleDocument::recountRows()
{
    DocumentSection& s = section();
    s.forgetPlace();
    s.rowCount = 0;
    for (const BrailleParagraph& p : s.paragraphs)
        s.rowCount += std::uint32_t(p.rows.size());
}

std::string BrailleDocument::checkInvariants() const
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    for (int i = 0; i < kSectionCount; ++i) {
        const DocumentSection& s = sections[i];
        const std::string where = std::string(sectionName(SectionKind(i))) + ": ";
        if (s.kind != SectionKind(i))
            return where + "wrong kind";
        if (s.paragraphs.empty())
            return where + "no paragraph";
        std::uint32_t rows = 0;
        std::size_t number = 0;
        for (auto it = s.paragraphs.begin(); it != s.paragraphs.end(); ++it, ++number) {
            const std::string at = where + "paragraph " + std::to_string(number) + ": ";
            const CharacterSequence* seq = it->characters;
            if (!seq || seq->empty())
                return at + "empty sequence";
            const bool last = std::next(it) == s.paragraphs.end();
            if (seq->back() != (last ? d.endMarkerEntry() : d.lineBreakEntry()))
                return at + "wrong final character";
            for (std::size_t k = 0; k + 1 < seq->size(); ++k)
                if ((*seq)[k] == d.endMarkerEntry() || (*seq)[k] == d.lineBreakEntry() || (*seq)[k] == nullptr)
                    return at + "structural character inside at " + std::to_string(k);
            BrailleParagraph fresh(const_cast<CharacterSequence*>(seq));
            relayout(fresh, cellsPerLine);
            if (fresh.rows.size() != it->rows.size())
                return at + "rows differ from a fresh layout";
            for (std::size_t r = 0; r < fresh.rows.size(); ++r)
                if (fresh.rows[r].begin != it->rows[r].begin || fresh.rows[r].end != it->rows[r].end ||
                    fresh.rows[r].width != it->rows[r].width)
                    return at + "row " + std::to_string(r) + " differs from a fresh layout";
            rows += std::uint32_t(it->rows.size());
        }
        if (i == int(currentSection) && rows != s.rowCount)
            return where + "rowCount " + std::to_string(s.rowCount) + " but " + std::to_string(rows) + " rows";
        if (!s.keptPlaceIsTrue())
            return where + "the kept paragraph place is wrong";
    }
    return {};
}

void DocumentSection::keep(const Place& place) const
{
    m_kept.place = place;
    m_kept.valid = true;
}

DocumentSection::Place DocumentSection::placeOf(ParagraphList::const_iterator paragraph) const
{
    // Near the kept place first, a few paragraphs either way; else from the start.
    constexpr int kNear = 16;
    if (m_kept.valid) {
        Place forward = m_kept.place;
        for (int i = 0; i <= kNear && forward.paragraph != paragraphs.end(); ++i) {
            if (forward.paragraph == paragraph) {
                keep(forward);
                return forward;
            }
            forward.firstRow += std::uint32_t(forward.paragraph->rows.size());
            ++forward.number;
            ++forward.paragraph;
        }
        Place backward = m_kept.place;
        for (int i = 0; i < kNear && backward.paragraph != paragraphs.begin(); ++i) {
            --backward.paragraph;
            --backward.number;
            backward.firstRow -= std::uint32_t(backward.paragraph->rows.size());
            if (backward.paragraph == paragraph) {
                keep(backward);
                return backward;
            }
        }
    }
    Place place{mutableBegin(), 0, 0};
    while (place.paragraph != paragraphs.end() && place.paragraph != paragraph) {
        place.firstRow += std::uint32_t(place.paragraph->rows.size());
        ++place.number;
        ++place.paragraph;
    }
    if (place.paragraph != paragraphs.end())
        keep(place);
    return place;
}

DocumentSection::Place DocumentSection::placeOfNumber(std::uint32_t number) const
{
    if (paragraphs.empty())
        return {mutableBegin(), 0, 0};
    number = std::min(number, std::uint32_t(paragraphs.size() - 1));
    Place place = m_kept.valid ? m_kept.place : Place{mutableBegin(), 0, 0};
    // From the start when that is nearer than the kept place.
    if (m_kept.valid && number < place.number && number < place.number - number)
        place = Place{mutableBegin(), 0, 0};
    while (place.number < number) {
        place.firstRow += std::uint32_t(place.paragraph->rows.size());
        ++place.number;
        ++place.paragraph;
    }
    while (place.number > number) {
        --place.paragraph;
        --place.number;
        place.firstRow -= std::uint32_t(place.paragraph->rows.size());
    }
    keep(place);
    return place;
}

DocumentSection::Place DocumentSection::placeOfRow(std::uint32_t row) const
{
    if (paragraphs.empty())
        return {mutableBegin(), 0, 0};
    row = std::min(row, rowCount ? rowCount - 1 : 0);
    Place place = m_kept.valid ? m_kept.place : Place{mutableBegin(), 0, 0};
    if (m_kept.valid && row < place.firstRow && row < place.firstRow - row)
        place = Place{mutableBegin(), 0, 0};
    // Back to a paragraph that starts at or before the row, then on to the one that holds it
    // (paragraphs without rows, which exist only while a document is read, are passed over).
    while (place.firstRow > row && place.paragraph != paragraphs.begin()) {
        --place.paragraph;
        --place.number;
        place.firstRow -= std::uint32_t(place.paragraph->rows.size());
    }
    for (;;) {
        const std::uint32_t rows = std::uint32_t(place.paragraph->rows.size());
        if ((rows > 0 && row < place.firstRow + rows) || std::next(place.paragraph) == paragraphs.end())
            break;
        place.firstRow += rows;
        ++place.number;
        ++place.paragraph;
    }
    keep(place);
    return place;
}

void DocumentSection::noteEdited(ParagraphList::const_iterator paragraph, std::int64_t rowDelta)
{
    rowCount = std::uint32_t(std::int64_t(rowCount) + rowDelta);
    if (m_kept.valid && ParagraphList::const_iterator(m_kept.place.paragraph) != paragraph)
        m_kept.valid = false;
}

bool DocumentSection::keptPlaceIsTrue() const
{
    if (!m_kept.valid)
        return true;
    Place place{mutableBegin(), 0, 0};
    while (place.paragraph != paragraphs.end() && place.paragraph != m_kept.place.paragraph) {
        place.firstRow += std::uint32_t(place.paragraph->rows.size());
        ++place.number;
        ++place.paragraph;
    }
    return place.paragraph == m_kept.place.paragraph && place.number == m_kept.place.number &&
           place.firstRow == m_kept.place.firstRow;
}

} // namespace braille
