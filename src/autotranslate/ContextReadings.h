#pragma once
// Readings the dictionary cannot choose by the word alone: words written alike and read by the
// words around them. 行った is オコナッタ after を or before a noun of doing (調査), イッタ
// otherwise; 通って after へ or a school is カヨッテ; 降り after 雨が is フリ; 方 after a verb
// or この is カタ unless a comparison follows (この方が大きい ホー); 米 alone is コメ, ベイ only
// with 国, 軍, ドル; 大勢 before の or a verb is オオゼイ; 後 after a verb or at the head of a
// clause is アト; 家 after 一日中 is イエ; 々 repeats the reading before it (昔々). What a rule
// cannot decide stays as analysed.

#include "Morpheme.h"

namespace braille::autotranslate {

void readByContext(Morphemes& words);

} // namespace braille::autotranslate
