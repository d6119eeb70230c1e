// The braille rules, driven as a transcriber triggers them: by committing text in TEXT mode and
// typing keys in MATH mode.

#include "BrailleRules.h"
#include "CharacterPosition.h"
#include "InputFixture.h"
#include "PageLayout.h"
#include "Utf.h"
#include "VirtualKeys.h"

#include <random>

namespace braille::test {
namespace {

std::string cellsOf(std::u16string_view text)
{
    std::u16string out;
    for (const BrailleCharacter* e : entriesOf(text))
        out += e->nabcc;
    return toUtf8(out);
}

using BrailleRules = InputFixture;

// Rule 6: the number sign.

TEST_F(BrailleRules, NumberSignBeforeTheFirstDigitOfTheBody)
{
    commit(u"１");
    EXPECT_EQ(cells(), "#A");
    EXPECT_EQ(caret(), (CellPosition{2, 0}));
    EXPECT_EQ(undo.size(), 3u); // initial, the digit, the sign
    undo.undo();
    EXPECT_EQ(cells(), "A");
    undo.undo();
    EXPECT_EQ(cells(), "");
}

TEST_F(BrailleRules, ADigitThatContinuesANumberTakesNoSign)
{
    commit(u"１");
    commit(u"２");
    EXPECT_EQ(cells(), "#AB");
    commit(u"．");
    commit(u"５");
    EXPECT_EQ(cells(), "#AB1E");
}

TEST_F(BrailleRules, EveryNumberAfterABlankOrKanaGetsItsSign)
{
    commit(u"あ");
    commit(u"１");
    press(vk::Space, u' ');
    commit(u"２");
    EXPECT_EQ(cells(), "A#A #B");
}

TEST_F(BrailleRules, ADigitRetypedAfterItsNumberSignGetsNoSecondSign)
{
    commit(u"５");
    press(vk::Back, 8);
    EXPECT_EQ(cells(), "#");
    commit(u"６");
    EXPECT_EQ(cells(), "#F");
}

TEST_F(BrailleRules, AResultOfSeveralDigitsGetsOneSign)
{
    commit(u"２０２６");
    EXPECT_EQ(cells(), "#BJBF");
    EXPECT_EQ(caret(), (CellPosition{5, 0}));
}

// Rule 1: commas inside numbers.

TEST_F(BrailleRules, ACommaBetweenDigitsBecomesTheNumericComma)
{
    commit(u"１");
    commit(u"，");
    EXPECT_EQ(cells(), "#A1"); // nothing follows yet: still the ordinary comma
    commit(u"２");
    EXPECT_EQ(cells(), "#A'B");
    commit(u"０");
    EXPECT_EQ(cells(), "#A'BJ");
}

TEST_F(BrailleRules, ACommaTypedBetweenTwoDigits)
{
    load(u"\uE003１２", 0, 2);
    commit(u"，");
    EXPECT_EQ(cells(), "#A'B");
    EXPECT_EQ(caret(), (CellPosition{3, 0}));
}

TEST_F(BrailleRules, ADigitTypedBeforeACommaAndADigit)
{
    load(u"\uE003１，３", 0, 2);
    commit(u"２");
    EXPECT_EQ(cells(), "#AB'C");
}

TEST_F(BrailleRules, KanaAfterANumericCommaTurnsItIntoTheReadingComma)
{
    commit(u"１");
    commit(u"，");
    commit(u"２");
    press(vk::Left);
    commit(u"あ");
    EXPECT_EQ(cells(), "#A;AB");
    EXPECT_EQ(print(), "\uE003１、あ２");
}

TEST_F(BrailleRules, KanaTypedBetweenANumberAndItsCommaTakesTheCommaOutOfTheNumber)
{
    commit(u"１");
    commit(u"，");
    commit(u"２");
    press(vk::Left);
    press(vk::Left);
    commit(u"あ"); // the neighbour after the typed kana is tested
    EXPECT_EQ(cells(), "#A-A;B");
}

TEST_F(BrailleRules, CommaReplacementsAreNotUndoSteps)
{
    commit(u"１");
    commit(u"，");
    commit(u"２");
    EXPECT_EQ(undo.size(), 5u); // initial, １, its sign, ，, ２
    undo.undo();
    EXPECT_EQ(cells(), "#A'");
}

TEST_F(BrailleRules, ACommaAfterKanaStaysAsTyped)
{
    commit(u"あ");
    commit(u"，");
    commit(u"い");
    EXPECT_EQ(cells(), "A1B");
}

// Rules 7 to 9: connectors and the foreign-letter sign.

TEST_F(BrailleRules, AnAOrRaRowKanaAfterANumberTakesTheConnector)
{
    commit(u"５");
    commit(u"あ");
    EXPECT_EQ(cells(), "#E-A");
    load(u"");
    commit(u"５");
    commit(u"ら");
    EXPECT_EQ(cells(), "#E-" + cellsOf(u"ら"));
}

TEST_F(BrailleRules, OtherKanaAfterANumberTakeNoConnector)
{
    commit(u"５");
    commit(u"か");
    EXPECT_EQ(cells(), "#E" + cellsOf(u"か"));
    EXPECT_EQ(undo.size(), 4u);
}

TEST_F(BrailleRules, ALetterAToJAfterANumberTakesTheForeignLetterSign)
{
    commit(u"３");
    commit(u"ａ");
    EXPECT_EQ(cells(), "#C;" + cellsOf(u"ａ"));
    load(u"");
    commit(u"３");
    commit(u"ｋ");
    EXPECT_EQ(cells(), "#C" + cellsOf(u"ｋ"));
}

TEST_F(BrailleRules, KanaAfterALatinLetterTakesTheTextConnector)
{
    commit(u"Ｂ");
    commit(u"あ");
    EXPECT_EQ(cells(), cellsOf(u"Ｂ") + "-A");
    const EntryList chars = flatCharacters(document);
    const std::size_t connector = entriesOf(u"Ｂ").size();
    EXPECT_EQ(chars[connector]->set, kTextSet);
}

// Braille does not tell katakana from hiragana: katakana after a number or a letter take the
// same signs, whether typed a syllable at a time or committed as one result.
TEST_F(BrailleRules, KatakanaTakeTheSignsOfTheirHiragana)
{
    const std::pair<std::u16string_view, std::u16string_view> words[] = {
        {u"６エン", u"６えん"}, {u"５リットル", u"５りっとる"}, {u"３アンペア", u"３あんぺあ"},
        {u"２ラウンド", u"２らうんど"}, {u"Ａデス", u"Ａです"}, {u"ｘヴァ", u"ｘゔぁ"}};
    for (const auto& [katakana, hiragana] : words) {
        load(u"");
        commit(hiragana);
        const std::string expected = cells();
        load(u"");
        commit(katakana);
        EXPECT_EQ(cells(), expected) << u8(katakana) << " committed at once";
        load(u"");
        for (const std::u16string& piece : ImeInput::resultPieces(katakana))
            commit(piece);
        EXPECT_EQ(cells(), expected) << u8(katakana) << " a syllable at a time";
    }
    load(u"");
    commit(u"６エン");
    EXPECT_EQ(cells(), "#F-F0");
}

TEST_F(BrailleRules, ASignIsItsOwnUndoStepAndUndoLeavesTheTypedText)
{
    commit(u"５");
    commit(u"あ");
    undo.undo();
    EXPECT_EQ(cells(), "#EA");
    undo.undo();
    EXPECT_EQ(cells(), "#E");
    undo.redo();
    undo.redo();
    EXPECT_EQ(cells(), "#E-A");
}

// Rule 2: blanks after punctuation.

TEST_F(BrailleRules, TwoBlanksFollowTheFullStopAndOneTheReadingComma)
{
    commit(u"あ");
    commit(u"。");
    EXPECT_EQ(cells(), "A4  ");
    EXPECT_EQ(caret(), (CellPosition{4, 0}));
    EXPECT_EQ(undo.size(), 5u); // あ, 。 and one step per blank
    load(u"");
    commit(u"あ");
    commit(u"、");
    EXPECT_EQ(cells(), "A; ");
    EXPECT_EQ(caret(), (CellPosition{3, 0}));
}

TEST_F(BrailleRules, TheBlanksGoBeforeWhatFollows)
{
    load(u"あい", 0, 1);
    commit(u"。");
    EXPECT_EQ(cells(), "A4  B");
    EXPECT_EQ(caret(), (CellPosition{4, 0}));
}

// MATH: rules 2 to 5 on formula characters.

class MathRules : public InputFixture {
protected:
    MathRules() { modes.toggleTextMath(); }
    // Keys typed into the dictionary input, then Enter when something is still pending.
    void key(std::u16string_view keys)
    {
        type(keys);
        if (!math.pending().empty())
            press(vk::Return, u'\r');
    }
};

TEST_F(MathRules, SetOperatorsAndArrowsStandBetweenBlanks)
{
    key(u"a");
    key(u"cup");
    key(u"b");
    EXPECT_EQ(cells(), ";A + B");
    key(u"rightarrow");
    EXPECT_EQ(cells(), ";A + B 3O ");
}

TEST_F(MathRules, ACommaOrAVerticalLineIsFollowedByABlank)
{
    key(u"x");
    key(u",");
    EXPECT_EQ(cells(), ";X1 ");
    key(u"mid");
    EXPECT_EQ(cells(), ";X1 L ");
}

TEST_F(MathRules, AnAbsoluteBarBringsItsPartnerWithTheCaretBetween)
{
    key(u"abs");
    EXPECT_EQ(cells(), ";\\\\");
    EXPECT_EQ(caret(), (CellPosition{2, 0}));
    key(u"x");
    EXPECT_EQ(cells(), ";\\X\\");
}

TEST_F(MathRules, ANormBarBringsItsPartnerWithTheCaretBetween)
{
    key(u"Vert");
    EXPECT_EQ(cells(), ";\\\\\\\\");
    EXPECT_EQ(caret(), (CellPosition{3, 0}));
}

TEST_F(MathRules, ASlashBecomesAFractionWithTheCaretBeforeTheSlash)
{
    key(u"/");
    EXPECT_EQ(cells(), ";(/)");
    EXPECT_EQ(caret(), (CellPosition{2, 0}));
    key(u"1");
    EXPECT_EQ(cells(), ";(#A/)");
}

TEST_F(MathRules, ADigitInAFormulaGetsTheNumberSign)
{
    key(u"x");
    key(u"+");
    key(u"1");
    key(u"0");
    EXPECT_EQ(cells(), ";X5#AJ");
}

TEST_F(BrailleRules, ASlashInTextIsNoFraction)
{
    commit(u"／");
    EXPECT_EQ(cells(), cellsOf(u"／"));
}

TEST_F(BrailleRules, AnEmptyListChangesNothing)
{
    load(u"あ１", 0, 2);
    applyRules(cursor, undo, {});
    EXPECT_EQ(cells(), "AA");
    EXPECT_EQ(undo.size(), 1u);
}

TEST_F(BrailleRules, SignsAtARowBreakKeepTheCaretAfterTheTypedText)
{
    pageLayout().ColumnNumber = 8;
    load(u"あいうえおかき");
    toEnd();
    commit(u"５"); // the number sign makes the word too long for the row
    checkDocument();
    EXPECT_EQ(print(), "あいうえおかき\uE003５");
    const CharacterPosition at = characterPosition(cursor);
    EXPECT_EQ(at.character, 9u);
    EXPECT_EQ(undoAllThenRedoAll(), cellsOf(u"あいうえおかき"));
}

TEST_F(BrailleRules, FullStopAtTheEndOfARow)
{
    pageLayout().ColumnNumber = 8;
    load(u"あいうえお かきく", 0, 0);
    toEnd();
    commit(u"。");
    checkDocument();
    EXPECT_EQ(rows(), "あいうえお_|6\nかきく。__*|7\n");
    EXPECT_EQ(undoAllThenRedoAll(), cellsOf(u"あいうえお かきく"));
}

// Random typing with caret moves: the document stays well formed, and undoing everything
// gives back the start, redoing everything the end.
TEST_F(BrailleRules, RandomTypingUndoesAndRedoesCompletely)
{
    const std::u16string pieces[] = {u"あ", u"か", u"ら", u"１", u"２", u"０", u"，", u"．", u"。", u"、",
                                     u"ａ", u"ｋ", u"Ｂ", u"きょ", u"／", u"　"};
    for (std::uint32_t columns : {5u, 8u, 32u}) {
        pageLayout().ColumnNumber = columns;
        std::mt19937 random(columns);
        load(u"あいう えお\nかき");
        const std::string start = cells();
        for (int i = 0; i < 300; ++i) {
            switch (random() % 8) {
            case 0: press(vk::Left); break;
            case 1: press(vk::Right); break;
            case 2: press(vk::Up); break;
            case 3: press(vk::Back, 8); break;
            default: commit(pieces[random() % std::size(pieces)]); break;
            }
            checkDocument();
        }
        EXPECT_EQ(undoAllThenRedoAll(true), start) << columns;
    }
}

} // namespace
} // namespace braille::test
