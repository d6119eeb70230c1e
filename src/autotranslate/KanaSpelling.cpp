#include "KanaSpelling.h"

#include "Morpheme.h"

#include <algorithm>

namespace braille::autotranslate {

std::u16string toKatakana(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        if (c >= u'ぁ' && c <= u'ゖ')
            c = char16_t(c + (u'ァ' - u'ぁ'));
    return out;
}

bool isKana(std::u16string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'ぁ' && c <= u'ゖ') || (c >= u'ァ' && c <= u'ヺ') || c == u'ー' || c == u'ゝ' || c == u'ゞ' ||
               c == u'ヽ' || c == u'ヾ';
    });
}

bool isKanji(char16_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || c == u'々'; }

int moraCount(std::u16string_view kana)
{
    int n = 0;
    for (char16_t c : kana)
        if (std::u16string_view(u"ァィゥェォャュョヮぁぃぅぇぉゃゅょゎ").find(c) == std::u16string_view::npos &&
            c != u'\u3000' && c != u' ')
            ++n;
    return n;
}

bool endsInUOrO(std::u16string_view kana)
{
    if (kana.empty())
        return false;
    static constexpr std::u16string_view uo = u"ウクスツヌフムユルグズヅブプュゥヴオコソトノホモヨロゴゾドボポョォヲ";
    return uo.find(kana.back()) != std::u16string_view::npos;
}

namespace {

void note(std::u16string& rule, std::u16string_view text)
{
    if (rule.find(text) != std::u16string::npos)
        return;
    if (!rule.empty())
        rule += u"; ";
    rule += text;
}

bool hasKanji(std::u16string_view s) { return std::any_of(s.begin(), s.end(), isKanji); }

bool isLatin(std::u16string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'ａ' && c <= u'ｚ') ||
               (c >= u'Ａ' && c <= u'Ｚ');
    });
}

} // namespace

Spelling spellMorpheme(const Morpheme& m)
{
    Spelling out;
    if (m.userWord || m.brailleReading) {
        out.kana = m.reading;
        std::replace(out.kana.begin(), out.kana.end(), u' ', u'\u3000');
        out.rule = m.userWord ? u"user dictionary" : u"known reading";
        return out;
    }
    // Letters stay letters, whatever the dictionary reads them as (ABC エイビーシー): the rules
    // give them the foreign-letter sign.
    if (isLatin(m.surface)) {
        out.kana = m.surface;
        return out;
    }
    if (m.reading.empty()) {
        // Kana, letters and digits the dictionary has no reading for stand as they are. A kanji
        // without a reading cannot be spelled: it stands as 〓 (a full cell), one a character, so
        // that nothing of the print vanishes from the book and the place is easy to find; the word
        // is listed as unknown for the transcriber to check.
        const std::u16string kana = toKatakana(m.surface);
        for (std::size_t k = 0; k < kana.size(); ++k) {
            const char16_t c = kana[k];
            const bool pair = c >= 0xD800 && c <= 0xDBFF && k + 1 < kana.size();
            if (isKanji(c) || pair) {
                out.kana += u'〓';
                if (pair)
                    ++k;
                out.rule = u"no reading: 〓 in its place";
            } else {
                out.kana += c;
            }
        }
        return out;
    }
    std::u16string kana = toKatakana(m.reading);
    const std::u16string& sound = m.pronunciation;
    const bool verb = m.pos == u"動詞";
    const bool uOnbin = verb && m.conjugationType.find(u"ウ音便") != std::u16string::npos &&
                        m.conjugationForm == u"連用タ接続";

    // The auxiliary う of volition and guess lengthens the オ-row kana before it: イコー, ダロー.
    if (m.pos == u"助動詞" && kana == u"ウ") {
        out.kana = u"ー";
        out.rule = u"auxiliary う as ー";
        return out;
    }
    for (std::size_t i = 1; i < kana.size(); ++i) {
        if (kana[i] != u'ウ' || !endsInUOrO(std::u16string_view(kana).substr(0, i)))
            continue;
        const bool last = i + 1 == kana.size();
        if (verb && last) {
            if (uOnbin) {
                kana[i] = u'ー'; // 問うて → トーテ: the ウ音便 is a long vowel
                note(out.rule, u"ウ音便 as ー");
            } else {
                note(out.rule, u"verb-final ウ kept");
            }
            continue;
        }
        // Where the analyser hears a separate ウ (カヨウ, a compound's second part) it stays.
        if (sound.size() == kana.size() && sound[i] == u'ウ')
            continue;
        kana[i] = u'ー';
        note(out.rule, u"ウ long vowel as ー");
    }
    // は and へ as particles are written as they sound; so are the greetings and conjunctions
    // that end in the particle は (こんにちは, または).
    if (m.pos == u"助詞" && !kana.empty() && (kana.back() == u'ハ' || kana.back() == u'ヘ') &&
        (m.surface.back() == u'は' || m.surface.back() == u'へ')) {
        kana.back() = kana.back() == u'ハ' ? u'ワ' : u'エ';
        note(out.rule, kana.back() == u'ワ' ? u"particle は as ワ" : u"particle へ as エ");
    } else if (!kana.empty() && kana.back() == u'ハ' && !sound.empty() && sound.back() == u'ワ' &&
               m.surface.back() == u'は') {
        kana.back() = u'ワ';
        note(out.rule, u"final は as ワ");
    }
    // ぢ and づ only where 現代仮名遣い keeps them: after ち/つ (ツヅク) and in compounds;
    // a one-kanji word read with an old ヅ (預ける アヅケル) is spelled with ズ.
    for (std::size_t i = 0; i < kana.size(); ++i) {
        if (kana[i] != u'ヅ' && kana[i] != u'ヂ')
            continue;
        if (i > 0 && (kana[i - 1] == u'ツ' || kana[i - 1] == u'チ'))
            continue;
        if (i == 0 && m.pos1 == u"接尾")
            continue; // a suffix is the second part of a compound: 米作り コメヅクリ
        const auto kanjiCount = std::count_if(m.surface.begin(), m.surface.end(), isKanji);
        const bool printed = m.surface.find_first_of(u"づぢヅヂ") != std::u16string::npos; // 近づく
        if (!printed && hasKanji(m.surface) && kanjiCount == 1 && sound.size() == kana.size() &&
            (sound[i] == u'ズ' || sound[i] == u'ジ')) {
            kana[i] = sound[i];
            note(out.rule, u"ぢ/づ as ジ/ズ");
        }
    }
    out.kana = std::move(kana);
    return out;
}

std::u16string spellGivenReading(std::u16string_view kana)
{
    const std::u16string katakana = toKatakana(kana);
    std::u16string out;
    for (char16_t c : katakana) {
        if (c == u'ウ' && !out.empty() && out.back() != u'ー' && endsInUOrO(out))
            out += u'ー';
        else
            out += c;
    }
    return out;
}

} // namespace braille::autotranslate
