#pragma once
// The process-wide store of braille characters, and every lookup and conversion over it.
//
// The dictionary holds two families of fourteen numbered sets. `printSets` turn print text into
// characters and resolve characters read from files; `keySets` serve typed input, where source
// keys and cell strings lead to characters. Before any table is read it holds the special entries
// (line break, blank, end marker), the default entries of sets 2 and 3 and the 64 raw cells of
// sets 2 and 3; the table loader fills the rest once at start-up, and nothing changes afterwards.

#include "BrailleCharacter.h"
#include "CharacterSet.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace braille {

using EntryList = std::vector<const BrailleCharacter*>;

// The mode word of the conversions: the set number in the low 16 bits and, for a formula that
// goes on across a line break, the flag kContinuedLine.
using StoredCharMode = std::uint32_t;
constexpr StoredCharMode kContinuedLine = 0x10000;

enum ConvertResult : int {
    kConvertDone = 0,      // the whole text was consumed
    kConvertLineBreak = 3, // stopped right after a line break
};

enum MatchResult : int {
    kMatched = 1,
    kNoMatch = 2,
};

struct KeyMatch {
    const BrailleCharacter* entry = nullptr;
    std::size_t length = 0; // code units of the key that matched
    explicit operator bool() const { return entry != nullptr; }
};

struct SixDotPair {
    std::u16string print;
    std::u16string nabcc;
    bool empty() const { return print.empty() || nabcc.empty(); }
};

class CharacterDictionary {
public:
    // An empty dictionary: special entries, raw cells and default entries only.
    CharacterDictionary();
    CharacterDictionary(const CharacterDictionary&) = delete;
    CharacterDictionary& operator=(const CharacterDictionary&) = delete;

    // The process-wide dictionary, built on first use. The tables are read into it by the loader.
    static CharacterDictionary& instance();

    const BrailleCharacter* lineBreakEntry() const { return m_lineBreak; }
    const BrailleCharacter* blankEntry() const { return m_blank; }
    const BrailleCharacter* endMarkerEntry() const { return m_endMarker; }
    const BrailleCharacter* defaultEntry(SetNumber set) const;

    // Pair i (1..64) of the six-dot outside characters; an empty pair where the table had none.
    const SixDotPair& gaijiSixDot(int i) const;

    const CharacterSet& printSet(SetNumber set) const { return *m_printSets[set % kSetCount]; }
    const CharacterSet& keySet(SetNumber set) const { return *m_keySets[set % kSetCount]; }

    // The entry of a print set for this print text and these cells, or none. The byPrint entry
    // wins when its cells agree; otherwise the cells are tried as a key, then the first
    // alternate for the print text is taken whatever its cells.
    const BrailleCharacter* find(SetNumber set, std::u16string_view print, std::u16string_view nabcc) const;
    // find in the set, then in set 1, then the set's default entry (none but for sets 2 and 3).
    const BrailleCharacter* findOrDefault(SetNumber set, std::u16string_view print, std::u16string_view nabcc) const;
    // The entry for a character read from a file (print text and cells as stored), or none.
    const BrailleCharacter* findStored(SetNumber set, std::u16string_view print, std::u16string_view nabcc) const;

    // The entry whose key in `index` is the longest prefix of `text`.
    static KeyMatch longestMatch(const CharacterIndex& index, std::u16string_view text);

    // Print text to entries through the print sets, starting at `pos`; see ConvertResult. Code
    // units that no key covers are skipped and, when `unmatched` is given, appended to it.
    int convertText(StoredCharMode& mode, const char16_t*& pos, const char16_t* end, EntryList& out,
                    std::u16string* unmatched = nullptr) const;
    // Typed keys to entries through the key sets; no mode changes.
    void convertKeys(StoredCharMode mode, const char16_t*& pos, const char16_t* end, EntryList& out) const;
    // Cells typed on a braille display to entries of key set `set`, by longest match of cell
    // strings only; a cell that begins no cell string of the set becomes the raw-cell entry of
    // `rawSet` (2 text, 3 math), so what was typed keeps its cells. Other code units are skipped.
    void convertCells(SetNumber set, std::u16string_view cells, SetNumber rawSet, EntryList& out) const;
    // The raw-cell entry of set 2 or 3 for one cell code, or none for a code that is no cell.
    const BrailleCharacter* rawCellEntry(SetNumber set, char16_t cell) const;
    // One longest match over the first `count` (at most 19) keys; see MatchResult.
    int matchKeys(std::size_t count, const char16_t* keys, StoredCharMode mode, EntryList& out) const;

    // Filling, for the table loader.
    CharacterSet& printSetForLoading(SetNumber set) { return *m_printSets[set % kSetCount]; }
    CharacterSet& keySetForLoading(SetNumber set) { return *m_keySets[set % kSetCount]; }
    void setGaijiSixDot(int i, std::u16string print, std::u16string nabcc);
    // The second entry of "，" (cells "'"), reachable only as an alternate of sets 2 and 3.
    void addCommaAlternates();

private:
    const BrailleCharacter* add(std::u16string_view source, SetNumber set, std::u16string_view print,
                                std::u16string_view nabcc);

    std::array<std::unique_ptr<CharacterSet>, kSetCount> m_printSets;
    std::array<std::unique_ptr<CharacterSet>, kSetCount> m_keySets;
    std::array<const BrailleCharacter*, kSetCount> m_defaultEntries{};
    const BrailleCharacter* m_lineBreak = nullptr;
    const BrailleCharacter* m_blank = nullptr;
    const BrailleCharacter* m_endMarker = nullptr;
    std::array<SixDotPair, 64> m_sixDot;
};

} // namespace braille
