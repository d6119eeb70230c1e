#include "ReviewWords.h"

#include "ReviewList.h"
#include "SessionFixture.h"

using namespace braille;
using namespace braille::test;

// The translation's guessed and unknown words are found in the braille the rules made of it:
// after a number sign, a connector and blanks that the text did not have.
TEST(ReviewWords, PlacedOnTheBrailleTheRulesMade)
{
    Session s;
    s.run(u"{ime:まえ}{Enter}{ime:あと}{Left}");
    autotranslate::Translation t;
    t.braille = u"キョーワ　6エン。アルファベット　ABC　デス";
    t.words = {{u"今日", 0, 2, 0, 4}, {u"は", 2, 3, 4, 4}, {u"6円", 4, 6, 5, 8}, {u"ABC", 0, 0, 17, 20}};
    t.guessed = {{u"今日", u"", 1}};
    t.unknown = {{u"6円", u"", 1}, {u"ABC", u"", 1}};
    const std::vector<TypedWord> words = wordsToCheck(t);
    ASSERT_EQ(words.size(), 3u);
    const DocumentLocation start = s.session.cursor().location();
    ASSERT_TRUE(s.session.pasteTextAsText(t.braille).typed);
    const std::vector<ReviewItem> items = placeTypedWords(s.document, Body, start, t.braille, words);
    ASSERT_EQ(items.size(), 3u);
    std::string found;
    for (const ReviewItem& item : items) {
        const StretchText text = stretchText(s.document, Body, item.begin, item.end);
        EXPECT_TRUE(text.valid);
        EXPECT_EQ(text.braille, item.braille);
        found += u8(item.print) + (item.kind == ReviewKind::GuessedReading ? "?" : "!") + "=" + u8(item.braille) + " ";
    }
    // 6円 with the number sign and the connector the rules put in; the paste began after あ.
    EXPECT_EQ(found, "今日?=@[3' 6円!=#F-F0 ABC!=ABC ");
    EXPECT_EQ(items[0].begin, (DocumentLocation{1, 1}));
}
