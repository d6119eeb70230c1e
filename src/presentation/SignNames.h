#pragma once
// The spoken names of braille signs that have no print counterpart. Such a character's print
// text is its cells as private-use cell characters, which a screen reader speaks as nothing; the
// accessible text reads its name instead: 数符, つなぎ符, 外字符, 大文字符, 数式指示符, …
// (the names of tables/gaiji.txt and of the braille reference), and a cell that is no known
// sign as its dots, "点3-4-5-6", the way tables/gaiji.txt names the raw cells.

#include "BrailleCharacter.h"

#include <string_view>

namespace braille {

// The name of the blank cells the braille rules put after "。" and "、".
inline constexpr std::u16string_view kRuleBlankName = u"空白のマス";

// Whether the character's print is only cells (a sign, a raw cell), so a screen reader needs a
// name for it.
bool isCellOnlyPrint(const BrailleCharacter& entry);

// The spoken name of a cell-only character; empty for any other. Names of math sets follow the
// math reading of the cell (";" is 数式指示符 there, 外字符 in text).
std::u16string_view signName(const BrailleCharacter& entry);

} // namespace braille
