#include "CharacterDictionary.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using braille::test::dictionaryFromTables;
using braille::test::u16;
using braille::test::u8;

namespace {

std::string printsOf(const EntryList& entries)
{
    std::string s;
    for (const BrailleCharacter* e : entries)
        s += (s.empty() ? "" : "|") + u8(e->print);
    return s;
}

EntryList convert(const CharacterDictionary& d, StoredCharMode& mode, std::u16string_view text, int& result,
                  std::size_t& consumed)
{
    EntryList out;
    const char16_t* pos = text.data();
    result = d.convertText(mode, pos, text.data() + text.size(), out);
    consumed = std::size_t(pos - text.data());
    return out;
}

} // namespace

TEST(CharacterDictionaryBuiltIn, RawCellsAreFoundByPrivateUseTextAndCell)
{
    CharacterDictionary d;
    for (SetNumber set : {kTextSet, kMathSet}) {
        const BrailleCharacter* numberSign = d.find(set, u"\uE003", u"#");
        ASSERT_NE(numberSign, nullptr);
        EXPECT_EQ(numberSign->print, u"\uE003");
        EXPECT_EQ(numberSign->nabcc, u"#");
        EXPECT_EQ(numberSign->set, set);
        const BrailleCharacter* last = d.find(set, u"\uE03F", u"_");
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(last->nabcc, u"_");
    }
    EXPECT_EQ(d.printSet(kTextSet).entries().size(), 65u); // default entry and 64 cells
    EXPECT_EQ(d.find(kGaijiSet, u"\uE003", u"#"), nullptr);
}

TEST(CharacterDictionaryBuiltIn, SpecialEntriesAndTheirKeys)
{
    CharacterDictionary d;
    const CharacterIndex& special = d.printSet(kSpecialSet).bySource();
    EXPECT_EQ(CharacterDictionary::longestMatch(special, u"\n").entry, d.lineBreakEntry());
    EXPECT_EQ(CharacterDictionary::longestMatch(special, u" x").entry, d.blankEntry());
    EXPECT_EQ(CharacterDictionary::longestMatch(special, u"\u3000").entry, d.blankEntry());
    EXPECT_EQ(CharacterDictionary::longestMatch(special, u"\uFEFF").entry, d.endMarkerEntry());
    EXPECT_EQ(d.lineBreakEntry()->print, u"\u21B2");
    EXPECT_EQ(d.lineBreakEntry()->nabcc, u"\n");
    EXPECT_EQ(d.blankEntry()->print, u"\u25A1");
    EXPECT_EQ(d.endMarkerEntry()->print, u"*");
    EXPECT_EQ(d.printSet(kSpecialSet).entries().size(), 3u);
}

TEST(CharacterDictionaryBuiltIn, DefaultEntriesOnlyForTextAndMath)
{
    CharacterDictionary d;
    ASSERT_NE(d.defaultEntry(kTextSet), nullptr);
    EXPECT_EQ(d.defaultEntry(kTextSet)->print, u"\u2612");
    EXPECT_EQ(d.defaultEntry(kTextSet)->nabcc, u" ");
    EXPECT_NE(d.defaultEntry(kMathSet), d.defaultEntry(kTextSet));
    for (SetNumber s : {0, 1, 4, 5, 6, 10, 13})
        EXPECT_EQ(d.defaultEntry(s), nullptr) << s;
    EXPECT_EQ(d.defaultEntry(200), nullptr);

    // findOrDefault: the set, then set 1, then the default; none at all for set 4.
    EXPECT_EQ(d.findOrDefault(kTextSet, u"?", u"Q"), d.defaultEntry(kTextSet));
    EXPECT_EQ(d.findOrDefault(kTextSet, u"\u25A1", u" "), d.blankEntry());
    EXPECT_EQ(d.findOrDefault(kGaijiSet, u"?", u"Q"), nullptr);
    EXPECT_EQ(d.findOrDefault(kGaijiSet, u"\u21B2", u"\n"), d.lineBreakEntry());
}

TEST(CharacterDictionaryBuiltIn, TheEmptyKeyOfTheDefaultEntryIsNeverAPrefix)
{
    CharacterDictionary d;
    EXPECT_FALSE(CharacterDictionary::longestMatch(d.printSet(kTextSet).bySource(), u"z"));
    EXPECT_FALSE(CharacterDictionary::longestMatch(d.printSet(kTextSet).bySource(), u""));
}

TEST(CharacterDictionaryLookup, AlternatesAndCellKeys)
{
    // Two records for one print text with other cells: the first is the main entry, the second
    // an alternate reached through `alternates` and through its own source key.
    auto d = dictionaryFromTables({{"kana.txt", "a\t\tX\tA\nb\tsrc\tX\tB\nc\t\tY\tC\n"}});
    const BrailleCharacter* main = d->find(kTextSet, u"X", u"A");
    const BrailleCharacter* alt = d->find(kTextSet, u"X", u"B");
    ASSERT_NE(main, nullptr);
    ASSERT_NE(alt, nullptr);
    EXPECT_NE(main, alt);
    EXPECT_EQ(alt->nabcc, u"B");
    EXPECT_EQ(d->printSet(kTextSet).firstByPrint(u"X"), main);
    EXPECT_EQ(d->printSet(kTextSet).firstBySource(u"src"), alt);
    // The print text of an alternate is not a key of its own.
    EXPECT_EQ(d->printSet(kTextSet).bySource().count(u"X"), 1u);
    // An unknown cell string falls to the first alternate, whatever its cells.
    EXPECT_EQ(d->find(kTextSet, u"X", u"Z"), alt);
    // Without an alternate, other cells give none.
    EXPECT_EQ(d->find(kTextSet, u"Y", u"Z"), nullptr);
}

TEST(CharacterDictionaryLookup, FindTriesCellsAsAKeyBeforeAlternates)
{
    // "X" is first "A"; a second record "X" "B" makes an alternate, and a record whose source
    // key is the cell string "D" for another "X" entry lets find reach it through bySource.
    auto d = dictionaryFromTables({{"kana.txt", "a\t\tX\tA\nb\t\tX\tB\nc\tD\tX\tD\n"}});
    const BrailleCharacter* viaKey = d->find(kTextSet, u"X", u"D");
    ASSERT_NE(viaKey, nullptr);
    EXPECT_EQ(viaKey->nabcc, u"D");
    EXPECT_EQ(d->find(kTextSet, u"X", u"Q")->nabcc, u"B");
}

TEST(CharacterDictionaryLookup, LongestMatchPrefersTheLongerKey)
{
    auto d = dictionaryFromTables({{"kana.txt", "ki\t\tき\tOA\nkyo\t\tきょ\t@OO\n"}});
    const CharacterIndex& index = d->printSet(kTextSet).bySource();
    KeyMatch both = CharacterDictionary::longestMatch(index, u"きょう");
    ASSERT_TRUE(both);
    EXPECT_EQ(both.entry->print, u"きょ");
    EXPECT_EQ(both.length, 2u);
    KeyMatch shortOnly = CharacterDictionary::longestMatch(index, u"きう");
    ASSERT_TRUE(shortOnly);
    EXPECT_EQ(shortOnly.entry->print, u"き");
    EXPECT_EQ(shortOnly.length, 1u);
    // A key longer than what is left is not a prefix.
    EXPECT_EQ(CharacterDictionary::longestMatch(index, u"き").length, 1u);
}

TEST(CharacterDictionaryLookup, KeysSortLongerFirstAndEqualKeysKeepTheirOrder)
{
    auto d = dictionaryFromTables({{"kana.txt", "1\tab\tP\tA\n2\ta\tQ\tB\n3\tab\tR\tC\n"}});
    const CharacterIndex& index = d->printSet(kTextSet).bySource();
    auto ab = index.find(u"ab");
    auto a = index.find(u"a");
    ASSERT_NE(ab, index.end());
    ASSERT_NE(a, index.end());
    EXPECT_LT(std::distance(index.begin(), ab), std::distance(index.begin(), a));
    // The second "ab" was not added: a source key goes in only when it is still free.
    EXPECT_EQ(index.count(u"ab"), 1u);
    EXPECT_EQ(ab->second->print, u"P");
    // Code units compare unsigned: U+FF01 sorts above "a".
    auto d2 = dictionaryFromTables({{"kana.txt", "1\t\t\uFF01\tA\n"}});
    (void)d2;
    EXPECT_TRUE(DescendingKeyOrder{}(u"\uFF01", u"a"));
    EXPECT_TRUE(DescendingKeyOrder{}(u"ab", u"a"));
}

TEST(CharacterDictionaryConvert, OnlyTheModesSetIsSearchedAndUnknownUnitsAreSkipped)
{
    // The line break and the blank belong to set 1: print text in set 2 does not reach them
    // (the input systems turn Enter and Space into those entries themselves).
    auto d = dictionaryFromTables({{"kana.txt", "a\t\tあ\tA\ni\t\tい\tB\n"}});
    StoredCharMode mode = kTextSet;
    int result;
    std::size_t consumed;
    EntryList out = convert(*d, mode, u"あ\nい \uFFFFあ", result, consumed);
    EXPECT_EQ(result, kConvertDone);
    EXPECT_EQ(consumed, 6u);
    EXPECT_EQ(printsOf(out), "あ|い|あ");
    EXPECT_EQ(mode, StoredCharMode(kTextSet));

    std::u16string text = u"い x";
    const char16_t* pos = text.data();
    std::u16string unmatched;
    out.clear();
    d->convertText(mode, pos, text.data() + text.size(), out, &unmatched);
    EXPECT_EQ(unmatched, u" x");
}

TEST(CharacterDictionaryConvert, ABlankEndsMathAndACommaBeforeALineFeedContinuesIt)
{
    auto d = dictionaryFromTables({{"math.txt", "x\t\tｘ\tX\ncomma\t\t，\t,\n"}});
    StoredCharMode mode = kMathSet;
    int result;
    std::size_t consumed;
    // The raw blank cell ends math: the second ｘ is looked up in set 2, which does not know it.
    EntryList out = convert(*d, mode, u"ｘ\uE000ｘ", result, consumed);
    EXPECT_EQ(result, kConvertDone);
    EXPECT_EQ(mode, StoredCharMode(kTextSet));
    EXPECT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1]->nabcc, u" ");

    // A comma cell right before a line feed marks the formula as going on past the line end.
    mode = kMathSet;
    out = convert(*d, mode, u"ｘ，\nｘ", result, consumed);
    EXPECT_EQ(result, kConvertDone);
    EXPECT_EQ(consumed, 4u);
    EXPECT_EQ(printsOf(out), "ｘ|，|ｘ");
    EXPECT_EQ(mode, StoredCharMode(kMathSet | kContinuedLine));
    // ... until a blank ends it.
    out = convert(*d, mode, u"\uE000", result, consumed);
    EXPECT_EQ(mode, StoredCharMode(kTextSet));

    mode = kMathSet;
    out = convert(*d, mode, u"ｘ，ｘ", result, consumed);
    EXPECT_EQ(mode, StoredCharMode(kMathSet));
}

TEST(CharacterDictionaryConvert, KeysAndMatchKeys)
{
    auto d = dictionaryFromTables({{"math.txt", "alpha\talpha\tα\t.A\nin\tin\t∈\t.E\n"}});
    EntryList out;
    std::u16string typed = u"alpha?in";
    const char16_t* pos = typed.data();
    d->convertKeys(kMathSet, pos, typed.data() + typed.size(), out);
    EXPECT_EQ(printsOf(out), "α|∈");
    EXPECT_EQ(pos, typed.data() + typed.size());

    out.clear();
    EXPECT_EQ(d->matchKeys(5, u"alphabet", kMathSet, out), kMatched);
    EXPECT_EQ(printsOf(out), "α");
    EXPECT_EQ(d->matchKeys(4, u"alpha", kMathSet, out), kNoMatch);
    // Only the first 19 keys count.
    std::u16string longKeys = std::u16string(19, u'x') + u"alpha";
    EXPECT_EQ(d->matchKeys(longKeys.size(), longKeys.data(), kMathSet, out), kNoMatch);
    // The cells are a key too.
    EXPECT_EQ(d->matchKeys(2, u".E", kMathSet, out), kMatched);
    EXPECT_EQ(out.back()->print, u"∈");
}

TEST(CharacterDictionaryStored, ResolutionOrder)
{
    auto d = dictionaryFromTables({
        {"kana.txt", "a\t\tX\tA\nb\t\tX\tB\n"},
        {"math.txt", "arrow\tto\t\uE023\u2192\t@3O\nkeyed\tkk\tK\tKK\n"},
    });
    // Step 1: the print text as a key with matching cells.
    EXPECT_EQ(d->findStored(kTextSet, u"X", u"A")->nabcc, u"A");
    // Step 2: otherwise the first alternate.
    EXPECT_EQ(d->findStored(kTextSet, u"X", u"Z")->nabcc, u"B");
    // Step 3: otherwise the cells as a key of the key set (keyed by source and cells).
    const BrailleCharacter* byCells = d->findStored(kMathSet, u"gone", u"KK");
    ASSERT_NE(byCells, nullptr);
    EXPECT_EQ(byCells->print, u"K");
    EXPECT_EQ(byCells->set, kMathSet);
    EXPECT_EQ(d->findStored(kMathSet, u"gone", u"??"), nullptr);
    // The old arrow form: any print text with the cells "@3O" in math resolves to the arrow.
    const BrailleCharacter* arrow = d->findStored(kMathSet, u"\u2192", u"@3O");
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->print, u"\uE023\u2192");
}
