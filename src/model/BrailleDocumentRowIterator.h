#pragma once
// A position on one row of the current section: its paragraph, the row within that paragraph,
// and the row's number within the section. A short-lived value: it does not follow edits.
//
// BrailleDocumentRowIterator walks a document that may be edited through it (the cursor's);
// ConstBrailleDocumentRowIterator walks a const document, as painting does.

#include "BrailleDocument.h"

#include <algorithm>
#include <type_traits>

namespace braille {

template <typename Document>
class BasicBrailleDocumentRowIterator : public BrailleDocumentTypeBase_ {
public:
    static constexpr bool isConst = std::is_const_v<Document>;
    using Section = std::conditional_t<isConst, const DocumentSection, DocumentSection>;
    using Paragraph = std::conditional_t<isConst, const BrailleParagraph, BrailleParagraph>;
    using ParagraphIterator = std::conditional_t<isConst, ParagraphList::const_iterator, ParagraphList::iterator>;

    BasicBrailleDocumentRowIterator() = default;
    // On row min(n, last) of the document's current section.
    BasicBrailleDocumentRowIterator(Document& document, std::uint32_t n)
        : m_section(&document.section()), m_paragraph(m_section->paragraphs.begin()),
          m_last(m_section->rowCount ? m_section->rowCount - 1 : 0)
    {
        // Skip empty paragraphs, which exist only while a document is being read.
        while (m_paragraph != m_section->paragraphs.end() && m_paragraph->rows.empty())
            ++m_paragraph;
        advance(n);
    }

    // On row min(n, last), found from the section's kept place (near the last place asked for)
    // rather than from the section's start.
    static BasicBrailleDocumentRowIterator nearRow(Document& document, std::uint32_t n)
    {
        BasicBrailleDocumentRowIterator it;
        it.m_section = &document.section();
        if (it.m_section->rowCount == 0)
            return BasicBrailleDocumentRowIterator(document, n);
        it.m_last = it.m_section->rowCount - 1;
        const std::uint32_t row = std::min(n, it.m_last);
        const DocumentSection::Place place = it.m_section->placeOfRow(row);
        it.m_paragraph = place.paragraph;
        it.m_row = row - place.firstRow;
        it.m_index = row;
        return it;
    }

    // Moves min(n, last - index) rows forward.
    void advance(std::uint32_t n)
    {
        if (!valid())
            return;
        std::uint32_t remaining = std::min(n, m_last > m_index ? m_last - m_index : 0);
        // Whole paragraphs are passed over at once; the row reached is the same as stepping row
        // by row, and going to row r costs one step per paragraph instead of one per row.
        while (remaining > 0) {
            const std::size_t leftHere = m_paragraph->rows.size() - 1 - m_row;
            if (remaining <= leftHere) {
                m_row += remaining;
                m_index += remaining;
                return;
            }
            const ParagraphIterator following = nextWithRows(m_paragraph);
            if (following == m_section->paragraphs.end()) {
                m_row += leftHere;
                m_index += std::uint32_t(leftHere);
                return;
            }
            remaining -= std::uint32_t(leftHere + 1);
            m_index += std::uint32_t(leftHere + 1);
            m_paragraph = following;
            m_row = 0;
        }
    }

    // One row forward or back, across paragraphs; false at the section's first or last row.
    bool next()
    {
        if (!valid())
            return false;
        if (!isParagraphsLastRow()) {
            ++m_row;
        } else {
            const ParagraphIterator following = nextWithRows(m_paragraph);
            if (following == m_section->paragraphs.end())
                return false;
            m_paragraph = following;
            m_row = 0;
        }
        ++m_index;
        return true;
    }

    bool previous()
    {
        if (!valid())
            return false;
        if (m_row > 0) {
            --m_row;
        } else {
            ParagraphIterator before = m_paragraph;
            do {
                if (before == m_section->paragraphs.begin())
                    return false;
                --before;
            } while (before->rows.empty());
            m_paragraph = before;
            m_row = m_paragraph->rows.size() - 1;
        }
        --m_index;
        return true;
    }

    bool valid() const { return m_section && m_paragraph != m_section->paragraphs.end(); }
    Paragraph& paragraph() const { return *m_paragraph; }
    ParagraphIterator paragraphPosition() const { return m_paragraph; }
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
    ParagraphIterator nextWithRows(ParagraphIterator p) const
    {
        ParagraphIterator following = std::next(p);
        while (following != m_section->paragraphs.end() && following->rows.empty())
            ++following;
        return following;
    }

    Section* m_section = nullptr;
    ParagraphIterator m_paragraph{};
    std::size_t m_row = 0;
    std::uint32_t m_index = 0;
    std::uint32_t m_last = 0;
};

using BrailleDocumentRowIterator = BasicBrailleDocumentRowIterator<BrailleDocument>;
using ConstBrailleDocumentRowIterator = BasicBrailleDocumentRowIterator<const BrailleDocument>;

} // namespace braille
