#pragma once
// One word of print as the morphological analyser cut it: its text, where it stands in the
// line, and the dictionary's features (part of speech, conjugation, kana reading).

#include <cstddef>
#include <string>
#include <vector>

namespace braille::autotranslate {

struct Morpheme {
    std::u16string surface;
    // Where the word stands in the analysed line, in UTF-16 units.
    std::size_t begin = 0;
    std::size_t end = 0;
    // The dictionary's fields: 品詞, 細分類 1..3, 活用型, 活用形, 原形, 読み, 発音 ("*" for none).
    std::u16string pos, pos1, pos2, pos3, conjugationType, conjugationForm, baseForm;
    std::u16string reading;       // the kana spelling (ケイタイ), empty when the dictionary has none
    std::u16string pronunciation; // the sound (ケータイ), used only to confirm a long ウ
    bool unknown = false;         // not in the dictionary: the analyser guessed its part of speech
    bool userWord = false;        // forced by the user dictionary; `reading` is the user's braille
    bool givenReading = false;    // read as the print's own ruby says: no guess
    bool brailleReading = false;  // `reading` is braille already (the shipped table of readings)
};

using Morphemes = std::vector<Morpheme>;

} // namespace braille::autotranslate
