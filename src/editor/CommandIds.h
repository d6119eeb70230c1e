#pragma once
// Every command id: the menu, toolbar and accelerator ids of the editing session and of the
// window (its files, printing, settings and help), and the accelerator keys that run the
// session's. The window's ids are run by the window; every other id goes to the session.

namespace braille::cmd {

// The window's own commands.
constexpr int New = 57600;
constexpr int Open = 57601;
constexpr int Save = 57603;
constexpr int SaveAs = 57604;
constexpr int PrintSetup = 57606;
constexpr int Print = 57607;
constexpr int PrintPreview = 57609;
// The recent files, one id each: RecentFirst + 0 .. RecentFirst + RecentCount - 1.
constexpr int RecentFirst = 57616;
constexpr int RecentCount = 16;
constexpr int Find = 57641;
constexpr int About = 57664;
constexpr int Exit = 57665;
constexpr int ToolBar = 59392;
constexpr int StatusBar = 59393;
constexpr int ExportBse = 32808;
constexpr int TocNew = 32809;
constexpr int TocWorking = 32810;
constexpr int Help = 32812;
constexpr int ExportBrf = 32850;
constexpr int ExportPef = 32851;
constexpr int HighContrast = 32860;
constexpr int PageLayout = 33361;
constexpr int OriginalPages = 33368;
constexpr int Console = 33374;
constexpr int ImportPrintBook = 33410;
// 表示: the view's zoom (拡大 Ctrl++, 縮小 Ctrl+-, 標準の大きさ Ctrl+0), also on Ctrl and the wheel.
constexpr int ZoomIn = 33450;
constexpr int ZoomOut = 33451;
constexpr int ZoomReset = 33452;
// The braille view (表示): every cell drawn as its dots (Ctrl+Shift+B), and the print under the
// cells beside it.
constexpr int BrailleView = 33420;
constexpr int PrintUnderCells = 33421;
// Embossing: the book sent to a braille embosser through CUPS (Ctrl+Shift+P).
constexpr int Emboss = 33440;
// The page preview (ファイル → 点字ページプレビュー: the book's braille pages in dots) and going to a
// braille page and line (編集 → ページと行へ移動, Ctrl+G).
constexpr int PagePreview = 33460;
constexpr int GoToPageLine = 33461;

// The editing session's commands.

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

// The review list and the braille check (run by the window, which holds the list).
constexpr int BrailleCheck = 33430;         // 編集 → 点字チェック: the current section
constexpr int BrailleCheckBook = 33431;     // the whole book
constexpr int ReviewNext = 33432;           // F12
constexpr int ReviewPrevious = 33433;       // Shift+F12
constexpr int ReviewPane = 33434;           // 表示 → 確認リスト

// The command an accelerator key runs, or 0. `key` is a virtual key code.
int commandForKey(int key, bool shift, bool control, bool alt);

} // namespace braille::cmd
