#pragma once
// The command ids of the editing session (the menu, toolbar and accelerator ids), and the
// accelerator keys that run them.

namespace braille::cmd {

constexpr int Copy = 57634;
constexpr int CopyAlt = 32777;
constexpr int Cut = 57635;
constexpr int CutAlt = 32778;
constexpr int Paste = 57637;
constexpr int PasteAlt = 32779;
constexpr int Delete = 32780;
// The clipboard's print, translated into braille (run by the window: it needs the analyser).
constexpr int AutoTranslatePaste = 33400;
constexpr int ConvertToText = 32799;
constexpr int ConvertToMath = 32798;
constexpr int Undo = 57643;
constexpr int Redo = 57644;
constexpr int Fraction = 33324;       // F5
constexpr int Root = 33325;           // F6
constexpr int Brackets = 33326;       // F7
constexpr int Dots56 = 33347;         // F8
constexpr int ConnectorOrCapital = 33328; // F9
constexpr int ToggleKana = 33352;     // Shift+F2
constexpr int EditCover = 32792;
constexpr int EditContents = 32793;
constexpr int EditBody = 32794;
constexpr int EditColophon = 32795;
constexpr int CompanionUp = 33369;
constexpr int CompanionDown = 33370;
constexpr int ToggleTextMath = 32785; // F2
constexpr int ToggleBraille = 32783;  // F4
constexpr int SearchDown = 32820;     // F3
constexpr int SearchUp = 32819;       // Shift+F3

// The command an accelerator key runs, or 0. `key` is a virtual key code.
int commandForKey(int key, bool shift, bool control, bool alt);

} // namespace braille::cmd
