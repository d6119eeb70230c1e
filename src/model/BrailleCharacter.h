#pragma once
// One character of the braille world: a print text, the cells that stand for it and the number of
// the character set it came from.
//
// Entries are created only by the CharacterDictionary, never change afterwards and live until the
// process ends. Documents, the clipboard, the undo history and the input systems hold plain
// pointers to them and compare them by identity.

#include <cstdint>
#include <string>

namespace braille {

using SetNumber = std::uint16_t;

// Set numbers with a role of their own. 6..9 and 10..13 are the restricted key sets of text and
// math input.
enum : SetNumber {
    kSpecialSet = 1,
    kTextSet = 2,
    kMathSet = 3,
    kGaijiSet = 4,
    kSetCount = 14,
};

struct BrailleCharacter {
    BrailleCharacter(std::u16string p, std::u16string c, SetNumber s)
        : print(std::move(p)), nabcc(std::move(c)), set(s) {}
    BrailleCharacter(const BrailleCharacter&) = delete;
    BrailleCharacter& operator=(const BrailleCharacter&) = delete;

    const std::u16string print; // what the print line shows and files store as text
    const std::u16string nabcc; // one NABCC code per cell; the line break holds a line feed
    const SetNumber set;

    std::size_t cellCount() const { return nabcc.size(); }
};

// The restricted key sets 6..13 (kana, digits, small and capital letters, for text and for
// math): typed keys and display cells are converted through them by their keys, not as print.
constexpr bool isKeySet(SetNumber set) { return set >= 6 && set <= 13; }

// Sets 3, 4 and 10..13 are stored with the mode "math", all others with "text".
constexpr bool isMathSet(SetNumber set) { return set == 3 || set == 4 || (set >= 10 && set <= 13); }

} // namespace braille
