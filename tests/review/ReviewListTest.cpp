#include "ReviewList.h"

#include "BrailleCheck.h"
#include "ReviewActions.h"
#include "SessionFixture.h"

using namespace braille;
using namespace braille::test;

namespace {

std::string places(const std::vector<ReviewItem>& items)
{
    std::string out;
    for (const ReviewItem& item : items)
        out += std::to_string(item.begin.paragraph) + ":" + std::to_string(item.begin.character) + "-" +
               std::to_string(item.end.paragraph) + ":" + std::to_string(item.end.character) + " ";
    return out;
}

} // namespace

TEST(ReviewList, ItemsMoveWithTheirTextAndGoWithIt)
{
    Session s;
    // Three findings: ＡＢＣ without its sign in two paragraphs, digits without their sign.
    s.run(u"{ime:かＡＢＣ。}{Enter}{ime:きＸＹ}2{Left}{BS}{End}");
    ReviewList list;
    list.replaceFindings(Body, checkSection(s.document, Body));
    list.startFollowing(s.session.undoHistory());
    ASSERT_EQ(places(list.items()), "0:1-0:4 1:1-1:3 1:3-1:4 ");
    const auto follows = [&](const char* what) {
        EXPECT_TRUE(list.follow(s.session.undoHistory(), s.document)) << what;
        EXPECT_EQ(places(list.items()), places(checkSection(s.document, Body))) << what;
        EXPECT_EQ(list.keepValid(s.document), 0u) << what;
    };
    s.run(u"{C-Home}{ime:あい、}");
    follows("typed before the first item");
    EXPECT_EQ(places(list.items()), "0:5-0:8 1:1-1:3 1:3-1:4 ");
    s.run(u"{Enter}");
    follows("the paragraph split before it");
    EXPECT_EQ(places(list.items()), "1:1-1:4 2:1-2:3 2:3-2:4 ");
    s.run(u"{BS}");
    follows("the paragraphs joined again");
    s.run(u"{C-Home}{Del}");
    follows("a character deleted before it");
    EXPECT_EQ(places(list.items()), "0:4-0:7 1:1-1:3 1:3-1:4 ");
    s.run(u"{C-z}{C-z}");
    follows("undone");
    EXPECT_EQ(places(list.items()), "1:1-1:4 2:1-2:3 2:3-2:4 ");
    s.run(u"{C-y}");
    follows("redone");
    EXPECT_EQ(places(list.items()), "0:5-0:8 1:1-1:3 1:3-1:4 ");
    // Typing inside an item widens it.
    s.session.selectStretch(Body, {1, 2}, {1, 2});
    s.run(u"{ime:Ｚ}");
    follows("typed inside an item");
    EXPECT_EQ(places(list.items()), "0:5-0:8 1:1-1:4 1:4-1:5 ");
    // Deleting an item's text takes the item away; deleting part of it shortens it.
    s.session.selectStretch(Body, {0, 5}, {0, 8});
    s.run(u"{Del}");
    EXPECT_TRUE(list.follow(s.session.undoHistory(), s.document));
    EXPECT_EQ(places(list.items()), "1:1-1:4 1:4-1:5 ");
    // Undoing the deletion brings the item back with its text; redoing it takes it again.
    s.run(u"{C-z}");
    EXPECT_TRUE(list.follow(s.session.undoHistory(), s.document));
    EXPECT_EQ(places(list.items()), "0:5-0:8 1:1-1:4 1:4-1:5 ");
    EXPECT_EQ(list.keepValid(s.document), 0u);
    s.run(u"{C-y}");
    EXPECT_TRUE(list.follow(s.session.undoHistory(), s.document));
    EXPECT_EQ(places(list.items()), "1:1-1:4 1:4-1:5 ");
    s.session.selectStretch(Body, {1, 0}, {1, 2});
    s.run(u"{Del}");
    EXPECT_TRUE(list.follow(s.session.undoHistory(), s.document));
    EXPECT_EQ(places(list.items()), "1:0-1:2 1:2-1:3 ");
    // A history that no longer reaches the list's state: what still stands on its cells stays.
    s.session.undoHistory().reset();
    s.run(u"{C-Home}{Del}");
    s.session.undoHistory().reset();
    list.follow(s.session.undoHistory(), s.document);
    EXPECT_EQ(places(list.items()), "1:0-1:2 1:2-1:3 ");
}

TEST(ReviewList, NextAndPreviousSkipDoneItemsAndGoRound)
{
    Session s;
    s.run(u"{ime:ＡＢ}、{ime:ＣＤ}。{Enter}{ime:ＥＦ}{C-Home}");
    ReviewList list;
    list.replaceFindings(std::nullopt, checkBook(s.document));
    ASSERT_EQ(places(list.items()), "0:0-0:2 0:4-0:6 1:0-1:2 ");
    // From the caret at the start: the second, since the first begins there; it is selected.
    EXPECT_EQ(goToReviewItem(s.session, list, true), 1u);
    EXPECT_EQ(u8(EditingSession::printText(s.session.selectedEntries())), "ＣＤ");
    list.setDone(1, true);
    EXPECT_EQ(goToReviewItem(s.session, list, true), 2u);
    EXPECT_EQ(goToReviewItem(s.session, list, true), 0u); // round to the start, past the done one
    EXPECT_EQ(goToReviewItem(s.session, list, false), 2u);
    EXPECT_EQ(goToReviewItem(s.session, list, false), 0u);
    // A new check keeps the done flag of a finding that is still there.
    list.replaceFindings(Body, checkSection(s.document, Body));
    EXPECT_TRUE(list.items()[1].done);
}
