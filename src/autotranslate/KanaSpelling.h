#pragma once
// Kana spelling as braille writes it: the dictionary's kana reading turned into the braille
// orthography (現代仮名遣い with braille's own long-vowel and particle rules).
//
// Braille writes the particles は and へ as ワ and エ, and a long vowel of the ウ or オ row
// spelled with う as the long-vowel mark (トーキョー); the long vowels of the other rows stay
// as kana (ケイタイ, オカアサン), as do the words spelled with お (オオキイ) and the う that
// ends a verb (イウ, スウ).

#include <string>
#include <string_view>

namespace braille::autotranslate {

struct Morpheme;

std::u16string toKatakana(std::u16string_view text);
bool isKana(std::u16string_view text);
bool isKanji(char16_t c);
// Morae (拍): every kana except the small vowels and small ya, yu, yo; ッ, ン and ー count.
int moraCount(std::u16string_view kana);
// Whether the kana ends on a vowel of the ウ or オ row (so a following ウ lengthens it).
bool endsInUOrO(std::u16string_view kana);

// The braille spelling of one analysed word, and a short note of the rules that changed it
// (empty when the reading went through unchanged).
struct Spelling {
    std::u16string kana;
    std::u16string rule;
};
Spelling spellMorpheme(const Morpheme& m);

// A reading given with the print (ruby) spelled as braille writes it: katakana, and ウ after a
// kana of the ウ or オ row as the long-vowel mark (とうきょう トーキョー, ゆうき ユーキ), as the
// dictionary's readings of Sino-Japanese words are spelled; other vowels stay (えいが エイガ,
// おおきい オオキイ).
std::u16string spellGivenReading(std::u16string_view kana);

} // namespace braille::autotranslate
