#pragma once
// A position on one row of the current section: its paragraph, the row within that paragraph,
// and the row's number within the section. A short-lived value: it does not follow edits.

#include "BrailleDocument.h"

namespace braille {

class BrailleDocumentRowIterator : public BrailleDocumentTypeBase_ {
public:
    BrailleDocumentRowIterator() = default;
    // On row min(n, last) of the document's current section.
    BrailleDocumentRowIterator(BrailleDocument& document, std::uint32_t n);

    // Moves min(n, last - index) rows forward.
    void advance(std::uint32_t n);
    // One row forward or back, across paragraphs; false at the section's first or last row.
    bool next();
    bool previous();

    bool valid() const { return m_section && m_paragraph != m_section->paragraphs.end(); }
    BrailleParagraph& paragraph() const { return *m_paragraph; }
    ParagraphList::iterator paragraphPosition() const { return m_paragraph; }
    const BrailleRow& row() const { return m_paragraph->rows[m_row]; }
    std::size_t rowInParagraph() const { return m_row; }
    std::uint32_t index() const { return m_index; }
    std::uint32_t last() const { return m_last; }

    bool isParagraphsLastRow() const { return m_row + 1 >= m_paragraph->rows.size(); }
    bool isParagraphsFirstRow() const { return m_row == 0; }
    bool isSectionsFirstRow() const { return m_row == 0 && m_paragraph == m_section->paragraphs.begin(); }
    bool isSectionsLastRow() const
    {
        return isParagraphsLastRow() && std::next(m_paragraph) == m_section->paragraphs.end();
    }

private:
    DocumentSection* m_section = nullptr;
    ParagraphList::iterator m_paragraph{};
    std::size_t m_row = 0;
    std::uint32_t m_index = 0;
    std::uint32_t m_last = 0;
};

} // namespace braille
