#include "KanaSpelling.h"
#include "KnownReadings.h"
#include "TranslatorFixture.h"

using namespace braille;
using namespace braille::test;
using namespace braille::autotranslate;

TEST(AutoTranslatorKana, ParticlesHaAndHeAreWrittenWaAndEButWoStays)
{
    EXPECT_EQ(brailleOf(u"私は図書館へ本を返す"), "ワタシワ_トショカンエ_ホンヲ_カエス");
    // は inside a word is not the particle
    EXPECT_EQ(brailleOf(u"花が咲く"), "ハナガ_サク");
    EXPECT_EQ(brailleOf(u"こんにちは"), "コンニチワ");
}

TEST(AutoTranslatorKana, UAfterTheURowOrORowIsTheLongVowelMarkAlsoInAuxiliaries)
{
    EXPECT_EQ(brailleOf(u"お父さんと東京で牛乳を"), "オトーサント_トーキョーデ_ギューニューヲ");
    EXPECT_EQ(brailleOf(u"行こう"), "イコー");
    EXPECT_EQ(brailleOf(u"預けよう"), "アズケヨー");
    EXPECT_EQ(brailleOf(u"来るだろう"), "クルダロー");
}

TEST(AutoTranslatorKana, TheOtherRowsAndTheOSpellingsStayKana)
{
    // The dictionary's pronunciation says ケータイ and オーキイ; braille keeps the spelling.
    EXPECT_EQ(brailleOf(u"携帯"), "ケイタイ");
    EXPECT_EQ(brailleOf(u"大きい氷"), "オオキイ_コオリ");
    EXPECT_EQ(brailleOf(u"お姉さん"), "オネエサン");
}

TEST(AutoTranslatorKana, TheUThatEndsAVerbStaysButTheUOnbinLengthens)
{
    EXPECT_EQ(brailleOf(u"言う"), "イウ");
    EXPECT_EQ(brailleOf(u"息を吸う"), "イキヲ_スウ");
    EXPECT_EQ(brailleOf(u"学校に通う"), "ガッコーニ_カヨウ");
    EXPECT_EQ(brailleOf(u"問うて"), "トーテ");
}

TEST(AutoTranslatorNumbers, CountersAreWrittenAsPronouncedAfterTheDigits)
{
    EXPECT_EQ(brailleOf(u"1匹、2匹、3匹"), "1ピキ、2ヒキ、3ビキ");
    EXPECT_EQ(brailleOf(u"六本"), "6ポン");
    EXPECT_EQ(brailleOf(u"12月"), "12ガツ");
    EXPECT_EQ(brailleOf(u"四月"), "4ガツ"); // one dictionary word シガツ
}

TEST(AutoTranslatorNumbers, ManAndOkuAreKanaWithABlankBeforeFurtherDigits)
{
    EXPECT_EQ(brailleOf(u"1万2349円"), "1マン_2349エン");
    EXPECT_EQ(brailleOf(u"三億五千万人"), "3オク_5000マンニン");
    EXPECT_EQ(brailleOf(u"三十人"), "30ニン");
    EXPECT_EQ(brailleOf(u"3.14メートルと1,000人"), "3.14メートルト_1,000ニン"); // one number each
}

TEST(AutoTranslatorNumbers, NumbersTooLargeForTheArithmeticStayDigitsAsPrinted)
{
    EXPECT_EQ(brailleOf(u"9999999999999999千円"), "9999999999999999センエン");
    EXPECT_EQ(brailleOf(u"一二三四五六七八九一二三四五六七八九一二円"), "12345678912345678912エン");
    EXPECT_EQ(brailleOf(u"9223372036854775807円"), "9223372036854775807エン");
    EXPECT_EQ(brailleOf(u"五千兆円"), "5000チョーエン"); // still within reach
}

TEST(AutoTranslatorNumbers, NativeReadingsStayKana)
{
    EXPECT_EQ(brailleOf(u"一つ"), "ヒトツ");
    EXPECT_EQ(brailleOf(u"二人で"), "フタリデ");
    EXPECT_EQ(brailleOf(u"四日"), "ヨッカ");
    EXPECT_EQ(brailleOf(u"一番"), "イチバン");
}

TEST(AutoTranslatorSpacing, AuxiliaryVerbsAndFormalNounsStandApart)
{
    EXPECT_EQ(brailleOf(u"行ったことがある"), "イッタ_コトガ_アル");
    EXPECT_EQ(brailleOf(u"歩いてくる"), "アルイテ_クル");
    EXPECT_EQ(brailleOf(u"難しくない"), "ムズカシク_ナイ");
    // ない after a verb is its ending; らしい, みたい, の, です attach
    EXPECT_EQ(brailleOf(u"行かない"), "イカナイ");
    EXPECT_EQ(brailleOf(u"そうではあるらしいみたいなのですけれども"), "ソーデワ_アルラシイミタイナノデスケレドモ");
}

TEST(AutoTranslatorSpacing, CompoundVerbsAndAdjectivesAreContinuous)
{
    EXPECT_EQ(brailleOf(u"歩き始める"), "アルキハジメル");
    EXPECT_EQ(brailleOf(u"使いやすい"), "ツカイヤスイ");
}

TEST(AutoTranslatorSpacing, NounAndSuruAreSpacedButOneWordVerbsAreNot)
{
    EXPECT_EQ(brailleOf(u"勉強する"), "ベンキョー_スル");
    EXPECT_EQ(brailleOf(u"はっきりする"), "ハッキリ_スル");
    EXPECT_EQ(brailleOf(u"愛する"), "アイスル");
}

TEST(AutoTranslatorSpacing, CompoundNounsSplitBetweenLongComponentsOnly)
{
    EXPECT_EQ(brailleOf(u"修学旅行"), "シューガク_リョコー"); // one dictionary word, cut in two
    EXPECT_EQ(brailleOf(u"桜並木"), "サクラ_ナミキ");
    EXPECT_EQ(brailleOf(u"プロ野球"), "プロヤキュー"); // a two-mora piece attaches
    EXPECT_EQ(brailleOf(u"株式会社"), "カブシキガイシャ");  // the voiced joint makes it one word
    EXPECT_EQ(brailleOf(u"沖縄県"), "オキナワケン");        // suffixes attach
}

TEST(AutoTranslatorSpacing, SurnameGivenNameAndHonorificsAreSpaced)
{
    EXPECT_EQ(brailleOf(u"山田太郎さん"), "ヤマダ_タロー_サン");
    EXPECT_EQ(brailleOf(u"樋口先生"), "ヒグチ_センセイ");
    EXPECT_EQ(brailleOf(u"魚屋さん"), "サカナヤサン");
    EXPECT_EQ(brailleOf(u"まゆみちゃん"), "マユミチャン");
}

TEST(AutoTranslatorSpacing, PunctuationBlanksAreLeftToTheBrailleRules)
{
    EXPECT_EQ(brailleOf(u"はい、そうです。そうです"), "ハイ、ソーデス。ソーデス");
    EXPECT_EQ(brailleOf(u"はい、 そうです。 次"), "ハイ、ソーデス。ツギ"); // print spaces add nothing there
    EXPECT_EQ(brailleOf(u"彼は「はい」と言った"), "カレワ_「ハイ」ト_イッタ");
    EXPECT_EQ(brailleOf(u"雨が降る。\n雪だ"), "アメガ_フル。\nユキダ");
}

TEST(AutoTranslatorReport, EachWordKeepsThePrintAndBrailleItCameFrom)
{
    const std::u16string print = u"私は東京へ";
    const Translation t = sharedTranslator().translate(print);
    const auto tokyo = std::find_if(t.words.begin(), t.words.end(), [](const TranslatedWord& w) { return w.print == u"東京"; });
    ASSERT_NE(tokyo, t.words.end());
    EXPECT_EQ(print.substr(tokyo->printBegin, tokyo->printEnd - tokyo->printBegin), u"東京");
    EXPECT_EQ(t.braille.substr(tokyo->brailleBegin, tokyo->brailleEnd - tokyo->brailleBegin), u"トーキョー");
    EXPECT_TRUE(tokyo->blankBefore);
    EXPECT_EQ(tokyo->reading, u"トウキョウ");
}

TEST(AutoTranslatorReport, GuessedHomographsAndUnknownWordsAreCounted)
{
    const Translation t = sharedTranslator().translate(u"今日も今日とて何をする。ズィヴォッヌが来た。");
    ASSERT_FALSE(t.guessed.empty());
    EXPECT_EQ(t.guessed[0].word, u"今日");
    EXPECT_EQ(t.guessed[0].count, 2);
    EXPECT_TRUE(std::any_of(t.guessed.begin(), t.guessed.end(), [](const WordCount& w) { return w.word == u"何"; }));
    ASSERT_EQ(t.unknown.size(), 1u);
    EXPECT_EQ(t.unknown[0].word, u"ズィヴォッヌ");
}

TEST(AutoTranslatorUserDictionary, AUserReadingOverridesTheAnalyserAndItsSpacing)
{
    std::vector<UserReadingError> errors;
    AutoTranslator::OpenResult opened = AutoTranslator::open();
    ASSERT_TRUE(opened.translator) << opened.error;
    // The shipped table voices the name the dictionary reads フクサワ, and the user's own reading
    // (a family that says フクサワ) wins over the table.
    EXPECT_EQ(u8(opened.translator->translate(u"福沢諭吉は").braille), "フクザワ\u3000ユキチワ");
    opened.translator->setUserReadings(UserReadings::parse(u"福沢\tフクサワ\n点字図書館\tテンジ トショカン\n", errors));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(u8(opened.translator->translate(u"福沢諭吉は点字図書館へ").braille),
              "フクサワ\u3000ユキチワ\u3000テンジ\u3000トショカンエ");
    EXPECT_TRUE(opened.translator->translate(u"福沢さん").guessed.empty());
    EXPECT_EQ(u8(opened.translator->translate(u"福沢さん").braille), "フクサワ\u3000サン");
}

TEST(AutoTranslatorUserDictionary, AUserWordAfterASpaceOrATabKeepsItsBraille)
{
    std::vector<UserReadingError> errors;
    AutoTranslator::OpenResult opened = AutoTranslator::open();
    ASSERT_TRUE(opened.translator) << opened.error;
    opened.translator->setUserReadings(UserReadings::parse(u"NHK\tえぬえいちけー\n福沢\tフクザワ\n", errors));
    const AutoTranslator& t = *opened.translator;
    EXPECT_EQ(withBlanks(t.translate(u"今日の NHK ニュース").braille), "キョーノ_エヌエイチケー_ニュース");
    EXPECT_EQ(withBlanks(t.translate(u"今日の\tNHK\tニュース").braille), "キョーノ_エヌエイチケー_ニュース");
    EXPECT_EQ(withBlanks(t.translate(u"  NHK と \t 福沢 さん").braille), "エヌエイチケート_フクザワ_サン");
    EXPECT_EQ(withBlanks(t.translate(u"NHK NHK").braille), "エヌエイチケー_エヌエイチケー");
}

TEST(AutoTranslatorText, ControlCharactersAndNulsAreWordBoundariesAndLoseNothing)
{
    using namespace std::literals;
    // Before, MeCab stopped at the NUL and everything after it was lost.
    EXPECT_EQ(brailleOf(u"東京\0大学へ行く\x01本を\x1bみる"sv), "トーキョー_ダイガクエ_イク_ホンヲ_ミル");
    // With user words, whose places in the text are behind the NUL.
    std::vector<UserReadingError> errors;
    AutoTranslator::OpenResult opened = AutoTranslator::open();
    ASSERT_TRUE(opened.translator) << opened.error;
    opened.translator->setUserReadings(UserReadings::parse(u"NHK\tえぬえいちけー\n", errors));
    EXPECT_EQ(withBlanks(opened.translator->translate(u"今日\0の\x7fNHK\0\0ニュース\nNHK"sv).braille),
              "キョーノ_エヌエイチケー_ニュース\nエヌエイチケー");
}

TEST(AutoTranslatorOpen, AMissingDictionaryIsReportedNotACrash)
{
    AutoTranslator::OpenResult opened = AutoTranslator::open("/nonexistent/mecab-dic");
    EXPECT_FALSE(opened.translator);
    EXPECT_NE(opened.error.find("/nonexistent/mecab-dic"), std::string::npos) << opened.error;
}

TEST(AutoTranslatorGivenReadings, APrintsRubyWinsOverTheDictionaryAndTheUserDictionary)
{
    using autotranslate::AutoTranslator;
    autotranslate::AutoTranslator& t = sharedTranslator();
    // 大勢 the dictionary reads タイセイ; the print says おおぜい.
    EXPECT_EQ(withBlanks(t.translate(u"大勢が来た。", {{0, 2, u"おおぜい"}}).braille), "オオゼイガ_キタ。");
    // The reading is spelled as braille spells readings: とうきょう トーキョー.
    EXPECT_EQ(withBlanks(t.translate(u"東京に行く", {{0, 2, u"とうきょう"}}).braille), "トーキョーニ_イク");
    EXPECT_EQ(autotranslate::spellGivenReading(u"ゆうき"), u"ユーキ");
    EXPECT_EQ(autotranslate::spellGivenReading(u"おおきい"), u"オオキイ");
    EXPECT_EQ(autotranslate::spellGivenReading(u"えいが"), u"エイガ");
    // On the second line too, and over a user word for the same print.
    const autotranslate::UserReadings saved = t.userReadings();
    t.setUserReadings(autotranslate::UserReadings(std::vector<autotranslate::UserReading>{{u"福沢", u"フクサワ"}}));
    EXPECT_EQ(withBlanks(t.translate(u"前\n福沢さん", {{2, 4, u"ふくざわ"}}).braille), "マエ\nフクザワ_サン");
    EXPECT_EQ(withBlanks(t.translate(u"福沢さん").braille), "フクサワ_サン"); // without the print's reading
    t.setUserReadings(saved);
    // Ruby on the kanji of a word, the okurigana outside it, or one ruby a kanji: the word stays
    // whole and spelled as braille spells it; a reading the dictionary has already changes nothing.
    EXPECT_EQ(withBlanks(t.translate(u"東京へ行く", {{0, 1, u"とう"}, {1, 2, u"きょう"}, {3, 4, u"い"}}).braille),
              "トーキョーエ_イク");
    EXPECT_EQ(withBlanks(t.translate(u"美しい湖", {{0, 1, u"うつく"}, {3, 4, u"みずうみ"}}).braille), "ウツクシイ_ミズウミ");
    EXPECT_EQ(withBlanks(t.translate(u"子牛と行った", {{0, 2, u"こうし"}, {3, 4, u"おこな"}}).braille), "コウシト_オコナッタ");
    // A word read as its ruby says is no guess.
    EXPECT_TRUE(t.translate(u"今日は雨", {{0, 2, u"こんにち"}}).guessed.empty());
}

TEST(AutoTranslatorPunctuation, NumbersJoinedByHyphensAndWaveDashesTakeNoBlanksAndTheNakaguroOneAfter)
{
    // The hyphen joins the digit groups; the rules add the connector and the number sign again.
    EXPECT_EQ(brailleOf(u"電話は06-6441-1068です。"), "デンワワ_06-6441-1068デス。");
    EXPECT_EQ(brailleOf(u"2026-12-09に"), "2026-12-09ニ");
    EXPECT_EQ(brailleOf(u"3〜5人"), "3〜5ニン");
    // 中点 is followed by a blank, or the dot alone before a kana would read as the voicing sign.
    EXPECT_EQ(brailleOf(u"パソコン・旅行・料理"), "パソコン・_リョコー・_リョーリ");
}

TEST(AutoTranslatorReadings, NaniIsNanBeforeDeToNoAndCountersAndAKanjiWithoutAReadingLeavesAMark)
{
    EXPECT_EQ(brailleOf(u"何でも食べる。"), "ナンデモ_タベル。");
    EXPECT_EQ(brailleOf(u"何の本ですか。"), "ナンノ_ホンデスカ。");
    EXPECT_EQ(brailleOf(u"何と美しい。"), "ナント_ウツクシイ。");
    EXPECT_EQ(brailleOf(u"何人来ますか。"), "ナンニン_キマスカ。");
    EXPECT_EQ(brailleOf(u"何本ある。"), "ナンボン_アル。");
    EXPECT_EQ(brailleOf(u"何日かかる。"), "ナンニチ_カカル。");
    EXPECT_EQ(brailleOf(u"何が好き。"), "ナニガ_スキ。");
    EXPECT_EQ(brailleOf(u"何もない。"), "ナニモ_ナイ。");
    // 軌 has no reading in the dictionary: it stays as a marked cell, and it is counted.
    const autotranslate::Translation t = sharedTranslator().translate(u"李軌は来た。");
    EXPECT_EQ(withBlanks(t.braille), "リ〓ワ_キタ。");
    ASSERT_EQ(t.unknown.size(), 1u);
    EXPECT_EQ(t.unknown[0].word, u"軌");
}

TEST(AutoTranslatorReadings, HomographsAreReadByTheWordsAroundThem)
{
    // 行った: オコナッタ after を or before a noun of doing, イッタ otherwise.
    EXPECT_EQ(brailleOf(u"会議を行った。"), "カイギヲ_オコナッタ。");
    EXPECT_EQ(brailleOf(u"本日行った調査"), "ホンジツ_オコナッタ_チョーサ");
    EXPECT_EQ(brailleOf(u"先日行った温泉"), "センジツ_イッタ_オンセン");
    EXPECT_EQ(brailleOf(u"行ってきます。"), "イッテ_キマス。");
    EXPECT_EQ(brailleOf(u"実験を三回行った。"), "ジッケンヲ_3カイ_オコナッタ。");
    EXPECT_EQ(brailleOf(u"本を読みに行った。"), "ホンヲ_ヨミニ_イッタ。");
    // 方: a person after a verb or この, a side or a comparison otherwise.
    EXPECT_EQ(brailleOf(u"希望する方は"), "キボー_スル_カタワ");
    EXPECT_EQ(brailleOf(u"この方が、"), "コノ_カタガ、");
    EXPECT_EQ(brailleOf(u"読む方がいい。"), "ヨム_ホーガ_イイ。");
    EXPECT_EQ(brailleOf(u"駅の方へ"), "エキノ_ホーエ");
    // 一日: the first of the month after a month, a day's length otherwise; both in kana.
    EXPECT_EQ(brailleOf(u"来月一日から"), "ライゲツ_ツイタチカラ");
    EXPECT_EQ(brailleOf(u"一日の気温"), "イチニチノ_キオン");
    EXPECT_EQ(brailleOf(u"一日中家で"), "イチニチジュー_イエデ");
    // 米 alone is rice; 後 after a verb or at the head of a clause is アト, after a number ゴ.
    EXPECT_EQ(brailleOf(u"米の収穫量"), "コメノ_シューカクリョー");
    EXPECT_EQ(brailleOf(u"米大統領"), "ベイダイトーリョー");
    EXPECT_EQ(brailleOf(u"食べた後で"), "タベタ_アトデ");
    EXPECT_EQ(brailleOf(u"三日後に"), "ミッカゴニ");
    // 通って after へ, 降り after 雨が, 大勢 before の; a month word after a number.
    EXPECT_EQ(brailleOf(u"学校へ通っています。"), "ガッコーエ_カヨッテ_イマス。");
    EXPECT_EQ(brailleOf(u"道を通って"), "ミチヲ_トオッテ");
    EXPECT_EQ(brailleOf(u"雨が降りそうだ。"), "アメガ_フリソーダ。");
    EXPECT_EQ(brailleOf(u"大勢の人"), "オオゼイノ_ヒト");
    EXPECT_EQ(brailleOf(u"3月末現在"), "3ガツマツ_ゲンザイ");
    EXPECT_EQ(brailleOf(u"21分の記録"), "21プンノ_キロク");
    EXPECT_EQ(brailleOf(u"3分の1"), "3ブンノ_1");
    EXPECT_EQ(brailleOf(u"1分間に"), "1プンカンニ");
    // The repetition mark reads the word before it again; 中 at the head of a clause is ナカ.
    EXPECT_EQ(brailleOf(u"昔々、"), "ムカシ_ムカシ、");
    EXPECT_EQ(brailleOf(u"開けると、中から"), "アケルト、ナカカラ");
}

TEST(AutoTranslatorReadings, TheShippedTableReadsNamesAndSplitWordsAndBareNumbersTakeTheNounAfterThem)
{
    std::vector<UserReadingError> errors;
    EXPECT_FALSE(parseKnownReadings(errors).empty());
    EXPECT_TRUE(errors.empty()) << "line " << errors.front().line << ": " << errors.front().message;
    // Names with the の of the classical period, readings the dictionary gets wrong, words
    // braille writes in two in every form of them.
    EXPECT_EQ(brailleOf(u"源頼朝が開いた"), "ミナモトノ_ヨリトモガ_ヒライタ");
    EXPECT_EQ(brailleOf(u"日本代表"), "ニホン_ダイヒョー");
    EXPECT_EQ(brailleOf(u"遠慮なく聞いて"), "エンリョ_ナク_キイテ");
    EXPECT_EQ(brailleOf(u"恋した人"), "コイ_シタ_ヒト");
    // A noun right after a bare number is written on; およそ stands apart like 約.
    EXPECT_EQ(brailleOf(u"40チームが"), "40チームガ");
    EXPECT_EQ(brailleOf(u"3対2で"), "3タイ_2デ");
    EXPECT_EQ(brailleOf(u"およそ三千人"), "オヨソ_3000ニン");
    // A verb after お is read as a noun: the verb after it stands apart.
    EXPECT_EQ(brailleOf(u"お読みください。"), "オヨミ_クダサイ。");
    EXPECT_EQ(brailleOf(u"お申し込みください。"), "オモーシコミ_クダサイ。");
    EXPECT_EQ(brailleOf(u"お変わりありませんか。"), "オカワリ_アリマセンカ。");
    EXPECT_EQ(brailleOf(u"読み始める。"), "ヨミハジメル。");
}
