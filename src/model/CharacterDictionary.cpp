#include "CharacterDictionary.h"

#include "Cells.h"

#include <algorithm>

namespace braille {

CharacterDictionary::CharacterDictionary()
{
    for (SetNumber n = 0; n < kSetCount; ++n) {
        m_printSets[n] = std::make_unique<CharacterSet>(n);
        m_keySets[n] = std::make_unique<CharacterSet>(n);
    }
    m_defaultEntries[kTextSet] = add(u"", kTextSet, u"\u2612", u" ");
    m_defaultEntries[kMathSet] = add(u"", kMathSet, u"\u2612", u" ");
    m_lineBreak = add(u"\n", kSpecialSet, u"\u21B2", u"\n");
    m_blank = add(u" ", kSpecialSet, u"\u25A1", u" ");
    add(u"\u3000", kSpecialSet, u"\u25A1", u" "); // the ideographic space is a second key of the blank
    m_endMarker = add(u"\uFEFF", kSpecialSet, u"*", u" ");
    for (char16_t code = kFirstCell; code <= kLastCell; ++code) {
        const char16_t pua[1] = {cellToPrivate(code)};
        const char16_t cell[1] = {code};
        add({pua, 1}, kTextSet, {pua, 1}, {cell, 1});
        add({pua, 1}, kMathSet, {pua, 1}, {cell, 1});
    }
}

CharacterDictionary& CharacterDictionary::instance()
{
    static CharacterDictionary dictionary;
    return dictionary;
}

const BrailleCharacter* CharacterDictionary::add(std::u16string_view source, SetNumber set,
                                                 std::u16string_view print, std::u16string_view nabcc)
{
    CharacterSet& s = printSetForLoading(set);
    const BrailleCharacter* e = s.findOrCreate(print, nabcc);
    s.addSource(source, e);
    return e;
}

const BrailleCharacter* CharacterDictionary::defaultEntry(SetNumber set) const
{
    return set < kSetCount ? m_defaultEntries[set] : nullptr;
}

const SixDotPair& CharacterDictionary::gaijiSixDot(int i) const
{
    static const SixDotPair none;
    return i >= 1 && i <= 64 ? m_sixDot[i - 1] : none;
}

void CharacterDictionary::setGaijiSixDot(int i, std::u16string print, std::u16string nabcc)
{
    if (i >= 1 && i <= 64)
        m_sixDot[i - 1] = {std::move(print), std::move(nabcc)};
}

void CharacterDictionary::addCommaAlternates()
{
    printSetForLoading(kTextSet).createAlternate(u"\uFF0C", u"'");
    printSetForLoading(kMathSet).createAlternate(u"\uFF0C", u"'");
}

const BrailleCharacter* CharacterDictionary::find(SetNumber set, std::u16string_view print,
                                                  std::u16string_view nabcc) const
{
    const CharacterSet& s = printSet(set);
    if (const BrailleCharacter* e = s.firstByPrint(print)) {
        if (e->nabcc == nabcc)
            return e;
        if (const BrailleCharacter* byCells = s.firstBySource(nabcc); byCells && byCells->print == print)
            return byCells;
    }
    return s.firstAlternate(print);
}

const BrailleCharacter* CharacterDictionary::findOrDefault(SetNumber set, std::u16string_view print,
                                                           std::u16string_view nabcc) const
{
    if (const BrailleCharacter* e = find(set, print, nabcc))
        return e;
    if (const BrailleCharacter* e = find(kSpecialSet, print, nabcc))
        return e;
    return defaultEntry(set);
}

const BrailleCharacter* CharacterDictionary::findStored(SetNumber set, std::u16string_view print,
                                                        std::u16string_view nabcc) const
{
    const CharacterSet& s = printSet(set);
    if (const BrailleCharacter* e = s.firstBySource(print); e && e->nabcc == nabcc)
        return e;
    if (const BrailleCharacter* e = s.firstAlternate(print))
        return e;
    // The arrow of a math "@3O" was once stored with a plain cell string as its print text; it
    // is resolved to the arrow entry written with the private-use cell in front.
    if (set == kMathSet && nabcc == u"@3O")
        return findOrDefault(kMathSet, u"\uE023\u2192", u"@3O");
    return keySet(set).firstBySource(nabcc);
}

KeyMatch CharacterDictionary::longestMatch(const CharacterIndex& index, std::u16string_view text)
{
    if (text.empty())
        return {};
    // Keys run from longer to shorter: starting at the text itself and walking down to its
    // first code unit, the first key that is a prefix is the longest one.
    const std::u16string_view firstUnit = text.substr(0, 1);
    for (auto it = index.lower_bound(text); it != index.end(); ++it) {
        const std::u16string& key = it->first;
        if (std::u16string_view(key) < firstUnit)
            break;
        if (key.size() <= text.size() && text.compare(0, key.size(), key) == 0 && !key.empty())
            return {it->second, key.size()};
    }
    return {};
}

int CharacterDictionary::convertText(StoredCharMode& mode, const char16_t*& pos, const char16_t* end,
                                     EntryList& out, std::u16string* unmatched) const
{
    while (pos < end) {
        const std::u16string_view rest(pos, std::size_t(end - pos));
        const KeyMatch m = longestMatch(printSet(SetNumber(mode & 0xFFFF)).bySource(), rest);
        if (!m) {
            if (unmatched)
                unmatched->push_back(*pos);
            ++pos;
            continue;
        }
        const std::u16string& cells = m.entry->nabcc;
        const bool textLike = (mode & 3) == 0;
        if (cells == u"\n" && (textLike || !(mode & kContinuedLine))) {
            mode = kTextSet;
            out.push_back(m.entry);
            pos += m.length;
            return kConvertLineBreak;
        }
        if (cells == u" " && !textLike)
            mode = kTextSet; // a blank ends a formula
        if (cells == u"," && !textLike && m.length < rest.size() && rest[m.length] == u'\n')
            mode |= kContinuedLine; // the formula goes on after the line break
        out.push_back(m.entry);
        pos += m.length;
    }
    return kConvertDone;
}

void CharacterDictionary::convertKeys(StoredCharMode mode, const char16_t*& pos, const char16_t* end,
                                      EntryList& out) const
{
    const CharacterIndex& index = keySet(SetNumber(mode & 0xFFFF)).bySource();
    while (pos < end) {
        const KeyMatch m = longestMatch(index, std::u16string_view(pos, std::size_t(end - pos)));
        if (!m) {
            ++pos;
            continue;
        }
        out.push_back(m.entry);
        pos += m.length;
    }
}

const BrailleCharacter* CharacterDictionary::rawCellEntry(SetNumber set, char16_t cell) const
{
    if (!isCellCode(cell))
        return nullptr;
    const char16_t pua = cellToPrivate(cell);
    return printSet(set).firstBySource(std::u16string_view(&pua, 1));
}

void CharacterDictionary::convertCells(SetNumber set, std::u16string_view cells, SetNumber rawSet,
                                       EntryList& out) const
{
    const CharacterIndex& index = keySet(set).byCells();
    while (!cells.empty()) {
        if (const KeyMatch m = longestMatch(index, cells)) {
            out.push_back(m.entry);
            cells.remove_prefix(m.length);
            continue;
        }
        if (cells.front() == u' ')
            out.push_back(m_blank);
        else if (const BrailleCharacter* raw = rawCellEntry(rawSet, cells.front()))
            out.push_back(raw);
        cells.remove_prefix(1);
    }
}

int CharacterDictionary::matchKeys(std::size_t count, const char16_t* keys, StoredCharMode mode, EntryList& out) const
{
    const std::u16string_view typed(keys, std::min<std::size_t>(count, 19));
    const KeyMatch m = longestMatch(keySet(SetNumber(mode & 0xFFFF)).bySource(), typed);
    if (!m)
        return kNoMatch;
    out.push_back(m.entry);
    return kMatched;
}

} // namespace braille
