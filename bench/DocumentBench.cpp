// Editing a 1000-page book: typing, backspacing, undo and redo, and caret moves over the body.
//
// The body is built like a real book: paragraphs of kana words separated by blanks, about 650,000
// characters laid out into 1000 pages of 21 rows of 32 cells. Every edit goes through the
// cursor-level operations with one undo record each, as the input systems make them.

#include "BrailleDocument.h"
#include "CharacterDictionary.h"
#include "CursorEditing.h"
#include "BenchSupport.h"
#include "PageLayout.h"
#include "RowLayout.h"
#include "TableLoader.h"
#include "UndoHistory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <random>
#include <vector>

using namespace braille;
using braille::bench::buildBody;
using braille::bench::timeMicros;
using Clock = std::chrono::steady_clock;

namespace {

const BrailleCharacter* kana(const CharacterDictionary& d, const char16_t* text)
{
    return d.printSet(kTextSet).firstByPrint(text);
}

struct Stats {
    double median, p99, total;
};

Stats summarize(std::vector<double>& micros)
{
    std::sort(micros.begin(), micros.end());
    double total = 0;
    for (double m : micros)
        total += m;
    return {micros[micros.size() / 2], micros[micros.size() * 99 / 100], total};
}


void report(const char* what, Stats s)
{
    std::printf("%-44s median %8.1f us   p99 %8.1f us   total %9.1f ms\n", what, s.median, s.p99, s.total / 1000);
}

// Types 1000 characters at the cursor, then 1000 backspaces, then undoes and redoes them all.
void typingSession(const char* where, BrailleDocument& doc, BrailleDocumentCursor& cursor, UndoHistory& history)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    const BrailleCharacter* typed[] = {kana(d, u"か"), kana(d, u"な"), d.blankEntry(), kana(d, u"ぱ")};
    std::vector<double> times;
    for (int i = 0; i < 1000; ++i) {
        const BrailleCharacter* e = typed[i % 4];
        times.push_back(timeMicros([&] {
            const CellPosition at = cursor.position();
            history.record(at.row, at.column, kInsertion, e);
            insertAtCursor(cursor, e);
        }));
    }
    char label[80];
    std::snprintf(label, sizeof label, "type a character (%s)", where);
    report(label, summarize(times));

    times.clear();
    for (int i = 0; i < 1000; ++i) {
        times.push_back(timeMicros([&] {
            cursor.moveLeft();
            cursor.setDesired();
            history.record(cursor.row(), cursor.column, kDeletion, cursor.entry());
            deleteAtCursor(cursor);
        }));
    }
    std::snprintf(label, sizeof label, "backspace (%s)", where);
    report(label, summarize(times));

    times.clear();
    while (history.canUndo())
        times.push_back(timeMicros([&] { history.undo(); }));
    std::snprintf(label, sizeof label, "undo one step (%s)", where);
    report(label, summarize(times));
    times.clear();
    while (history.canRedo())
        times.push_back(timeMicros([&] { history.redo(); }));
    std::snprintf(label, sizeof label, "redo one step (%s)", where);
    report(label, summarize(times));
    history.reset();
}

} // namespace

int main()
{
    loadTables(CharacterDictionary::instance());
    pageLayout() = PageLayout{};
    const std::size_t target = 1000 * 21 * 31; // about 650,000 characters

    struct mallinfo2 before = mallinfo2();
    auto doc = std::make_unique<BrailleDocument>();
    const double buildMs = timeMicros([&] { buildBody(*doc, target); }) / 1000;
    struct mallinfo2 after = mallinfo2();

    std::size_t characters = 0, rows = 0;
    for (const BrailleParagraph& p : doc->section().paragraphs) {
        characters += p.characters->size();
        rows += p.rows.size();
    }
    const double heap = double(after.uordblks - before.uordblks);
    const double rowBytes = double(rows) * (sizeof(BrailleRow)) ;
    std::printf("body: %zu characters, %zu paragraphs, %zu rows (%.0f pages of %u rows), built in %.1f ms\n", characters,
                doc->section().paragraphs.size(), rows, double(rows) / 21, pageLayout().LineNumber - 1, buildMs);
    std::printf("memory: %.1f MB on the heap, %.2f bytes per character with rows, %.2f without the row vectors\n",
                heap / 1e6, heap / double(characters), (heap - rowBytes) / double(characters));

    BrailleDocumentCursor cursor;
    cursor.attach(doc.get());
    UndoHistory history(cursor);
    history.reset();

    const std::uint32_t middle = doc->section().rowCount / 2;
    cursor.goTo(middle, 10);
    typingSession("middle", *doc, cursor, history);
    cursor.goTo(doc->section().rowCount, 1000);
    typingSession("end", *doc, cursor, history);

    std::vector<double> times;
    cursor.goTo(0, 5);
    const std::uint32_t total = doc->section().rowCount;
    for (std::uint32_t i = 0; i + 1 < total; ++i)
        times.push_back(timeMicros([&] { cursor.moveDown(1); }));
    report("caret down one row, top to bottom", summarize(times));
    times.clear();
    cursor.goTo(0, 5);
    for (std::uint32_t i = 0; i + 21 < total; i += 21)
        times.push_back(timeMicros([&] { cursor.goTo(cursor.row() + 21, cursor.desiredColumn); }));
    report("caret down one page (re-attach by row)", summarize(times));
    times.clear();
    for (std::uint32_t i = 0; i < 2000; ++i)
        times.push_back(timeMicros([&] { cursor.goTo(middle, 7); }));
    report("re-attach in the middle of the body", summarize(times));
    return doc->checkInvariants().empty() ? 0 : 1;
}
