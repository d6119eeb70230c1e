#include "ContextReadings.h"

#include "KanaSpelling.h"

#include <algorithm>

namespace braille::autotranslate {

namespace {

bool oneOf(std::u16string_view s, std::initializer_list<std::u16string_view> list)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

// Gives a word another reading of the same spelling, as the dictionary would have given it.
void reread(Morpheme& m, std::u16string_view reading, std::u16string_view baseForm = {})
{
    m.reading = std::u16string(reading);
    m.pronunciation.clear();
    if (!baseForm.empty())
        m.baseForm = std::u16string(baseForm);
}

bool isNoun(const Morpheme& m) { return m.pos == u"名詞"; }

// The words that compare (この方が大きい, 読む方がいい): adjectives, adjectival nouns and the
// adverbs of degree.
bool compares(const Morpheme& m)
{
    return m.pos == u"形容詞" || (m.pos == u"名詞" && m.pos1 == u"形容動詞語幹") ||
           oneOf(m.surface, {u"ずっと", u"もっと", u"はるかに", u"よほど", u"むしろ", u"まし", u"得", u"先"});
}

} // namespace

void readByContext(Morphemes& words)
{
    const std::size_t n = words.size();
    auto at = [&](std::size_t i, std::ptrdiff_t step) -> const Morpheme* {
        const std::ptrdiff_t k = std::ptrdiff_t(i) + step;
        return k >= 0 && std::size_t(k) < n ? &words[std::size_t(k)] : nullptr;
    };
    for (std::size_t i = 0; i < n; ++i) {
        Morpheme& m = words[i];
        if (m.userWord || m.givenReading || m.brailleReading)
            continue;
        const Morpheme* before = at(i, -1);
        const Morpheme* after = at(i, 1);

        // 行った: 行う after を (会議を行った) or before a noun of doing (行った調査); 行く otherwise
        // (先日行った温泉, 行ってきます).
        if (m.pos == u"動詞" && m.surface == u"行っ" && (m.baseForm == u"行く" || m.baseForm == u"行う")) {
            const Morpheme* noun = after && after->pos == u"助動詞" ? at(i, 2) : nullptr;
            // を earlier in the clause (会議を毎週行った, 実験を三回行った), looked for back to the
            // verb, the punctuation or the へ before it.
            bool object = false;
            for (std::ptrdiff_t k = 1; k <= 6; ++k) {
                const Morpheme* w = at(i, -k);
                if (!w || w->pos == u"記号" || w->pos == u"動詞" || w->pos == u"助動詞" || w->pos == u"形容詞" ||
                    (w->pos == u"助詞" && (w->surface == u"へ" || w->pos1 == u"接続助詞")))
                    break;
                if (w->pos == u"助詞" && w->surface == u"を") {
                    object = true;
                    break;
                }
            }
            const bool doing = object || (noun && noun->pos == u"名詞" && noun->pos1 == u"サ変接続");
            if (doing)
                reread(m, u"オコナッ", u"行う");
            else
                reread(m, u"イッ", u"行く");
            continue;
        }
        // 通って: 通う to a place one goes to again and again (学校へ通う, 塾に通う).
        if (m.pos == u"動詞" && m.surface == u"通っ" && before && before->pos == u"助詞" &&
            (before->surface == u"へ" ||
             (before->surface == u"に" && at(i, -2) && at(i, -2)->pos == u"名詞" &&
              std::u16string_view(u"校塾院園所室社場館学").find(at(i, -2)->surface.back()) != std::u16string_view::npos))) {
            reread(m, u"カヨッ", u"通う");
            continue;
        }
        // 降り after the weather (雨が降り): 降る, not 降りる.
        if (m.pos == u"動詞" && m.surface == u"降り" && before && before->pos == u"助詞" &&
            oneOf(before->surface, {u"が", u"も", u"は"}) && at(i, -2) &&
            oneOf(at(i, -2)->surface, {u"雨", u"雪", u"ひょう", u"あられ", u"みぞれ", u"灰", u"霜", u"大雨", u"大雪", u"小雨"})) {
            reread(m, u"フリ", u"降る");
            m.conjugationType = u"五段・ラ行";
            continue;
        }
        // 方 after a verb, an auxiliary or この/その/あの/どの is a person (希望する方は, この方が、)
        // unless が and a comparison follow (読む方がいい); after の it is a side (駅の方).
        // After an honorific and の it is a person too (お持ちの方, ご希望の方).
        const Morpheme* owner = before && before->surface == u"の" ? at(i, -2) : nullptr;
        const bool honoured =
            owner && ((owner->surface.starts_with(u"お") || owner->surface.starts_with(u"ご")) ||
                      (at(i, -3) && at(i, -3)->pos == u"接頭詞" && oneOf(at(i, -3)->surface, {u"お", u"ご", u"御"})));
        if (m.surface == u"方" && m.pos == u"名詞" && m.pos1 == u"非自立" && before &&
            (before->pos == u"動詞" || before->pos == u"助動詞" || honoured ||
             oneOf(before->surface, {u"この", u"その", u"あの", u"どの"}))) {
            const Morpheme* next = after && after->surface == u"が" ? at(i, 2) : nullptr;
            const bool comparison = (next && compares(*next)) || (after && oneOf(after->surface, {u"へ", u"より"}));
            if (!comparison)
                reread(m, u"カタ");
            continue;
        }
        // 米 alone is rice; the country only before 国, 軍, ドル and the like (米国, 米軍).
        if (m.surface == u"米" && m.reading == u"ベイ" && isNoun(m) &&
            !(after && isNoun(*after) && after->pos1 != u"接尾" && !after->surface.empty() &&
              (isKanji(after->surface[0]) || after->surface == u"ドル")) &&
            !(before && isNoun(*before) && !before->surface.empty() && isKanji(before->surface.back()))) {
            reread(m, u"コメ");
            m.pos1 = u"一般";
            m.pos2 = m.pos3 = u"*";
            continue;
        }
        // 大勢 before の, で or a verb is many people (大勢の人, 大勢集まる); before が or は it may be
        // the trend of things and stays.
        if (m.surface == u"大勢" && m.reading == u"タイセイ" && after &&
            (oneOf(after->surface, {u"の", u"で"}) || after->pos == u"動詞")) {
            reread(m, u"オオゼイ");
            continue;
        }
        // 後 after a verb or an auxiliary (読んだ後で), after の (試合の後), or at the head of a
        // clause (後の問い) is アト; after a number or a noun it is the suffix ゴ (3日後, 放課後), and
        // ノチ stays before に at the head of a clause (後に).
        if (m.surface == u"後" && m.pos == u"名詞" && (m.reading == u"ゴ" || m.reading == u"ノチ")) {
            const bool head = !before || before->pos == u"記号";
            const bool afterClause = before && (before->pos == u"動詞" || before->pos == u"助動詞" || before->surface == u"の");
            if (m.reading == u"ノチ" && head && after && after->surface == u"に")
                continue;
            if (head || afterClause) {
                reread(m, u"アト");
                m.pos1 = u"副詞可能";
            }
            continue;
        }
        // 中 at the head of a clause before a particle is the inside (中から), not the country.
        if (m.surface == u"中" && m.pos1 == u"固有名詞" && (!before || before->pos == u"記号") && after &&
            after->pos == u"助詞") {
            reread(m, u"ナカ");
            m.pos1 = u"一般";
            m.pos2 = m.pos3 = u"*";
            continue;
        }
        // The repetition mark reads the word before it again (昔々 ムカシ ムカシ).
        if (m.surface == u"々" && i > 0 && !words[i - 1].reading.empty() && words[i - 1].end == m.begin) {
            const Morpheme& repeated = words[i - 1];
            m.reading = repeated.reading;
            m.pronunciation = repeated.pronunciation;
            m.pos = u"名詞";
            m.pos1 = u"一般";
            m.pos2 = m.pos3 = u"*";
            continue;
        }
        // 家 after a word of time (一日中家で) is the house, not the suffix of 作家.
        if (m.surface == u"家" && m.pos1 == u"接尾" && i > 0 && isNoun(words[i - 1]) &&
            (words[i - 1].reading.ends_with(u"ジュウ") || words[i - 1].reading.ends_with(u"チュウ") ||
             words[i - 1].pos1 == u"副詞可能")) {
            reread(m, u"イエ");
            m.pos1 = u"一般";
            words[i - 1].pos1 = u"副詞可能"; // a word of time, not the first part of a compound
            continue;
        }
    }
}

} // namespace braille::autotranslate
