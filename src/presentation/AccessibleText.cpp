#include "AccessibleText.h"

#include "CharacterDictionary.h"
#include "Cells.h"

namespace braille {

namespace {

// What a character reads as, and how many units that is.
std::u16string_view readAs(const BrailleCharacter* e)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    if (e == d.blankEntry())
        return u"\u3000";
    if (e == d.lineBreakEntry() || e == d.endMarkerEntry())
        return u"";
    return e->print;
}

using RowIterator = ConstBrailleDocumentRowIterator;

std::size_t rowLength(const RowIterator& it)
{
    std::size_t n = 0;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k)
        n += readAs(chars[k]).size();
    return n + (it.index() < it.last() ? 1 : 0);
}

// Appends the text of the iterator's row, its line feed included (except on the last row).
void appendRow(const RowIterator& it, std::u16string& out)
{
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k)
        out += readAs(chars[k]);
    if (it.index() < it.last())
        out += u'\n';
}

} // namespace

// Every answer walks the rows once from the section's start, a paragraph's rows at a time and
// each row's characters once: a question costs time in proportion to the text before its answer,
// and the whole text no more than one pass over the section.

AccessibleText::RowStart AccessibleText::rowHolding(std::size_t offset) const
{
    RowStart at{RowIterator(m_document, 0), 0};
    while (at.row.valid()) {
        const std::size_t length = rowLength(at.row);
        if (offset < at.start + length || !at.row.next())
            break;
        at.start += length;
    }
    return at;
}

std::u16string AccessibleText::rowText(std::uint32_t row) const
{
    std::u16string text;
    const RowIterator it(m_document, row);
    if (it.valid() && it.index() == row)
        appendRow(it, text);
    return text;
}

std::size_t AccessibleText::length() const
{
    std::size_t n = 0;
    for (RowIterator it(m_document, 0); it.valid();) {
        n += rowLength(it);
        if (!it.next())
            break;
    }
    return n;
}

std::size_t AccessibleText::rowStart(std::uint32_t row) const
{
    std::size_t n = 0;
    for (RowIterator it(m_document, 0); it.valid() && it.index() < row;) {
        n += rowLength(it);
        if (!it.next())
            break;
    }
    return n;
}

std::uint32_t AccessibleText::rowAt(std::size_t offset) const { return rowHolding(offset).row.index(); }

std::size_t AccessibleText::offsetOf(const BrailleDocumentCursor& cursor) const
{
    if (!cursor.isAttached())
        return 0;
    std::size_t n = rowStart(cursor.row());
    const CharacterSequence& chars = *cursor.rows.paragraph().characters;
    for (std::uint32_t k = cursor.rows.row().begin; k < cursor.character && k < cursor.rows.row().end && k < chars.size(); ++k)
        n += readAs(chars[k]).size();
    return n;
}

CellPosition AccessibleText::positionAt(std::size_t offset) const
{
    const RowStart at = rowHolding(offset);
    if (!at.row.valid())
        return {};
    std::size_t n = at.start;
    std::uint32_t column = 0;
    const CharacterSequence& chars = *at.row.paragraph().characters;
    for (std::uint32_t k = at.row.row().begin; k < at.row.row().end && k < chars.size(); ++k) {
        const std::size_t units = readAs(chars[k]).size();
        if (offset < n + units || (units == 0 && offset == n))
            break;
        n += units;
        column += std::uint32_t(chars[k]->cellCount());
    }
    return {column, at.row.index()};
}

std::pair<std::size_t, std::size_t> AccessibleText::lineAround(std::size_t offset) const
{
    const RowStart at = rowHolding(offset);
    return {at.start, at.start + (at.row.valid() ? rowLength(at.row) : 0)};
}

std::u16string AccessibleText::text(std::size_t start, std::size_t end) const
{
    std::u16string out;
    if (end <= start)
        return out;
    RowStart at = rowHolding(start);
    std::u16string line;
    while (at.row.valid() && at.start < end) {
        line.clear();
        appendRow(at.row, line);
        const std::size_t from = start > at.start ? start - at.start : 0;
        const std::size_t to = std::min(line.size(), end - at.start);
        if (from < to)
            out.append(line, from, to - from);
        at.start += line.size();
        if (!at.row.next())
            break;
    }
    return out;
}

std::pair<std::size_t, std::size_t> AccessibleText::wordAround(std::size_t offset) const
{
    const RowStart at = rowHolding(offset);
    std::u16string line;
    if (at.row.valid())
        appendRow(at.row, line);
    const auto separator = [](char16_t c) { return c == u'\u3000' || c == u'\n' || c == u' '; };
    std::size_t i = std::min(offset - std::min(offset, at.start), line.size());
    std::size_t start = i, end = i;
    while (start > 0 && !separator(line[start - 1]))
        --start;
    while (end < line.size() && !separator(line[end]))
        ++end;
    return {at.start + start, at.start + end};
}

const BrailleCharacter* AccessibleText::characterAt(const RowIterator& it, std::size_t column) const
{
    if (!it.valid())
        return nullptr;
    std::size_t n = 0;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k) {
        const std::size_t units = readAs(chars[k]).size();
        if (column < n + units)
            return chars[k];
        n += units;
    }
    return nullptr;
}

std::u16string AccessibleText::attributesAt(std::size_t offset) const
{
    const RowStart at = rowHolding(offset);
    const BrailleCharacter* e = characterAt(at.row, offset - std::min(offset, at.start));
    if (!e)
        return {};
    std::u16string dots;
    for (char16_t cell : e->nabcc) {
        const int mask = cellToDots(cell);
        if (mask < 0)
            continue;
        if (!dots.empty())
            dots += u',';
        bool first = true;
        for (int d = 0; d < 6; ++d)
            if (mask & (1 << d)) {
                if (!first)
                    dots += u'-';
                dots += char16_t(u'1' + d);
                first = false;
            }
        if (mask == 0)
            dots += u'0'; // the blank cell
    }
    const std::u16string_view set = e->set == 4 ? u"braille" : isMathSet(e->set) ? u"math" : u"text";
    return u"braille-dots:" + dots + u";braille-set:" + std::u16string(set);
}

} // namespace braille
