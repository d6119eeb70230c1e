#include "PrintBookTyping.h"

#include "CharacterDictionary.h"
#include "ReviewList.h"
#include "DocumentBuilder.h"
#include "TestSupport.h"
#include "TranslatorFixture.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

PrintParagraph body(std::u16string text, std::vector<RubySpan> ruby = {}, std::u16string page = {})
{
    return {PrintParagraph::Body, 0, std::move(text), std::move(ruby), std::move(page)};
}

} // namespace

TEST(PrintBookTyping, HeadingsParagraphsRubyPagesAndTheWordsToReview)
{
    shippedDictionary();
    PrintBook book;
    book.cover = {body(u"星の話")};
    book.body = {{PrintParagraph::Heading, 1, u"第一章", {}, {}},
                 body(u"今日は雨。", {{0, 2, u"こんにち"}}, u"12"),
                 body(u"今日は晴れ。"),
                 {PrintParagraph::Heading, 2, u"夜", {}, {}}};
    const PrintBookTyping typed = typePrintBook(book, sharedTranslator(), PageLayout{22, 32});
    ASSERT_NE(typed.document, nullptr);
    const BrailleDocument& d = *typed.document;
    EXPECT_EQ(d.checkInvariants(), "");
    EXPECT_EQ(d.sections[Cover].paragraphs.size(), 1u);
    std::vector<std::string> paragraphs;
    for (const BrailleParagraph& p : d.sections[Body].paragraphs) {
        std::string text;
        for (const BrailleCharacter* c : *p.characters)
            text += u8(c == CharacterDictionary::instance().blankEntry() ? std::u16string(u"_") : c->print);
        paragraphs.push_back(text);
    }
    ASSERT_EQ(paragraphs.size(), 4u);
    EXPECT_EQ(paragraphs[0].rfind("________", 0), 0u) << paragraphs[0]; // level 1 at cell 9
    EXPECT_NE(paragraphs[0].rfind("_________", 0), 0u) << paragraphs[0];
    EXPECT_EQ(paragraphs[1].rfind("__コンニチワ_", 0), 0u) << paragraphs[1]; // the ruby's reading
    EXPECT_EQ(paragraphs[2].rfind("__キョーワ_", 0), 0u) << paragraphs[2];
    EXPECT_EQ(paragraphs[3].rfind("______ヨル", 0), 0u) << paragraphs[3]; // level 2 at cell 7
    EXPECT_EQ(typed.rubyUsed, 1u);
    // The print page begins on the first row of its paragraph.
    EXPECT_TRUE(d.useOrgPage);
    EXPECT_EQ(std::next(d.sections[Body].paragraphs.begin())->rows.front().orgPage, u"12");
    // 今日 without its ruby is a guess, and the review list knows where it is.
    ASSERT_EQ(typed.review.size(), 1u);
    EXPECT_EQ(typed.review[0].section, Body);
    EXPECT_EQ(typed.review[0].paragraph, 2u);
    EXPECT_EQ(typed.review[0].printBegin, 0u);
    EXPECT_EQ(typed.review[0].printEnd, 2u);
    EXPECT_EQ(typed.review[0].word, u"今日");
    EXPECT_TRUE(typed.review[0].guessed);
    // And where it stands in the braille: after the paragraph's indent, on キョー (は is a word of its own).
    ASSERT_EQ(typed.reviewItems.size(), 1u);
    EXPECT_EQ(typed.reviewItems[0].kind, ReviewKind::GuessedReading);
    EXPECT_EQ(typed.reviewItems[0].begin, (DocumentLocation{2, 2}));
    const StretchText there = stretchText(d, Body, typed.reviewItems[0].begin, typed.reviewItems[0].end);
    EXPECT_EQ(u8(there.print), "キョー");
    EXPECT_EQ(there.braille, typed.reviewItems[0].braille);
}

TEST(PrintBookTyping, StoppedByItsProgressItMakesNoBook)
{
    shippedDictionary();
    PrintBook book;
    for (int i = 0; i < 200; ++i)
        book.body.push_back(body(u"犬が走る。"));
    std::size_t asked = 0;
    const PrintBookTyping typed = typePrintBook(book, sharedTranslator(), PageLayout{}, [&](std::size_t done, std::size_t total) {
        ++asked;
        EXPECT_EQ(total, 200u);
        return done < 128;
    });
    EXPECT_TRUE(typed.cancelled);
    EXPECT_EQ(typed.document, nullptr);
    EXPECT_EQ(asked, 2u);
}
