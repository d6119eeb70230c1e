#include "CursorEditing.h"
#include "DocumentBuilder.h"
#include "PageLayout.h"
#include "TestSupport.h"
#include "UndoHistory.h"
#include "Utf.h"

#include <gtest/gtest.h>
#include <random>

using namespace braille;
using namespace braille::test;

namespace {

struct Messages : Notifier {
    std::vector<std::string> shown;
    void message(std::u16string_view text) override { shown.push_back(toUtf8(text)); }
};

std::string textOf(const BrailleDocument& doc)
{
    std::string s;
    for (const BrailleCharacter* e : flatCharacters(doc))
        s += notation(e);
    return s;
}

// The editor's user actions with the undo records the input systems make for them.
struct Editor {
    BrailleDocument doc;
    BrailleDocumentCursor cursor;
    Messages messages;
    UndoHistory history{cursor, &messages};

    explicit Editor(std::u16string_view text)
    {
        shippedDictionary();
        fillSection(doc, text);
        cursor.attach(&doc);
        history.reset();
    }
    void type(const BrailleCharacter* e)
    {
        deleteSelectionStep();
        const CellPosition at = cursor.position();
        history.record(at.row, at.column, kInsertion, e);
        insertAtCursor(cursor, e);
    }
    void enter()
    {
        deleteSelectionStep();
        const CellPosition at = cursor.position();
        history.record(at.row, at.column, kInsertion, CharacterDictionary::instance().lineBreakEntry());
        insertLineBreakAtCursor(cursor);
    }
    void del()
    {
        if (deleteSelectionStep())
            return;
        deleteStep(false);
    }
    void backspace()
    {
        if (deleteSelectionStep() || cursor.atSectionStart())
            return;
        cursor.moveLeft();
        cursor.setDesired();
        deleteStep(true);
    }
    bool deleteSelectionStep()
    {
        if (!cursor.hasSelection())
            return false;
        EntryList entries;
        collectSelection(cursor, entries);
        deleteSelectionUnrecorded(cursor);
        if (!entries.empty())
            history.record(cursor.row(), cursor.column, kDeletion, entries);
        return true;
    }
    void deleteStep(bool backspace)
    {
        const BrailleCharacter* e = cursor.entry();
        if (cursor.onEndMarker() && cursor.rows.isSectionsLastRow())
            return; // nothing to delete: no step
        const std::uint32_t rowBefore = cursor.row();
        history.record(cursor.row(), cursor.column, kDeletion, e);
        const int result = deleteAtCursor(cursor);
        if (cursor.row() == rowBefore)
            return;
        UndoStep& step = history.lastStep();
        if (result == kDeleteMovedBack) {
            if (backspace) {
                step.row -= 1;
                step.column = pageLayout().ColumnNumber;
            } else {
                step.row = cursor.row();
                step.column = cursor.column;
            }
        } else if (result == kDeleteMovedRight) {
            step.redoRow = step.row;
            step.redoColumn = step.column;
            step.row = cursor.row();
            step.column = cursor.column;
        }
    }
};

} // namespace

TEST(UndoHistory, FreshHistoryAnswersWithTheMessages)
{
    Editor ed(u"ab");
    EXPECT_FALSE(ed.history.canUndo());
    EXPECT_FALSE(ed.history.canRedo());
    EXPECT_FALSE(ed.history.undo());
    EXPECT_FALSE(ed.history.redo());
    EXPECT_EQ(ed.messages.shown, (std::vector<std::string>{"初期状態です。", "最新状態です。"}));
    EXPECT_EQ(textOf(ed.doc), "ab*");
}

TEST(UndoHistory, UndoAndRedoOfTypingPutTheCursorBack)
{
    Editor ed(u"ab");
    ed.cursor.goTo(0, 1);
    ed.type(entryOf(u'x'));
    EXPECT_EQ(textOf(ed.doc), "axb*");
    ASSERT_TRUE(ed.history.undo());
    EXPECT_EQ(textOf(ed.doc), "ab*");
    EXPECT_EQ(ed.cursor.position(), (CellPosition{1, 0}));
    ASSERT_TRUE(ed.history.redo());
    EXPECT_EQ(textOf(ed.doc), "axb*");
    EXPECT_EQ(ed.cursor.position(), (CellPosition{2, 0}));
    EXPECT_TRUE(ed.messages.shown.empty());
}

TEST(UndoHistory, RecordingAfterUndoDropsTheRedoBranch)
{
    Editor ed(u"");
    ed.type(entryOf(u'a'));
    ed.type(entryOf(u'b'));
    ed.history.undo();
    ed.type(entryOf(u'c'));
    EXPECT_FALSE(ed.history.canRedo());
    EXPECT_FALSE(ed.history.redo());
    EXPECT_EQ(textOf(ed.doc), "ac*");
    EXPECT_EQ(ed.history.size(), 3u);
}

TEST(UndoHistory, TheChangeSinceAStateNamesTheStepsDoneOrUndone)
{
    // What a screen reader is told after typing, undo and redo, and after typing over a redo.
    Editor ed(u"");
    const std::uint64_t start = ed.history.currentSerial();
    ed.type(entryOf(u'a'));
    ed.type(entryOf(u'b'));
    const std::uint64_t typed = ed.history.currentSerial();
    UndoHistory::Change done = ed.history.changeSince(start, 8);
    ASSERT_EQ(done.steps.size(), 2u);
    EXPECT_FALSE(done.undone);
    EXPECT_EQ(done.steps[0]->entries.front(), entryOf(u'a'));
    EXPECT_TRUE(ed.history.changeSince(start, 1).steps.empty()); // more than the limit

    ed.history.undo();
    ed.history.undo();
    UndoHistory::Change undone = ed.history.changeSince(typed, 8);
    ASSERT_EQ(undone.steps.size(), 2u);
    EXPECT_TRUE(undone.undone);
    EXPECT_EQ(undone.steps[0]->entries.front(), entryOf(u'b')); // newest first

    ed.type(entryOf(u'c')); // drops a and b: their state is gone
    EXPECT_TRUE(ed.history.changeSince(typed, 8).steps.empty());
    EXPECT_EQ(ed.history.changeSince(start, 8).steps.size(), 1u);
}

TEST(UndoHistory, UndoingADeletedLineBreakSplitsTheParagraphAgain)
{
    Editor ed(u"ab\ncd");
    ed.cursor.goTo(0, 2);
    ed.del();
    EXPECT_EQ(dumpRows(ed.doc), "abcd*|5\n");
    ed.history.undo();
    EXPECT_EQ(dumpRows(ed.doc), "ab$|3\ncd*|3\n");
    EXPECT_EQ(ed.doc.checkInvariants(), "");
}

TEST(UndoHistory, ASelectionDeletedIsOneStepAndComesBack)
{
    Editor ed(u"abc\ndef\nghi");
    ed.cursor.goTo(2, 2);
    ed.cursor.collapseSelection();
    ed.cursor.goTo(0, 1);
    ed.cursor.setSelectionEnd(false);
    ed.backspace();
    EXPECT_EQ(textOf(ed.doc), "ai*");
    EXPECT_EQ(ed.history.size(), 2u);
    ed.history.undo();
    EXPECT_EQ(textOf(ed.doc), "abc$def$ghi*");
    ed.history.redo();
    EXPECT_EQ(textOf(ed.doc), "ai*");
}

TEST(UndoHistory, StepsReplayInTheSectionTheyWereMadeIn)
{
    Editor ed(u"body");
    ed.cursor.goTo(0, 4);
    ed.type(entryOf(u'x'));
    ed.doc.currentSection = Cover;
    ed.cursor.attach(&ed.doc);
    ed.type(entryOf(u'c'));
    EXPECT_EQ(textOf(ed.doc), "c*");
    ed.history.undo();
    ed.history.undo();
    EXPECT_EQ(ed.doc.currentSection, Body);
    EXPECT_EQ(textOf(ed.doc), "body*");
    ed.doc.currentSection = Cover;
    EXPECT_EQ(textOf(ed.doc), "*");
    ed.doc.currentSection = Body;
    EXPECT_EQ(ed.doc.checkInvariants(), "");
}

// Long random sequences of typing, line breaks, deletions, selections, caret moves, undos and
// redos. After every step the invariants hold and the section's characters equal a reference
// list edited the same way; undoing everything gives the original text and redoing everything
// the final one.
class UndoHistoryRandom : public ::testing::TestWithParam<std::tuple<unsigned, std::uint32_t>> {};

namespace {

std::size_t flatIndex(const BrailleDocumentCursor& c)
{
    std::size_t n = 0;
    for (auto it = c.document->section().paragraphs.begin(); it != c.rows.paragraphPosition(); ++it)
        n += it->characters->size();
    return n + c.character;
}

} // namespace

TEST_P(UndoHistoryRandom, EditsUndosAndRedosKeepTheDocumentConsistent)
{
    const auto [seed, columns] = GetParam();
    const std::uint32_t saved = pageLayout().ColumnNumber;
    pageLayout().ColumnNumber = columns;
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };

    Editor ed(u"きょうは いい\nてんき です");
    const std::string original = textOf(ed.doc);
    EntryList reference = flatCharacters(ed.doc);
    // The document as it was at each undo position, recorded when the position was reached by an
    // edit: undo and redo must bring back exactly these states.
    std::vector<EntryList> states{reference};
    const std::u16string alphabet = u"abcがぱきょ  ";

    int pendingRedos = 0;
    for (int step = 0; step < 1500; ++step) {
        const int action = pick(100);
        const std::size_t positionBefore = ed.history.currentIndex();
        if (action < 40) {
            const BrailleCharacter* e = entryOf(alphabet[std::size_t(pick(int(alphabet.size())))]);
            if (ed.cursor.hasSelection())
                ed.cursor.collapseSelection();
            const std::size_t at = flatIndex(ed.cursor);
            ed.type(e);
            reference.insert(reference.begin() + std::ptrdiff_t(at), e);
            pendingRedos = 0;
        } else if (action < 47) {
            ed.cursor.collapseSelection();
            const std::size_t at = flatIndex(ed.cursor);
            ed.enter();
            reference.insert(reference.begin() + std::ptrdiff_t(at), CharacterDictionary::instance().lineBreakEntry());
            pendingRedos = 0;
        } else if (action < 60) {
            ed.cursor.collapseSelection();
            const std::size_t at = flatIndex(ed.cursor);
            if (action < 53) {
                if (at + 1 < reference.size()) {
                    reference.erase(reference.begin() + std::ptrdiff_t(at));
                    pendingRedos = 0;
                }
                ed.del();
            } else if (!ed.cursor.atSectionStart()) {
                reference.erase(reference.begin() + std::ptrdiff_t(at - 1));
                ed.backspace();
                pendingRedos = 0;
            }
        } else if (action < 63) {
            // Select from here to a random place and delete it.
            const CellPosition from = ed.cursor.position();
            ed.cursor.collapseSelection();
            ed.cursor.goTo(std::uint32_t(pick(int(ed.doc.section().rowCount))), std::uint32_t(pick(int(columns) + 2)));
            ed.cursor.setSelectionEnd(false);
            (void)from;
            if (ed.cursor.hasSelection()) {
                BrailleDocumentCursor probe = ed.cursor;
                EntryList selected;
                collectSelection(probe, selected);
                const std::size_t start = flatIndex(probe) - selected.size();
                ed.del();
                reference.erase(reference.begin() + std::ptrdiff_t(start),
                                reference.begin() + std::ptrdiff_t(start + selected.size()));
                pendingRedos = 0;
            }
        } else if (action < 80) {
            ed.cursor.goTo(std::uint32_t(pick(int(ed.doc.section().rowCount + 1))), std::uint32_t(pick(int(columns) + 3)));
            ed.cursor.collapseSelection();
        } else if (action < 92) {
            if (ed.history.undo())
                ++pendingRedos;
            reference = states.at(ed.history.currentIndex());
        } else {
            if (ed.history.redo())
                --pendingRedos;
            reference = states.at(ed.history.currentIndex());
        }
        if (action < 80 && ed.history.currentIndex() != positionBefore) {
            // An edit recorded a step: the states it made unreachable go.
            states.resize(ed.history.currentIndex() + 1);
            states.back() = reference;
        }
        ASSERT_EQ(ed.doc.checkInvariants(), "") << "step " << step;
        if (flatCharacters(ed.doc) != reference) {
            std::string expected;
            for (const BrailleCharacter* e : reference)
                expected += notation(e);
            FAIL() << "step " << step << " action " << action << "\n got      " << textOf(ed.doc) << "\n expected " << expected
                   << "\n" << dumpRows(ed.doc);
        }
        ASSERT_TRUE(ed.cursor.isAttached());
    }
    const std::string final = textOf(ed.doc);
    // Redo what is still undone, to reach the latest state, then undo everything.
    while (ed.history.canRedo())
        ed.history.redo();
    const std::string latest = textOf(ed.doc);
    std::size_t undone = 0;
    while (ed.history.canUndo()) {
        ASSERT_TRUE(ed.history.undo());
        ASSERT_EQ(ed.doc.checkInvariants(), "") << "undo " << undone;
        ++undone;
    }
    EXPECT_EQ(textOf(ed.doc), original);
    while (ed.history.canRedo())
        ed.history.redo();
    EXPECT_EQ(textOf(ed.doc), latest);
    (void)final;
    pageLayout().ColumnNumber = saved;
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoHistoryRandom,
                         ::testing::Combine(::testing::Values(1u, 2u, 3u, 4u, 5u), ::testing::Values(4u, 7u, 32u)));
