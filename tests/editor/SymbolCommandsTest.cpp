#include "SymbolCommands.h"

#include "Cells.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

using namespace braille;
using braille::test::dictionaryFromTables;
using braille::test::shippedDictionary;
using braille::test::u8;

namespace {

const SymbolCommand& command(std::uint32_t id)
{
    const SymbolCommand* c = findSymbolCommand(id);
    EXPECT_NE(c, nullptr) << id;
    static const SymbolCommand none{};
    return c ? *c : none;
}

std::vector<std::u16string> path(std::uint32_t id)
{
    auto p = symbolMenuPath(command(id).menu);
    return {p.begin(), p.end()};
}

// "print/cells" of each entry, "-" for none, so a mismatch shows what was inserted.
std::string describe(const EntryList& entries)
{
    std::string s;
    for (const BrailleCharacter* e : entries) {
        if (!s.empty())
            s += " | ";
        s += e ? u8(e->print) + "/" + u8(e->nabcc) : "-";
    }
    return s;
}

std::u16string repeat(char16_t c, std::size_t n) { return std::u16string(n, c); }

} // namespace

TEST(SymbolCommandTable, HoldsEachSubmenusCommandsInMenuOrder)
{
    std::map<SymbolMenu, int> counts;
    std::vector<std::vector<std::u16string>> submenus;
    for (const SymbolCommand& c : symbolCommands()) {
        ++counts[c.menu];
        auto p = symbolMenuPath(c.menu);
        std::vector<std::u16string> captions(p.begin(), p.end());
        if (submenus.empty() || submenus.back() != captions)
            submenus.push_back(captions);
    }
    EXPECT_EQ(symbolCommands().size(), 230u);
    const std::map<SymbolMenu, int> expected{
        {SymbolMenu::General, 26},     {SymbolMenu::Lines, 5},          {SymbolMenu::English, 5},
        {SymbolMenu::Information, 15}, {SymbolMenu::SpecialSigns, 32},  {SymbolMenu::MathSigns, 5},
        {SymbolMenu::Greek, 54},       {SymbolMenu::Relations, 34},     {SymbolMenu::BinaryOperators, 7},
        {SymbolMenu::Arrows, 11},      {SymbolMenu::BracketsAndDots, 9}, {SymbolMenu::Accents, 4},
        {SymbolMenu::OtherSymbols, 23},
    };
    EXPECT_EQ(counts, expected);

    // Each submenu's items form one run, so the window can build the tree in table order.
    const std::u16string root = u"シンボル挿入";
    const std::vector<std::vector<std::u16string>> order{
        {root, u"一般"},
        {root, u"線類"},
        {root, u"英文"},
        {root, u"情報"},
        {root, u"情報", u"特殊符号"},
        {root, u"数学符号"},
        {root, u"数学", u"ギリシャ文字"},
        {root, u"数学", u"関係演算子"},
        {root, u"数学", u"２項演算子"},
        {root, u"数学", u"矢印"},
        {root, u"数学", u"括弧・点類"},
        {root, u"数学", u"アクセント記号"},
        {root, u"数学", u"その他の記号"},
    };
    EXPECT_EQ(submenus, order);
}

TEST(SymbolCommandTable, IdsAreUniqueAndLeadToTheirCommand)
{
    std::set<std::uint16_t> ids;
    for (const SymbolCommand& c : symbolCommands()) {
        EXPECT_TRUE(ids.insert(c.id).second) << "id " << c.id << " twice";
        EXPECT_EQ(findSymbolCommand(c.id), &c);
        EXPECT_FALSE(c.label.empty()) << c.id;
    }
    EXPECT_EQ(findSymbolCommand(0), nullptr);
    EXPECT_EQ(findSymbolCommand(32931), nullptr);
    EXPECT_EQ(findSymbolCommand(33015), nullptr); // a gap between the Greek letters and the relations
    EXPECT_EQ(findSymbolCommand(32780), nullptr); // Delete is not a symbol
}

// Every element of every command reaches an entry with exactly its print text and cells in the
// shipped tables; none falls back to "☒" or to another entry of the same print text.
TEST(SymbolCommandEntries, EveryCommandInsertsTheListedCharactersFromTheShippedTables)
{
    const CharacterDictionary& d = shippedDictionary();
    std::size_t total = 0;
    for (const SymbolCommand& c : symbolCommands()) {
        for (std::uint32_t column : {0u, 5u}) {
            std::vector<SymbolItem> unresolved;
            const EntryList entries = symbolEntries(c, d, column, &unresolved);
            const std::vector<SymbolItem> items = symbolItems(c, column);
            SCOPED_TRACE(u8(symbolMenuCaption(c)) + " (" + std::to_string(c.id) + ") at column " +
                         std::to_string(column) + ": " + describe(entries));
            EXPECT_TRUE(unresolved.empty());
            ASSERT_FALSE(items.empty());

            std::size_t at = 0;
            auto next = [&]() -> const BrailleCharacter* { return at < entries.size() ? entries[at++] : nullptr; };
            for (const SymbolItem& item : items) {
                if (item.kind == SymbolItem::Kind::LineBreak) {
                    EXPECT_EQ(next(), d.lineBreakEntry());
                    continue;
                }
                const bool wrapped = item.kind == SymbolItem::Kind::BlankWrappedSymbol;
                if (wrapped) {
                    EXPECT_EQ(next(), d.blankEntry());
                }
                const BrailleCharacter* e = next();
                ASSERT_NE(e, nullptr);
                EXPECT_NE(e, d.defaultEntry(kTextSet));
                EXPECT_NE(e, d.defaultEntry(kMathSet));
                EXPECT_NE(e->print, u"\u2612");
                EXPECT_EQ(e->print, item.print);
                EXPECT_EQ(e->nabcc, item.cells);
                EXPECT_EQ(e->set, item.set);
                if (wrapped) {
                    EXPECT_EQ(next(), d.blankEntry());
                }
            }
            EXPECT_EQ(at, entries.size());
            total += entries.size();
        }
    }
    EXPECT_GT(total, 0u);
}

TEST(SymbolCommandEntries, RawCellsOfTheTextSubmenusComeFromSetTwoAndOfMathSignsFromSetThree)
{
    const CharacterDictionary& d = shippedDictionary();
    for (const SymbolCommand& c : symbolCommands()) {
        if (c.kind == SymbolKind::Symbols)
            continue;
        const SetNumber expected = c.menu == SymbolMenu::MathSigns ? kMathSet : kTextSet;
        for (const BrailleCharacter* e : symbolEntries(c, d, 0)) {
            if (e == d.lineBreakEntry())
                continue;
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->set, expected) << c.id;
            EXPECT_EQ(e->print, std::u16string(1, cellToPrivate(e->nabcc.at(0)))) << c.id;
        }
    }
    // 外字符 (英文) and 数式符 (数学符号) are the same cell from the two sets.
    const BrailleCharacter* text = symbolEntries(command(32946), d, 0).at(0);
    const BrailleCharacter* math = symbolEntries(command(32958), d, 0).at(0);
    EXPECT_EQ(text, d.find(kTextSet, u"\uE01B", u";"));
    EXPECT_EQ(math, d.find(kMathSet, u"\uE01B", u";"));
    EXPECT_NE(text, math);
}

TEST(SymbolCommandEntries, NumberSignIsOneRawCell)
{
    const CharacterDictionary& d = shippedDictionary();
    const SymbolCommand& c = command(32932);
    EXPECT_EQ(c.label, u"数符");
    EXPECT_EQ(path(32932), (std::vector<std::u16string>{u"シンボル挿入", u"一般"}));
    EXPECT_EQ(symbolMenuCaption(c), u"数符\t\uE003");
    const EntryList entries = symbolEntries(c, d, 7);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], d.find(kTextSet, u"\uE003", u"#"));
}

TEST(SymbolCommandEntries, IndicatorsOfGeneralInsertTheirCellsInOrder)
{
    const CharacterDictionary& d = shippedDictionary();
    EXPECT_EQ(command(32937).label, u"第３指示符（始まり）");
    EXPECT_EQ(describe(symbolEntries(command(32937), d, 0)), "\uE01B/; | \uE00D/- | \uE00D/-");
    EXPECT_EQ(command(33205).label, u"空欄記号");
    EXPECT_EQ(symbolMenuCaption(command(33205)), u"空欄記号\t\uE03F\uE038\uE038\uE02C");
    EXPECT_EQ(describe(symbolEntries(command(33205), d, 0)), "\uE03F/_ | \uE038/X | \uE038/X | \uE02C/L");
    // 波線 sits between 点線 and 第１つなぎ符 although its id is far from theirs.
    auto all = symbolCommands();
    auto wave = std::find_if(all.begin(), all.end(), [](const SymbolCommand& c) { return c.id == 33025; });
    ASSERT_NE(wave, all.end());
    EXPECT_EQ(wave->label, u"波線");
    EXPECT_EQ(std::prev(wave)->id, 32941);
    EXPECT_EQ(std::next(wave)->id, 32942);
}

TEST(SymbolCommandEntries, EnclosureLineStartsANewLineOnlyInMidLine)
{
    const CharacterDictionary& d = shippedDictionary();
    const SymbolCommand& c = command(33217);
    EXPECT_EQ(c.label, u"囲み線（始まり）");
    EXPECT_EQ(c.kind, SymbolKind::RuledLine);
    EXPECT_EQ(path(33217), (std::vector<std::u16string>{u"シンボル挿入", u"線類"}));
    EXPECT_EQ(symbolMenuCaption(c), u"囲み線（始まり）\t\uE016\uE013\uE013\u2026\uE013\uE014");

    const std::u16string cells = u"6" + repeat(u'3', 30) + u"4";
    auto cellsOf = [&](const EntryList& entries, std::size_t from, std::size_t count) {
        std::u16string s;
        for (std::size_t i = from; i < from + count; ++i)
            s += entries.at(i)->nabcc;
        return s;
    };

    const EntryList atStart = symbolEntries(c, d, 0);
    ASSERT_EQ(atStart.size(), 33u);
    EXPECT_EQ(cellsOf(atStart, 0, 32), cells);
    EXPECT_EQ(atStart.back(), d.lineBreakEntry());

    const EntryList inLine = symbolEntries(c, d, 5);
    ASSERT_EQ(inLine.size(), 34u);
    EXPECT_EQ(inLine.front(), d.lineBreakEntry());
    EXPECT_EQ(cellsOf(inLine, 1, 32), cells);
    EXPECT_EQ(inLine.back(), d.lineBreakEntry());
}

TEST(SymbolCommandEntries, OtherLinesHaveTheirCornersAndLength)
{
    const CharacterDictionary& d = shippedDictionary();
    struct Line {
        std::uint32_t id;
        std::u16string label;
        std::u16string cells;
    };
    const Line lines[] = {
        {33218, u"囲み線（終わり）", u"H" + repeat(u'3', 30) + u"J"},
        {33219, u"囲み線2（始まり）", u"7" + repeat(u'3', 30) + u"7"},
        {33220, u"囲み線2（終わり）", u"G" + repeat(u'3', 30) + u"G"},
        {33221, u"終了線", repeat(u'3', 16)},
    };
    for (const Line& line : lines) {
        const SymbolCommand& c = command(line.id);
        EXPECT_EQ(c.label, line.label);
        const EntryList entries = symbolEntries(c, d, 0);
        ASSERT_EQ(entries.size(), line.cells.size() + 1) << line.id;
        std::u16string cells;
        for (std::size_t i = 0; i + 1 < entries.size(); ++i)
            cells += entries[i]->nabcc;
        EXPECT_EQ(cells, line.cells) << line.id;
        EXPECT_EQ(entries.back(), d.lineBreakEntry());
    }
    EXPECT_EQ(symbolShownText(command(33221)), u"\uE013\uE013\uE013\u2026\uE013");
}

TEST(SymbolCommandEntries, SharedListsGiveTheSameEntriesUnderTheirOwnLabels)
{
    const CharacterDictionary& d = shippedDictionary();
    EXPECT_EQ(command(32945).label, u"第２小見出し符");
    EXPECT_EQ(command(33277).label, u"コロン(:)");
    EXPECT_EQ(path(33277), (std::vector<std::u16string>{u"シンボル挿入", u"情報", u"特殊符号"}));
    EXPECT_EQ(symbolEntries(command(32945), d, 0), symbolEntries(command(33277), d, 0));
    EXPECT_EQ(command(32955).label, u"小文字フラグ");
    EXPECT_EQ(command(32946).label, u"外字符");
    EXPECT_EQ(symbolEntries(command(32955), d, 0), symbolEntries(command(32946), d, 0));
    EXPECT_EQ(symbolMenuCaption(command(33300)), u"オーバーライン,チルダ(~)\t\uE002\uE023");
}

TEST(SymbolCommandEntries, CupIsABlankWrappedMathSymbol)
{
    const CharacterDictionary& d = shippedDictionary();
    const SymbolCommand& c = command(33022);
    EXPECT_EQ(path(33022), (std::vector<std::u16string>{u"シンボル挿入", u"数学", u"２項演算子"}));
    EXPECT_EQ(symbolMenuCaption(c), u"cup\t∪");
    const EntryList entries = symbolEntries(c, d, 3);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], d.blankEntry());
    EXPECT_EQ(entries[1], d.find(kMathSet, u"∪", u"+"));
    EXPECT_EQ(entries[2], d.blankEntry());
    EXPECT_EQ(describe({entries[1]}), "∪/+");
}

TEST(SymbolCommandEntries, VertInsertsOneEntryTwiceAndMpTwoEntries)
{
    const CharacterDictionary& d = shippedDictionary();
    const EntryList vert = symbolEntries(command(33086), d, 0);
    ASSERT_EQ(vert.size(), 2u);
    EXPECT_EQ(vert[0], vert[1]);
    EXPECT_EQ(describe({vert[0]}), " || /\\\\");
    EXPECT_EQ(symbolShownText(command(33086)), u"||...|| ");

    const EntryList mp = symbolEntries(command(33019), d, 0);
    EXPECT_EQ(describe(mp), "－/9 | ＋/5");
    EXPECT_EQ(symbolMenuCaption(command(33019)), u"mp\t－＋");
}

TEST(SymbolCommandEntries, MathSymbolsKeepTheirExactPrintTexts)
{
    const CharacterDictionary& d = shippedDictionary();
    EXPECT_EQ(path(32961), (std::vector<std::u16string>{u"シンボル挿入", u"数学", u"ギリシャ文字"}));
    EXPECT_EQ(symbolMenuCaption(command(32961)), u"Alpha\tΑ");
    EXPECT_EQ(describe(symbolEntries(command(32961), d, 0)), " Α /.A");
    EXPECT_EQ(describe(symbolEntries(command(33159), d, 0)), "  ＜＜  /9999");
    EXPECT_EQ(describe(symbolEntries(command(33096), d, 0)), "\uE020＾/@H");
    EXPECT_EQ(symbolMenuCaption(command(33096)), u"hat\t\uE020＾");
    EXPECT_EQ(describe(symbolEntries(command(33083), d, 0)), "□/  |  |→ /_3O | □/ ");
    EXPECT_EQ(symbolMenuCaption(command(33083)), u"mapsto\t|→");
    EXPECT_EQ(describe(symbolEntries(command(33110), d, 0)), "ｱﾚﾌ /.H");
    EXPECT_EQ(command(33101).label, u"square root");
    EXPECT_EQ(command(33366).label, u"radical root");
    EXPECT_EQ(describe(symbolEntries(command(33101), d, 0)), "√/>");
    EXPECT_EQ(describe(symbolEntries(command(33366), d, 0)), "√/]");
}

TEST(SymbolCommandEntries, SymbolsTheTablesLackBecomeTheDefaultEntryAndAreReported)
{
    // Without tables only the raw cells and the special entries exist.
    CharacterDictionary bare;
    std::vector<SymbolItem> unresolved;
    EXPECT_EQ(symbolEntries(command(32932), bare, 0, &unresolved), EntryList{bare.find(kTextSet, u"\uE003", u"#")});
    EXPECT_TRUE(unresolved.empty());

    const EntryList cup = symbolEntries(command(33022), bare, 0, &unresolved);
    EXPECT_EQ(cup, (EntryList{bare.blankEntry(), bare.defaultEntry(kMathSet), bare.blankEntry()}));
    ASSERT_EQ(unresolved.size(), 1u);
    EXPECT_EQ(unresolved[0], (SymbolItem{SymbolItem::Kind::BlankWrappedSymbol, kMathSet, u"∪", u"+"}));
}

TEST(SymbolCommandEntries, AnotherEntryOfTheSamePrintTextIsReported)
{
    // "∪" with other cells: the lookup settles for an alternate whose cells are not those listed.
    auto d = dictionaryFromTables({{"math.txt", "union\t\t\xE2\x88\xAA\tX\nunion\t\t\xE2\x88\xAA\tY\n"}});
    std::vector<SymbolItem> unresolved;
    const EntryList cup = symbolEntries(command(33022), *d, 0, &unresolved);
    ASSERT_EQ(cup.size(), 3u);
    ASSERT_NE(cup[1], nullptr);
    EXPECT_EQ(describe({cup[1]}), "∪/Y");
    ASSERT_EQ(unresolved.size(), 1u);
    EXPECT_EQ(unresolved[0].print, u"∪");
    EXPECT_EQ(unresolved[0].cells, u"+");
}
