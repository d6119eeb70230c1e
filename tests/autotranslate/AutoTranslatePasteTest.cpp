#include "AutoTranslatePaste.h"
#include "SessionFixture.h"
#include "TranslatorFixture.h"

using namespace braille;
using namespace braille::test;

// Print translated automatically goes in at the caret through TEXT, with the rules' signs, as
// one undo step, even while MATH is on.
TEST(AutoTranslatePaste, TheTranslationIsTypedAtTheCaretAsOneUndoStep)
{
    Session s;
    s.run(u"a");
    const AutoTranslatePasteResult r = pasteTranslated(s.session, &sharedTranslator(), u"今日は3匹、");
    EXPECT_TRUE(r.typed);
    // あ, then キョーワ, a blank, the number sign, 3ビキ, 、 and the blank the rules add after it
    EXPECT_EQ(s.prints(), u8(u"あキョーワ□\uE003３ビキ、□"));
    EXPECT_EQ(s.cells(), "A@[3' #C\"V<; ");
    ASSERT_EQ(r.guessed.size(), 1u);
    EXPECT_EQ(r.guessed[0].word, u"今日");
    s.run(u"{C-z}");
    EXPECT_EQ(s.prints(), u8(u"あ"));
    s.run(u"{C-z}");
    EXPECT_EQ(s.prints(), "");
    s.run(u"{C-y}{C-y}");
    EXPECT_EQ(s.cells(), "A@[3' #C\"V<; ");

    Session math;
    math.run(u"{F2}");
    pasteTranslated(math.session, &sharedTranslator(), u"本");
    EXPECT_EQ(math.prints().substr(math.prints().size() - u8(u"ホン").size()), u8(u"ホン"));
}

TEST(AutoTranslatePaste, WithoutTheAnalyserNothingIsTypedAndTheReasonIsGiven)
{
    Session s;
    const AutoTranslatePasteResult r = pasteTranslated(s.session, nullptr, u"本", "no MeCab IPA dictionary found");
    EXPECT_FALSE(r.typed);
    EXPECT_EQ(r.error, "no MeCab IPA dictionary found");
    EXPECT_EQ(s.prints(), "");
    EXPECT_EQ(s.undoSteps(), 0u);
}

TEST(AutoTranslatePaste, WhatNoTableKnowsIsCountedAndAPasteOfOnlyThatTypesNothing)
{
    Session s;
    // Symbols that no table knows are left out and counted; a paste of only those types nothing.
    AutoTranslatePasteResult r = pasteTranslated(s.session, &sharedTranslator(), u"☃");
    EXPECT_FALSE(r.typed);
    EXPECT_EQ(r.leftOut, 1u);
    EXPECT_EQ(s.prints(), "");
    EXPECT_EQ(s.undoSteps(), 0u);
    // A kanji without a reading is not left out: it stands as 〓, to be checked.
    r = pasteTranslated(s.session, &sharedTranslator(), u"本𠀋☃⌘");
    EXPECT_TRUE(r.typed);
    EXPECT_EQ(r.leftOut, 2u);
    EXPECT_EQ(s.prints().substr(0, u8(u"ホン").size()), u8(u"ホン"));
    EXPECT_NE(s.prints().find(u8(u"〓")), std::string::npos);
    ASSERT_FALSE(r.unknown.empty());
    EXPECT_EQ(r.unknown[0].word, u"𠀋");
}
