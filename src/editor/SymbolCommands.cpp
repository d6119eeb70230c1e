#include "SymbolCommands.h"

#include "Cells.h"

#include <algorithm>
#include <iterator>

namespace braille {

namespace {

using enum SymbolMenu;

constexpr SymbolCommand rawCells(std::uint16_t id, SymbolMenu menu, std::u16string_view label, SetNumber set,
                                 std::u16string_view cells)
{
    return {id, menu, label, {}, SymbolKind::RawCells, set, cells, {}};
}

constexpr SymbolCommand ruledLine(std::uint16_t id, std::u16string_view label, std::u16string_view shown,
                                  std::u16string_view cells)
{
    return {id, Lines, label, shown, SymbolKind::RuledLine, kTextSet, cells, {}};
}

constexpr SymbolPart sym(std::u16string_view print, std::u16string_view cells) { return {print, cells, false}; }
constexpr SymbolPart wrapped(std::u16string_view print, std::u16string_view cells) { return {print, cells, true}; }

constexpr SymbolCommand symbol(std::uint16_t id, SymbolMenu menu, std::u16string_view label, std::u16string_view shown,
                               SymbolPart first, SymbolPart second = {})
{
    return {id, menu, label, shown, SymbolKind::Symbols, kMathSet, {}, {first, second}};
}

// Cells are NABCC codes. Raw cells are looked up in set 2 in every submenu but "数学符号", whose
// cells are those of set 3. Some ids insert the same list under another label (32945 and 33277,
// 32955 and 32946); each is a menu item of its own.
constexpr SymbolCommand kCommands[] = {
    rawCells(32932, General, u"数符", kTextSet, u"#"),
    rawCells(32933, General, u"第１指示符（始まり）", kTextSet, u"\"-"),
    rawCells(32934, General, u"第１指示符（終わり）", kTextSet, u"-1"),
    rawCells(32935, General, u"第２指示符（始まり）", kTextSet, u"\"--"),
    rawCells(32936, General, u"第２指示符（終わり）", kTextSet, u"--1"),
    rawCells(32937, General, u"第３指示符（始まり）", kTextSet, u";--"),
    rawCells(32938, General, u"第３指示符（終わり）", kTextSet, u"--2"),
    rawCells(32939, General, u"挿入符", kTextSet, u"77"),
    rawCells(32940, General, u"棒線", kTextSet, u"33"),
    rawCells(32941, General, u"点線", kTextSet, u"111"),
    rawCells(33025, General, u"波線", kTextSet, u"--"),
    rawCells(32942, General, u"第１つなぎ符", kTextSet, u"-"),
    rawCells(32943, General, u"第２つなぎ符", kTextSet, u",'"),
    rawCells(32944, General, u"第１小見出し符", kTextSet, u",-"),
    rawCells(32945, General, u"第２小見出し符", kTextSet, u"\"1"),
    rawCells(33200, General, u"第１星印", kTextSet, u"99"),
    rawCells(33201, General, u"第２星印", kTextSet, u"55"),
    rawCells(33202, General, u"第３星印", kTextSet, u",5"),
    rawCells(33203, General, u"文中注記符", kTextSet, u";2"),
    rawCells(33204, General, u"詩行符", kTextSet, u"_"),
    rawCells(33205, General, u"空欄記号", kTextSet, u"_XXL"),
    rawCells(33206, General, u"伏せ字の○", kTextSet, u"\"Z"),
    rawCells(33207, General, u"伏せ字の△", kTextSet, u"\"("),
    rawCells(33208, General, u"伏せ字の□", kTextSet, u"\"Y"),
    rawCells(33209, General, u"伏せ字の×", kTextSet, u"\"="),
    rawCells(33210, General, u"その他の伏せ字", kTextSet, u"\")"),

    ruledLine(33217, u"囲み線（始まり）", u"\uE016\uE013\uE013…\uE013\uE014", u"6" u"333333333333333333333333333333" u"4"),
    ruledLine(33218, u"囲み線（終わり）", u"\uE028\uE013\uE013…\uE013\uE02A", u"H" u"333333333333333333333333333333" u"J"),
    ruledLine(33219, u"囲み線2（始まり）", u"\uE017\uE013\uE013…\uE013\uE017", u"7" u"333333333333333333333333333333" u"7"),
    ruledLine(33220, u"囲み線2（終わり）", u"\uE027\uE013\uE013…\uE013\uE027", u"G" u"333333333333333333333333333333" u"G"),
    ruledLine(33221, u"終了線", u"\uE013\uE013\uE013…\uE013", u"3333333333333333"),

    rawCells(32946, English, u"外字符", kTextSet, u";"),
    rawCells(32947, English, u"大文字符", kTextSet, u","),
    rawCells(32948, English, u"二重大文字符", kTextSet, u",,"),
    rawCells(32949, English, u"外国語引用符（始まり）", kTextSet, u"8"),
    rawCells(32950, English, u"外国語引用符（終わり）", kTextSet, u"0"),

    rawCells(32951, Information, u"情報点字記述（始まり）", kTextSet, u",8"),
    rawCells(32952, Information, u"情報点字記述（終わり）", kTextSet, u",0"),
    rawCells(32953, Information, u"一般点字（始まり）", kTextSet, u"_8"),
    rawCells(32954, Information, u"一般点字（終わり）", kTextSet, u"_0"),
    rawCells(32955, Information, u"小文字フラグ", kTextSet, u";"),
    rawCells(32956, Information, u"大文字フラグ", kTextSet, u","),
    rawCells(32957, Information, u"連続大文字符", kTextSet, u",,"),
    rawCells(33230, Information, u"仮名フラグ", kTextSet, u"."),
    rawCells(33231, Information, u"仮名・記号遷移符", kTextSet, u"\""),
    rawCells(33232, Information, u"仮名の小文字符", kTextSet, u"^"),
    rawCells(33233, Information, u"濁点", kTextSet, u"1"),
    rawCells(33234, Information, u"半濁点", kTextSet, u"2"),
    rawCells(33235, Information, u"行継続符", kTextSet, u"@"),
    rawCells(33236, Information, u"有意の空白", kTextSet, u":"),
    rawCells(33237, Information, u"否定", kTextSet, u"!"),

    rawCells(33275, SpecialSigns, u"コンマ(,)", kTextSet, u"1"),
    rawCells(33276, SpecialSigns, u"ドット(.)", kTextSet, u"4"),
    rawCells(33277, SpecialSigns, u"コロン(:)", kTextSet, u"\"1"),
    rawCells(33278, SpecialSigns, u"セミコロン(;)", kTextSet, u"2"),
    rawCells(33279, SpecialSigns, u"！", kTextSet, u"6"),
    rawCells(33280, SpecialSigns, u"？", kTextSet, u"\"8"),
    rawCells(33281, SpecialSigns, u"＠", kTextSet, u"["),
    rawCells(33282, SpecialSigns, u"＃", kTextSet, u"%"),
    rawCells(33283, SpecialSigns, u"￥", kTextSet, u"$"),
    rawCells(33284, SpecialSigns, u"＄", kTextSet, u"?"),
    rawCells(33285, SpecialSigns, u"％", kTextSet, u"]"),
    rawCells(33286, SpecialSigns, u"＆", kTextSet, u"&"),
    rawCells(33287, SpecialSigns, u"＊", kTextSet, u"*"),
    rawCells(33288, SpecialSigns, u"｜", kTextSet, u"\\"),
    rawCells(33289, SpecialSigns, u"＋", kTextSet, u"+"),
    rawCells(33290, SpecialSigns, u"－", kTextSet, u"-"),
    rawCells(33291, SpecialSigns, u"／", kTextSet, u"/"),
    rawCells(33292, SpecialSigns, u"＝", kTextSet, u"33"),
    rawCells(33293, SpecialSigns, u"＜", kTextSet, u"99"),
    rawCells(33294, SpecialSigns, u"＞", kTextSet, u"55"),
    rawCells(33295, SpecialSigns, u"”", kTextSet, u"7"),
    rawCells(33296, SpecialSigns, u"’", kTextSet, u"'"),
    rawCells(33297, SpecialSigns, u"ハット(^)", kTextSet, u"^"),
    rawCells(33298, SpecialSigns, u"バッククォート(`)", kTextSet, u"\"E"),
    rawCells(33299, SpecialSigns, u"アンダーライン(_)", kTextSet, u"\"-"),
    rawCells(33300, SpecialSigns, u"オーバーライン,チルダ(~)", kTextSet, u"\"C"),
    rawCells(33301, SpecialSigns, u"(", kTextSet, u"8"),
    rawCells(33302, SpecialSigns, u")", kTextSet, u"0"),
    rawCells(33303, SpecialSigns, u"{", kTextSet, u"<"),
    rawCells(33304, SpecialSigns, u"}", kTextSet, u">"),
    rawCells(33305, SpecialSigns, u"[", kTextSet, u"("),
    rawCells(33306, SpecialSigns, u"]", kTextSet, u")"),

    rawCells(32958, MathSigns, u"数式符", kMathSet, u";"),
    rawCells(32959, MathSigns, u"数符", kMathSet, u"#"),
    rawCells(32960, MathSigns, u"大文字符", kMathSet, u","),
    rawCells(33240, MathSigns, u"二重大文字符", kMathSet, u",,"),
    rawCells(33241, MathSigns, u"行末つなぎ符", kMathSet, u","),

    symbol(32961, Greek, u"Alpha", u"Α", sym(u" Α ", u".A")),
    symbol(32962, Greek, u"Beta", u"Β", sym(u" Β ", u".B")),
    symbol(32963, Greek, u"Gamma", u"Γ", sym(u" Γ ", u".G")),
    symbol(32964, Greek, u"Delta", u"Δ", sym(u" Δ ", u".D")),
    symbol(32965, Greek, u"Epsilon", u"Ε", sym(u" Ε ", u".E")),
    symbol(32966, Greek, u"Zeta", u"Ζ", sym(u" Ζ ", u".Z")),
    symbol(32967, Greek, u"Eta", u"Η", sym(u" Η ", u".:")),
    symbol(32968, Greek, u"Theta", u"Θ", sym(u" Θ ", u".?")),
    symbol(32969, Greek, u"Iota", u"Ι", sym(u" Ι ", u".I")),
    symbol(32970, Greek, u"Kappa", u"Κ", sym(u" Κ ", u".K")),
    symbol(32971, Greek, u"Lambda", u"Λ", sym(u" Λ ", u".L")),
    symbol(32972, Greek, u"Mu", u"Μ", sym(u" Μ ", u".M")),
    symbol(32973, Greek, u"Nu", u"Ν", sym(u" Ν ", u".N")),
    symbol(32974, Greek, u"Xi", u"Ξ", sym(u" Ξ ", u".X")),
    symbol(32975, Greek, u"Omicron", u"Ο", sym(u" Ο ", u".O")),
    symbol(32976, Greek, u"Pi", u"Π", sym(u" Π ", u".P")),
    symbol(32977, Greek, u"Rho", u"Ρ", sym(u" Ρ ", u".R")),
    symbol(32978, Greek, u"Sigma", u"Σ", sym(u" Σ ", u".S")),
    symbol(32979, Greek, u"Tau", u"Τ", sym(u" Τ ", u".T")),
    symbol(32980, Greek, u"Upsilon", u"Υ", sym(u" Υ ", u".U")),
    symbol(32981, Greek, u"Phi", u"Φ", sym(u" Φ ", u".F")),
    symbol(32982, Greek, u"Chi", u"Χ", sym(u" Χ ", u".&")),
    symbol(32983, Greek, u"Psi", u"Ψ", sym(u" Ψ ", u".Y")),
    symbol(32984, Greek, u"Omega", u"Ω", sym(u" Ω ", u".W")),
    symbol(32985, Greek, u"alpha", u"α", sym(u" α ", u"@A")),
    symbol(32986, Greek, u"beta", u"β", sym(u" β ", u"@B")),
    symbol(32987, Greek, u"gamma", u"γ", sym(u" γ ", u"@G")),
    symbol(32988, Greek, u"delta", u"δ", sym(u" δ ", u"@D")),
    symbol(32989, Greek, u"epsilon", u"ε", sym(u" ε ", u"@E")),
    symbol(32990, Greek, u"zeta", u"ζ", sym(u" ζ ", u"@Z")),
    symbol(32991, Greek, u"eta", u"η", sym(u" η ", u"@:")),
    symbol(32992, Greek, u"theta", u"θ", sym(u" θ ", u"@?")),
    symbol(32993, Greek, u"iota", u"ι", sym(u" ι ", u"@I")),
    symbol(32994, Greek, u"kappa", u"κ", sym(u" κ ", u"@K")),
    symbol(32995, Greek, u"lambda", u"λ", sym(u" λ ", u"@L")),
    symbol(32996, Greek, u"mu", u"μ", sym(u" μ ", u"@M")),
    symbol(32998, Greek, u"nu", u"ν", sym(u" ν ", u"@N")),
    symbol(32997, Greek, u"xi", u"ξ", sym(u" ξ ", u"@X")),
    symbol(32999, Greek, u"omicron", u"ο", sym(u" ο ", u"@O")),
    symbol(33000, Greek, u"pi", u"π", sym(u" π ", u"@P")),
    symbol(33001, Greek, u"rho", u"ρ", sym(u" ρ ", u"@R")),
    symbol(33002, Greek, u"sigma", u"σ", sym(u" σ ", u"@S")),
    symbol(33003, Greek, u"tau", u"τ", sym(u" τ ", u"@T")),
    symbol(33004, Greek, u"upsilon", u"υ", sym(u" υ ", u"@U")),
    symbol(33005, Greek, u"phi", u"φ", sym(u" φ ", u"@F")),
    symbol(33006, Greek, u"chi", u"χ", sym(u" χ ", u"@&")),
    symbol(33007, Greek, u"psi", u"ψ", sym(u" ψ ", u"@Y")),
    symbol(33008, Greek, u"omega", u"ω", sym(u" ω ", u"@W")),
    symbol(33009, Greek, u"varepsilon", u"ε", sym(u" ε ", u"@E")),
    symbol(33010, Greek, u"vartheta", u"θ", sym(u" θ ", u"@?")),
    symbol(33011, Greek, u"varpi", u"π", sym(u" π ", u"@P")),
    symbol(33012, Greek, u"varrho", u"ρ", sym(u" ρ ", u"@R")),
    symbol(33013, Greek, u"varsigma", u"σ", sym(u" σ ", u"@S")),
    symbol(33014, Greek, u"varphi", u"φ", sym(u" φ ", u"@F")),

    symbol(33016, Relations, u"in", u"∈", sym(u"∈", u"6")),
    symbol(33017, Relations, u"ni", u"∋", sym(u"∋", u"4")),
    symbol(33153, Relations, u"subset", u" ⊂ ", sym(u" ⊂ ", u"61")),
    symbol(33154, Relations, u"supset", u" ⊃ ", sym(u" ⊃ ", u"\"4")),
    symbol(33155, Relations, u"leq", u" ≦ ", sym(u" ≦ ", u"66")),
    symbol(33156, Relations, u"geq", u" ≧ ", sym(u" ≧ ", u"44")),
    symbol(33157, Relations, u"leqq", u" ≦ ", sym(u" ≦ ", u"66")),
    symbol(33158, Relations, u"geqq", u" ≧ ", sym(u" ≧ ", u"44")),
    symbol(33159, Relations, u"ll", u"  ＜＜  ", sym(u"  ＜＜  ", u"9999")),
    symbol(33160, Relations, u"gg", u"  ＞＞  ", sym(u"  ＞＞  ", u"5555")),
    symbol(33161, Relations, u"equiv", u" ≡ ", sym(u" ≡ ", u"77")),
    symbol(33162, Relations, u"doteqdot", u" ≒ ", sym(u" ≒ ", u"\"3")),
    symbol(33163, Relations, u"neq", u" ≠ ", sym(u" ≠ ", u".3")),
    symbol(33164, Relations, u"notsubset", u" ⊂／ ", sym(u" ⊂／ ", u".61")),
    symbol(33165, Relations, u"notsupset", u" ⊃／ ", sym(u" ⊃／ ", u".\"4")),
    symbol(33166, Relations, u"notin", u"∈／", sym(u"∈／", u".6")),
    symbol(33167, Relations, u"notni", u"∋／", sym(u"∋／", u".4")),
    symbol(33168, Relations, u"sim", u" ～ ", sym(u" ～ ", u"\"-")),
    symbol(33169, Relations, u"approx", u"  ～～  ", sym(u"  ～～  ", u"\"-\"-")),
    symbol(33170, Relations, u"propto", u"  ∝  ", sym(u"  ∝  ", u"\"31")),
    symbol(33171, Relations, u"parallel", u" // ", sym(u" // ", u";2")),
    symbol(33172, Relations, u"perp", u" ⊥ ", sym(u" ⊥ ", u"0'")),
    symbol(33173, Relations, u"fallingdotseq", u" ≒ ", sym(u" ≒ ", u"\"3")),
    symbol(33175, Relations, u"subseteq", u" ⊆ ", sym(u" ⊆ ", u"63")),
    symbol(33174, Relations, u"supseteq", u" ⊇ ", sym(u" ⊇ ", u"34")),
    symbol(33176, Relations, u"subseteqq", u" ⊆ ", sym(u" ⊆ ", u"63")),
    symbol(33177, Relations, u"supseteqq", u" ⊇ ", sym(u" ⊇ ", u"34")),
    symbol(33178, Relations, u"subsetnoteq", u" ⊂＝／ ", sym(u" ⊂＝／ ", u"61.3")),
    symbol(33179, Relations, u"supsetnoteq", u" ⊃＝／ ", sym(u" ⊃＝／ ", u".3\"4")),
    symbol(33180, Relations, u"subsetnoteqq", u" ⊂＝／ ", sym(u" ⊂＝／ ", u"61.3")),
    symbol(33181, Relations, u"supsetnoteqq", u" ⊃＝／ ", sym(u" ⊃＝／ ", u".3\"4")),
    symbol(33182, Relations, u"notequiv", u" ≡／ ", sym(u" ≡／ ", u".77")),
    symbol(33183, Relations, u"nsubseteq", u"⊆／", sym(u"⊆／", u".63")),
    symbol(33184, Relations, u"nsupseteq", u"⊇／", sym(u"⊇／", u".34")),

    symbol(33018, BinaryOperators, u"pm", u"±", sym(u" ± ", u"59")),
    symbol(33019, BinaryOperators, u"mp", u"－＋", sym(u"－", u"9"), sym(u"＋", u"5")),
    symbol(33020, BinaryOperators, u"times", u"×", sym(u"×", u"*")),
    symbol(33021, BinaryOperators, u"div", u"÷", sym(u" ÷ ", u"//")),
    symbol(33022, BinaryOperators, u"cup", u"∪", wrapped(u"∪", u"+")),
    symbol(33023, BinaryOperators, u"cap", u"∩", wrapped(u"∩", u"%")),
    symbol(33024, BinaryOperators, u"circ", u"○", sym(u"○", u"1")),

    symbol(33075, Arrows, u"leftarrow", u"←", wrapped(u"←", u"[3")),
    symbol(33076, Arrows, u"rightarrow", u"→", wrapped(u"→", u"3O")),
    symbol(33077, Arrows, u"Leftarrow", u"<=", wrapped(u" <= ", u"[33")),
    symbol(33078, Arrows, u"Rightarrow", u"⇒", wrapped(u" ⇒ ", u"33O")),
    symbol(33079, Arrows, u"leftrightarrow", u"←→", wrapped(u"←→", u"[3O")),
    symbol(33080, Arrows, u"Leftrightarrow", u"⇔", wrapped(u"  ⇔  ", u"[33O")),
    symbol(33081, Arrows, u"uparrow", u"↑", wrapped(u"↑", u"?")),
    symbol(33082, Arrows, u"downarrow", u"↓", wrapped(u"↓", u"#")),
    symbol(33083, Arrows, u"mapsto", u"|→", wrapped(u" |→ ", u"_3O")),
    symbol(33084, Arrows, u"nearrow", u"↗", wrapped(u" ↗ ", u",3O")),
    symbol(33085, Arrows, u"searrow", u"↘", wrapped(u" ↘ ", u"@3O")),

    symbol(33086, BracketsAndDots, u"Vert", u"||...|| ", sym(u" || ", u"\\\\"), sym(u" || ", u"\\\\")),
    symbol(33087, BracketsAndDots, u"period", u"。", sym(u"。", u"4")),
    symbol(33088, BracketsAndDots, u"prime", u"´", sym(u"´", u"-")),
    symbol(33089, BracketsAndDots, u"doubleprime", u"´´", sym(u"´´", u"--")),
    symbol(33090, BracketsAndDots, u"tripleprime", u"´´´", sym(u"´´´", u"---")),
    symbol(33091, BracketsAndDots, u"cdots", u"・・・", sym(u"・・・", u"111")),
    symbol(33092, BracketsAndDots, u"ldots", u"．．．", sym(u"．．．", u"111")),
    symbol(33093, BracketsAndDots, u"cdot", u"・", sym(u"・", u"'")),
    symbol(33094, BracketsAndDots, u"vdots", u"・・・", sym(u"・・・", u"111")),

    symbol(33096, Accents, u"hat", u"\uE020＾", sym(u"\uE020＾", u"@H")),
    symbol(33097, Accents, u"overline", u"\uE020￣", sym(u"\uE020￣", u"@C")),
    symbol(33098, Accents, u"dot", u"\uE020・", sym(u"\uE020・", u"@'")),
    symbol(33099, Accents, u"vec", u"\uE020→", sym(u"\uE020→", u"@3O")),

    symbol(33100, OtherSymbols, u"int", u"∫", sym(u"∫", u"!")),
    symbol(33365, OtherSymbols, u"similar", u"∽", sym(u"∽", u",'")),
    symbol(33101, OtherSymbols, u"square root", u"√", sym(u"√", u">")),
    symbol(33366, OtherSymbols, u"radical root", u"√", sym(u"√", u"]")),
    symbol(33102, OtherSymbols, u"sum", u" ∑ ", sym(u" ∑ ", u".S")),
    symbol(33103, OtherSymbols, u"prod", u" Π ", sym(u" Π ", u".P")),
    symbol(33104, OtherSymbols, u"bigcup", u" ∪ ", sym(u" ∪ ", u".+")),
    symbol(33105, OtherSymbols, u"bigcap", u" ∩ ", sym(u" ∩ ", u".%")),
    symbol(33106, OtherSymbols, u"frac", u"／", sym(u"／", u"/")),
    symbol(33107, OtherSymbols, u"infty", u"∞", sym(u"∞", u"=")),
    symbol(33108, OtherSymbols, u"partial", u"∂", sym(u"∂", u"$")),
    symbol(33109, OtherSymbols, u"nabla", u" ∇ ", sym(u" ∇ ", u".J")),
    symbol(33110, OtherSymbols, u"aleph", u"ｱﾚﾌ ", sym(u"ｱﾚﾌ ", u".H")),
    symbol(33111, OtherSymbols, u"emptyset", u"  φ  ", sym(u"  φ  ", u".#J")),
    symbol(33112, OtherSymbols, u"forall", u" ∀ ", sym(u" ∀ ", u".'")),
    symbol(33113, OtherSymbols, u"exists", u" ∃ ", sym(u" ∃ ", u".5")),
    symbol(33114, OtherSymbols, u"angle", u"∠", sym(u"∠", u"?")),
    symbol(33115, OtherSymbols, u"triangle", u"△", sym(u"△", u"+")),
    symbol(33116, OtherSymbols, u"square", u"□", sym(u"□", u"_.K")),
    symbol(33117, OtherSymbols, u"parallelogram", u"／□／", sym(u"／□／", u"_//")),
    symbol(33118, OtherSymbols, u"section", u" § ", sym(u" § ", u"S'")),
    symbol(33119, OtherSymbols, u"star", u"★", sym(u"★", u"\"<")),
    symbol(33120, OtherSymbols, u"hyphen", u" -", sym(u" -", u"-")),
};

constexpr bool idsAreUnique()
{
    for (std::size_t i = 0; i < std::size(kCommands); ++i)
        for (std::size_t j = i + 1; j < std::size(kCommands); ++j)
            if (kCommands[i].id == kCommands[j].id)
                return false;
    return true;
}
static_assert(std::size(kCommands) == 230);
static_assert(idsAreUnique());

constexpr std::u16string_view kRoot = u"シンボル挿入";
constexpr std::u16string_view kInformation = u"情報";
constexpr std::u16string_view kMath = u"数学";

constexpr std::u16string_view kGeneralPath[] = {kRoot, u"一般"};
constexpr std::u16string_view kLinesPath[] = {kRoot, u"線類"};
constexpr std::u16string_view kEnglishPath[] = {kRoot, u"英文"};
constexpr std::u16string_view kInformationPath[] = {kRoot, kInformation};
constexpr std::u16string_view kSpecialSignsPath[] = {kRoot, kInformation, u"特殊符号"};
constexpr std::u16string_view kMathSignsPath[] = {kRoot, u"数学符号"};
constexpr std::u16string_view kGreekPath[] = {kRoot, kMath, u"ギリシャ文字"};
constexpr std::u16string_view kRelationsPath[] = {kRoot, kMath, u"関係演算子"};
constexpr std::u16string_view kBinaryOperatorsPath[] = {kRoot, kMath, u"２項演算子"};
constexpr std::u16string_view kArrowsPath[] = {kRoot, kMath, u"矢印"};
constexpr std::u16string_view kBracketsAndDotsPath[] = {kRoot, kMath, u"括弧・点類"};
constexpr std::u16string_view kAccentsPath[] = {kRoot, kMath, u"アクセント記号"};
constexpr std::u16string_view kOtherSymbolsPath[] = {kRoot, kMath, u"その他の記号"};

SymbolItem rawCellItem(SetNumber set, char16_t cell)
{
    return {SymbolItem::Kind::RawCell, set, std::u16string(1, cellToPrivate(cell)), std::u16string(1, cell)};
}

SymbolItem lineBreakItem()
{
    return {SymbolItem::Kind::LineBreak, kSpecialSet, u"\u21B2", u"\n"};
}

} // namespace

std::span<const SymbolCommand> symbolCommands() { return kCommands; }

const SymbolCommand* findSymbolCommand(std::uint32_t id)
{
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [id](const SymbolCommand& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::span<const std::u16string_view> symbolMenuPath(SymbolMenu menu)
{
    switch (menu) {
    case General: return kGeneralPath;
    case Lines: return kLinesPath;
    case English: return kEnglishPath;
    case Information: return kInformationPath;
    case SpecialSigns: return kSpecialSignsPath;
    case MathSigns: return kMathSignsPath;
    case Greek: return kGreekPath;
    case Relations: return kRelationsPath;
    case BinaryOperators: return kBinaryOperatorsPath;
    case Arrows: return kArrowsPath;
    case BracketsAndDots: return kBracketsAndDotsPath;
    case Accents: return kAccentsPath;
    case OtherSymbols: return kOtherSymbolsPath;
    }
    return {};
}

std::u16string symbolShownText(const SymbolCommand& command)
{
    if (command.kind != SymbolKind::RawCells)
        return std::u16string(command.shown);
    std::u16string shown;
    for (char16_t cell : command.cells)
        shown += cellToPrivate(cell);
    return shown;
}

std::u16string symbolMenuCaption(const SymbolCommand& command)
{
    return std::u16string(command.label) + u'\t' + symbolShownText(command);
}

std::vector<SymbolItem> symbolItems(const SymbolCommand& command, std::uint32_t caretColumn)
{
    std::vector<SymbolItem> items;
    switch (command.kind) {
    case SymbolKind::RawCells:
        for (char16_t cell : command.cells)
            items.push_back(rawCellItem(command.set, cell));
        break;
    case SymbolKind::RuledLine:
        // A ruling line always starts a line of its own, even when the caret is in mid-line.
        if (caretColumn != 0)
            items.push_back(lineBreakItem());
        for (char16_t cell : command.cells)
            items.push_back(rawCellItem(command.set, cell));
        items.push_back(lineBreakItem());
        break;
    case SymbolKind::Symbols:
        for (const SymbolPart& part : command.symbols) {
            if (part.empty())
                continue;
            items.push_back({part.blankWrapped ? SymbolItem::Kind::BlankWrappedSymbol : SymbolItem::Kind::Symbol,
                             command.set, std::u16string(part.print), std::u16string(part.cells)});
        }
        break;
    }
    return items;
}

EntryList symbolEntries(const SymbolCommand& command, const CharacterDictionary& dictionary,
                        std::uint32_t caretColumn, std::vector<SymbolItem>* unresolved)
{
    EntryList entries;
    for (SymbolItem& item : symbolItems(command, caretColumn)) {
        if (item.kind == SymbolItem::Kind::LineBreak) {
            entries.push_back(dictionary.lineBreakEntry());
            continue;
        }
        const BrailleCharacter* entry = dictionary.findOrDefault(item.set, item.print, item.cells);
        // findOrDefault may settle for the default entry or for an alternate of the same print text
        // with other cells; either way the braille would not be what the menu promises.
        const bool exact = entry && entry != dictionary.defaultEntry(item.set) && entry->print == item.print &&
                           entry->nabcc == item.cells;
        if (!exact && unresolved)
            unresolved->push_back(item);
        const bool wrap = item.kind == SymbolItem::Kind::BlankWrappedSymbol;
        if (wrap)
            entries.push_back(dictionary.blankEntry());
        entries.push_back(entry);
        if (wrap)
            entries.push_back(dictionary.blankEntry());
    }
    return entries;
}

} // namespace braille
