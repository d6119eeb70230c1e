#pragma once
// The symbol insertion commands: the 230 items of the view's "シンボル挿入" submenu, each a fixed
// list of characters (braille indicators, marks, ruling lines, mathematical symbols) that is looked
// up in the dictionary and inserted at the caret as one undo step.
//
// Everything about a command is data in one table: its id, the submenu it sits in, its caption and
// what it inserts. The window builds the submenu from the table in table order; the session turns a
// command id into entries with symbolEntries() and inserts them with insertEntries. The commands
// never look at the input mode: they insert exactly the listed characters.

#include "BrailleCharacter.h"
#include "CharacterDictionary.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace braille {

// The submenus of "シンボル挿入", in menu order. "特殊符号" is nested at the end of "情報"; "数学"
// holds only the seven submenus from "ギリシャ文字" to "その他の記号".
enum class SymbolMenu : std::uint8_t {
    General,        // 一般
    Lines,          // 線類
    English,        // 英文
    Information,    // 情報
    SpecialSigns,   // 情報 > 特殊符号
    MathSigns,      // 数学符号
    Greek,          // 数学 > ギリシャ文字
    Relations,      // 数学 > 関係演算子
    BinaryOperators,// 数学 > ２項演算子
    Arrows,         // 数学 > 矢印
    BracketsAndDots,// 数学 > 括弧・点類
    Accents,        // 数学 > アクセント記号
    OtherSymbols,   // 数学 > その他の記号
};

enum class SymbolKind : std::uint8_t {
    // The raw-cell entry of `set` for each cell of `cells`, in order.
    RawCells,
    // Raw cells of set 2 that must stand on a line of their own: a line break goes first unless the
    // caret is already at column 0, and one always follows. The cells are a fixed number (32 for
    // the enclosure lines, 16 for the end line) whatever the page layout.
    RuledLine,
    // One or two symbols of set 3, each possibly between two blanks.
    Symbols,
};

// A symbol of set 3, found by its exact print text and cells. The print texts keep their leading
// and trailing spaces: they are the keys of the math tables.
struct SymbolPart {
    std::u16string_view print;
    std::u16string_view cells;
    bool blankWrapped = false; // a blank cell before and after the symbol

    constexpr bool empty() const { return print.empty(); }
};

struct SymbolCommand {
    std::uint16_t id;
    SymbolMenu menu;
    std::u16string_view label;  // the menu caption before the tab
    std::u16string_view shown;  // after the tab; empty where the cells themselves are shown
    SymbolKind kind;
    SetNumber set;              // of the raw cells; kMathSet for symbols
    std::u16string_view cells;  // RawCells and RuledLine: NABCC codes, one per cell
    std::array<SymbolPart, 2> symbols{}; // Symbols: the first, and an optional second
};

// One element of a command's list, resolved on its own with findOrDefault.
struct SymbolItem {
    enum class Kind : std::uint8_t {
        RawCell,            // print is the cell's private-use character, cells the one code
        Symbol,
        BlankWrappedSymbol, // three entries: blank, the symbol, blank
        LineBreak,
    };
    Kind kind;
    SetNumber set;
    std::u16string print;
    std::u16string cells;

    bool operator==(const SymbolItem&) const = default;
};

// All commands, in menu order.
std::span<const SymbolCommand> symbolCommands();
// The command with this id, or none.
const SymbolCommand* findSymbolCommand(std::uint32_t id);

// The captions from "シンボル挿入" down to the submenu that holds the command.
std::span<const std::u16string_view> symbolMenuPath(SymbolMenu menu);
// The text after the tab: `shown`, or the cells in their private-use form for raw cells.
std::u16string symbolShownText(const SymbolCommand& command);
// label, tab, shown text.
std::u16string symbolMenuCaption(const SymbolCommand& command);

// The command's list of characters for a caret at `caretColumn` (only ruled lines depend on it).
std::vector<SymbolItem> symbolItems(const SymbolCommand& command, std::uint32_t caretColumn);

// The entries to insert for the command, in order. A lookup that finds nothing stays in the list as
// an empty pointer, which insertEntries skips. Items that do not resolve to an entry with exactly
// their print text and cells (nothing, the set's default entry "☒", or another entry of the same
// print text) are appended to `unresolved` when it is given.
EntryList symbolEntries(const SymbolCommand& command, const CharacterDictionary& dictionary,
                        std::uint32_t caretColumn, std::vector<SymbolItem>* unresolved = nullptr);

} // namespace braille
