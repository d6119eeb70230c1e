// Keystrokes through the input systems in the middle of a 1000-page book: the input system, the
// braille rules and the undo records together, as a transcriber's key press costs them.
//
// The body is built as the document benchmark builds it: paragraphs of kana words separated by
// blanks, about 650,000 characters in 1000 pages of 21 rows of 32 cells.

#include "InputModeSwitch.h"
#include "SystemInputMethod.h"
#include "BenchSupport.h"
#include "PageLayout.h"
#include "RowLayout.h"
#include "TableLoader.h"
#include "VirtualKeys.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

using namespace braille;
using braille::bench::buildBody;
using braille::bench::timeMicros;
using Clock = std::chrono::steady_clock;

namespace {

// The figures; true when the median is within the budget (a millisecond for one key).
bool report(const char* what, std::vector<double>& micros, double budgetMicros = 1000)
{
    return braille::bench::reportMedian(what, micros, budgetMicros);
}

} // namespace

int main()
{
    auto doc = bench::thousandPageBook();
    std::printf("body: %u rows (%.0f pages of 21 rows)\n", doc->section().rowCount,
                double(doc->section().rowCount) / 21);

    BrailleDocumentCursor cursor;
    cursor.attach(doc.get());
    UndoHistory undo(cursor);
    undo.reset();
    ScrollState scroll;
    SystemInputMethod inputMethod; // a system input method: each piece is committed
    NoCandidateList list;
    NoChordTimer timer;
    ImeInput text(cursor, undo, scroll, inputMethod);
    DictionaryInput math(cursor, undo, scroll, list);
    BrailleKeyInput braille(cursor, undo, scroll, list, timer);
    InputModeSwitch modes(cursor, undo, text, math, braille);
    text.activate();

    const std::uint32_t middle = doc->section().rowCount / 2;
    bool ok = true;
    const auto session = [&](const char* what, const std::vector<std::u16string>& pieces, int count,
                             double budgetMicros = 1000) {
        cursor.goTo(middle, 10);
        std::vector<double> times;
        for (int i = 0; i < count; ++i) {
            const std::u16string& piece = pieces[std::size_t(i) % pieces.size()];
            times.push_back(timeMicros([&] {
                inputMethod.setResult(piece);
                for (char16_t c : piece)
                    text.charTyped(c);
            }));
        }
        ok &= report(what, times, budgetMicros);
    };
    session("TEXT: a kana through the input method and rules", {u"か", u"な", u"きょ", u"ぱ"}, 1000);
    session("TEXT: digits (number sign) and kana (connector)", {u"５", u"あ", u"１", u"２", u"か"}, 1000);
    session("TEXT: full stops (two blanks after each)", {u"。"}, 500);
    // A whole phrase from the input method (20 characters, the rules run piece by piece): still
    // far below what a transcriber can notice, so its budget is 5 ms.
    session("TEXT: a 20-character katakana phrase committed at once", {u"５リットルのボトルと３アンペアのＡデス。"}, 300,
            5000);

    std::vector<double> times;
    for (int i = 0; i < 1000; ++i)
        times.push_back(timeMicros([&] {
            text.keyDown(vk::Back, 1, 0);
            text.charTyped(8);
        }));
    ok &= report("TEXT: Backspace", times);

    times.clear();
    while (undo.canUndo() && times.size() < 2000)
        times.push_back(timeMicros([&] { undo.undo(); }));
    ok &= report("undo one step", times);

    cursor.goTo(middle, 10);
    modes.toggleTextMath();
    times.clear();
    const char16_t keys[] = {u'5', u'+', u'3', u'='};
    for (int i = 0; i < 1000; ++i)
        times.push_back(timeMicros([&] { math.charTyped(keys[i % 4]); }));
    ok &= report("MATH: a key committed at once, with the rules", times);

    std::printf("%s\n", ok ? "every median within its budget" : "A MEDIAN IS OVER ITS BUDGET");
    return doc->checkInvariants().empty() && ok ? 0 : 1;
}
