#pragma once
// One numbered set of the dictionary: the entries it created and three indexes over them.
//
// `byPrint` holds the first entry created for each print text, `alternates` the entries created
// later for a print text that already had one with other cells, and `bySource` every key (print
// texts, source keys, cell strings) that leads to an entry. In the key sets `byCells` holds each
// entry under its cell string alone: cells typed on a braille display are looked up there, so a
// cell string can never be taken for a keyboard key that happens to be spelled the same (the
// full stop's cell "4" is the digit key 4 of the number table). The indexes are ordered by code units
// in descending order, so a string sorts before its own prefixes; that is what lets the longest
// prefix of a text be found by walking a short range of `bySource`. Equal keys keep their order of
// insertion, and exact search returns the first.

#include "BrailleCharacter.h"

#include <deque>
#include <map>
#include <string>
#include <string_view>

namespace braille {

struct DescendingKeyOrder {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const { return a > b; }
};

using CharacterIndex = std::multimap<std::u16string, const BrailleCharacter*, DescendingKeyOrder>;

class CharacterSet {
public:
    explicit CharacterSet(SetNumber id) : m_id(id) {}
    CharacterSet(const CharacterSet&) = delete;
    CharacterSet& operator=(const CharacterSet&) = delete;

    SetNumber id() const { return m_id; }
    const std::deque<BrailleCharacter>& entries() const { return m_entries; }
    const CharacterIndex& byPrint() const { return m_byPrint; }
    const CharacterIndex& alternates() const { return m_alternates; }
    const CharacterIndex& bySource() const { return m_bySource; }
    const CharacterIndex& byCells() const { return m_byCells; }

    const BrailleCharacter* firstByPrint(std::u16string_view print) const { return first(m_byPrint, print); }
    const BrailleCharacter* firstAlternate(std::u16string_view print) const { return first(m_alternates, print); }
    const BrailleCharacter* firstBySource(std::u16string_view key) const { return first(m_bySource, key); }

    // Building, used only while the dictionary is filled.
    const BrailleCharacter* create(std::u16string_view print, std::u16string_view nabcc);
    // The byPrint entry for the print text, created with these cells if there is none.
    const BrailleCharacter* findOrCreate(std::u16string_view print, std::u16string_view nabcc);
    // An entry reachable only through `alternates`.
    const BrailleCharacter* createAlternate(std::u16string_view print, std::u16string_view nabcc);
    void addSource(std::u16string_view key, const BrailleCharacter* entry);
    // Adds the key unless some entry is registered under it already.
    void addSourceIfFree(std::u16string_view key, const BrailleCharacter* entry);
    // Adds the entry under its cell string unless an entry has those cells already.
    void addCellsIfFree(const BrailleCharacter* entry);

private:
    static const BrailleCharacter* first(const CharacterIndex& index, std::u16string_view key);

    SetNumber m_id;
    std::deque<BrailleCharacter> m_entries; // a deque never moves what it holds
    CharacterIndex m_byPrint;
    CharacterIndex m_alternates;
    CharacterIndex m_bySource;
    CharacterIndex m_byCells;
};

} // namespace braille
