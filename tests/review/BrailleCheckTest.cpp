#include "BrailleCheck.h"

#include "ReviewActions.h"
#include "ReviewList.h"
#include "ReviewPlaces.h"
#include "ReviewSidecar.h"
#include "SessionFixture.h"

using namespace braille;
using namespace braille::test;

namespace {

// A body made by typing, holding one of each thing the check finds: digits deleted from after
// their number sign, a number sign deleted from before its digits, the connector deleted before
// えん, a blank typed after 。 (three), letters without their sign, Enter inside これ, and
// three Enters in a row.
constexpr std::u16string_view kScript =
    u"2026{BS}{BS}{BS}{BS}{Enter}2026{Home}{Del}{End}{ime:えん}{Left}{Left}{BS}{End}。 {ime:ＡＢＣ}、{Enter}"
    u"kore{Left}{Enter}{End}{Enter}{Enter}{Enter}owari";

std::string dump(const BrailleDocument& document, const std::vector<ReviewItem>& items)
{
    std::string out;
    const std::vector<ReviewPlace> places = reviewPlaces(document, items, 22);
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::u16string cells = items[i].braille;
        std::replace(cells.begin(), cells.end(), u'\n', u'|');
        out += u8(places[i].label) + " " + u8(reviewDescription(items[i])) + " [" + u8(cells) + "]\n";
    }
    return out;
}

} // namespace

TEST(BrailleCheck, FindsWhatEditingLeftBehind)
{
    Session s;
    s.run(kScript);
    EXPECT_EQ(s.cells(), "#|BJBFF04   ABC; |[|G|||I'H");
    EXPECT_EQ(dump(s.document, checkSection(s.document, Body)),
              "本文 1-2 数符のあとに数字がありません [#]\n"
              "本文 1-3 数字の前に数符がありません（かなとして読まれます） [BJBF]\n"
              "本文 1-3 数字のあとのア行・ラ行のかなの前につなぎ符がありません（数字として読まれます） [F]\n"
              "本文 1-3 句点のあとは2マスあけますが、3マスです [4   ]\n"
              "本文 1-3 アルファベットの前に外字符がありません（かなとして読まれます） [ABC]\n"
              "本文 1-4 語の途中で改行しています [|]\n"
              "本文 1-7 空の段落が2つ続いています [|]\n");
    // What the rules make while typing is clean.
    Session clean;
    clean.run(u"2026{ime:えん}。{ime:これは}、{F8}{ime:ＡＢＣ} {Enter}{Enter}owari");
    EXPECT_EQ(checkBook(clean.document).size(), 0u) << dump(clean.document, checkBook(clean.document));
}

TEST(BrailleCheck, EachFixIsOneUndoStepAskedForOnItsItem)
{
    Session s;
    s.run(kScript);
    const std::string typed = s.cells();
    ReviewList list;
    list.replaceFindings(std::nullopt, checkBook(s.document));
    list.startFollowing(s.session.undoHistory());
    ASSERT_EQ(list.size(), 7u);
    // Nothing changes until a fix is asked for.
    EXPECT_EQ(s.cells(), typed);
    const std::size_t before = s.undoSteps();
    std::size_t fixes = 0;
    while (!list.empty()) {
        ASSERT_TRUE(fixReviewItem(s.session, list, 0)) << dump(s.document, list.items());
        ++fixes;
        EXPECT_EQ(s.undoSteps(), before + fixes);
        EXPECT_EQ(s.document.checkInvariants(), "");
        // The other findings followed the fix: they are where a new check finds them.
        EXPECT_EQ(dump(s.document, list.items()), dump(s.document, checkBook(s.document)));
    }
    EXPECT_EQ(fixes, 7u);
    EXPECT_EQ(s.cells(), "|#BJBF-F04  ;ABC; |[G||I'H");
    EXPECT_EQ(checkBook(s.document).size(), 0u);
    for (std::size_t i = 0; i < fixes; ++i)
        s.run(u"{C-z}");
    EXPECT_EQ(s.cells(), typed);
    // A translated word has no fix.
    ReviewItem word{ReviewKind::UnknownWord, Body, {1, 0}, {1, 4}, u"二〇二六", u"BJBF"};
    EXPECT_FALSE(applyReviewFix(s.session, word));
    EXPECT_EQ(s.cells(), typed);
}

// A finding edited inside after it was listed: its fix must still mend what it says, and never
// take characters the finding no longer stands on.
TEST(BrailleCheck, AFixAfterAnEditInsideTheFindingKeepsTheText)
{
    Session s;
    s.run(u"{ime:あ}。 {ime:いう}");
    ReviewList list;
    list.replaceFindings(std::nullopt, checkBook(s.document));
    list.startFollowing(s.session.undoHistory());
    ASSERT_EQ(list.size(), 1u) << dump(s.document, list.items());
    const std::string before = s.cells();
    // One of the three blanks goes: two are left, as the rule wants.
    s.run(u"{Home}{Right}{Right}{Right}{Del}");
    const std::string edited = s.cells();
    ASSERT_NE(edited, before);
    list.follow(s.session.undoHistory(), s.document);
    ASSERT_EQ(list.size(), 1u);
    fixReviewItem(s.session, list, 0);
    // The word after the blanks is whole.
    EXPECT_EQ(s.cells().substr(s.cells().size() - 2), edited.substr(edited.size() - 2)) << before << " / " << edited << " / " << s.cells();
}

TEST(BrailleCheck, TheEmptyParagraphsFixKeepsTextTypedIntoThem)
{
    Session s;
    s.run(u"kore{Enter}{Enter}{Enter}{Enter}owari");
    ReviewList list;
    list.replaceFindings(std::nullopt, checkBook(s.document));
    list.startFollowing(s.session.undoHistory());
    std::size_t index = list.size();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list.items()[i].kind == ReviewKind::EmptyParagraphs)
            index = i;
    ASSERT_LT(index, list.size()) << dump(s.document, list.items());
    const std::string before = s.cells();
    // Text typed into the last of the empty paragraphs.
    s.run(u"{C-End}{Up}kore");
    const std::string edited = s.cells();
    list.follow(s.session.undoHistory(), s.document);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list.items()[i].kind == ReviewKind::EmptyParagraphs)
            index = i;
    fixReviewItem(s.session, list, index);
    const std::string fixed = s.cells();
    // Whatever the fix did, the typed word is still there.
    EXPECT_EQ(std::count(fixed.begin(), fixed.end(), '['), std::count(edited.begin(), edited.end(), '['))
        << before << " / " << edited << " / " << fixed;
}

// A list read from its file is checked against the book before it is used: an item whose
// stretch and cells match but whose count is damaged must not let its fix cut the paragraph.
TEST(BrailleCheck, ADamagedCountFromTheListFileDoesNotCutTheParagraph)
{
    Session s;
    s.run(u"{ime:あ}。 {ime:いうえお}");
    const std::vector<ReviewItem> found = checkBook(s.document);
    ASSERT_EQ(found.size(), 1u);
    ReviewItem damaged = found[0];
    damaged.count = 40; // as a hand-edited or damaged BOOK.bml.review may say
    const ReviewRead read = parseReviewText(writeReviewText({damaged}));
    ASSERT_EQ(read.error, "");
    ReviewList list;
    list.add(read.items);
    EXPECT_EQ(list.keepValid(s.document), 0u);
    list.startFollowing(s.session.undoHistory());
    const std::string before = s.cells();
    fixReviewItem(s.session, list, 0);
    EXPECT_EQ(s.cells().substr(s.cells().size() - 4), before.substr(before.size() - 4)) << before << " / " << s.cells();
}
