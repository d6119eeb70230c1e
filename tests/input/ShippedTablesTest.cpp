// Checks of the shipped table files: what the braille rules, the structure keys and the symbol
// menu insert must be real entries, and the common characters convert to the right cells.

#include "CharacterDictionary.h"
#include "TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace braille;
using braille::test::shippedDictionary;
using braille::test::u16;
using braille::test::u8;

namespace {

struct RequiredPair {
    int line;
    SetNumber set;
    std::u16string print, nabcc;
    std::string where;
};

std::vector<RequiredPair> requiredPairs()
{
    std::ifstream in(test::sourceDir() / "tests/data/required_pairs.tsv", std::ios::binary);
    std::vector<RequiredPair> pairs;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (number == 1 || line.empty())
            continue; // header
        std::vector<std::string> cols;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            cols.push_back(line.substr(start, tab - start));
        cols.push_back(line.substr(start));
        if (cols.size() < 3)
            continue;
        pairs.push_back({number, SetNumber(std::stoi(cols[0])), u16(cols[1]), u16(cols[2]), cols.size() > 3 ? cols[3] : ""});
    }
    return pairs;
}

std::string cellsOf(const CharacterDictionary& d, SetNumber set, std::u16string_view text, std::string* unmatched)
{
    StoredCharMode mode = set;
    const char16_t* pos = text.data();
    const char16_t* end = pos + text.size();
    EntryList out;
    std::u16string missing;
    while (pos < end)
        d.convertText(mode, pos, end, out, &missing);
    if (unmatched)
        *unmatched = u8(missing);
    std::string cells;
    for (const BrailleCharacter* e : out)
        cells += (cells.empty() ? "" : " ") + u8(e->nabcc);
    return cells;
}

} // namespace

TEST(ShippedTables, EveryRequiredPairIsARealEntry)
{
    const CharacterDictionary& d = shippedDictionary();
    const std::vector<RequiredPair> pairs = requiredPairs();
    ASSERT_GT(pairs.size(), 100u) << "tests/data/required_pairs.tsv is missing or short";
    for (const RequiredPair& p : pairs) {
        const BrailleCharacter* e = d.findOrDefault(p.set, p.print, p.nabcc);
        ASSERT_NE(e, nullptr) << "line " << p.line << ": " << u8(p.print) << " " << u8(p.nabcc) << " (" << p.where << ")";
        EXPECT_NE(e, d.defaultEntry(p.set)) << "line " << p.line << ": " << u8(p.print) << " falls back to the default ("
                                            << p.where << ")";
        EXPECT_EQ(u8(e->print), u8(p.print)) << "line " << p.line << " (" << p.where << ")";
        EXPECT_EQ(u8(e->nabcc), u8(p.nabcc)) << "line " << p.line << ": " << u8(p.print) << " (" << p.where << ")";
    }
}

TEST(ShippedTables, TextConversion)
{
    const CharacterDictionary& d = shippedDictionary();
    std::string unmatched;
    EXPECT_EQ(cellsOf(d, kTextSet, u"きょうは２０２６ねんです。", &unmatched), "@[ C U B J B F P 0 \"Q ? 4");
    EXPECT_EQ(unmatched, "");
    // Katakana, voiced and semi-voiced yōon, the sokuon and the long vowel.
    EXPECT_EQ(cellsOf(d, kTextSet, u"ギャ", &unmatched), "^*");
    EXPECT_EQ(cellsOf(d, kTextSet, u"ぴょ", &unmatched), ".!");
    EXPECT_EQ(cellsOf(d, kTextSet, u"がっこう", &unmatched), "\"* 1 [ C");
    EXPECT_EQ(cellsOf(d, kTextSet, u"コーヒー", &unmatched), "[ 3 V 3");
    EXPECT_EQ(unmatched, "");
    EXPECT_EQ(cellsOf(d, kTextSet, u"、", &unmatched), ";");
}

TEST(ShippedTables, NumbersLettersAndTheNumericComma)
{
    const CharacterDictionary& d = shippedDictionary();
    for (SetNumber set : {kTextSet, kMathSet}) {
        EXPECT_EQ(u8(d.find(set, u"，", u"1")->nabcc), "1") << set;
        EXPECT_EQ(u8(d.find(set, u"．", u"1")->nabcc), "1") << set;
        EXPECT_EQ(u8(d.find(set, u"，", u"'")->nabcc), "'") << set;
    }
    // Half-width digits and letters reach their full-width entries. (In the math key set the
    // digits' cells "A".."J" are keys too and come first, so capitals are found by print set.)
    EXPECT_EQ(u8(d.keySet(kMathSet).firstBySource(u"5")->print), "５");
    EXPECT_EQ(u8(d.keySet(kMathSet).firstBySource(u"a")->print), "ａ");
    EXPECT_EQ(u8(d.printSet(kMathSet).firstBySource(u"A")->print), "Ａ");
    EXPECT_EQ(u8(d.keySet(9).firstBySource(u"A")->print), "Ａ");
}

TEST(ShippedTables, SixKeyChordsFindEveryCellInTheGaijiSet)
{
    const CharacterDictionary& d = shippedDictionary();
    for (char16_t code = 0x20; code <= 0x5F; ++code) {
        const char16_t pua[1] = {char16_t(0xE000 + code - 0x20)};
        const char16_t cell[1] = {code};
        const BrailleCharacter* e = d.find(kGaijiSet, {pua, 1}, {cell, 1});
        ASSERT_NE(e, nullptr) << int(code);
        EXPECT_EQ(e->set, kGaijiSet);
    }
    // Record m of the six-dot table is the cell whose dot mask is m.
    for (int m = 1; m <= 63; ++m) {
        const SixDotPair& p = d.gaijiSixDot(m);
        ASSERT_FALSE(p.empty()) << m;
        ASSERT_EQ(p.nabcc.size(), 1u);
        EXPECT_EQ(int(p.print[0]) - 0xE000, int(p.nabcc[0]) - 0x20) << m;
    }
}

TEST(ShippedTables, KanaHaveNoRomajiKeys)
{
    const CharacterDictionary& d = shippedDictionary();
    for (std::u16string_view key : {u"a", u"ka", u"i", u"n", u"x"}) {
        const BrailleCharacter* e = d.keySet(kMathSet).firstBySource(key);
        if (e) {
            EXPECT_FALSE(e->print[0] >= 0x3041 && e->print[0] <= 0x30FF) << u8(key) << " -> " << u8(e->print);
        }
    }
}
