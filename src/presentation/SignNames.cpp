#include "SignNames.h"

#include "Cells.h"

#include <map>
#include <mutex>
#include <string>

namespace braille {

namespace {

struct Named {
    std::u16string_view cells; // NABCC
    std::u16string_view name;
};

// The signs of running text by their cells, as tables/gaiji.txt and the braille reference
// (numbers.tsv, letters.tsv, punctuation.tsv) name them. A cell that several signs share is
// named after the sign the braille rules and the F8/F9 commands put in text.
constexpr Named kTextSigns[] = {
    {u"#", u"数符"},
    {u";", u"外字符"},
    {u",", u"大文字符"},
    {u",,", u"二重大文字符"},
    {u"-", u"つなぎ符"},
    {u",'", u"第2つなぎ符"},
    {u"8", u"外国語引用符始まり"},
    {u"0", u"外国語引用符終わり"},
    {u"_", u"詩行符"},
    {u"\"-", u"第1指示符始まり"},
    {u"-1", u"第1指示符終わり"},
    {u"\"--", u"第2指示符始まり"},
    {u"--1", u"第2指示符終わり"},
    {u";--", u"第3指示符始まり"},
    {u"--2", u"第3指示符終わり"},
    {u"77", u"挿入符"},
    {u"33", u"棒線"},
    {u"111", u"点線"},
    {u"--", u"波線"},
    {u",-", u"第1小見出し符"},
    {u"\"1", u"第2小見出し符"},
    {u"99", u"第1星印"},
    {u"55", u"第2星印"},
    {u",5", u"第3星印"},
    {u";2", u"文中注記符"},
    {u"_XXL", u"空欄記号"},
    {u",8", u"情報点字記述始まり"},
    {u",0", u"情報点字記述終わり"},
    {u"_8", u"一般点字始まり"},
    {u"_0", u"一般点字終わり"},
};

// The signs of formulas (math.tsv, tables/gaiji.txt).
constexpr Named kMathSigns[] = {
    {u";", u"数式指示符"},
    {u"#", u"数符"},
    {u",", u"大文字符"},
    {u",,", u"二重大文字符"},
    {u"'", u"区切り符"},
    {u"^", u"右上の添字符"},
};

std::u16string_view lookUp(std::u16string_view cells, bool math)
{
    if (math)
        for (const Named& n : kMathSigns)
            if (n.cells == cells)
                return n.name;
    for (const Named& n : kTextSigns)
        if (n.cells == cells)
            return n.name;
    return {};
}

// "点3-4-5-6", or the blank cell's name.
std::u16string dotsName(char16_t cell)
{
    const int mask = cellToDots(cell);
    if (mask <= 0)
        return std::u16string(kRuleBlankName);
    std::u16string name = u"点";
    for (int d = 0; d < 6; ++d)
        if (mask & (1 << d)) {
            if (name.size() > 1)
                name += u'-';
            name += char16_t(u'1' + d);
        }
    return name;
}

std::u16string nameOf(const BrailleCharacter& e)
{
    // Set 4 (the outside characters) holds the text signs as well as the math ones; its cells
    // are named as in text, as tables/gaiji.txt lists them first.
    const bool math = isMathSet(e.set) && e.set != kGaijiSet;
    if (const std::u16string_view whole = lookUp(e.nabcc, math); !whole.empty())
        return std::u16string(whole);
    // Cells that make no known sign together are named one by one.
    std::u16string name;
    for (char16_t cell : e.nabcc) {
        if (!name.empty())
            name += u' ';
        const std::u16string_view one = lookUp(std::u16string_view(&cell, 1), math);
        name += one.empty() ? dotsName(cell) : std::u16string(one);
    }
    return name;
}

} // namespace

bool isCellOnlyPrint(const BrailleCharacter& entry)
{
    if (entry.print.empty())
        return false;
    for (char16_t c : entry.print)
        if (!isPrivateCell(c))
            return false;
    return true;
}

std::u16string_view signName(const BrailleCharacter& entry)
{
    if (!isCellOnlyPrint(entry))
        return {};
    // Entries never change and live until the process ends, so each name is made once and kept.
    static std::mutex lock;
    static std::map<const BrailleCharacter*, std::u16string> names;
    const std::lock_guard guard(lock);
    auto it = names.find(&entry);
    if (it == names.end())
        it = names.emplace(&entry, nameOf(entry)).first;
    return it->second;
}

} // namespace braille
