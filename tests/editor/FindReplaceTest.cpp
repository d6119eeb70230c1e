// Find and replace as a transcriber meets it, scripted through the session and the dialog's form.

#include "ClipboardFormat.h"
#include "DocumentBuilder.h"
#include "FindReplaceForm.h"
#include "SessionFixture.h"
#include "TestSupport.h"
#include "VirtualKeys.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// A session with the find dialog's helpers.
struct Finder : Session {
    explicit Finder(std::u16string_view script) { run(script); }
    std::string selection() const { return u8(EditingSession::printText(session.selectedEntries())); }
    std::string status() const { return u8(host.pane(kMessagePane)); }
    std::string text() const
    {
        std::string s;
        for (const BrailleCharacter* e : flatCharacters(document))
            s += u8(e->print);
        return s;
    }
};

bool notFound(const std::string& status) { return status.find("見つかりませんでした") != std::string::npos; }

} // namespace

TEST(FindReplace, FindsTwiceInAParagraphThenReportsWithoutWrapping)
{
    Finder f(u"{ime:あいかあいか}{Enter}{ime:き}{C-Home}");
    f.run(u"{find:あい}");
    EXPECT_EQ(f.session.cursor().selectionStart(), (CellPosition{0, 0}));
    f.run(u"{find:あい}");
    EXPECT_EQ(f.session.cursor().selectionStart(), (CellPosition{3, 0}));
    EXPECT_EQ(f.status(), "検索文字列 【あい】");
    f.run(u"{find:あい}");
    EXPECT_TRUE(notFound(f.status()));
    EXPECT_EQ(f.session.cursor().selectionStart(), (CellPosition{3, 0})); // left as it was
    // A math character is another character than the same print in text.
    f.run(u"{C-Home}{F2}a{Enter}{F2}{C-Home}{find:ａ}");
    EXPECT_TRUE(notFound(f.status()));
}

TEST(FindReplace, SearchUpPassesTheMatchEndingAtTheCaretAndStopsAtTheParagraphStart)
{
    Finder f(u"{ime:かあいかあい}");
    f.run(u"{find-up:あい}");
    EXPECT_EQ(f.session.cursor().selectionStart(), (CellPosition{1, 0}));
    f.run(u"{find-up:あい}");
    EXPECT_TRUE(notFound(f.status()));
    Finder g(u"{ime:あい}{Enter}{ime:か}{Home}");
    g.run(u"{find-up:あい}");
    EXPECT_TRUE(notFound(g.status())); // at a paragraph's start nothing is found
    // F3 takes the selection as the pattern; again without a selection, the same pattern.
    Finder h(u"{ime:かきかきか}{C-Home}{S-Right}{F3}");
    EXPECT_EQ(h.session.cursor().selectionStart(), (CellPosition{2, 0}));
    h.run(u"{Right}{F3}");
    EXPECT_EQ(h.session.cursor().selectionStart(), (CellPosition{4, 0}));
}

TEST(FindReplace, TheFirstReplaceAllOnlyFindsTheSecondReplacesTheRestAndUndoesStepByStep)
{
    Finder f(u"{ime:かあか}{Enter}{ime:かか}{C-Home}");
    f.run(u"{replace-all:か=き}");
    EXPECT_EQ(f.text(), "かあか↲かか*");
    EXPECT_EQ(f.selection(), "か");
    f.run(u"{replace-all:か=き}");
    EXPECT_EQ(f.text(), "きあき↲きき*");
    // One undo takes the last insertion back, the next gives the replaced match back.
    f.run(u"{C-z}{C-z}");
    EXPECT_EQ(f.text(), "きあき↲きか*");
    // A find that found nothing arms no replacement.
    Finder g(u"{ime:あい}{C-Home}{replace:か=き}{replace:か=き}{replace-all:か=き}");
    EXPECT_EQ(g.text(), "あい*");
}

TEST(FindReplace, APatternHoldingALineBreakIsRefused)
{
    Finder f(u"{ime:あ}{Enter}{ime:い}{C-Home}{S-Down}{F3}");
    ASSERT_FALSE(f.host.messages().empty());
    EXPECT_EQ(f.host.messages().back(), u"改行を含めた文字列は検索出来ません。");
    EXPECT_EQ(f.session.findPattern(f.session.selectedEntries(), true), -1);
}

TEST(FindReplaceForm, FieldsHoldCharactersTypedInEachModeAndButtonsArmOnce)
{
    shippedDictionary();
    FindReplaceForm form(4);
    form.typeText(u"あ い");
    EXPECT_EQ(u8(form.text(FindReplaceForm::Field::Find)), "あ□い");
    form.key(vk::Back);
    form.key(vk::Left);
    EXPECT_EQ(form.caret(FindReplaceForm::Field::Find), 1u);
    form.setActive(FindReplaceForm::Field::Replace);
    form.setMode(FindReplaceForm::Mode::Math);
    for (char16_t c : std::u16string_view(u"alpha"))
        form.type(c);
    ASSERT_FALSE(form.candidates().empty());
    form.key(vk::Return);
    EXPECT_NE(u8(form.text(FindReplaceForm::Field::Replace)).find("α"), std::string::npos);
    EXPECT_EQ(form.entries(FindReplaceForm::Field::Replace).front()->set, kMathSet);
    // Without a system input method, Text mode composes kana from letters as the view does.
    FindReplaceForm composing;
    composing.setComposeKana(true);
    for (char16_t c : std::u16string_view(u"kyouhan"))
        composing.type(c);
    EXPECT_EQ(composing.composition(), u"n");
    // きょ is one character, as the view inserts it, so the pattern finds what was typed there.
    Finder typedThere(u"kyouhan{Enter}");
    const EntryList document = flatCharacters(typedThere.document);
    EXPECT_EQ(composing.findNext().find, EntryList(document.begin(), document.begin() + 4));
    // The caret may not reach the line length (4 here).
    FindReplaceForm narrow(4);
    narrow.typeText(u"かきくけこ");
    narrow.key(vk::Home);
    for (int i = 0; i < 5; ++i)
        narrow.key(vk::Right);
    EXPECT_EQ(narrow.caret(FindReplaceForm::Field::Find), 3u);
    // Only the second click of a replace button replaces.
    EXPECT_EQ(form.replaceAndNext().kind, FindRequest::FindNext);
    EXPECT_EQ(form.replaceAndNext().kind, FindRequest::Replace);
    EXPECT_EQ(form.findNext().kind, FindRequest::FindNext);
    EXPECT_EQ(form.replaceAll().kind, FindRequest::FindNext);
    EXPECT_EQ(form.replaceAll().kind, FindRequest::ReplaceAll);
}

TEST(CharacterRunCode, RoundTripsAndSurvivesLyingCounts)
{
    const CharacterDictionary& d = shippedDictionary();
    const EntryList run = entriesOf(u"あいう");
    const std::u16string code = encodeCharacterRunCode(run);
    EXPECT_EQ(code[1], 3);
    EXPECT_EQ(decodeCharacterRunCode(code, d), run);
    std::u16string lying = code;
    lying[0] = 0x7FFF; // claims far more characters than there are
    EXPECT_EQ(decodeCharacterRunCode(lying, d), run);
    lying.resize(lying.size() - 2); // the last record cut short
    EXPECT_EQ(decodeCharacterRunCode(lying, d).size(), 2u);
    EXPECT_TRUE(decodeCharacterRunCode(u"\x8000\x0001", d).empty());
}
