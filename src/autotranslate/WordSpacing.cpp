#include "WordSpacing.h"

#include "KanaSpelling.h"

#include <algorithm>
#include <array>

namespace braille::autotranslate {

namespace {

bool oneOf(std::u16string_view s, std::initializer_list<std::u16string_view> list)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

bool isHonorific(std::u16string_view s)
{
    return oneOf(s, {u"さん", u"様", u"さま", u"君", u"くん", u"氏", u"殿", u"先生", u"選手", u"監督", u"教授",
                     u"博士", u"社長", u"議員"});
}

bool isName(const Morpheme& m) { return m.userWord || (m.pos == u"名詞" && m.pos1 == u"固有名詞"); }

// A component of a compound noun: a noun standing on its own (not a suffix, formal noun,
// pronoun or adverbial noun such as 今日).
bool isComponent(const Token& t)
{
    if (t.kind != Token::Word)
        return false;
    const Morpheme& m = *t.head;
    return m.pos == u"名詞" &&
           !oneOf(m.pos1, {u"非自立", u"接尾", u"代名詞", u"特殊", u"副詞可能", u"数", u"形容動詞語幹"});
}

// Long enough to stand apart in a compound: three morae, or a two-kanji 漢語.
bool isFullComponent(const Token& t)
{
    const std::u16string& s = t.head->surface;
    if (s.size() == 2 && isKanji(s[0]) && isKanji(s[1]))
        return true;
    return moraCount(t.kana) >= 3;
}

} // namespace

bool attaches(const Token& previous, const Token& current)
{
    const Morpheme& p = *previous.tail;
    if (previous.kind == Token::Word && p.pos == u"接頭詞")
        return !(oneOf(p.surface, {u"約", u"およそ", u"凡そ", u"おおよそ"}) &&
                 current.kind == Token::Number); // お茶, 第3, but ヤク 3ジカン, オヨソ 200ニン
    if (current.kind == Token::Number)
        return false;
    const Morpheme& c = *current.head;
    if (c.userWord)
        return false;
    // A noun right after a bare number is written on as its counter would be: 40チーム, 10レンショー,
    // 3タイ 2.
    if (previous.kind == Token::Number && p.pos == u"名詞" && p.pos1 == u"数" && c.pos == u"名詞" &&
        oneOf(c.pos1, {u"一般", u"サ変接続", u"接続詞的"}))
        return true;
    // お読み, お変わり: a verb after the honorific prefix is read as a noun, and the verb after it
    // stands apart (オヨミ クダサイ, オカワリ アリマセンカ).
    if (previous.honorific && p.pos == u"動詞" && c.pos == u"動詞")
        return false;
    if (c.pos == u"助詞")
        return true;
    if (c.pos == u"助動詞") {
        // ある after で (デ アル) and ない after an adjective or だ (タノシク ナイ, デワ ナイ) are
        // auxiliaries of their own; after a verb ない is the negative ending (イカナイ).
        if (c.conjugationType == u"五段・ラ行アル" || c.baseForm == u"ござる")
            return false; // デ アル, アリガトー ゴザイマス
        if (c.baseForm == u"ない" && p.pos != u"動詞")
            return false;
        return true;
    }
    if (c.pos == u"接頭詞" && c.pos1 == u"名詞接続" && isComponent(previous))
        return !isFullComponent(previous); // アサゴハン: the prefixed noun is a component
    if (c.pos == u"名詞") {
        if (c.pos1 == u"接尾") {
            if (isHonorific(c.surface) && previous.kind == Token::Word && isName(p))
                return false; // ヤマモト サン, but サカナヤサン, マユミチャン
            return true;
        }
        if (c.pos1 == u"非自立")
            return oneOf(c.surface, {u"の", u"ん", u"みたい", u"よう", u"そう"}) || c.pos2 == u"助動詞語幹";
        if (c.pos1 == u"特殊")
            return true; // そう of そうだ
        if (previous.kind != Token::Word)
            return false;
        if (isHonorific(c.surface))
            return false; // ヒグチ センセイ
        if (isComponent(previous) && isComponent(current)) {
            if (p.pos2 == u"人名" && c.pos2 == u"人名")
                return false; // surname and given name
            return !(isFullComponent(previous) && isFullComponent(current));
        }
        return false;
    }
    if (c.pos == u"動詞") {
        if (c.pos1 == u"接尾")
            return true; // れる, させる
        if (previous.kind == Token::Word && p.pos == u"動詞") {
            if (p.conjugationForm == u"連用形")
                return true; // compound verbs: アルキハジメル
            // contractions of て with an auxiliary: してる, 行っちゃう
            if (p.conjugationForm.starts_with(u"連用") && c.pos1 == u"非自立" && !c.surface.empty() &&
                std::u16string_view(u"てでちじとど").find(c.surface[0]) != std::u16string_view::npos)
                return true;
        }
        return false;
    }
    if (c.pos == u"形容詞") {
        if (c.pos1 == u"接尾")
            return true; // らしい, っぽい
        if (c.pos1 == u"非自立" && previous.kind == Token::Word && p.pos == u"動詞" && p.conjugationForm == u"連用形")
            return true; // compound adjectives: ツカイヤスイ
        return false;
    }
    return false;
}

} // namespace braille::autotranslate
