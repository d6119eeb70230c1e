#include "KanaComposer.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace braille {

namespace {

using Entry = KanaComposer::RomajiEntry;

// Sorted by spelling so that lookups can binary-search; the static_assert below keeps it sorted
// and keeps any spelling from starting a longer one.
constexpr std::array kTable = std::to_array<Entry>({
    {"a", u"あ"},
    {"ba", u"ば"}, {"be", u"べ"}, {"bi", u"び"}, {"bo", u"ぼ"}, {"bu", u"ぶ"},
    {"bya", u"びゃ"}, {"bye", u"びぇ"}, {"byi", u"びぃ"}, {"byo", u"びょ"}, {"byu", u"びゅ"},
    // "c" before a, u, o is the k sound and before i, e the s sound, as in English spelling.
    {"ca", u"か"}, {"ce", u"せ"},
    {"cha", u"ちゃ"}, {"che", u"ちぇ"}, {"chi", u"ち"}, {"cho", u"ちょ"}, {"chu", u"ちゅ"},
    {"ci", u"し"}, {"co", u"こ"}, {"cu", u"く"},
    {"cya", u"ちゃ"}, {"cye", u"ちぇ"}, {"cyi", u"ちぃ"}, {"cyo", u"ちょ"}, {"cyu", u"ちゅ"},
    {"da", u"だ"}, {"de", u"で"},
    {"dha", u"でゃ"}, {"dhe", u"でぇ"}, {"dhi", u"でぃ"}, {"dho", u"でょ"}, {"dhu", u"でゅ"},
    {"di", u"ぢ"}, {"do", u"ど"}, {"du", u"づ"},
    {"dwa", u"どぁ"}, {"dwe", u"どぇ"}, {"dwi", u"どぃ"}, {"dwo", u"どぉ"}, {"dwu", u"どぅ"},
    {"dya", u"ぢゃ"}, {"dye", u"ぢぇ"}, {"dyi", u"ぢぃ"}, {"dyo", u"ぢょ"}, {"dyu", u"ぢゅ"},
    {"e", u"え"},
    {"fa", u"ふぁ"}, {"fe", u"ふぇ"}, {"fi", u"ふぃ"}, {"fo", u"ふぉ"}, {"fu", u"ふ"},
    {"fya", u"ふゃ"}, {"fye", u"ふぇ"}, {"fyi", u"ふぃ"}, {"fyo", u"ふょ"}, {"fyu", u"ふゅ"},
    {"ga", u"が"}, {"ge", u"げ"}, {"gi", u"ぎ"}, {"go", u"ご"}, {"gu", u"ぐ"},
    {"gwa", u"ぐぁ"}, {"gwe", u"ぐぇ"}, {"gwi", u"ぐぃ"}, {"gwo", u"ぐぉ"}, {"gwu", u"ぐぅ"},
    {"gya", u"ぎゃ"}, {"gye", u"ぎぇ"}, {"gyi", u"ぎぃ"}, {"gyo", u"ぎょ"}, {"gyu", u"ぎゅ"},
    {"ha", u"は"}, {"he", u"へ"}, {"hi", u"ひ"}, {"ho", u"ほ"}, {"hu", u"ふ"},
    {"hwa", u"ふぁ"}, {"hwe", u"ふぇ"}, {"hwi", u"ふぃ"}, {"hwo", u"ふぉ"},
    {"hya", u"ひゃ"}, {"hye", u"ひぇ"}, {"hyi", u"ひぃ"}, {"hyo", u"ひょ"}, {"hyu", u"ひゅ"},
    {"i", u"い"},
    {"ja", u"じゃ"}, {"je", u"じぇ"}, {"ji", u"じ"}, {"jo", u"じょ"}, {"ju", u"じゅ"},
    {"jya", u"じゃ"}, {"jye", u"じぇ"}, {"jyi", u"じぃ"}, {"jyo", u"じょ"}, {"jyu", u"じゅ"},
    {"ka", u"か"}, {"ke", u"け"}, {"ki", u"き"}, {"ko", u"こ"}, {"ku", u"く"},
    {"kwa", u"くぁ"}, {"kwe", u"くぇ"}, {"kwi", u"くぃ"}, {"kwo", u"くぉ"}, {"kwu", u"くぅ"},
    {"kya", u"きゃ"}, {"kye", u"きぇ"}, {"kyi", u"きぃ"}, {"kyo", u"きょ"}, {"kyu", u"きゅ"},
    // "l" is the other prefix for small kana.
    {"la", u"ぁ"}, {"le", u"ぇ"}, {"li", u"ぃ"}, {"lka", u"ゕ"}, {"lke", u"ゖ"}, {"lo", u"ぉ"},
    {"ltsu", u"っ"}, {"ltu", u"っ"}, {"lu", u"ぅ"}, {"lwa", u"ゎ"},
    {"lya", u"ゃ"}, {"lye", u"ぇ"}, {"lyi", u"ぃ"}, {"lyo", u"ょ"}, {"lyu", u"ゅ"},
    {"ma", u"ま"}, {"me", u"め"}, {"mi", u"み"}, {"mo", u"も"}, {"mu", u"む"},
    {"mya", u"みゃ"}, {"mye", u"みぇ"}, {"myi", u"みぃ"}, {"myo", u"みょ"}, {"myu", u"みゅ"},
    {"na", u"な"}, {"ne", u"ね"}, {"ni", u"に"}, {"nn", u"ん"}, {"no", u"の"}, {"nu", u"ぬ"},
    {"nya", u"にゃ"}, {"nye", u"にぇ"}, {"nyi", u"にぃ"}, {"nyo", u"にょ"}, {"nyu", u"にゅ"},
    {"o", u"お"},
    {"pa", u"ぱ"}, {"pe", u"ぺ"}, {"pi", u"ぴ"}, {"po", u"ぽ"}, {"pu", u"ぷ"},
    {"pya", u"ぴゃ"}, {"pye", u"ぴぇ"}, {"pyi", u"ぴぃ"}, {"pyo", u"ぴょ"}, {"pyu", u"ぴゅ"},
    // "q" is the kw sound.
    {"qa", u"くぁ"}, {"qe", u"くぇ"}, {"qi", u"くぃ"}, {"qo", u"くぉ"}, {"qu", u"く"},
    {"ra", u"ら"}, {"re", u"れ"}, {"ri", u"り"}, {"ro", u"ろ"}, {"ru", u"る"},
    {"rya", u"りゃ"}, {"rye", u"りぇ"}, {"ryi", u"りぃ"}, {"ryo", u"りょ"}, {"ryu", u"りゅ"},
    {"sa", u"さ"}, {"se", u"せ"},
    {"sha", u"しゃ"}, {"she", u"しぇ"}, {"shi", u"し"}, {"sho", u"しょ"}, {"shu", u"しゅ"},
    {"si", u"し"}, {"so", u"そ"}, {"su", u"す"},
    {"swa", u"すぁ"}, {"swe", u"すぇ"}, {"swi", u"すぃ"}, {"swo", u"すぉ"}, {"swu", u"すぅ"},
    {"sya", u"しゃ"}, {"sye", u"しぇ"}, {"syi", u"しぃ"}, {"syo", u"しょ"}, {"syu", u"しゅ"},
    {"ta", u"た"}, {"te", u"て"},
    {"tha", u"てゃ"}, {"the", u"てぇ"}, {"thi", u"てぃ"}, {"tho", u"てょ"}, {"thu", u"てゅ"},
    {"ti", u"ち"}, {"to", u"と"},
    {"tsa", u"つぁ"}, {"tse", u"つぇ"}, {"tsi", u"つぃ"}, {"tso", u"つぉ"}, {"tsu", u"つ"},
    {"tu", u"つ"},
    {"twa", u"とぁ"}, {"twe", u"とぇ"}, {"twi", u"とぃ"}, {"two", u"とぉ"}, {"twu", u"とぅ"},
    {"tya", u"ちゃ"}, {"tye", u"ちぇ"}, {"tyi", u"ちぃ"}, {"tyo", u"ちょ"}, {"tyu", u"ちゅ"},
    {"u", u"う"},
    {"va", u"ゔぁ"}, {"ve", u"ゔぇ"}, {"vi", u"ゔぃ"}, {"vo", u"ゔぉ"}, {"vu", u"ゔ"},
    {"vya", u"ゔゃ"}, {"vye", u"ゔぇ"}, {"vyi", u"ゔぃ"}, {"vyo", u"ゔょ"}, {"vyu", u"ゔゅ"},
    {"wa", u"わ"}, {"we", u"うぇ"},
    {"wha", u"うぁ"}, {"whe", u"うぇ"}, {"whi", u"うぃ"}, {"who", u"うぉ"}, {"whu", u"う"},
    {"wi", u"うぃ"}, {"wo", u"を"}, {"wu", u"う"},
    // The old kana ゐ and ゑ, still found in names.
    {"wye", u"ゑ"}, {"wyi", u"ゐ"},
    {"xa", u"ぁ"}, {"xe", u"ぇ"}, {"xi", u"ぃ"}, {"xka", u"ゕ"}, {"xke", u"ゖ"}, {"xn", u"ん"},
    {"xo", u"ぉ"}, {"xtsu", u"っ"}, {"xtu", u"っ"}, {"xu", u"ぅ"}, {"xwa", u"ゎ"},
    {"xya", u"ゃ"}, {"xye", u"ぇ"}, {"xyi", u"ぃ"}, {"xyo", u"ょ"}, {"xyu", u"ゅ"},
    {"ya", u"や"}, {"ye", u"いぇ"}, {"yi", u"い"}, {"yo", u"よ"}, {"yu", u"ゆ"},
    {"za", u"ざ"}, {"ze", u"ぜ"}, {"zi", u"じ"}, {"zo", u"ぞ"}, {"zu", u"ず"},
    {"zya", u"じゃ"}, {"zye", u"じぇ"}, {"zyi", u"じぃ"}, {"zyo", u"じょ"}, {"zyu", u"じゅ"},
});

constexpr bool tableIsSortedAndPrefixFree()
{
    for (std::size_t i = 1; i < kTable.size(); ++i) {
        if (!(kTable[i - 1].romaji < kTable[i].romaji))
            return false;
        // In a sorted list, a spelling that starts a longer one sits right before it.
        if (kTable[i].romaji.starts_with(kTable[i - 1].romaji))
            return false;
    }
    return true;
}
static_assert(tableIsSortedAndPrefixFree());

constexpr char16_t kN = u'ん';
constexpr char16_t kSmallTsu = u'っ';
constexpr char16_t kIdeographicSpace = 0x3000;

char lower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char(c - u'A' + 'a') : char(c);
}

bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isVowel(char c)
{
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

// Printable ASCII to its full-width form (U+FF01..U+FF5E); space to the ideographic space.
char16_t fullWidth(char16_t c)
{
    if (c == u' ')
        return kIdeographicSpace;
    if (c > u' ' && c < 0x7F)
        return char16_t(c + 0xFEE0);
    return c;
}

// Keys that give Japanese punctuation rather than their plain full-width form.
char16_t punctuation(char16_t c)
{
    switch (c) {
    case u'-': return u'ー';
    case u',': return u'、';
    case u'.': return u'。';
    case u'[': return u'「';
    case u']': return u'」';
    case u'/': return u'・';
    case u'~': return u'〜';
    default: return fullWidth(c);
    }
}

struct Match {
    const Entry* exact = nullptr;
    bool longer = false; // some longer spelling starts with the key
};

Match lookup(std::string_view key)
{
    Match m;
    auto it = std::lower_bound(kTable.begin(), kTable.end(), key,
                               [](const Entry& e, std::string_view k) { return e.romaji < k; });
    if (it != kTable.end() && it->romaji == key) {
        m.exact = &*it;
        ++it;
    }
    m.longer = it != kTable.end() && it->romaji.starts_with(key);
    return m;
}

} // namespace

std::span<const KanaComposer::RomajiEntry> KanaComposer::romajiTable()
{
    return kTable;
}

void KanaComposer::setOpen(bool open)
{
    m_open = open;
    if (!open)
        m_pending.clear();
}

void KanaComposer::appendKana(std::u16string& out, std::u16string_view hiragana) const
{
    for (char16_t c : hiragana) {
        // Hiragana ぁ..ゖ sit 0x60 below katakana ァ..ヶ; ゔ becomes ヴ the same way.
        if (m_kana == Kana::Katakana && c >= 0x3041 && c <= 0x3096)
            c = char16_t(c + 0x60);
        out.push_back(c);
    }
}

std::u16string KanaComposer::type(char16_t c)
{
    if (!m_open)
        return std::u16string(1, c);

    std::u16string out;
    if (isLetter(c)) {
        m_pending.push_back(c);
        resolve(out);
        return out;
    }
    // "n'" is ん; the apostrophe only separates it from a following vowel or "y".
    if (c == u'\'' && m_pending.size() == 1 && lower(m_pending[0]) == 'n') {
        m_pending.clear();
        appendKana(out, std::u16string_view(&kN, 1));
        return out;
    }
    out = flush();
    out.push_back(punctuation(c));
    return out;
}

// Commits every complete syllable at the start of the composition, leaving the letters that may
// still become one.
void KanaComposer::resolve(std::u16string& out)
{
    while (!m_pending.empty()) {
        std::string key;
        for (char16_t c : m_pending)
            key.push_back(lower(c));
        Match m = lookup(key);
        if (m.longer)
            return;
        if (m.exact) {
            appendKana(out, m.exact->hiragana);
            m_pending.clear();
            return;
        }
        // Nothing starts with these letters: the first one ends here. Every single letter starts
        // some spelling, so there are at least two.
        assert(key.size() >= 2);
        if (key[0] == 'n') {
            // An "n" that cannot join the next letter is ん: "kanji" gives かんじ. Before a vowel
            // or "y" it would have joined, so ん there needs "nn" or "n'".
            appendKana(out, std::u16string_view(&kN, 1));
        } else if ((key[0] == key[1] && !isVowel(key[0])) || (key[0] == 't' && key[1] == 'c')) {
            // A doubled consonant is the small tsu, and so is "t" before "ch" ("matcha").
            appendKana(out, std::u16string_view(&kSmallTsu, 1));
        } else {
            out.push_back(fullWidth(m_pending[0]));
        }
        m_pending.erase(0, 1);
    }
}

std::u16string KanaComposer::flush()
{
    std::u16string out;
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (i == 0 && lower(m_pending[0]) == 'n')
            appendKana(out, std::u16string_view(&kN, 1));
        else
            out.push_back(fullWidth(m_pending[i]));
    }
    m_pending.clear();
    return out;
}

bool KanaComposer::backspace()
{
    if (m_pending.empty())
        return false;
    m_pending.pop_back();
    return true;
}

} // namespace braille
