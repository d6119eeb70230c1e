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

template <typename Visit>
void eachRow(const BrailleDocument& document, Visit visit)
{
    for (ConstBrailleDocumentRowIterator it(document, 0); it.valid();) {
        if (!visit(it))
            return;
        if (!it.next())
            return;
    }
}

std::size_t rowLength(const ConstBrailleDocumentRowIterator& it)
{
    std::size_t n = 0;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k)
        n += readAs(chars[k]).size();
    return n + (it.index() < it.last() ? 1 : 0);
}

} // namespace

std::u16string AccessibleText::rowText(std::uint32_t row) const
{
    std::u16string text;
    ConstBrailleDocumentRowIterator it(m_document, row);
    if (!it.valid() || it.index() != row)
        return text;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k)
        text += readAs(chars[k]);
    if (it.index() < it.last())
        text += u'\n';
    return text;
}

std::size_t AccessibleText::length() const
{
    std::size_t n = 0;
    eachRow(m_document, [&](const ConstBrailleDocumentRowIterator& it) {
        n += rowLength(it);
        return true;
    });
    return n;
}

std::size_t AccessibleText::rowStart(std::uint32_t row) const
{
    std::size_t n = 0;
    eachRow(m_document, [&](const ConstBrailleDocumentRowIterator& it) {
        if (it.index() >= row)
            return false;
        n += rowLength(it);
        return true;
    });
    return n;
}

std::uint32_t AccessibleText::rowAt(std::size_t offset) const
{
    std::size_t n = 0;
    std::uint32_t row = 0;
    eachRow(m_document, [&](const ConstBrailleDocumentRowIterator& it) {
        row = it.index();
        const std::size_t length = rowLength(it);
        if (offset < n + length)
            return false;
        n += length;
        return true;
    });
    return row;
}

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
    const std::uint32_t row = rowAt(offset);
    std::size_t n = rowStart(row);
    ConstBrailleDocumentRowIterator it(m_document, row);
    if (!it.valid())
        return {};
    std::uint32_t column = 0;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k) {
        const std::size_t units = readAs(chars[k]).size();
        if (offset < n + units || (units == 0 && offset == n))
            break;
        n += units;
        column += std::uint32_t(chars[k]->cellCount());
    }
    return {column, row};
}

std::pair<std::size_t, std::size_t> AccessibleText::lineAround(std::size_t offset) const
{
    const std::uint32_t row = rowAt(offset);
    const std::size_t start = rowStart(row);
    return {start, start + rowText(row).size()};
}

std::u16string AccessibleText::text(std::size_t start, std::size_t end) const
{
    std::u16string out;
    if (end <= start)
        return out;
    std::uint32_t row = rowAt(start);
    std::size_t at = rowStart(row);
    while (at < end) {
        const std::u16string line = rowText(row);
        if (line.empty())
            break;
        const std::size_t from = start > at ? start - at : 0;
        const std::size_t to = std::min(line.size(), end - at);
        if (from < to)
            out += line.substr(from, to - from);
        at += line.size();
        ++row;
    }
    return out;
}

std::pair<std::size_t, std::size_t> AccessibleText::wordAround(std::size_t offset) const
{
    const auto [lineStart, lineEnd] = lineAround(offset);
    const std::u16string line = text(lineStart, lineEnd);
    const auto separator = [](char16_t c) { return c == u'\u3000' || c == u'\n' || c == u' '; };
    std::size_t i = std::min(offset - lineStart, line.size());
    std::size_t start = i, end = i;
    while (start > 0 && !separator(line[start - 1]))
        --start;
    while (end < line.size() && !separator(line[end]))
        ++end;
    return {lineStart + start, lineStart + end};
}

const BrailleCharacter* AccessibleText::characterAt(std::uint32_t row, std::size_t column) const
{
    ConstBrailleDocumentRowIterator it(m_document, row);
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
    const std::uint32_t row = rowAt(offset);
    const BrailleCharacter* e = characterAt(row, offset - rowStart(row));
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
