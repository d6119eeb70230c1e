#include "NumberReading.h"

#include <array>

namespace braille::autotranslate {

namespace {

int digitOf(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'０' && c <= u'９')
        return c - u'０';
    static constexpr std::u16string_view kanji = u"〇一二三四五六七八九";
    if (auto k = kanji.find(c); k != std::u16string_view::npos)
        return int(k);
    if (c == u'零')
        return 0;
    return -1;
}

std::u16string digits(long long n)
{
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

// How the number ends as it is said, which decides the counter's sound: a small っ (いっ,
// ろっ, はっ, じゅっ, ひゃっ) gives ぱ-row, a final ん (さん, せん, まん, なん) ば-row.
enum class Ending { Plain, Geminate, Nasal, Four };

Ending endingOf(long long n)
{
    if (n % 10 != 0) {
        switch (n % 10) {
        case 1:
        case 6:
        case 8:
            return Ending::Geminate;
        case 3:
            return Ending::Nasal;
        case 4:
            return Ending::Four;
        default:
            return Ending::Plain;
        }
    }
    if (n == 0)
        return Ending::Plain;
    if (n % 100 != 0 || n % 1000 != 0)
        return Ending::Geminate; // じゅっ, ひゃっ
    return Ending::Nasal;        // せん, まん
}

} // namespace

Numeral spellNumeral(std::u16string_view print)
{
    Numeral out;
    bool digitsOnly = true;
    for (char16_t c : print)
        if (!((c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９') || c == u',' || c == u'，' || c == u'.' ||
              c == u'．'))
            digitsOnly = false;
    // Big units split the number into groups; every group is said (and written) on its own.
    static constexpr std::array<std::pair<char16_t, std::u16string_view>, 3> bigUnits{
        {{u'兆', u"チョー"}, {u'億', u"オク"}, {u'万', u"マン"}}};
    // The arithmetic is checked: a number too large for it has no value, and its groups are
    // written as printed, digit by digit, with 十, 百 and 千 in kana.
    bool overflow = false;
    auto add = [&](long long a, long long b) {
        long long r = 0;
        overflow = overflow || __builtin_add_overflow(a, b, &r);
        return overflow ? 0 : r;
    };
    auto multiply = [&](long long a, long long b) {
        long long r = 0;
        overflow = overflow || __builtin_mul_overflow(a, b, &r);
        return overflow ? 0 : r;
    };
    bool notANumber = false; // a decimal or a character that is no numeral: no whole value
    long long total = 0;
    long long group = 0;    // below 万
    long long current = -1; // digits read since the last unit
    std::u16string groupPrint;  // the group's digits as printed, kept when they are digits
    std::u16string groupDigits; // the same with kanji digits as digits and 十百千 in kana
    bool groupKanji = false;
    auto flushGroup = [&]() -> std::u16string {
        const long long g = add(group, std::max(current, 0LL));
        std::u16string text = !groupKanji ? groupPrint : overflow ? groupDigits : digits(g);
        group = 0;
        current = -1;
        groupPrint.clear();
        groupDigits.clear();
        groupKanji = false;
        return text;
    };
    for (char16_t c : print) {
        const int d = digitOf(c);
        if (d >= 0) {
            current = current < 0 ? d : add(multiply(current, 10), d);
            groupPrint += c;
            groupDigits += char16_t(u'0' + d);
            if (!(c >= u'0' && c <= u'9') && !(c >= u'０' && c <= u'９'))
                groupKanji = out.kanji = true;
            continue;
        }
        if (c == u'十' || c == u'百' || c == u'千') {
            const long long unit = c == u'十' ? 10 : c == u'百' ? 100 : 1000;
            group = add(group, multiply(current < 0 ? 1 : current, unit));
            current = -1;
            groupDigits += c == u'十' ? u"ジュー" : c == u'百' ? u"ヒャク" : u"セン";
            groupKanji = out.kanji = true;
            continue;
        }
        bool big = false;
        for (const auto& [unitChar, unitKana] : bigUnits) {
            if (c != unitChar)
                continue;
            big = true;
            const long long unit = unitChar == u'万' ? 10000LL : unitChar == u'億' ? 100000000LL : 1000000000000LL;
            const long long g = add(group, std::max(current, 0LL));
            total = add(total, multiply(g, unit));
            if (!out.kana.empty() && out.kana.back() != u'\u3000')
                out.kana += u'\u3000';
            out.kana += flushGroup() + std::u16string(unitKana);
        }
        if (big)
            continue;
        if (c == u',' || c == u'，' || c == u'.' || c == u'．') {
            groupPrint += c;
            groupDigits += c;
            if (c == u'.' || c == u'．')
                notANumber = true; // a decimal is kept as printed but has no whole value
            continue;
        }
        notANumber = true;
        groupPrint += c;
        groupDigits += c;
    }
    const bool rest = current >= 0 || group > 0 || !groupPrint.empty();
    total = add(total, add(group, std::max(current, 0LL)));
    if (rest) {
        if (!out.kana.empty())
            out.kana += u'\u3000'; // 1マン 2349: a blank after 万 when digits follow
        out.kana += flushGroup();
    }
    if (digitsOnly)
        out.kana = std::u16string(print);
    if (!overflow && !notANumber)
        out.value = total;
    return out;
}

bool isCounterNoun(std::u16string_view surface)
{
    static constexpr std::array<std::u16string_view, 6> nouns{u"月", u"時", u"歳", u"才", u"階", u"番"};
    for (auto n : nouns)
        if (n == surface)
            return true;
    return false;
}

std::optional<CounterSpelling> spellCounter(const Numeral& number, std::u16string_view counter)
{
    if (!number.value)
        return std::nullopt;
    const long long n = *number.value;
    // Native readings, written in kana with the number (ヒトリ, フタリ, ハタチ, ヨッカ).
    if (counter == u"人" && (n == 1 || n == 2))
        return CounterSpelling{n == 1 ? u"ヒトリ" : u"フタリ", u"native reading in kana", true};
    if (number.kanji && (counter == u"歳" || counter == u"才") && n == 20)
        return CounterSpelling{u"ハタチ", u"native reading in kana", true};
    if (counter == u"日間") {
        std::optional<CounterSpelling> day = spellCounter(number, u"日");
        day->kana += u"カン";
        return day;
    }
    if (counter == u"日") {
        static constexpr std::array<std::u16string_view, 11> days{
            u"", u"", u"フツカ", u"ミッカ", u"ヨッカ", u"イツカ", u"ムイカ", u"ナノカ", u"ヨーカ", u"ココノカ", u"トオカ"};
        const bool native = (n >= 2 && n <= 10) || n == 14 || n == 20 || n == 24;
        if (number.kanji && n >= 2 && n <= 10)
            return CounterSpelling{std::u16string(days[std::size_t(n)]), u"native reading in kana", true};
        if (number.kanji && n == 20)
            return CounterSpelling{u"ハツカ", u"native reading in kana", true};
        if (native)
            return CounterSpelling{u"カ", u"day counter as pronounced", false};
        return CounterSpelling{u"ニチ", {}, false};
    }
    if (counter == u"月")
        return CounterSpelling{u"ガツ", u"month counter", false};
    const Ending e = endingOf(n);
    struct Sound {
        std::u16string_view counter, plain, geminate, nasal;
    };
    // The counters whose first sound changes after the number (1ピキ 2ヒキ 3ビキ).
    static constexpr std::array<Sound, 9> sounds{{
        {u"匹", u"ヒキ", u"ピキ", u"ビキ"},
        {u"本", u"ホン", u"ポン", u"ボン"},
        {u"杯", u"ハイ", u"パイ", u"バイ"},
        {u"分", u"フン", u"プン", u"プン"},
        {u"発", u"ハツ", u"パツ", u"パツ"},
        {u"泊", u"ハク", u"パク", u"パク"},
        {u"階", u"カイ", u"カイ", u"ガイ"},
        {u"足", u"ソク", u"ソク", u"ゾク"},
        {u"軒", u"ケン", u"ケン", u"ゲン"},
    }};
    for (const Sound& s : sounds) {
        if (s.counter != counter)
            continue;
        std::u16string_view kana = s.plain;
        if (e == Ending::Geminate)
            kana = s.geminate;
        else if (e == Ending::Nasal || (e == Ending::Four && counter == u"分"))
            kana = s.nasal;
        return CounterSpelling{std::u16string(kana), kana == s.plain ? u"" : u"counter sound after the number", false};
    }
    if (counter == u"時")
        return CounterSpelling{u"ジ", {}, false};
    if (counter == u"歳" || counter == u"才")
        return CounterSpelling{u"サイ", {}, false};
    if (counter == u"番")
        return CounterSpelling{u"バン", {}, false};
    return std::nullopt;
}

} // namespace braille::autotranslate
