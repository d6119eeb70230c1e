#pragma once
// Numbers as braille writes them: digits after the number sign (the rules add the sign), 万 and
// 億 in kana with a blank after them when digits follow (1マン 2349), counters as they are
// pronounced after the number (1ピキ, 3ビキ), and the native readings in kana (ヒトリ, ヨッカ).

#include <optional>
#include <string>
#include <string_view>

namespace braille::autotranslate {

// A numeral in digits (ASCII or full width) or kanji (三十, 二〇二六, 三億五千万). `value` is
// empty when the numeral is too large or not a plain number.
struct Numeral {
    std::u16string kana; // digits with 万/億/兆 in kana: "1マン　2349"
    std::optional<long long> value;
    bool kanji = false; // written with kanji numerals
};
Numeral spellNumeral(std::u16string_view print);

// A counter after a number. With `wholeWord` the number and counter together are written in kana
// (二人 → フタリ), otherwise `kana` is the counter's spelling after the digits.
struct CounterSpelling {
    std::u16string kana;
    std::u16string rule;
    bool wholeWord = false;
};
// `reading` is the counter's dictionary reading (katakana). Empty when the counter is unknown
// to this table: its own reading is used then.
std::optional<CounterSpelling> spellCounter(const Numeral& number, std::u16string_view counter);

// Surfaces that count things after a number although the dictionary calls them plain nouns.
bool isCounterNoun(std::u16string_view surface);

} // namespace braille::autotranslate
