// Tenkora's own kana input: romaji typed through the composer into TEXT mode, syllable by
// syllable, with the braille rules running on each.

#include "ComposerInputMethod.h"
#include "InputFixture.h"
#include "Utf.h"
#include "VirtualKeys.h"

namespace braille::test {
namespace {

class ComposerInput : public InputFixture {
protected:
    ComposerInput() : system(cursor, undo, scroll, composer) { system.activate(); }

    void romaji(std::string_view keys)
    {
        for (char c : keys)
            composer.type(char16_t(c), system);
    }

    ComposerInputMethod composer;
    ImeInput system;
};

TEST_F(ComposerInput, SpellingsBecomeKana)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"kyo", "きょ"}, {"sha", "しゃ"}, {"shi", "し"}, {"si", "し"},  {"tsu", "つ"}, {"tu", "つ"},
        {"nn", "ん"},    {"n'", "ん"},    {"kka", "っか"}, {"xtu", "っ"}, {"ltu", "っ"}, {"xya", "ゃ"},
        {"-", "ー"},     {"ja", "じゃ"},  {"zya", "じゃ"}, {"fa", "ふぁ"}, {"chi", "ち"}, {"ti", "ち"},
    };
    for (const auto& [keys, kana] : cases) {
        load(u"");
        romaji(keys);
        EXPECT_EQ(print(), kana) << keys;
        EXPECT_EQ(composer.composition(), u"") << keys;
    }
}

TEST_F(ComposerInput, EachSyllableIsOneUndoStepAndKeepsItsYoonCell)
{
    romaji("kyouha");
    EXPECT_EQ(print(), "きょうは");
    EXPECT_EQ(cells(), "@[CU");
    EXPECT_EQ(undo.size(), 4u); // きょ, う, は
}

TEST_F(ComposerInput, TheRulesRunAsEachSyllableIsTyped)
{
    romaji("5a");
    EXPECT_EQ(cells(), "#E-A");
    load(u"");
    romaji("3,000en.");
    // "," types 、 in text, which takes a blank; え after a number takes the connector.
    EXPECT_EQ(print(), "\uE003３、□\uE003０００\uE00Dえん。□□");
}

TEST_F(ComposerInput, UnfinishedLettersAreShownUntilTheSyllableIsComplete)
{
    romaji("ky");
    EXPECT_EQ(composer.composition(), u"ky");
    EXPECT_EQ(print(), "");
    int result = 0;
    EXPECT_TRUE(composer.takeKey(vk::Back, system, result));
    EXPECT_EQ(composer.composition(), u"k");
    EXPECT_TRUE(composer.takeKey(vk::Escape, system, result));
    EXPECT_EQ(composer.composition(), u"");
    EXPECT_FALSE(composer.takeKey(vk::Back, system, result)); // nothing composed: for the document
    romaji("n");
    EXPECT_TRUE(composer.takeKey(vk::Return, system, result));
    EXPECT_EQ(print(), "ん");
}

TEST_F(ComposerInput, ShiftF2GivesKatakanaThenLetsKeysThrough)
{
    system.toggleKana();
    romaji("ko-hi-");
    EXPECT_EQ(print(), "コーヒー");
    system.toggleKana(); // closed: keys are their own characters
    EXPECT_EQ(system.inputMethodState(), 0);
    romaji("a");
    EXPECT_EQ(print(), "コーヒーａ");
    system.toggleKana();
    EXPECT_EQ(system.inputMethodState(), 8);
    romaji("a");
    EXPECT_EQ(print(), "コーヒーａ\uE00Dあ"); // kana after a letter: the connector
}

TEST_F(ComposerInput, ASpaceIsABlank)
{
    romaji("a a");
    EXPECT_EQ(cells(), "A A");
}

TEST(ComposerSyllables, SmallKanaStayWithTheirKana)
{
    EXPECT_EQ(ComposerInputMethod::syllables(u"きょうはファン、"),
              (std::vector<std::u16string>{u"きょ", u"う", u"は", u"ファ", u"ン", u"、"}));
    EXPECT_EQ(ComposerInputMethod::syllables(u"ゃ１ゃ"), (std::vector<std::u16string>{u"ゃ", u"１", u"ゃ"}));
}

} // namespace
} // namespace braille::test
