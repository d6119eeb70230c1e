#include "CursorEditing.h"
#include "DocumentBuilder.h"
#include "PageLayout.h"
#include "ParagraphEditing.h"
#include "TestSupport.h"
#include "Utf.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

struct Fixture {
    BrailleDocument doc;
    BrailleDocumentCursor cursor;
    explicit Fixture(std::u16string_view text, std::uint32_t columns = 32)
    {
        shippedDictionary();
        const std::uint32_t saved = pageLayout().ColumnNumber;
        pageLayout().ColumnNumber = columns;
        fillSection(doc, text);
        pageLayout().ColumnNumber = saved;
        cursor.attach(&doc);
    }
    ParagraphList::iterator paragraph(int n) { return std::next(doc.section().paragraphs.begin(), n); }
    std::string text() const
    {
        std::string s;
        for (const BrailleCharacter* e : flatCharacters(doc))
            s += notation(e);
        return s;
    }
    std::string at() const
    {
        return notation(cursor.entry()) + "@" + std::to_string(cursor.row()) + ":" + std::to_string(cursor.column);
    }
};

void label(BrailleParagraph& p, std::initializer_list<const char16_t*> labels)
{
    std::size_t i = 0;
    for (const char16_t* l : labels)
        p.rows.at(i++).orgPage = l;
}

} // namespace

TEST(ParagraphEditing, DeletingALineBreakJoinsParagraphsAndKeepsTheFirstLabel)
{
    Fixture f(u"ab\ncd\nef");
    label(*f.paragraph(0), {u"3"});
    label(*f.paragraph(1), {u"4"});
    const std::size_t pool = f.doc.characterPool.size();
    deleteCharacter(f.doc, f.paragraph(0), 2);
    EXPECT_EQ(dumpRows(f.doc), "abcd$|5@3\nef*|3\n");
    EXPECT_EQ(f.doc.section().rowCount, 2u);
    EXPECT_EQ(f.doc.characterPool.size(), pool); // the joined sequence stays owned
    EXPECT_EQ(f.doc.checkInvariants(), "");
}

TEST(ParagraphEditing, TheFinalEndMarkerCannotBeDeleted)
{
    Fixture f(u"ab");
    deleteCharacter(f.doc, f.paragraph(0), 2);
    deleteCharacter(f.doc, f.paragraph(0), 99);
    EXPECT_EQ(f.text(), "ab*");
}

TEST(ParagraphEditing, EditsKeepOnlyTheFirstRowsLabel)
{
    Fixture f(u"aaaa bbbb cccc", 5);
    ASSERT_EQ(f.paragraph(0)->rows.size(), 3u);
    label(*f.paragraph(0), {u"3", u"3", u"4"});
    pageLayout().ColumnNumber = 5;
    insertCharacter(f.doc, f.paragraph(0), 0, entryOf(u'x'));
    pageLayout().ColumnNumber = 32;
    ASSERT_GE(f.paragraph(0)->rows.size(), 3u);
    EXPECT_EQ(f.paragraph(0)->rows[0].orgPage, u"3");
    for (std::size_t r = 1; r < f.paragraph(0)->rows.size(); ++r)
        EXPECT_EQ(f.paragraph(0)->rows[r].orgPage, u"");
}

TEST(ParagraphEditing, SplittingKeepsTheLabelOnBothParts)
{
    Fixture f(u"abcd");
    label(*f.paragraph(0), {u"7"});
    splitParagraph(f.doc, f.paragraph(0), 2);
    EXPECT_EQ(dumpRows(f.doc), "ab$|3@7\ncd*|3@7\n");
    EXPECT_EQ(f.doc.checkInvariants(), "");
}

TEST(ParagraphEditing, InsertTextThroughKeySetsAndThroughPrintText)
{
    Fixture f(u"");
    // Set 7 is the key set of numbers: every typed digit converts.
    EXPECT_EQ(insertText(f.doc, f.paragraph(0), 0, u"12", kTextSet, 7), 2u);
    EXPECT_EQ(u8(f.paragraph(0)->characters->at(1)->print), "２");
    EXPECT_EQ(f.paragraph(0)->characters->at(0)->set, 7);
    // Print text in set 2; unknown characters are skipped.
    EXPECT_EQ(insertText(f.doc, f.paragraph(0), 2, u"か\x01き", kTextSet, kTextSet), 2u);
    EXPECT_EQ(f.text().substr(f.text().find("２")), "２かき*");
    EXPECT_EQ(insertText(f.doc, f.paragraph(0), 0, u"", kTextSet, kTextSet), 0u);
    EXPECT_EQ(f.doc.checkInvariants(), "");
}

TEST(CursorEditing, TypingLeavesTheCursorAfterEachCharacter)
{
    Fixture f(u"");
    for (char16_t c : std::u16string(u"abc def")) {
        insertAtCursor(f.cursor, entryOf(c));
    }
    EXPECT_EQ(f.text(), "abc_def*");
    EXPECT_EQ(f.at(), "*@0:7");
    EXPECT_TRUE(f.doc.modified);
}

TEST(CursorEditing, TypingAcrossTheLineEndFollowsTheWordToTheNextRow)
{
    Fixture f(u"", 6);
    pageLayout().ColumnNumber = 6;
    for (char16_t c : std::u16string(u"abc defg"))
        insertAtCursor(f.cursor, entryOf(c));
    pageLayout().ColumnNumber = 32;
    EXPECT_EQ(dumpRows(f.doc), "abc_|4\ndefg*|5\n");
    EXPECT_EQ(f.at(), "*@1:4");
}

TEST(CursorEditing, DeleteAtCursorAndAtTheEnd)
{
    Fixture f(u"abc");
    f.cursor.goTo(0, 1);
    deleteAtCursor(f.cursor);
    EXPECT_EQ(f.text(), "ac*");
    EXPECT_EQ(f.at(), "c@0:1");
    f.cursor.goTo(0, 2);
    EXPECT_EQ(deleteAtCursor(f.cursor), kDeleteInPlace);
    EXPECT_EQ(f.text(), "ac*");
}

TEST(CursorEditing, LineBreakSplitsAndTheCursorGoesToTheNewParagraph)
{
    Fixture f(u"abcd");
    f.cursor.goTo(0, 2);
    insertLineBreakAtCursor(f.cursor);
    EXPECT_EQ(dumpRows(f.doc), "ab$|3\ncd*|3\n");
    EXPECT_EQ(f.at(), "c@1:0");
}

TEST(CursorEditing, InsertTextMovesPastTheInsertion)
{
    Fixture f(u"ab");
    f.cursor.goTo(0, 1);
    EXPECT_EQ(insertTextAtCursor(f.cursor, u"かき", kTextSet, kTextSet), 2u);
    EXPECT_EQ(f.text(), "aかきb*");
    EXPECT_EQ(f.at(), "b@0:3");
    EXPECT_EQ(insertTextAtCursor(f.cursor, u"", kTextSet, kTextSet), 0u);
}

// Text inserted into a word that then wraps to the next row: the cursor stands right after the
// inserted text, not one character further.
TEST(CursorEditing, InsertTextThatWrapsTheWordLeavesTheCursorRightAfterIt)
{
    Fixture f(u"あいう かきく たち", 10);
    f.cursor.goTo(0, 7); // on the blank before たち
    EXPECT_EQ(insertTextAtCursor(f.cursor, u"けこさし", kTextSet, kTextSet), 4u);
    EXPECT_EQ(dumpRows(f.doc), "あいう_|4\nかきくけこさし_たち*|11\n");
    EXPECT_EQ(f.at(), "_@1:7");
}

TEST(CursorEditing, SelectionCollectAndDeleteInEitherDirection)
{
    for (bool reversed : {false, true}) {
        Fixture f(u"abc\ndef\nghi");
        CellPosition from{1, 0}, to{2, 2};
        if (reversed)
            std::swap(from, to);
        f.cursor.goTo(from.row, from.column);
        f.cursor.collapseSelection();
        f.cursor.goTo(to.row, to.column);
        f.cursor.setSelectionEnd(false);
        EntryList got;
        collectSelection(f.cursor, got);
        std::string s;
        for (const BrailleCharacter* e : got)
            s += notation(e);
        EXPECT_EQ(s, "bc$def$gh") << reversed;
        EXPECT_TRUE(deleteSelectionUnrecorded(f.cursor));
        EXPECT_EQ(f.text(), "ai*") << reversed;
        EXPECT_EQ(f.at(), "i@0:1");
        EXPECT_FALSE(f.cursor.hasSelection());
        EXPECT_FALSE(deleteSelectionUnrecorded(f.cursor));
        EXPECT_EQ(f.doc.checkInvariants(), "");
    }
}

TEST(CursorEditing, ASelectionToTheEndNeverTakesTheEndMarker)
{
    Fixture f(u"ab");
    f.cursor.collapseSelection();
    f.cursor.end = {50, 0};
    EntryList got;
    collectSelection(f.cursor, got);
    EXPECT_EQ(got.size(), 2u);
    EXPECT_TRUE(deleteSelectionUnrecorded(f.cursor));
    EXPECT_EQ(f.text(), "*");
}

TEST(CursorEditing, ImpossiblePlacesChangeNothing)
{
    Fixture f(u"ab");
    insertAtCursor(f.cursor, nullptr);
    EXPECT_EQ(f.text(), "ab*");
    EXPECT_FALSE(f.doc.modified);
    BrailleDocumentCursor detached;
    EXPECT_EQ(deleteAtCursor(detached), kDeleteInPlace);
    insertAtCursor(detached, entryOf(u'a'));
    insertLineBreakAtCursor(detached);
    EntryList none;
    collectSelection(detached, none);
    EXPECT_TRUE(none.empty());
    // The end marker is never inserted; a line break entry is inserted as a split.
    insertAtCursor(f.cursor, CharacterDictionary::instance().endMarkerEntry());
    EXPECT_EQ(f.text(), "ab*");
    insertAtCursor(f.cursor, CharacterDictionary::instance().lineBreakEntry());
    EXPECT_EQ(f.text(), "$ab*");
    EXPECT_EQ(f.doc.checkInvariants(), "");
}

// The section keeps the place last asked for, so that edits at the caret need not walk from the
// start; an edit anywhere else must never leave a kept place that is wrong.
TEST(DocumentSectionPlaces, AreRightAfterEditsNearAndFarFromTheKeptPlace)
{
    BrailleDocument doc;
    std::u16string text;
    for (int i = 0; i < 40; ++i)
        text += u"あいうえお かきくけこ さしすせそ たちつてと\n"; // two rows each at 10 cells
    doc.setCellsPerLine(10);
    fillSection(doc, text);
    DocumentSection& section = doc.section();
    const auto nth = [&](int n) { return std::next(section.paragraphs.begin(), n); };
    const auto check = [&](int n) {
        std::uint32_t firstRow = 0;
        for (auto it = section.paragraphs.begin(); it != nth(n); ++it)
            firstRow += std::uint32_t(it->rows.size());
        const DocumentSection::Place place = section.placeOf(nth(n));
        EXPECT_EQ(place.number, std::uint32_t(n));
        EXPECT_EQ(place.firstRow, firstRow);
        EXPECT_EQ(section.placeOfRow(firstRow).paragraph, nth(n));
        EXPECT_EQ(section.placeOfNumber(std::uint32_t(n)).firstRow, firstRow);
        EXPECT_EQ(doc.checkInvariants(), "");
    };
    check(30);
    // Edits before the kept paragraph change its number and first row.
    splitParagraph(doc, nth(3), 2);
    check(31);
    insertText(doc, nth(0), 0, u"なにぬねのはひふへほ", kTextSet, kTextSet);
    check(31);
    deleteCharacter(doc, nth(5), nth(5)->characters->size() - 1); // joins paragraphs 5 and 6
    check(30);
    // The kept paragraph itself joins the one after it, and goes when joined into the one before.
    check(10);
    deleteCharacter(doc, nth(10), nth(10)->characters->size() - 1);
    check(10);
    deleteCharacter(doc, nth(9), nth(9)->characters->size() - 1);
    check(9);
    // Far jumps both ways, and rows past the end.
    check(0);
    check(int(section.paragraphs.size()) - 1);
    EXPECT_EQ(section.placeOfRow(100000).paragraph, std::prev(section.paragraphs.end()));
    check(1);
}
