#include "CharacterDictionary.h"
#include "TableLoader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using braille::test::dictionaryFromTables;
using braille::test::TempDir;
using braille::test::u8;

namespace {

std::size_t entryCount(const CharacterSet& set) { return set.entries().size(); }

} // namespace

TEST(TableLoader, MissingFolderLeavesOnlyTheBuiltInEntries)
{
    CharacterDictionary d;
    loadTables(d, "/nonexistent/tenkora/tables");
    EXPECT_EQ(entryCount(d.printSet(kTextSet)), 65u + 1); // default, raw cells, comma alternate
    EXPECT_EQ(entryCount(d.printSet(kMathSet)), 65u + 1);
    EXPECT_EQ(entryCount(d.printSet(kGaijiSet)), 0u);
    EXPECT_EQ(entryCount(d.keySet(kTextSet)), 0u);
    for (int i = 1; i <= 64; ++i)
        EXPECT_TRUE(d.gaijiSixDot(i).empty());
    const BrailleCharacter* comma = d.find(kTextSet, u"\uFF0C", u"'");
    ASSERT_NE(comma, nullptr);
    EXPECT_EQ(comma->nabcc, u"'");
    EXPECT_EQ(d.printSet(kTextSet).firstByPrint(u"\uFF0C"), nullptr);
}

TEST(TableLoader, MissingFilesAreNotCreated)
{
    TempDir dir;
    test::writeBytes(dir.file("kana.txt"), "a\t\tあ\tA\n");
    CharacterDictionary d;
    loadTables(d, dir.path());
    EXPECT_NE(d.find(kTextSet, u"あ", u"A"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("math.txt")));
}

TEST(TableLoader, ByteOrderMarkAndCrLfReadLikePlainText)
{
    auto plain = dictionaryFromTables({{"kana.txt", "a\t\tあ\tA\ni\t\tい\tB\n"}});
    auto windows = dictionaryFromTables({{"kana.txt", "\xEF\xBB\xBF" "a\t\tあ\tA\r\ni\t\tい\tB\r\n"}});
    for (auto* d : {plain.get(), windows.get()}) {
        EXPECT_EQ(entryCount(d->printSet(kTextSet)), 65u + 2 + 1);
        EXPECT_NE(d->find(kTextSet, u"い", u"B"), nullptr);
    }
}

TEST(TableLoader, ABlankLineShiftsTheFieldsUntilAPrintOrCellFieldIsEmpty)
{
    // The blank line is one absent label: the next record takes "b" as its source, "x" as its
    // print text and "い" as its cells; the one after takes "B" as its label, and so on, until
    // the empty source field of the last line lands in the print position and ends the file.
    auto d = dictionaryFromTables({{"kana.txt", "a\t\tあ\tA\n\nb\tx\tい\tB\nu\tk\tう\tC\ne\t\tえ\tE\n"}});
    const CharacterSet& set = d->printSet(kTextSet);
    EXPECT_NE(d->find(kTextSet, u"あ", u"A"), nullptr);
    ASSERT_NE(set.firstByPrint(u"x"), nullptr);
    EXPECT_EQ(set.firstByPrint(u"x")->nabcc, u"い");
    EXPECT_EQ(set.firstBySource(u"b"), set.firstByPrint(u"x"));
    ASSERT_NE(set.firstByPrint(u"k"), nullptr);
    EXPECT_EQ(set.firstByPrint(u"k")->nabcc, u"う");
    EXPECT_EQ(set.firstByPrint(u"い"), nullptr);
    EXPECT_EQ(set.firstByPrint(u"え"), nullptr);
    EXPECT_EQ(set.entries().size(), 65u + 3 + 1);
}

TEST(TableLoader, EmptySourceAndLastLineWithoutLineFeed)
{
    auto d = dictionaryFromTables({{"kana.txt", "a\t\tあ\tA\nb\tsrc\tい\tB"}});
    const CharacterSet& set = d->printSet(kTextSet);
    EXPECT_EQ(set.bySource().count(u"あ"), 1u);
    ASSERT_NE(set.firstBySource(u"src"), nullptr);
    EXPECT_EQ(set.firstBySource(u"src")->print, u"い");
    EXPECT_EQ(set.firstBySource(u"src")->nabcc, u"B");
}

TEST(TableLoader, RepeatedRecordsAccumulatePrintKeys)
{
    auto d = dictionaryFromTables({{"kana.txt", "a\t\tあ\tA\na\t\tあ\tA\n"}});
    EXPECT_EQ(d->printSet(kTextSet).bySource().count(u"あ"), 2u);
    EXPECT_EQ(entryCount(d->printSet(kTextSet)), 65u + 1 + 1);
}

TEST(TableLoader, FileOrderDecidesTheMainEntry)
{
    // kana.txt is read before number.txt into set 2: the first record for a print text wins.
    auto d = dictionaryFromTables({{"kana.txt", "k\t\tＸ\tK\n"}, {"number.txt", "n\tx\tＸ\tN\n"}});
    EXPECT_EQ(d->printSet(kTextSet).firstByPrint(u"Ｘ")->nabcc, u"K");
    const BrailleCharacter* alt = d->printSet(kTextSet).firstAlternate(u"Ｘ");
    ASSERT_NE(alt, nullptr);
    EXPECT_EQ(alt->nabcc, u"N");
    EXPECT_EQ(d->printSet(kTextSet).firstBySource(u"x"), alt);
}

TEST(TableLoader, KeySetsUseSourceAndCellsOnlyWhenThereIsASource)
{
    auto d = dictionaryFromTables({{"math.txt", "in\tin\t∈\t.E\nnokey\t\t∉\t.F\nagain\tel\t∈\t.G\n"}});
    const CharacterSet& keys = d->keySet(kMathSet);
    const BrailleCharacter* in = keys.firstBySource(u"in");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(keys.firstBySource(u".E"), in);
    EXPECT_EQ(keys.firstBySource(u".F"), nullptr);
    EXPECT_EQ(keys.firstByPrint(u"∉")->nabcc, u".F"); // the entry exists, no key reaches it
    // Another record for ∈ with other cells: its keys lead to the first entry, and an
    // alternate is made.
    EXPECT_EQ(keys.firstBySource(u"el"), in);
    EXPECT_EQ(keys.firstBySource(u".G"), in);
    ASSERT_NE(keys.firstAlternate(u"∈"), nullptr);
    EXPECT_EQ(keys.firstAlternate(u"∈")->nabcc, u".G");
    // math.txt goes to the restricted key sets 10, 12 and 13 too, but not 11.
    for (SetNumber s : {10, 12, 13})
        EXPECT_NE(d->keySet(s).firstBySource(u"in"), nullptr) << s;
    EXPECT_EQ(d->keySet(11).firstBySource(u"in"), nullptr);
    EXPECT_EQ(d->keySet(10).firstBySource(u"in")->set, 10);
}

TEST(TableLoader, SixDotTable)
{
    auto d = dictionaryFromTables({{"gaiji_sixpoints.txt", "\uE021\tA\n\uE001\t\n\uE002\t1\nonly\n\uE003\n"}});
    EXPECT_EQ(u8(d->gaijiSixDot(1).print), "\uE021");
    EXPECT_EQ(d->gaijiSixDot(1).nabcc, u"A");
    EXPECT_TRUE(d->gaijiSixDot(2).empty()); // the cell field is empty
    EXPECT_EQ(d->gaijiSixDot(3).nabcc, u"1");
    // A record with only a print field takes the next line's first field as its cells.
    EXPECT_EQ(d->gaijiSixDot(4).print, u"only");
    EXPECT_EQ(u8(d->gaijiSixDot(4).nabcc), "\uE003");
    for (int i = 5; i <= 64; ++i)
        EXPECT_TRUE(d->gaijiSixDot(i).empty()) << i;
    EXPECT_TRUE(d->gaijiSixDot(0).empty());
    EXPECT_TRUE(d->gaijiSixDot(65).empty());
}

TEST(TableLoader, InvalidUtf8LoadsWhatItCan)
{
    auto d = dictionaryFromTables({{"kana.txt", "a\t\t\x80\xFF\tA\nb\t\tい\tB\nc\t\tう\t\xE3"}});
    EXPECT_NE(d->find(kTextSet, u"い", u"B"), nullptr);
    EXPECT_NE(d->printSet(kTextSet).firstByPrint(std::u16string(u"\0\0", 2)), nullptr);
    // The last record's cell field is a cut sequence: nothing, so the record ends the file.
    EXPECT_EQ(d->printSet(kTextSet).firstByPrint(u"う"), nullptr);
}
