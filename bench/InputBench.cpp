// Keystrokes through the input systems in the middle of a 1000-page book: the input system, the
// braille rules and the undo records together, as a transcriber's key press costs them.
//
// The body is built as the document benchmark builds it: paragraphs of kana words separated by
// blanks, about 650,000 characters in 1000 pages of 21 rows of 32 cells.

#include "InputModeSwitch.h"
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
using Clock = std::chrono::steady_clock;

namespace {

void buildBody(BrailleDocument& doc, std::size_t targetCharacters)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    const char16_t* syllables[] = {u"あ", u"か", u"さ", u"た", u"な", u"は", u"ま", u"や", u"ら", u"わ", u"き", u"し",
                                   u"ち", u"に", u"ひ", u"み", u"り", u"が", u"ざ", u"だ", u"ば", u"ぱ", u"きょ", u"しゃ"};
    std::vector<const BrailleCharacter*> pool;
    for (const char16_t* s : syllables)
        if (const BrailleCharacter* e = d.printSet(kTextSet).firstByPrint(s))
            pool.push_back(e);
    std::mt19937 rng(7);
    DocumentSection& body = doc.section();
    body.paragraphs.clear();
    std::size_t total = 0;
    while (total < targetCharacters) {
        CharacterSequence* seq = doc.newCharacterSequence();
        const std::size_t words = 20 + rng() % 60;
        for (std::size_t w = 0; w < words; ++w) {
            const std::size_t length = 2 + rng() % 6;
            for (std::size_t i = 0; i < length; ++i)
                seq->push_back(pool[rng() % pool.size()]);
            seq->push_back(d.blankEntry());
        }
        seq->back() = d.lineBreakEntry();
        total += seq->size();
        relayout(body.paragraphs.emplace_back(seq));
    }
    CharacterSequence* last = doc.newCharacterSequence();
    last->push_back(d.endMarkerEntry());
    relayout(body.paragraphs.emplace_back(last));
    doc.recountRows();
}

class Committed final : public InputMethod {
public:
    bool isOpen() const override { return true; }
    void setOpen(bool) override {}
    Conversion conversion() const override { return Conversion::Hiragana; }
    void setConversion(Conversion) override {}
    std::u16string resultString() const override { return result; }
    void setCompositionPosition(int, int) override {}
    std::u16string result;
};

template <typename F>
double timeMicros(F f)
{
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

bool report(const char* what, std::vector<double>& micros)
{
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    std::printf("%-52s median %7.1f us   p99 %7.1f us   max %7.1f us\n", what, median,
                micros[micros.size() * 99 / 100], micros.back());
    return median < 1000;
}

} // namespace

int main()
{
    loadTables(CharacterDictionary::instance());
    pageLayout() = PageLayout{};
    auto doc = std::make_unique<BrailleDocument>();
    doc->complete = true;
    buildBody(*doc, 1000 * 21 * 31);
    std::printf("body: %u rows (%.0f pages of 21 rows)\n", doc->section().rowCount,
                double(doc->section().rowCount) / 21);

    BrailleDocumentCursor cursor;
    cursor.attach(doc.get());
    UndoHistory undo(cursor);
    undo.reset();
    ScrollState scroll;
    Committed inputMethod;
    NoCandidateList list;
    NoChordTimer timer;
    input_system_indirect_imm text(cursor, undo, scroll, inputMethod);
    input_system_dictionary math(cursor, undo, scroll, list);
    input_system_braille braille(cursor, undo, scroll, list, timer);
    InputModeSwitch modes(cursor, undo, text, math, braille);
    text.activate();

    const std::uint32_t middle = doc->section().rowCount / 2;
    bool ok = true;
    const auto session = [&](const char* what, const std::vector<std::u16string>& pieces, int count) {
        cursor.goTo(middle, 10);
        std::vector<double> times;
        for (int i = 0; i < count; ++i) {
            const std::u16string& piece = pieces[std::size_t(i) % pieces.size()];
            times.push_back(timeMicros([&] {
                inputMethod.result = piece;
                for (char16_t c : piece)
                    text.charTyped(c);
            }));
        }
        ok &= report(what, times);
    };
    session("TEXT: a kana through the input method and rules", {u"か", u"な", u"きょ", u"ぱ"}, 1000);
    session("TEXT: digits (number sign) and kana (connector)", {u"５", u"あ", u"１", u"２", u"か"}, 1000);
    session("TEXT: full stops (two blanks after each)", {u"。"}, 500);

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

    std::printf("%s\n", ok ? "every median under 1 ms" : "A MEDIAN IS OVER 1 ms");
    return doc->checkInvariants().empty() && ok ? 0 : 1;
}
