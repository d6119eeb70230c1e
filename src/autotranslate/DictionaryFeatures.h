#pragma once
// The morphological dictionaries' feature strings read into a Morpheme.
//
// The translator speaks the IPA dictionary's vocabulary (名詞,接尾,助数詞; 接頭詞; 連用タ接続).
// The IPA dictionary and NAIST-jdic write their features that way (NAIST-jdic adds accent fields
// after the nine the translator reads). UniDic cuts words shorter and names their parts of
// speech, conjugations and readings otherwise; its features are mapped onto the IPA names here,
// partly from the word alone and partly from its neighbours, so the translator works unchanged.

#include "Morpheme.h"

#include <string>
#include <string_view>
#include <vector>

namespace braille::autotranslate {

enum class FeatureLayout {
    Ipa,    // 品詞,細分類1,細分類2,細分類3,活用型,活用形,原形,読み,発音[,...]
    Unidic, // 品詞大分類,中分類,小分類,細分類,活用型,活用形,語彙素読み,語彙素,書字形,発音形,
            // 書字形基本形,発音形基本形,語種,...,仮名形出現形 (field 20),...
};

// A feature string cut at its commas; a field in double quotes may hold commas (UniDic's
// accent fields), and "" inside quotes is one quote.
std::vector<std::u16string> splitFeatures(std::string_view feature);

// The word's fields from its own features; for UniDic the IPA names that do not depend on the
// neighbouring words.
void readFeatures(std::string_view feature, FeatureLayout layout, Morpheme& m);

// UniDic's names that the IPA dictionary decides by context: a counter after a number (3回:
// 名詞,接尾,助数詞), a prefix before a number (第3: 接頭詞,数接続), an auxiliary verb after て
// (している: 動詞,非自立) and ある after で (である: 助動詞 五段・ラ行アル).
void relabelInContext(Morphemes& words, FeatureLayout layout);

// NAIST-jdic holds set phrases as one entry whose base form and readings mark the words with
// colons (ありがとう:ございます, 源:頼朝 ミナモトノ:ヨリトモ) and whose pronunciation carries
// accent marks (’). Such an entry is cut back into its words, each with the entry's part of
// speech, so that braille spaces them as words; the marks are dropped.
void splitPhrases(Morphemes& words);

} // namespace braille::autotranslate
