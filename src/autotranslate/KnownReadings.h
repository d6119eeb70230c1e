#pragma once
// Readings shipped with the program for words the analyser's dictionary reads otherwise than
// braille writes them: names (福沢 フクザワ, 源頼朝 ミナモトノ ヨリトモ), rarer readings the
// dictionary prefers (日本 ニッポン → ニホン), and words braille writes in two (申し訳ない
// モーシワケ ナイ). The table (known-readings.tsv beside this file, built into the library) has
// the layout of the user's readings; the user's readings and the print's ruby win over it.

#include "Morpheme.h"
#include "UserReadings.h"

namespace braille::autotranslate {

// The shipped table, read once.
const UserReadings& knownReadings();
// The shipped table read afresh, with any line that is not an entry.
UserReadings parseKnownReadings(std::vector<UserReadingError>& errors);

// Gives the analysed words of a line the table's braille: where consecutive words make exactly an
// entry's print, they become one word read so (the first word's part of speech kept); a verb or
// adjective whose dictionary form is an entry is read so in the form it has. Words the user's
// readings forced or the ruby reads are left alone.
void applyKnownReadings(const UserReadings& table, Morphemes& words);

} // namespace braille::autotranslate
