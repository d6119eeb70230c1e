#include "BrailleDocumentRowIterator.h"

namespace braille {

BrailleDocumentRowIterator::BrailleDocumentRowIterator(BrailleDocument& document, std::uint32_t n)
    : m_section(&document.section()), m_paragraph(m_section->paragraphs.begin()),
      m_last(m_section->rowCount ? m_section->rowCount - 1 : 0)
{
    // Skip empty paragraphs, which exist only while a document is being read.
    while (m_paragraph != m_section->paragraphs.end() && m_paragraph->rows.empty())
        ++m_paragraph;
    advance(n);
}

void BrailleDocumentRowIterator::advance(std::uint32_t n)
{
    if (!valid())
        return;
    std::uint32_t remaining = std::min(n, m_last > m_index ? m_last - m_index : 0);
    // Whole paragraphs are passed over at once; the row reached is the same as stepping row by
    // row, and going to row r costs one step per paragraph instead of one per row.
    while (remaining > 0) {
        const std::size_t leftHere = m_paragraph->rows.size() - 1 - m_row;
        if (remaining <= leftHere) {
            m_row += remaining;
            m_index += remaining;
            return;
        }
        auto following = std::next(m_paragraph);
        while (following != m_section->paragraphs.end() && following->rows.empty())
            ++following;
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

bool BrailleDocumentRowIterator::next()
{
    if (!valid())
        return false;
    if (!isParagraphsLastRow()) {
        ++m_row;
    } else {
        auto following = std::next(m_paragraph);
        while (following != m_section->paragraphs.end() && following->rows.empty())
            ++following;
        if (following == m_section->paragraphs.end())
            return false;
        m_paragraph = following;
        m_row = 0;
    }
    ++m_index;
    return true;
}

bool BrailleDocumentRowIterator::previous()
{
    if (!valid())
        return false;
    if (m_row > 0) {
        --m_row;
    } else {
        auto before = m_paragraph;
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

} // namespace braille
