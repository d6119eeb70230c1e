// The analyser on dictionaries other than the IPA one: UniDic's features read under the IPA
// names the translator uses, NAIST-jdic opened without a dicrc, and NAIST-jdic asked for a
// second opinion on readings.

#include "AutoTranslator.h"
#include "DictionaryFeatures.h"
#include "MecabAnalyzer.h"
#include "TranslatorFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace braille;
using namespace braille::autotranslate;
using braille::test::brailleOf;
using braille::test::u8;

namespace {

constexpr const char* kNaistJdic = "/var/lib/mecab/dic/open-jtalk/naist-jdic";

Morpheme unidicWord(std::u16string surface, std::size_t begin, std::string_view feature)
{
    Morpheme m;
    m.surface = std::move(surface);
    m.begin = begin;
    m.end = begin + m.surface.size();
    readFeatures(feature, FeatureLayout::Unidic, m);
    return m;
}

} // namespace

TEST(Dictionaries, UnidicFeaturesReadUnderTheIpaNames)
{
    // 第3回行った: a prefix before a number, a counter after it, a verb's 促音便 form; the
    // accent fields hold commas inside quotes.
    Morphemes words{
        unidicWord(u"第", 0, "接頭辞,,,,,,ダイ,第,第,ダイ,第,ダイ,漢,\"\",\"\",\"\",\"\",\"\",\"\",接頭,ダイ,ダイ,ダイ,ダイ,\"\",\"P13\",\"\",1,2"),
        unidicWord(u"3", 1, "名詞,数詞,,,,,サン,三,3,サン,3,サン,漢,\"\",\"\",\"\",\"\",\"N3\",\"\",数,サン,サン,サン,サン,\"0\",\"C3\",\"\",1,2"),
        unidicWord(u"回", 2, "名詞,普通名詞,助数詞可能,,,,カイ,回,回,カイ,回,カイ,漢,\"\",\"\",\"\",\"\",\"\",\"B1S6SjShS,B1S6S8SjShS\",体,カイ,カイ,カイ,カイ,\"1\",\"C3\",\"\",1,2"),
        unidicWord(u"行っ", 3, "動詞,非自立可能,,,五段-カ行,連用形-促音便,イク,行く,行っ,イッ,行く,イク,和,\"\",\"\",\"\",\"\",\"\",\"\",用,イッ,イク,イッ,イク,\"0\",\"C2\",\"\",1,2"),
        unidicWord(u"は", 5, "助詞,係助詞,,,,,ハ,は,は,ワ,は,ワ,和,\"\",\"\",\"\",\"\",\"\",\"\",係助,ハ,ハ,ハ,ハ,\"\",\"動詞%F2@0,名詞%F1,形容詞%F2@-1\",\"\",1,2"),
    };
    relabelInContext(words, FeatureLayout::Unidic);
    EXPECT_EQ(u8(words[0].pos + u"," + words[0].pos1), "接頭詞,数接続");
    EXPECT_EQ(u8(words[1].pos + u"," + words[1].pos1), "名詞,数");
    EXPECT_EQ(u8(words[2].pos + u"," + words[2].pos1 + u"," + words[2].pos2), "名詞,接尾,助数詞");
    EXPECT_EQ(u8(words[3].pos + u"," + words[3].pos1 + u"," + words[3].pos2), "動詞,自立,*");
    EXPECT_EQ(u8(words[3].conjugationForm), "連用タ接続");
    EXPECT_EQ(u8(words[3].baseForm), "行く");
    EXPECT_EQ(u8(words[3].reading), "イッ");
    // The particle: its kana as written (ハ) for the reading, its sound (ワ) for the pronunciation.
    EXPECT_EQ(u8(words[4].reading + u"/" + words[4].pronunciation), "ハ/ワ");

    // Without a number before it, a counter-capable noun is a plain noun.
    Morphemes alone{unidicWord(u"回", 0, "名詞,普通名詞,助数詞可能,,,,カイ,回,回,カイ,回,カイ,漢")};
    relabelInContext(alone, FeatureLayout::Unidic);
    EXPECT_EQ(u8(alone[0].pos1 + u"," + alone[0].pos2), "一般,*");
}

TEST(Dictionaries, NaistJdicOpensWithoutADicrcAndItsSetPhrasesAreWords)
{
    if (!std::filesystem::exists(std::filesystem::path(kNaistJdic) / "sys.dic"))
        GTEST_SKIP() << "open-jtalk-mecab-naist-jdic is not installed";
    ASSERT_FALSE(std::filesystem::exists(std::filesystem::path(kNaistJdic) / "dicrc"));
    MecabAnalyzer::OpenResult opened = MecabAnalyzer::open(kNaistJdic);
    ASSERT_TRUE(opened.analyzer) << opened.error;
    // One entry in the dictionary (ありがとう:ございます), two words in braille.
    const Morphemes words = opened.analyzer->analyze(u"ありがとうございます");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(u8(words[0].surface + u"/" + words[0].reading), "ありがとう/アリガトウ");
    EXPECT_EQ(u8(words[1].surface + u"/" + words[1].reading + u"/" + words[1].pronunciation), "ございます/ゴザイマス/ゴザイマス");
    EXPECT_EQ(words[1].begin, 5u);
    EXPECT_EQ(words[1].end, 10u);
}

TEST(Dictionaries, SecondDictionaryGivesReadingsButNotNumbers)
{
    if (!std::filesystem::exists(std::filesystem::path(kNaistJdic) / "sys.dic"))
        GTEST_SKIP() << "open-jtalk-mecab-naist-jdic is not installed";
    setenv("TENKORA_MECAB_SECOND_DICDIR", kNaistJdic, 1);
    AutoTranslator::OpenResult opened = AutoTranslator::open();
    unsetenv("TENKORA_MECAB_SECOND_DICDIR");
    ASSERT_TRUE(opened.translator) << opened.error;
    auto braille = [&](std::u16string_view print) { return test::withBlanks(opened.translator->translate(print).braille); };
    // The IPA dictionary alone reads タイセイ and オコナッタ here.
    EXPECT_EQ(braille(u"大勢の人が集まった。"), "オオゼイノ_ヒトガ_アツマッタ。");
    EXPECT_EQ(braille(u"先日行った温泉"), "センジツ_イッタ_オンセン");
    // NAIST-jdic alone reads 月 after a number as ツキ and 時間 as a noun of its own; the
    // numbers and counters stay as the IPA dictionary cuts and reads them.
    EXPECT_EQ(braille(u"6月ごろ、約2時間"), brailleOf(u"6月ごろ、約2時間"));
    EXPECT_EQ(braille(u"6月ごろ、約2時間"), "6ガツゴロ、ヤク_2ジカン");
}
