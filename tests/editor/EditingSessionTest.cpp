#include "ClipboardFormat.h"
#include "CommandIds.h"
#include "DisplayDriverCodes.h"
#include "DocumentBuilder.h"
#include "SessionFixture.h"
#include "SymbolCommands.h"
#include "SystemInputMethod.h"
#include "TestSupport.h"
#include "Utf.h"
#include "VirtualKeys.h"

#include <gtest/gtest.h>
#include <random>

using namespace braille;
using namespace braille::test;


TEST(SessionModes, F2AtARowStartInsertsTheMathOpenerAndASecondF2TakesItOut)
{
    Session s;
    s.run(u"{F2}");
    EXPECT_EQ(s.mode(), "MATH");
    EXPECT_EQ(s.cells(), ";");
    s.run(u"{F2}");
    EXPECT_EQ(s.mode(), "TEXT");
    EXPECT_EQ(s.cells(), "");
}

TEST(SessionModes, F2AfterABlankBehavesAsAtARowStartButNotAfterALetter)
{
    Session s;
    s.run(u"ka {F2}");
    EXPECT_EQ(s.cells(), "* ;");
    s.run(u"{F2}");
    EXPECT_EQ(s.cells(), "* ");
    s.run(u"{BS}ka{F2}");
    EXPECT_EQ(s.mode(), "MATH");
    EXPECT_EQ(s.cells(), "**");
}

TEST(SessionModes, F4TurnsBrailleOnOverMathAndBack)
{
    Session s;
    s.run(u"{F2}x{Enter}{F4}");
    EXPECT_EQ(s.mode(), "MATH+BRAILLE");
    EXPECT_EQ(u8(s.host.pane(kBraillePane)), "BRAILLE");
    s.run(u"{F4}");
    EXPECT_EQ(s.mode(), "MATH");
    EXPECT_EQ(s.host.pane(kBraillePane), u"");
    // Over TEXT it returns to TEXT.
    s.run(u"{F2}{F4}{F4}");
    EXPECT_EQ(s.mode(), "TEXT");
}

TEST(SessionChords, ReleasedInEitherOrderTheChordIsTypedOnce)
{
    Session s;
    s.run(u"{F4}");
    // F and D down, D released first.
    s.session.keyDown('F');
    s.session.character(u'f');
    s.session.keyDown('D');
    s.session.character(u'd');
    s.session.keyUp('D');
    s.session.keyUp('F');
    EXPECT_EQ(s.cells(), "B");
    s.run(u"{chord:DF}");
    EXPECT_EQ(s.cells(), "BB");
    EXPECT_FALSE(s.host.timerRunning(kChordTimer));
}

TEST(SessionChords, ASingleKeyHeldIsTypedWhenTheWindowPasses)
{
    Session s;
    s.run(u"{F4}");
    s.session.keyDown('F');
    s.session.character(u'f');
    s.run(u"{wait:99}");
    EXPECT_EQ(s.cells(), "");
    s.run(u"{wait:1}");
    EXPECT_EQ(s.cells(), "A");
    // The later release of the key types nothing more.
    s.session.keyUp('F');
    EXPECT_EQ(s.cells(), "A");
    EXPECT_EQ(s.session.chordMask(), 0);
}

TEST(SessionDisplay, IndicatorsChooseTheKeySets)
{
    DisplayKeyboard k;
    EXPECT_STREQ(k.stateName(), "T");
    EXPECT_TRUE(k.classify(u'#'));
    EXPECT_EQ(k.displaySet(), 4);
    EXPECT_FALSE(k.classify(u'A'));
    EXPECT_EQ(k.displaySet(), 7); // digits until a blank or connector
    EXPECT_FALSE(k.classify(u' '));
    EXPECT_EQ(k.displaySet(), 6);
    EXPECT_STREQ(k.stateName(), "T");
    EXPECT_TRUE(k.classify(u';'));
    EXPECT_FALSE(k.classify(u'A'));
    EXPECT_EQ(k.displaySet(), 8);
    EXPECT_TRUE(k.classify(u','));
    EXPECT_EQ(k.displaySet(), 9);
    EXPECT_STREQ(k.stateName(), "T;,");
    // An indicator the state does not list changes nothing and is no indicator here.
    EXPECT_FALSE(k.classify(u'8'));
    EXPECT_EQ(k.displayClass(), 0);
    EXPECT_STREQ(k.stateName(), "T;,");
    EXPECT_FALSE(k.classify(u' '));
    EXPECT_STREQ(k.stateName(), "T");
    k.startMath();
    EXPECT_TRUE(k.classify(u'#'));
    EXPECT_FALSE(k.classify(u'B'));
    EXPECT_EQ(k.displaySet(), 11);
    EXPECT_TRUE(k.classify(u'-'));
    EXPECT_STREQ(k.stateName(), "M");
}

TEST(SessionDisplay, CellsTypedOnTheDisplayAreFlushedAfterASecond)
{
    Session s;
    s.run(u"{disp:#}");
    EXPECT_EQ(s.cells(), "#"); // the number sign is a sign of its own
    EXPECT_EQ(s.mode(), "TEXT");
    s.run(u"{disp:BC}");
    EXPECT_EQ(s.cells(), "#BC"); // digits convert as they come
    // The yōon sign alone may still become きょ: it waits for the next cell or for a second.
    s.run(u"{disp: }{disp:@}{wait:999}");
    EXPECT_EQ(s.cells(), "#BC");
    EXPECT_TRUE(s.host.timerRunning(kDisplayFlushTimer));
    s.run(u"{wait:1}");
    EXPECT_EQ(s.cells(), "#BC@");
    EXPECT_FALSE(s.host.timerRunning(kDisplayFlushTimer));
    // Completed in time, it is the syllable.
    s.run(u"{disp:@[}");
    EXPECT_EQ(s.prints().substr(s.prints().size() - 6), "きょ");
}

TEST(SessionDisplay, ARoutingKeyMovesTheCaretOnItsRow)
{
    Session s;
    s.run(u"kakikuke{route:2}");
    EXPECT_EQ(s.session.cursor().column, 2u);
    EXPECT_EQ(s.session.cursor().row(), 0u);
}

// Key codes as the display's driver reports them: cells and routing keys act as from the
// display, function keys as the ordinary keys they stand for, pressed and let go.
TEST(SessionDisplay, DriverKeyCodesActAsTheDisplaysKeys)
{
    Session s;
    s.run(u"{dispkey:35}{dispkey:66}"); // "#B" typed as cells: the number sign and 2
    EXPECT_EQ(s.cells(), "#B");
    s.run(u"kakikuke{dispkey:3205}");
    EXPECT_EQ(s.session.cursor().column, 4u);

    Session f2, keyboard;
    f2.run(u"{dispkey:530}");
    keyboard.run(u"{F2}");
    EXPECT_EQ(f2.mode(), keyboard.mode());
    EXPECT_NE(f2.mode(), "TEXT");

    // A Shift from the display is pressed and let go: the next Right moves without selecting.
    Session shift(u"abc");
    shift.session.cursor().goTo(0, 0);
    shift.session.cursor().collapseSelection();
    shift.run(u"{dispkey:505}{Right}");
    EXPECT_EQ(shift.session.cursor().column, 1u);
    EXPECT_TRUE(shift.session.selectedEntries().empty());
    EXPECT_FALSE(shift.session.displayDriverKey(508)); // a code that means nothing
    EXPECT_FALSE(shift.session.displayDriverKey(-1));
}

TEST(DisplayDriver, RowBytesAreBoundedAndPortsComeFromDeviceNames)
{
    EXPECT_EQ(displayRowBytes(u"#A4"), "#A4");
    EXPECT_EQ(displayRowBytes(u"A\u3042B"), "A B"); // no cell: shown as a blank
    EXPECT_EQ(displayRowBytes(std::u16string(500, u'A')).size(), kDisplayRowBytes);
    EXPECT_EQ(displayPortFromDeviceName("/dev/ttyUSB3"), 3);
    EXPECT_EQ(displayPortFromDeviceName("ttyUSB17"), 17);
    EXPECT_EQ(displayPortFromDeviceName("/dev/ttyUSB"), -1);
    EXPECT_EQ(displayPortFromDeviceName("/dev/tty99999999999"), -1); // no overflow
}

TEST(SessionClipboard, CopyAndPasteOfALetterALineBreakAndALetter)
{
    Session s(u"xa\nby");
    s.session.cursor().goTo(0, 1);
    s.session.cursor().collapseSelection();
    s.session.cursor().goTo(1, 1);
    s.session.cursor().setSelectionEnd(false);
    EXPECT_EQ(s.session.selectedEntries().size(), 3u);
    s.run(u"{C-c}");
    const std::optional<std::vector<std::uint8_t>> block = s.clipboard.get();
    ASSERT_TRUE(block);
    const std::u16string units = s.session.serializeSelection();
    EXPECT_EQ(block->size(), units.size() * 2);
    EXPECT_EQ(units[1], units.size());
    const std::string before = s.cells();
    s.session.cursor().goTo(1, 1);
    s.session.cursor().collapseSelection();
    s.run(u"{C-v}");
    EXPECT_EQ(s.prints(), "ｘａ↲ｂａ↲ｂｙ");
    EXPECT_NE(before, s.cells());
    s.run(u"{C-z}");
    EXPECT_EQ(s.cells(), before);
}

TEST(SessionClipboard, ABlockWithLyingLengthsPastesWhatIsWhole)
{
    Session s;
    std::u16string units = serializeEntries({entryOf(u'a'), entryOf(u'b')});
    units[0] = 0x10; // claims a million units
    s.clipboard.set(unitsToBytes(units));
    s.run(u"{C-v}");
    EXPECT_EQ(s.prints(), "ａｂ");
    // A record cut in the middle: only the whole one before it.
    std::vector<std::uint8_t> cut = unitsToBytes(serializeEntries({entryOf(u'c'), entryOf(u'd')}));
    cut.resize(cut.size() - 3);
    s.clipboard.set(cut);
    s.run(u"{C-v}");
    EXPECT_EQ(s.prints(), "ａｂｃ");
    s.clipboard.set(std::vector<std::uint8_t>{0xFF});
    s.run(u"{C-v}");
    EXPECT_EQ(s.prints(), "ａｂｃ");
}

TEST(SessionClipboard, PasteOverASelectionUndoesInTwoSteps)
{
    Session s;
    s.run(u"{F2}abc{Enter}{Home}{S-Right}{S-Right}{C-c}{End}");
    s.session.cursor().goTo(0, 2);
    s.session.cursor().collapseSelection();
    s.session.cursor().goTo(0, 4);
    s.session.cursor().setSelectionEnd(false);
    s.run(u"{C-v}");
    EXPECT_EQ(s.cells(), ";A;A");
    s.run(u"{C-z}");
    EXPECT_EQ(s.cells(), ";A");
    s.run(u"{C-z}");
    EXPECT_EQ(s.cells(), ";ABC");
}

TEST(SessionEditing, DeleteJoinsParagraphsAndUndoSplitsThemAgain)
{
    Session s;
    s.run(u"ka{Enter}ki{Up}{End}");
    EXPECT_EQ(s.cells(), "*|<");
    s.run(u"{cmd:32780}");
    EXPECT_EQ(s.cells(), "*<");
    s.run(u"{C-z}");
    EXPECT_EQ(s.cells(), "*|<");
}

TEST(SessionEditing, DeleteOnTheFinalEndMarkerRecordsNothing)
{
    Session s;
    s.run(u"ka");
    const std::size_t steps = s.undoSteps();
    s.run(u"{cmd:32780}{Del}");
    EXPECT_EQ(s.undoSteps(), steps);
    EXPECT_EQ(s.cells(), "*");
}

TEST(SessionEditing, UndoToTheStartClearsModifiedAndRedoLeavesIt)
{
    Session s;
    s.run(u"ka");
    EXPECT_TRUE(s.document.modified);
    s.run(u"{C-z}");
    EXPECT_FALSE(s.document.modified);
    s.run(u"{C-y}");
    EXPECT_TRUE(s.document.modified);
    s.run(u"{C-y}");
    EXPECT_EQ(s.host.messages().back(), u"最新状態です。");
    s.run(u"{C-z}{C-z}");
    EXPECT_EQ(s.host.messages().back(), u"初期状態です。");
}

TEST(SessionEditing, ConvertingASelectionToMathKeepsBlanksAndLineBreaks)
{
    Session s;
    s.run(u"{ime:ａ}{Space}{ime:ｂ}{Enter}{ime:ｃ}");
    ASSERT_EQ(s.prints(), "ａ□ｂ↲ｃ");
    const EntryList before = flatCharacters(s.document);
    s.session.cursor().goTo(0, 0);
    s.session.cursor().collapseSelection();
    s.session.cursor().goTo(1, 5);
    s.session.cursor().setSelectionEnd(false);
    s.run(u"{cmd:32798}");
    const EntryList after = flatCharacters(s.document);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i + 1 < after.size(); ++i) {
        if (before[i]->print == u"□" || before[i]->print == u"↲") {
            EXPECT_EQ(after[i], before[i]);
        } else {
            EXPECT_EQ(after[i]->set, kMathSet) << i;
            EXPECT_EQ(after[i]->print, before[i]->print);
        }
    }
    // One Ctrl+Z takes the whole conversion back, one Ctrl+Y brings it again.
    s.run(u"{C-z}");
    EXPECT_EQ(flatCharacters(s.document), before);
    s.run(u"{C-y}");
    EXPECT_EQ(flatCharacters(s.document), after);
}

TEST(SessionEditing, ModifiedIsClearExactlyAtTheSavePoint)
{
    Session s;
    s.host.setSaver([](std::string&) { return true; });
    s.run(u"ka{C-s}");
    EXPECT_FALSE(s.document.modified);
    s.run(u"ki{C-z}");
    EXPECT_FALSE(s.document.modified); // back where the file is
    s.run(u"{C-z}");
    EXPECT_TRUE(s.document.modified); // before the save: the file holds か, the screen nothing
    s.run(u"{A-BS}{C-y}");
    EXPECT_FALSE(s.document.modified);
    s.run(u"{C-y}");
    EXPECT_TRUE(s.document.modified);
    // Typing after an undo drops the saved step: no undo position reaches the file again.
    s.run(u"{C-z}{C-z}ku");
    while (s.session.undoHistory().canUndo()) {
        s.run(u"{C-z}");
        EXPECT_TRUE(s.document.modified);
    }
}

TEST(SessionEditing, ANewDocumentStartsClean)
{
    Session s;
    s.run(u"ky"); // unfinished letters
    s.session.searchPattern() = {CharacterDictionary::instance().blankEntry()};
    BrailleDocument next;
    s.session.setDocument(&next);
    EXPECT_EQ(s.session.pendingText(), u"");
    EXPECT_TRUE(s.session.searchPattern().empty());
    s.run(u"a");
    EXPECT_EQ(u8(flatCharacters(next).front()->print), "あ"); // not きゃ
    s.run(u"{F2}al"); // keys pending in MATH
    ASSERT_NE(s.session.pendingText(), u"");
    BrailleDocument third;
    s.session.setDocument(&third);
    EXPECT_EQ(s.session.pendingText(), u"");
    EXPECT_EQ(flatCharacters(third).size(), 1u);
}

TEST(SessionStructureKeys, FractionInTextSwitchesToMathAndStandsAfterTheOpener)
{
    Session s;
    s.run(u"{F5}");
    EXPECT_EQ(s.mode(), "MATH");
    EXPECT_EQ(s.cells(), ";(/)");
    EXPECT_EQ(s.session.cursor().character, 2u);
}

TEST(SessionStructureKeys, Dots56InMathAndInText)
{
    Session s;
    s.run(u"{F8}");
    EXPECT_EQ(flatCharacters(s.document).front()->set, kTextSet);
    EXPECT_FALSE(s.host.brailleButton());
    s.run(u"{F2}{F8}");
    EXPECT_EQ(flatCharacters(s.document)[1]->set, kMathSet);
}

TEST(SessionStructureKeys, RootAndBracketsAndCapital)
{
    Session s;
    s.run(u"{F6}");
    EXPECT_EQ(s.cells(), ";>");
    s.run(u"{F7}");
    EXPECT_EQ(s.cells(), ";>80");
    EXPECT_EQ(s.session.cursor().column, 3u);
    s.run(u"{F4}{F7}");
    EXPECT_EQ(s.mode(), "MATH+BRAILLE");
    s.run(u"{F9}");
    EXPECT_NE(s.cells().find(','), std::string::npos);
}

TEST(SessionSections, SwitchingSectionsAndUndoAcrossThem)
{
    Session s;
    s.run(u"ka");
    s.run(u"{cmd:32795}");
    EXPECT_EQ(s.document.currentSection, Colophon);
    EXPECT_EQ(u8(s.host.pane(kSectionPane)), "COLOPHON");
    s.run(u"ki");
    EXPECT_EQ(s.cells(), "<");
    s.run(u"{cmd:32794}");
    EXPECT_EQ(s.session.cursor().position(), (CellPosition{0, 0}));
    EXPECT_EQ(s.cells(), "*");
    // Undoing the colophon's step goes back to the colophon.
    s.run(u"{C-z}");
    EXPECT_EQ(s.document.currentSection, Colophon);
    EXPECT_EQ(s.host.section(), Colophon);
    EXPECT_EQ(s.cells(), "");
    s.run(u"{C-z}");
    EXPECT_EQ(s.document.currentSection, Body);
    EXPECT_EQ(s.cells(), "");
}

TEST(SessionSymbols, EverySymbolCommandInsertsRealEntriesAndUndoesInOneStep)
{
    Session s;
    const CharacterDictionary& d = CharacterDictionary::instance();
    for (const SymbolCommand& command : symbolCommands()) {
        const EntryList before = flatCharacters(s.document);
        const std::size_t steps = s.undoSteps();
        ASSERT_TRUE(s.session.command(command.id));
        const EntryList after = flatCharacters(s.document);
        ASSERT_GT(after.size(), before.size()) << command.id;
        for (const BrailleCharacter* e : after) {
            ASSERT_NE(e, d.defaultEntry(kTextSet)) << command.id;
            ASSERT_NE(e, d.defaultEntry(kMathSet)) << command.id;
        }
        EXPECT_EQ(s.undoSteps(), steps + 1) << command.id;
        s.run(u"{C-z}");
        ASSERT_EQ(flatCharacters(s.document), before) << command.id;
        // Something in front, so that the next command is not always at a row start.
        if (command.id % 3 == 0)
            s.run(u"a");
    }
}

TEST(SessionScriptErrors, UnknownTokensAreReported)
{
    Session s;
    std::string error;
    EXPECT_FALSE(runSessionScript(s.session, s.host, u"{Nope}", error));
    EXPECT_NE(error.find("Nope"), std::string::npos);
    EXPECT_FALSE(runSessionScript(s.session, s.host, u"{wait:x}", error));
    EXPECT_FALSE(runSessionScript(s.session, s.host, u"{chord:FQ}", error));
    EXPECT_FALSE(runSessionScript(s.session, s.host, u"{cmd:1}", error));
    EXPECT_FALSE(runSessionScript(s.session, s.host, u"abc{", error));
}

// Random mixtures of everything a transcriber can do keep the document sound, and undoing every
// step gives back the empty document.
TEST(SessionRandom, KeysCharactersChordsDisplayCellsAndCommandsKeepTheDocumentSound)
{
    static const std::u16string_view tokens[] = {
        u"ka",      u"kyo",     u"n",        u"a",         u"1",        u"{Space}",   u"{Enter}",   u"{BS}",
        u"{Del}",   u"{Left}",  u"{Right}",  u"{Up}",      u"{Down}",   u"{Home}",    u"{End}",     u"{S-Right}",
        u"{S-Left}", u"{S-Down}", u"{C-c}",  u"{C-x}",     u"{C-v}",    u"{C-z}",     u"{C-y}",     u"{F2}",
        u"{F4}",    u"{F5}",    u"{F6}",     u"{F7}",      u"{F8}",     u"{F9}",      u"{S-F2}",    u"{chord:FD}",
        u"{chord:L}", u"{wait:100}", u"{disp:#}", u"{disp:AB}", u"{disp: }", u"{disp:;,A}", u"{wait:1000}", u"{route:3}",
        u"{ime:きょうは}", u"{ime:２０２６}", u"x", u"{cmd:32798}", u"{cmd:32799}", u"{cmd:32780}", u"{cmd:32792}",
        u"{cmd:32794}", u"{PgDn}", u"{PgUp}", u"{Esc}", u"。", u"、"};
    for (unsigned seed : {1u, 2u, 3u}) {
        Session s;
        std::mt19937 rng(seed);
        for (int step = 0; step < 3000; ++step) {
            const std::u16string_view token = tokens[rng() % std::size(tokens)];
            s.run(token);
            ASSERT_FALSE(HasFatalFailure()) << "seed " << seed << " step " << step << " " << u8(token);
            ASSERT_TRUE(s.session.cursor().isAttached());
        }
        s.run(u"{Esc}");
        EXPECT_GT(s.undoSteps(), 50u) << "seed " << seed; // the script did edit
        while (s.session.undoHistory().canUndo())
            s.run(u"{C-z}");
        for (int k = 0; k < kSectionCount; ++k)
            EXPECT_EQ(s.document.sections[k].paragraphs.size(), 1u) << "seed " << seed << " section " << k;
        s.document.currentSection = Body;
        EXPECT_EQ(s.cells(), "") << "seed " << seed;
    }
}

// Cells typed on the braille display keep their cells: a cell string is never taken for a
// keyboard key spelled the same (the full stop "4" for the digit key 4).
TEST(SessionDisplay, CellsKeepTheirCellsInEveryKeySet)
{
    for (const auto& [typed, cells] : {std::pair{u"{disp:#A4 }", "#A4"}, std::pair{u"{disp:#A2B }", "#A2B"},
                                       std::pair{u"{disp:;,A }", ";,A"}}) {
        Session s;
        s.run(typed);
        EXPECT_EQ(s.cells(), cells) << u8(typed);
    }
}

// An input method may commit a whole phrase: the rules then give the same signs as when the
// same text is committed a syllable at a time, and blanks inside it stay blanks.
TEST(SessionInputMethod, APhraseCommittedAtOnceGetsTheSignsOfItsSyllables)
{
    for (std::u16string_view phrase : {u"あ１", u"きょうは２０２６ねん", u"あ　い", u"５あ、Ｂあ", u"１，０００。"}) {
        Session whole, pieces;
        whole.run(u"{ime:" + std::u16string(phrase) + u"}");
        for (const std::u16string& piece : ImeInput::resultPieces(phrase))
            pieces.run(u"{ime:" + piece + u"}");
        EXPECT_EQ(whole.cells(), pieces.cells()) << u8(phrase);
    }
    Session s;
    s.run(u"{ime:あ１}{ime:あ い}");
    EXPECT_EQ(s.cells(), "A#A-A B");
}

TEST(SessionKeys, ModifiersComeWithTheKeyAndFocusLossLetsGo)
{
    Session s;
    s.run(u"ka");
    EXPECT_TRUE(s.session.keyDown(vk::Back, kAltModifier)); // Alt+Backspace undoes
    EXPECT_EQ(s.cells(), "");
    s.run(u"ka{Left}");
    EXPECT_FALSE(s.session.keyDown(vk::Left, kShiftModifier)); // Shift comes with the key
    EXPECT_FALSE(s.session.cursor().hasSelection()); // already at the start: nothing to select
    s.session.keyDown(vk::Right, kShiftModifier);
    EXPECT_TRUE(s.session.cursor().hasSelection());
    s.session.keyDown(vk::Right, kNoModifier); // released between keys: the selection collapses
    EXPECT_FALSE(s.session.cursor().hasSelection());
    // A chord held when the focus goes is dropped, not typed.
    s.run(u"{F4}");
    s.session.keyDown('F');
    s.session.character(u'f');
    s.session.focusLost();
    s.run(u"{wait:200}");
    s.session.keyUp('F');
    EXPECT_EQ(s.cells(), "*");
}

TEST(SessionView, TheCaretStaysInViewAndScrollingAsksForARepaint)
{
    std::u16string body;
    for (int i = 0; i < 100; ++i)
        body += u"あ\n";
    Session s(body);
    s.session.setVisibleRows(30);
    const auto inView = [&] {
        const std::uint32_t row = s.session.cursor().row(), top = s.session.scrollPosition();
        return row >= top && row < top + 30;
    };
    for (std::u16string_view key : {u"{PgDn}", u"{PgDn}", u"{Down}", u"{PgDn}", u"{PgDn}", u"{PgUp}", u"{Up}"}) {
        s.run(key);
        EXPECT_TRUE(inView()) << u8(key) << " row " << s.session.cursor().row();
        EXPECT_LE(s.session.scrollPosition(), s.session.scrollMaximum());
    }
    EXPECT_EQ(s.session.scrollMaximum(), 101u);
    // Ctrl+Down scrolls and leaves the caret; the view is asked to paint it.
    const std::uint32_t row = s.session.cursor().row(), top = s.session.scrollPosition();
    const int repaints = s.host.repaints();
    s.run(u"{C-Down}");
    EXPECT_EQ(s.session.scrollPosition(), top + 1);
    EXPECT_EQ(s.session.cursor().row(), row);
    EXPECT_GT(s.host.repaints(), repaints);
    s.session.scrollTo(1000);
    EXPECT_EQ(s.session.scrollPosition(), 101u);
}

TEST(SessionView, PendingTextIsDrawnAndEveryChangeOfItRepaints)
{
    Session s;
    int repaints = s.host.repaints();
    s.run(u"k");
    EXPECT_EQ(s.session.pendingText(), u"k");
    EXPECT_GT(s.host.repaints(), repaints);
    repaints = s.host.repaints();
    s.run(u"{BS}");
    EXPECT_EQ(s.session.pendingText(), u"");
    EXPECT_GT(s.host.repaints(), repaints);
    // A system input method's pre-edit text, then its commit.
    repaints = s.host.repaints();
    s.session.inputMethodPreedit(u"きょう");
    EXPECT_EQ(s.session.pendingText(), u"きょう");
    EXPECT_GT(s.host.repaints(), repaints);
    s.session.inputMethodResult(u"今日");
    EXPECT_EQ(s.session.pendingText(), u"");
}

TEST(SessionView, ClicksPlaceTheCaretByHalvesOfCharacters)
{
    Session s(u"がいは かき"); // が is two cells wide
    s.session.placeCaretAt(0, 0.9, false);
    EXPECT_EQ(s.session.cursor().column, 0u);
    s.session.placeCaretAt(0, 1.1, false); // right half of が
    EXPECT_EQ(s.session.cursor().column, 2u);
    s.session.placeCaretAt(0, 3.6, true); // Shift+click on the right half of は
    EXPECT_EQ(s.session.cursor().selectionStart(), (CellPosition{2, 0}));
    EXPECT_EQ(s.session.cursor().selectionStop(), (CellPosition{4, 0}));
    s.session.placeCaretAt(5, 100, false); // beyond the last row and its end
    EXPECT_EQ(s.session.cursor().row(), 0u);
    EXPECT_FALSE(s.session.cursor().hasSelection());
    // Letters being composed are committed before the caret moves.
    s.session.placeCaretAt(0, 0, false);
    s.run(u"ta");
    s.run(u"n");
    s.session.placeCaretAt(0, 8, false);
    EXPECT_EQ(s.session.pendingText(), u"");
    EXPECT_EQ(s.prints(), "たんがいは□かき");
}

TEST(SessionView, ANewLineWidthLaysTheDocumentOutAgainAroundTheCaret)
{
    Session s(u"あいうえお かきくけこ さしすせそ");
    s.session.cursor().goTo(0, 7); // on き
    s.session.setPageLayout({22, 6});
    EXPECT_EQ(s.document.cellsPerLine, 6u);
    EXPECT_EQ(s.document.section().rowCount, 3u);
    EXPECT_EQ(u8(s.session.cursor().entry()->print), "き");
    EXPECT_EQ(s.session.cursor().position(), (CellPosition{1, 1}));
    s.run(u"{ime:ん}"); // typing goes on at the same place
    EXPECT_EQ(s.prints(), "あいうえお□かんきくけこ□さしすせそ");
    ASSERT_EQ(s.document.checkInvariants(), "");
}

// With the system's input method Tenkora cannot force the mode: Shift+F2 changes nothing there,
// and what the input method commits and composes still reaches the document and the screen.
TEST(SessionInputMethod, TheSystemInputMethodIsNotForcedAndItsTextArrives)
{
    ScriptHost host;
    MemoryClipboard clipboard;
    NoCompanion companion;
    SystemInputMethod inputMethod;
    NoCandidateList mathList, brailleList;
    BrailleDocument document;
    shippedDictionary();
    EditingSession session({host, clipboard, companion, inputMethod, mathList, brailleList});
    session.setDocument(&document);
    std::string error;
    ASSERT_TRUE(runSessionScript(session, host, u"{S-F2}{S-F2}", error)) << error;
    EXPECT_EQ(inputMethod.conversion(), InputMethod::Conversion::Hiragana);
    session.inputMethodPreedit(u"ろく");
    EXPECT_EQ(session.pendingText(), u"ろく");
    session.inputMethodResult(u"６エン");
    EXPECT_EQ(session.pendingText(), u"");
    std::string cells;
    for (const BrailleCharacter* e : flatCharacters(document))
        cells += u8(e->nabcc);
    EXPECT_EQ(cells, "#F-F0 ");
}

// Keys that MATH converts together by longest match ("+1" on Enter) get the signs of each
// character, as when typed one by one.
TEST(SessionMath, KeysConvertedTogetherGetTheSignsOfEachCharacter)
{
    Session together, apart;
    together.run(u"{F2}x+1{Enter}");
    apart.run(u"{F2}x+{Enter}1{Enter}");
    EXPECT_EQ(together.cells(), ";X5#A");
    EXPECT_EQ(apart.cells(), together.cells() + "|;");
}

TEST(SessionKeys, ControlHomeAndEndGoToTheSectionsEndsAndShiftSelects)
{
    Session s(u"あいう\nかきく\nさし");
    s.session.cursor().goTo(1, 1);
    s.run(u"{C-End}");
    EXPECT_EQ(s.session.cursor().position(), (CellPosition{2, 2}));
    s.run(u"{C-S-Home}");
    EXPECT_EQ(s.session.cursor().position(), (CellPosition{0, 0}));
    EXPECT_EQ(s.session.serializeSelection().empty(), false);
    EXPECT_EQ(s.session.selectedEntries().size(), 10u); // everything but the end marker
}

TEST(SessionStatus, TheKanaPaneFollowsShiftF2AndTheMode)
{
    Session s;
    EXPECT_EQ(s.host.pane(kKanaPane), u"あ");
    s.run(u"{S-F2}");
    EXPECT_EQ(s.host.pane(kKanaPane), u"ア");
    s.run(u"{S-F2}");
    EXPECT_EQ(s.host.pane(kKanaPane), u"A");
    s.run(u"{S-F2}{F2}");
    EXPECT_EQ(s.host.pane(kKanaPane), u"A"); // MATH types letters
    s.run(u"{F2}");
    EXPECT_EQ(s.host.pane(kKanaPane), u"あ");
}

// Text from other programs is typed in as the mode types it: the rules add their signs, the
// whole paste undoes at once, and what the tables do not know is counted, not silently dropped.
TEST(SessionClipboard, PlainTextFromOtherProgramsIsTypedInAsOneStep)
{
    Session s;
    s.clipboard.setText(u"３ねん\n５あ☃");
    s.run(u"{C-v}");
    EXPECT_EQ(s.cells(), "#CP0|#E-A");
    EXPECT_NE(s.host.pane(kMessagePane).find(u" 1 "), std::u16string::npos);
    s.run(u"{C-z}");
    EXPECT_EQ(s.cells(), "");
    // Copying offers the print text to other programs.
    s.run(u"{C-y}{C-End}{C-S-Home}{C-c}");
    EXPECT_EQ(s.clipboard.text(), u"３ねん\n５あ");
    // In MATH the text is typed as keys.
    Session m;
    m.clipboard.setText(u"x+1");
    m.run(u"{F2}{C-v}");
    EXPECT_EQ(m.cells(), ";X5#A");
}
