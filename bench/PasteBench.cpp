// Pasting a long text at the caret, and undoing and redoing it, through an editing session: the
// braille rules run piece by piece, the whole paste is one undo step. The text is kana prose in
// lines of about 150 characters; each size is eight times the one before, so a cost that grows
// with the text alone grows eightfold too.

#include "CommandIds.h"
#include "SessionScript.h"
#include "TableLoader.h"
#include "Utf.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

using namespace braille;
using Clock = std::chrono::steady_clock;

namespace {

std::u16string prose(std::size_t characters)
{
    static const std::u16string kana = u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん";
    std::mt19937 random(7);
    std::u16string text;
    std::size_t line = 0;
    while (text.size() < characters) {
        const std::size_t word = 2 + random() % 5;
        for (std::size_t i = 0; i < word; ++i)
            text += kana[random() % kana.size()];
        line += word;
        if (line > 150) {
            text += u"。\n";
            line = 0;
        } else {
            text += u'\u3000';
        }
    }
    return text;
}

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

} // namespace

int main()
{
    loadTables(CharacterDictionary::instance());
    std::printf("%-12s %10s %10s %10s %12s\n", "characters", "paste s", "undo s", "redo s", "rows");
    for (std::size_t size : {40'000u, 320'000u}) {
        const std::u16string text = prose(size);
        ScriptedSession s;
        BrailleDocument document;
        document.complete = true;
        s.session.setDocument(&document);
        auto start = Clock::now();
        s.session.pasteTextAsText(text);
        const double paste = seconds(start);
        const std::uint32_t rows = document.section().rowCount;
        start = Clock::now();
        s.session.command(cmd::Undo);
        const double undo = seconds(start);
        start = Clock::now();
        s.session.command(cmd::Redo);
        const double redo = seconds(start);
        std::printf("%-12zu %10.3f %10.3f %10.3f %12u\n", text.size(), paste, undo, redo, rows);
        if (document.section().rowCount != rows)
            std::printf("redo did not give the pasted rows back\n");
    }
    return 0;
}
