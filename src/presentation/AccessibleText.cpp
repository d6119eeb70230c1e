#include "AccessibleText.h"

#include "CharacterDictionary.h"
#include "Cells.h"
#include "SignNames.h"

namespace braille {

namespace {

bool isRuleBlankAfter(const BrailleCharacter* before, const BrailleCharacter* beforeThat)
{
    const auto is = [](const BrailleCharacter* e, std::u16string_view print) {
        return e && e->set == kTextSet && e->print == print;
    };
    const BrailleCharacter* blank = CharacterDictionary::instance().blankEntry();
    // The rules write two blanks after "。" and one after "、" (BrailleRules).
    return is(before, u"。") || is(before, u"、") || (before == blank && is(beforeThat, u"。"));
}

using RowIterator = ConstBrailleDocumentRowIterator;

// What the character k of a paragraph reads as.
std::u16string_view readAs(const CharacterSequence& chars, std::uint32_t k)
{
    const BrailleCharacter* e = chars[k];
    return AccessibleText::readingOf(e, k > 0 ? chars[k - 1] : nullptr, k > 1 ? chars[k - 2] : nullptr);
}

// Calls visit(k, entry, first unit, units) for each character of the iterator's row, the units
// counted from the row's start; returns the units of the row without its line feed. A visit
// that returns true stops the walk.
template <typename Visit>
std::size_t eachReading(const RowIterator& it, Visit visit)
{
    std::size_t n = 0;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k) {
        const std::size_t units = readAs(chars, k).size();
        if (visit(k, chars[k], n, units))
            return n;
        n += units;
    }
    return n;
}

std::size_t rowLength(const RowIterator& it)
{
    std::size_t n = 0;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k)
        n += readAs(chars, k).size();
    return n + (it.index() < it.last() ? 1 : 0);
}

// Appends the text of the iterator's row, its line feed included (except on the last row).
void appendRow(const RowIterator& it, std::u16string& out)
{
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k)
        out += readAs(chars, k);
    if (it.index() < it.last())
        out += u'\n';
}

} // namespace

std::u16string_view AccessibleText::readingOf(const BrailleCharacter* e, const BrailleCharacter* before,
                                              const BrailleCharacter* beforeThat)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    if (e == d.blankEntry())
        return isRuleBlankAfter(before, beforeThat) ? kRuleBlankName : u"\u3000";
    if (e == d.lineBreakEntry() || e == d.endMarkerEntry())
        return u"";
    if (const std::u16string_view name = signName(*e); !name.empty())
        return name;
    return e->print;
}

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
        n += readAs(chars, k).size();
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
        const std::size_t units = readAs(chars, k).size();
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
    // Words end at blank cells and at the line's end, whatever the blank reads as (a named
    // blank of the rules separates words as an ideographic space does). On a blank, the word
    // before it.
    const RowStart at = rowHolding(offset);
    if (!at.row.valid())
        return {at.start, at.start};
    const std::size_t column = offset - std::min(offset, at.start);
    const BrailleCharacter* blank = CharacterDictionary::instance().blankEntry();
    std::size_t start = 0, end = 0;
    bool found = false;
    const std::size_t length = eachReading(at.row, [&](std::uint32_t, const BrailleCharacter* e, std::size_t first,
                                                       std::size_t units) {
        if (!found) {
            if (column < first + units || (units == 0 && column == first)) {
                found = true;
                end = first;
            } else if (e == blank) {
                start = first + units;
            }
        }
        if (found) {
            if (e == blank)
                return true;
            end = first + units;
        }
        return false;
    });
    if (!found)
        end = length;
    start = std::min(start, end);
    return {at.start + start, at.start + end};
}

std::pair<std::size_t, std::size_t> AccessibleText::characterAround(std::size_t offset) const
{
    const RowStart at = rowHolding(offset);
    const std::size_t column = offset - std::min(offset, at.start);
    std::pair<std::size_t, std::size_t> span{offset, offset + 1}; // the line feed
    if (at.row.valid())
        eachReading(at.row, [&](std::uint32_t, const BrailleCharacter*, std::size_t first, std::size_t units) {
            if (column < first + units) {
                span = {at.start + first, at.start + first + units};
                return true;
            }
            return false;
        });
    return span;
}

const BrailleCharacter* AccessibleText::characterAt(const RowIterator& it, std::size_t column) const
{
    if (!it.valid())
        return nullptr;
    std::size_t n = 0;
    const CharacterSequence& chars = *it.paragraph().characters;
    for (std::uint32_t k = it.row().begin; k < it.row().end && k < chars.size(); ++k) {
        const std::size_t units = readAs(chars, k).size();
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
