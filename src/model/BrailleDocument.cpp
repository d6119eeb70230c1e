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
    }
    return {};
}

} // namespace braille
