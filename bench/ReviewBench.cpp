// The review list on a 1000-page book with a few thousand items: what following one edit costs
// (a key typed, a paragraph split, which renumbers every item after it, and its undo), and what
// the braille check of the whole book and the places of all items cost.

#include "BenchSupport.h"
#include "BrailleCheck.h"
#include "CharacterPosition.h"
#include "PageLayout.h"
#include "RecordedEditing.h"
#include "ReviewList.h"
#include "ReviewPlaces.h"
#include "TableLoader.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace braille;
using braille::bench::buildBody;
using braille::bench::timeMicros;

using braille::bench::reportMedian;

int main()
{
    auto doc = bench::thousandPageBook();
    const std::uint32_t paragraphs = std::uint32_t(doc->section().paragraphs.size());
    std::printf("body: %u rows, %u paragraphs\n", doc->section().rowCount, paragraphs);

    // 3000 items spread over the book, on the second to fourth characters of their paragraphs.
    constexpr std::uint32_t kItems = 3000;
    std::vector<ReviewItem> items;
    for (std::uint32_t i = 0; i < kItems; ++i) {
        const std::uint32_t p = std::uint32_t(std::uint64_t(i) * paragraphs / kItems);
        items.push_back({ReviewKind::UnknownWord, Body, {p, 1}, {p, 4}, u"語", u""});
    }
    ReviewList list;
    list.add(items);

    BrailleDocumentCursor cursor;
    cursor.attach(doc.get());
    UndoHistory undo(cursor);
    undo.reset();
    list.startFollowing(undo);
    cursor.goToLocation({paragraphs / 2, 0});
    bool ok = true;

    std::vector<double> typed, split, undone;
    for (int i = 0; i < 200; ++i) {
        insertTextRecorded(cursor, undo, u"か", kTextSet, kTextSet);
        typed.push_back(timeMicros([&] { list.follow(undo, *doc); }));
    }
    ok &= reportMedian("follow a key typed", typed, 1000);
    for (int i = 0; i < 50; ++i) {
        insertEntriesRecorded(cursor, undo, {CharacterDictionary::instance().lineBreakEntry()});
        split.push_back(timeMicros([&] { list.follow(undo, *doc); }));
        undo.undo();
        undone.push_back(timeMicros([&] { list.follow(undo, *doc); }));
        undo.redo();
        list.follow(undo, *doc);
    }
    ok &= reportMedian("follow a paragraph split (items after renumbered)", split, 1000);
    ok &= reportMedian("follow its undo", undone, 1000);

    std::vector<double> check, places;
    for (int i = 0; i < 5; ++i) {
        check.push_back(timeMicros([&] { (void)checkBook(*doc); }));
        places.push_back(timeMicros([&] { (void)reviewPlaces(*doc, list.items(), 22); }));
    }
    ok &= reportMedian("braille check of the whole book", check, 500000);
    ok &= reportMedian("places of all items", places, 50000);
    return ok ? 0 : 1;
}
