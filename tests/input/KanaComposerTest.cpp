#include "KanaComposer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace braille;
using braille::test::u8;

namespace {

// Types the keys and returns each non-empty commit, then the flush, joined with "|" (in UTF-8 so
// that a failure prints readably). "kitte" gives "き|っ|て".
std::string commits(KanaComposer& composer, std::string_view keys, bool flushAtEnd = true)
{
    std::vector<std::u16string> pieces;
    for (char k : keys) {
        std::u16string out = composer.type(char16_t(static_cast<unsigned char>(k)));
        if (!out.empty())
            pieces.push_back(out);
    }
    if (flushAtEnd) {
        std::u16string out = composer.flush();
        if (!out.empty())
            pieces.push_back(out);
    }
    std::string joined;
    for (const auto& p : pieces) {
        if (!joined.empty())
            joined += '|';
        joined += u8(p);
    }
    return joined;
}

std::string commits(std::string_view keys, KanaComposer::Kana kana = KanaComposer::Kana::Hiragana)
{
    KanaComposer composer;
    composer.setKana(kana);
    return commits(composer, keys);
}

struct Case {
    const char* keys;
    const char* expected; // commits joined with "|"
};

void expectAll(const std::vector<Case>& cases, KanaComposer::Kana kana = KanaComposer::Kana::Hiragana)
{
    for (const Case& c : cases)
        EXPECT_EQ(commits(c.keys, kana), c.expected) << "keys: " << c.keys;
}

// What one key did: the text it committed and the composition left after it.
struct Step {
    std::string committed;
    std::string composition;
    bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Step& s)
{
    return os << "{\"" << s.committed << "\", \"" << s.composition << "\"}";
}

std::vector<Step> steps(KanaComposer& composer, std::string_view keys)
{
    std::vector<Step> result;
    for (char k : keys) {
        std::u16string out = composer.type(char16_t(static_cast<unsigned char>(k)));
        result.push_back({u8(out), u8(composer.composition())});
    }
    return result;
}

} // namespace

TEST(KanaComposerBasic, VowelsAndPlainSyllables)
{
    expectAll({
        {"aiueo", "あ|い|う|え|お"},
        {"kakikukeko", "か|き|く|け|こ"},
        {"gagigugego", "が|ぎ|ぐ|げ|ご"},
        {"sasusesozazuzezo", "さ|す|せ|そ|ざ|ず|ぜ|ぞ"},
        {"tatetodadedo", "た|て|と|だ|で|ど"},
        {"naninuneno", "な|に|ぬ|ね|の"},
        {"hahihehobabibubebopapipupepo", "は|ひ|へ|ほ|ば|び|ぶ|べ|ぼ|ぱ|ぴ|ぷ|ぺ|ぽ"},
        {"mamimumemo", "ま|み|む|め|も"},
        {"yayuyo", "や|ゆ|よ"},
        {"rarirurero", "ら|り|る|れ|ろ"},
        {"wawo", "わ|を"},
        {"didu", "ぢ|づ"},
    });
}

TEST(KanaComposerBasic, HepburnAndKunreiSpellingsAgree)
{
    expectAll({
        {"shisi", "し|し"},
        {"chiti", "ち|ち"},
        {"tsutu", "つ|つ"},
        {"fuhu", "ふ|ふ"},
        {"jizi", "じ|じ"},
        {"cacicucecoqu", "か|し|く|せ|こ|く"},
    });
}

TEST(KanaComposerBasic, SyllableIsCommittedOnItsLastKey)
{
    KanaComposer composer;
    EXPECT_EQ(steps(composer, "kyouha"), (std::vector<Step>{
        {"", "k"}, {"", "ky"}, {"きょ", ""}, {"う", ""}, {"", "h"}, {"は", ""}}));
    EXPECT_EQ(steps(composer, "tsu"), (std::vector<Step>{{"", "t"}, {"", "ts"}, {"つ", ""}}));
    EXPECT_EQ(steps(composer, "xtsu"), (std::vector<Step>{{"", "x"}, {"", "xt"}, {"", "xts"}, {"っ", ""}}));
}

// Every spelling in the table gives its kana on its last letter and not before, which also
// shows that no spelling cuts a longer one short.
TEST(KanaComposerBasic, EveryTableSpellingCommitsOnItsLastLetter)
{
    for (const auto& entry : KanaComposer::romajiTable()) {
        KanaComposer composer;
        std::u16string before;
        for (std::size_t i = 0; i + 1 < entry.romaji.size(); ++i)
            before += composer.type(char16_t(entry.romaji[i]));
        EXPECT_EQ(u8(before), "") << entry.romaji;
        EXPECT_EQ(u8(composer.type(char16_t(entry.romaji.back()))), u8(entry.hiragana)) << entry.romaji;
        EXPECT_EQ(u8(composer.composition()), "") << entry.romaji;
    }
}

TEST(KanaComposerBasic, TableCoversEverySpellingAnInputMethodUserExpects)
{
    std::set<std::string_view> spellings;
    for (const auto& entry : KanaComposer::romajiTable())
        spellings.insert(entry.romaji);
    for (const char* s : {"shi", "si", "chi", "ti", "tsu", "tu", "fu", "hu", "ji", "zi", "sha", "sya",
                          "cha", "tya", "cya", "ja", "zya", "jya", "thi", "dhi", "twu", "dwu", "she",
                          "che", "je", "ye", "wi", "we", "kwa", "gwa", "tsa", "tsi", "tse", "tso",
                          "fa", "fi", "fe", "fo", "va", "vi", "vu", "ve", "vo", "nn", "xn"})
        EXPECT_TRUE(spellings.count(s)) << s;
}

TEST(KanaComposerYoon, HepburnForms)
{
    expectAll({
        {"kyakyukyo", "きゃ|きゅ|きょ"},
        {"gyagyugyo", "ぎゃ|ぎゅ|ぎょ"},
        {"shashusho", "しゃ|しゅ|しょ"},
        {"jajujo", "じゃ|じゅ|じょ"},
        {"chachucho", "ちゃ|ちゅ|ちょ"},
        {"nyanyunyo", "にゃ|にゅ|にょ"},
        {"hyahyuhyo", "ひゃ|ひゅ|ひょ"},
        {"byabyubyo", "びゃ|びゅ|びょ"},
        {"pyapyupyo", "ぴゃ|ぴゅ|ぴょ"},
        {"myamyumyo", "みゃ|みゅ|みょ"},
        {"ryaryuryo", "りゃ|りゅ|りょ"},
        {"dyadyudyo", "ぢゃ|ぢゅ|ぢょ"},
    });
}

TEST(KanaComposerYoon, KunreiAndOtherForms)
{
    expectAll({
        {"syasyusyo", "しゃ|しゅ|しょ"},
        {"tyatyutyo", "ちゃ|ちゅ|ちょ"},
        {"cyacyucyo", "ちゃ|ちゅ|ちょ"},
        {"zyazyuzyo", "じゃ|じゅ|じょ"},
        {"jyajyujyo", "じゃ|じゅ|じょ"},
        {"kyiryesyi", "きぃ|りぇ|しぃ"},
    });
}

TEST(KanaComposerSokuon, DoubledConsonantCommitsSmallTsuAlone)
{
    expectAll({
        {"kitte", "き|っ|て"},
        {"kippu", "き|っ|ぷ"},
        {"zasshi", "ざ|っ|し"},
        {"matcha", "ま|っ|ちゃ"},
        {"tcha", "っ|ちゃ"},
        {"hokkyoku", "ほ|っ|きょ|く"},
        {"bajji", "ば|っ|じ"},
        {"wwa", "っ|わ"},
        {"vvu", "っ|ゔ"},
        {"ffa", "っ|ふぁ"},
        {"kkka", "っ|っ|か"},
    });
}

TEST(KanaComposerSokuon, CompositionKeepsTheSecondConsonant)
{
    KanaComposer composer;
    EXPECT_EQ(steps(composer, "itte"), (std::vector<Step>{{"い", ""}, {"", "t"}, {"っ", "t"}, {"て", ""}}));
}

TEST(KanaComposerSokuon, DoubledVowelOrNIsNotSokuon)
{
    expectAll({
        {"aa", "あ|あ"},
        {"oo", "お|お"},
        {"nna", "ん|あ"},
    });
}

TEST(KanaComposerN, DoubleNAndApostrophe)
{
    expectAll({
        {"nn", "ん"},
        {"kon'nichiha", "こ|ん|に|ち|は"},
        {"konnnichiha", "こ|ん|に|ち|は"},
        // "nn" is taken as ん, as the common input methods do.
        {"konnichiha", "こ|ん|い|ち|は"},
        {"hon'ya", "ほ|ん|や"},
        {"honnya", "ほ|ん|や"},
        {"honya", "ほ|にゃ"},
        {"kan'i", "か|ん|い"},
    });
}

TEST(KanaComposerN, BeforeAnotherConsonant)
{
    expectAll({
        {"kanji", "か|ん|じ"},
        {"shinbun", "し|ん|ぶ|ん"},
        {"kanpai", "か|ん|ぱ|い"},
        {"sanma", "さ|ん|ま"},
        {"denwa", "で|ん|わ"},
        {"nkanji", "ん|か|ん|じ"},
        {"onsen", "お|ん|せ|ん"},
    });
}

TEST(KanaComposerN, WaitsUntilTheNextKeyOrFlush)
{
    KanaComposer composer;
    EXPECT_EQ(steps(composer, "hon"), (std::vector<Step>{{"", "h"}, {"ほ", ""}, {"", "n"}}));
    EXPECT_EQ(u8(composer.flush()), "ん");
    EXPECT_EQ(u8(composer.composition()), "");
    EXPECT_EQ(u8(composer.flush()), "");

    // The consonant after the n stays in the composition.
    EXPECT_EQ(steps(composer, "nk"), (std::vector<Step>{{"", "n"}, {"ん", "k"}}));
    composer.cancel();
    // "ny" may still become にゃ, so it waits.
    EXPECT_EQ(steps(composer, "ny"), (std::vector<Step>{{"", "n"}, {"", "ny"}}));
    composer.cancel();
}

TEST(KanaComposerN, EndedByPunctuationSpaceOrDigit)
{
    expectAll({
        {"hon.", "ほ|ん。"},
        {"hon,", "ほ|ん、"},
        {"hon ", "ほ|ん\u3000"},
        {"n-", "んー"},
        {"n1", "ん１"},
        {"ni'", "に|＇"},
    });
}

TEST(KanaComposerSpecialSounds, LoanwordSounds)
{
    expectAll({
        {"fafifefo", "ふぁ|ふぃ|ふぇ|ふぉ"},
        {"vavivuvevo", "ゔぁ|ゔぃ|ゔ|ゔぇ|ゔぉ"},
        {"thidhi", "てぃ|でぃ"},
        {"twudwu", "とぅ|どぅ"},
        {"shechejeye", "しぇ|ちぇ|じぇ|いぇ"},
        {"wiwe", "うぃ|うぇ"},
        {"whawho", "うぁ|うぉ"},
        {"kwagwa", "くぁ|ぐぁ"},
        {"tsatsitsetso", "つぁ|つぃ|つぇ|つぉ"},
        {"thudhu", "てゅ|でゅ"},
        {"fyu", "ふゅ"},
        {"qaqo", "くぁ|くぉ"},
        {"wyiwye", "ゐ|ゑ"},
    });
}

TEST(KanaComposerSmallKana, XAndLPrefixes)
{
    expectAll({
        {"xaxixuxexo", "ぁ|ぃ|ぅ|ぇ|ぉ"},
        {"lalilulelo", "ぁ|ぃ|ぅ|ぇ|ぉ"},
        {"xyaxyuxyo", "ゃ|ゅ|ょ"},
        {"lyalyulyo", "ゃ|ゅ|ょ"},
        {"xtultuxtsultsu", "っ|っ|っ|っ"},
        {"xwalwa", "ゎ|ゎ"},
        {"xkaxkelkalke", "ゕ|ゖ|ゕ|ゖ"},
        {"xn", "ん"},
    });
}

TEST(KanaComposerPunctuation, JapanesePunctuation)
{
    expectAll({
        {"-", "ー"},
        {",", "、"},
        {".", "。"},
        {"[", "「"},
        {"]", "」"},
        {"/", "・"},
        {"~", "〜"},
        {"?", "？"},
        {"!", "！"},
        {"ra-men", "ら|ー|め|ん"},
        {"[hai].", "「|は|い|」|。"},
    });
}

TEST(KanaComposerPunctuation, SpaceIsIdeographicAndCommittedAtOnce)
{
    KanaComposer composer;
    EXPECT_EQ(steps(composer, " "), (std::vector<Step>{{"\u3000", ""}}));
    EXPECT_EQ(steps(composer, "k "), (std::vector<Step>{{"", "k"}, {"ｋ\u3000", ""}}));
}

TEST(KanaComposerKatakana, SameSpellingsGiveKatakana)
{
    expectAll({
        {"kyo", "キョ"},
        {"kitte", "キ|ッ|テ"},
        {"ra-men", "ラ|ー|メ|ン"},
        {"vu", "ヴ"},
        {"vaiorin", "ヴァ|イ|オ|リ|ン"},
        {"xkaxke", "ヵ|ヶ"},
        {"xwa", "ヮ"},
        {"wyiwye", "ヰ|ヱ"},
        {"konpyu-ta-.", "コ|ン|ピュ|ー|タ|ー|。"},
        {"hon'ya", "ホ|ン|ヤ"},
        {"2", "２"},
    }, KanaComposer::Kana::Katakana);
}

TEST(KanaComposerKatakana, SwitchAppliesToTheNextCommit)
{
    KanaComposer composer;
    EXPECT_EQ(u8(composer.type(u'k')), "");
    composer.setKana(KanaComposer::Kana::Katakana);
    EXPECT_EQ(u8(composer.type(u'a')), "カ");
    EXPECT_EQ(u8(composer.type(u'n')), "");
    composer.setKana(KanaComposer::Kana::Hiragana);
    EXPECT_EQ(u8(composer.flush()), "ん");
}

TEST(KanaComposerClosed, KeysPassThroughUnchanged)
{
    KanaComposer composer;
    composer.setOpen(false);
    EXPECT_FALSE(composer.isOpen());
    std::string typed;
    for (char k : std::string_view("ka n,2 -X"))
        typed += u8(composer.type(char16_t(k)));
    EXPECT_EQ(typed, "ka n,2 -X");
    EXPECT_EQ(u8(composer.composition()), "");
    EXPECT_EQ(u8(composer.flush()), "");
    EXPECT_FALSE(composer.backspace());
}

TEST(KanaComposerClosed, ClosingDropsTheCompositionAndReopeningComposesAgain)
{
    KanaComposer composer;
    EXPECT_EQ(u8(composer.type(u'k')), "");
    composer.setOpen(false);
    EXPECT_EQ(u8(composer.composition()), "");
    EXPECT_EQ(u8(composer.type(u'a')), "a");
    composer.setOpen(true);
    EXPECT_EQ(commits(composer, "ka"), "か");
}

TEST(KanaComposerEditing, BackspaceRemovesTheLastUnfinishedLetter)
{
    KanaComposer composer;
    EXPECT_FALSE(composer.backspace());
    EXPECT_EQ(steps(composer, "ky"), (std::vector<Step>{{"", "k"}, {"", "ky"}}));
    EXPECT_TRUE(composer.backspace());
    EXPECT_EQ(u8(composer.composition()), "k");
    EXPECT_EQ(u8(composer.type(u'o')), "こ");
    EXPECT_FALSE(composer.backspace());

    // After "xts", removing the "s" leaves "xt", which "u" finishes as っ.
    steps(composer, "xts");
    EXPECT_TRUE(composer.backspace());
    EXPECT_EQ(u8(composer.type(u'u')), "っ");

    // A committed っ is not taken back; only the pending "t" is.
    EXPECT_EQ(steps(composer, "tt"), (std::vector<Step>{{"", "t"}, {"っ", "t"}}));
    EXPECT_TRUE(composer.backspace());
    EXPECT_FALSE(composer.backspace());
}

TEST(KanaComposerEditing, FlushGivesFullWidthLettersExceptALeadingN)
{
    KanaComposer composer;
    steps(composer, "ky");
    EXPECT_EQ(u8(composer.flush()), "ｋｙ");
    steps(composer, "xts");
    EXPECT_EQ(u8(composer.flush()), "ｘｔｓ");
    steps(composer, "ny");
    EXPECT_EQ(u8(composer.flush()), "んｙ");
    steps(composer, "N");
    EXPECT_EQ(u8(composer.flush()), "ん");
    EXPECT_EQ(u8(composer.composition()), "");
}

TEST(KanaComposerEditing, CancelDropsTheComposition)
{
    KanaComposer composer;
    steps(composer, "sh");
    composer.cancel();
    EXPECT_EQ(u8(composer.composition()), "");
    EXPECT_EQ(u8(composer.flush()), "");
    EXPECT_EQ(commits(composer, "a"), "あ");
}

TEST(KanaComposerFullWidth, DigitsAndLettersThatMakeNoKana)
{
    expectAll({
        {"2026", "２|０|２|６"},
        {"q1", "ｑ１"},
        {"qk", "ｑ|ｋ"},
        {"kq", "ｋ|ｑ"},
        {"kyt", "ｋｙ|ｔ"},
        {"tsk", "ｔｓ|ｋ"},
        {"xk", "ｘｋ"},
        {"ka2", "か|２"},
        {"k2", "ｋ２"},
        {"@#", "＠|＃"},
        {"k'", "ｋ＇"},
    });
}

TEST(KanaComposerFullWidth, OtherCharactersPassThroughAfterAFlush)
{
    KanaComposer composer;
    EXPECT_EQ(u8(composer.type(u'k')), "");
    EXPECT_EQ(u8(composer.type(u'あ')), "ｋあ");
    EXPECT_EQ(u8(composer.type(u'\t')), "\t");
}

TEST(KanaComposerUppercase, ComposesLikeLowercaseAndKeepsCaseInFallback)
{
    expectAll({
        {"KYOUHA", "きょ|う|は"},
        {"KaNJI", "か|ん|じ"},
        {"KiTte", "き|っ|て"},
        {"Q1", "Ｑ１"},
        {"N", "ん"},
        {"N'A", "ん|あ"},
    });
    KanaComposer composer;
    EXPECT_EQ(steps(composer, "Sh"), (std::vector<Step>{{"", "S"}, {"", "Sh"}}));
}

// A longer passage typed as a user would, checked as a whole.
TEST(KanaComposerScenario, SentenceWithEveryKindOfRule)
{
    KanaComposer composer;
    std::string all;
    for (char k : std::string_view("kyouha, tenki gayokatta. [konpyu-ta-] 2026nen!"))
        all += u8(composer.type(char16_t(k)));
    all += u8(composer.flush());
    EXPECT_EQ(all, "きょうは、\u3000てんき\u3000がよかった。\u3000「こんぴゅーたー」\u3000２０２６ねん！");
}
