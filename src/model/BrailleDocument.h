#pragma once
// The braille book in memory: four sections of paragraphs, each paragraph a sequence of
// characters laid out into rows.
//
// A character is a pointer to a dictionary entry and nothing more. The document owns every
// character sequence it ever created (`characterPool`); paragraphs point at their sequence and
// share it when a paragraph value is copied, and a sequence outlives the paragraph that used it
// until the document is destroyed. The rows of a paragraph are derived from its characters by
// `relayout` and carry the original-page label of the line.
//
// Invariants (checkInvariants):
//  1. every section has at least one paragraph;
//  2. every sequence is non-empty; the last paragraph of a section ends with the end marker,
//     every other paragraph with the line break, and neither appears anywhere else;
//  3. a paragraph's rows cover its characters in order without gap or overlap, each holding at
//     least one character, as `relayout` makes them;
//  4. `rowCount` of the current section is the number of rows of its paragraphs.

#include "BrailleCharacter.h"

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace braille {

class BrailleDocumentTypeBase_ {
public:
    virtual ~BrailleDocumentTypeBase_() = default;
};

class BrailleBlock_ : public BrailleDocumentTypeBase_ {};

using CharacterSequence = std::vector<const BrailleCharacter*>;

enum SectionKind : std::uint32_t { Cover = 0, Contents = 1, Body = 2, Colophon = 3 };
constexpr int kSectionCount = 4;

// The names BML gives the sections.
const char* sectionName(SectionKind kind);

struct BrailleRow {
    std::uint32_t begin = 0; // first character of the row in the paragraph's sequence
    std::uint32_t end = 0;   // one past its last character
    std::uint32_t width = 0; // cells; trailing blanks and the line break may go past the line width
    std::u16string orgPage;  // original-page label, empty when none
};

class BrailleParagraph {
public:
    explicit BrailleParagraph(CharacterSequence* characters = nullptr) : characters(characters) {}
    virtual ~BrailleParagraph() = default;
    BrailleParagraph(const BrailleParagraph&) = default;
    BrailleParagraph& operator=(const BrailleParagraph&) = default;

    CharacterSequence* characters; // owned by the document's characterPool
    std::vector<BrailleRow> rows;
};

using ParagraphList = std::list<BrailleParagraph>;

struct DocumentSection {
    SectionKind kind = Cover;
    ParagraphList paragraphs;
    std::uint32_t rowCount = 0;

    // Where a paragraph stands: its number in the section and its first row.
    struct Place {
        ParagraphList::iterator paragraph;
        std::uint32_t number = 0;
        std::uint32_t firstRow = 0;
    };
    // The place of a paragraph, of the paragraph with a number (clamped to the last), and of the
    // paragraph holding a row (clamped to the last row). Each is found from the place asked for
    // last, which is kept: edits happen at the caret, one near the other, so typing and pasting
    // do not walk the section from its start for every character.
    Place placeOf(ParagraphList::const_iterator paragraph) const;
    Place placeOfNumber(std::uint32_t number) const;
    Place placeOfRow(std::uint32_t row) const;
    // An edit of `paragraph` changed its rows by `rowDelta` (and may have put a paragraph after
    // it or taken the one after it away): rowCount follows, and the kept place stays only when it
    // is this paragraph, whose number and first row such an edit cannot change.
    void noteEdited(ParagraphList::const_iterator paragraph, std::int64_t rowDelta);
    // Anything else that changes the paragraphs forgets the kept place (recountRows does).
    void forgetPlace() const { m_kept.valid = false; }
    // A paragraph about to go takes the kept place with it.
    void forgetPlaceOf(ParagraphList::const_iterator paragraph) const
    {
        if (m_kept.valid && ParagraphList::const_iterator(m_kept.place.paragraph) == paragraph)
            m_kept.valid = false;
    }
    // Whether the kept place is where it claims to be (checkInvariants).
    bool keptPlaceIsTrue() const;

private:
    // Not copied with the section: it points into this section's own list.
    struct KeptPlace {
        Place place;
        bool valid = false;
        KeptPlace() = default;
        KeptPlace(const KeptPlace&) {}
        KeptPlace& operator=(const KeptPlace&)
        {
            valid = false;
            return *this;
        }
    };
    ParagraphList::iterator mutableBegin() const { return const_cast<ParagraphList&>(paragraphs).begin(); }
    void keep(const Place& place) const;
    mutable KeptPlace m_kept;
};

// Labels read from the line elements of a paragraph that is still being read.
struct PendingOrgPages {
    std::vector<std::u16string> labels;
    std::size_t next = 0;
};

class BrailleDocument : public BrailleBlock_ {
public:
    enum ForReadingTag { ForReading };

    // A new empty document: each section one paragraph holding only the end marker.
    BrailleDocument();
    // The same sections, left incomplete for a reader to fill.
    explicit BrailleDocument(ForReadingTag);
    ~BrailleDocument() override;
    BrailleDocument(const BrailleDocument&) = delete;
    BrailleDocument& operator=(const BrailleDocument&) = delete;

    CharacterSequence* newCharacterSequence();
    // Lays every section out again with a new line width (at least 1 cell).
    void setCellsPerLine(std::uint32_t cells);
    // rowCount of the current section from its paragraphs' rows.
    void recountRows();

    DocumentSection& section() { return sections[currentSection]; }
    const DocumentSection& section() const { return sections[currentSection]; }

    // Empty when the invariants hold; otherwise what is wrong, for tests and debugging.
    std::string checkInvariants() const;

    std::array<DocumentSection, kSectionCount> sections;
    SectionKind currentSection = Body;
    bool complete = false;
    bool modified = false;
    bool useOrgPage = false;
    // The line width the rows are laid out to. A new document takes the width in force for new
    // documents (pageLayout); setCellsPerLine changes it.
    std::uint32_t cellsPerLine;
    PendingOrgPages pendingOrgPages;
    std::vector<std::unique_ptr<CharacterSequence>> characterPool;

private:
    void setUpSections(bool forReading);
};

} // namespace braille
