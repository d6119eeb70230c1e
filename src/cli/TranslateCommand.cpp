// tenkora-cli translate: print text typed into a new document through the input systems, as a
// transcriber types it, and the braille that results.

#include "Cells.h"
#include "CliCommands.h"
#include "CommandIds.h"
#include "ComposerInputMethod.h"
#include "SessionScript.h"
#include "PageLayout.h"
#include "TableLoader.h"
#include "Utf.h"
#include "VirtualKeys.h"

#include <iostream>

namespace braille::cli {

void printRows(const BrailleDocument& document, bool unicode)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    for (const BrailleParagraph& paragraph : document.section().paragraphs) {
        for (const BrailleRow& row : paragraph.rows) {
            std::u16string print, cells;
            for (std::uint32_t k = row.begin; k < row.end; ++k) {
                const BrailleCharacter* e = (*paragraph.characters)[k];
                if (e == d.endMarkerEntry())
                    continue;
                print += e->print;
                cells += e == d.lineBreakEntry() ? std::u16string(u"\u21B2") : e->nabcc;
            }
            std::cout << toUtf8(print) << '\t' << toUtf8(cells);
            if (unicode)
                std::cout << '\t' << toUtf8(cellsToUnicode(cells));
            std::cout << '\n';
        }
    }
}

int runTranslate(Arguments& args)
{
    bool failed = false;
    const int columns = takeIntOption(args, "translate", "--columns", 1, 1000, failed).value_or(32);
    if (failed)
        return kExitUsage;
    const bool math = args.takeFlag("--math");
    const bool unicode = args.takeFlag("--unicode");
    if (auto unknown = args.unknownOption())
        return usageError("translate", "unknown option " + *unknown);
    if (args.operands().size() != 1)
        return usageError("translate", "give exactly one TEXT");

    loadTables(CharacterDictionary::instance());
    PageLayout layout;
    layout.ColumnNumber = std::uint32_t(columns);

    // The window, played: the session types as a transcriber would.
    BrailleDocument document;
    ScriptedSession played(layout);
    EditingSession& session = played.session;
    session.setDocument(&document);
    if (math)
        session.command(cmd::ToggleTextMath);

    auto press = [&](int key, char16_t character) {
        session.keyDown(key);
        session.character(character);
        session.keyUp(key, kNoModifier, 1, vk::RepeatFlag);
    };
    const std::u16string typed = fromUtf8(args.operands()[0]);
    if (math) {
        for (char16_t c : typed) {
            if (c == u' ')
                press(vk::Space, u' ');
            else if (c == u'\n')
                press(vk::Return, u'\r');
            else
                session.character(c);
            if (!session.pendingText().empty())
                press(vk::Return, u'\r');
        }
    } else {
        for (const std::u16string& piece : ComposerInputMethod::syllables(typed)) {
            if (piece == u" ")
                press(vk::Space, u' ');
            else if (piece == u"\n")
                press(vk::Return, u'\r');
            else
                session.inputMethodResult(piece);
        }
    }

    printRows(document, unicode);
    return kExitOk;
}

} // namespace braille::cli
