// tenkora-cli translate: print text typed into a new document through the input systems, as a
// transcriber types it, and the braille that results.

#include "Cells.h"
#include "CliCommands.h"
#include "ComposerInputMethod.h"
#include "InputModeSwitch.h"
#include "PageLayout.h"
#include "TableLoader.h"
#include "Utf.h"
#include "VirtualKeys.h"

#include <iostream>

namespace braille::cli {

namespace {

// An input method whose result strings are set by the caller, as if a transcriber had typed and
// committed them.
class CommittedText final : public InputMethod {
public:
    bool isOpen() const override { return m_open; }
    void setOpen(bool open) override { m_open = open; }
    Conversion conversion() const override { return m_conversion; }
    void setConversion(Conversion conversion) override { m_conversion = conversion; }
    std::u16string resultString() const override { return m_result; }
    void setCompositionPosition(int, int) override {}
    void commit(std::u16string text) { m_result = std::move(text); }

private:
    bool m_open = false;
    Conversion m_conversion = Conversion::Off;
    std::u16string m_result;
};

void pressKey(input_system& system, int key, char16_t character)
{
    system.keyDown(key, 1, 0);
    system.charTyped(character);
    system.keyUp(key, 1, vk::RepeatFlag);
}

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

} // namespace

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
    pageLayout().ColumnNumber = std::uint32_t(columns);

    BrailleDocument document;
    document.complete = true;
    BrailleDocumentCursor cursor;
    cursor.attach(&document, 0, 0);
    UndoHistory undo(cursor);
    undo.reset();
    ScrollState scroll;
    CommittedText inputMethod;
    NoCandidateList list;
    NoChordTimer timer;
    input_system_indirect_imm text(cursor, undo, scroll, inputMethod);
    input_system_dictionary dictionary(cursor, undo, scroll, list);
    input_system_braille braille(cursor, undo, scroll, list, timer);
    for (input_system_movement* system : {static_cast<input_system_movement*>(&text),
                                          static_cast<input_system_movement*>(&dictionary),
                                          static_cast<input_system_movement*>(&braille)})
        system->setPageLayout(pageLayout().LineNumber, pageLayout().ColumnNumber);
    InputModeSwitch modes(cursor, undo, text, dictionary, braille);
    text.activate();
    if (math)
        modes.toggleTextMath();

    const std::u16string typed = fromUtf8(args.operands()[0]);
    if (math) {
        for (char16_t c : typed) {
            if (c == u' ')
                pressKey(modes.active(), vk::Space, u' ');
            else if (c == u'\n')
                pressKey(modes.active(), vk::Return, u'\r');
            else
                modes.active().charTyped(c);
            if (!dictionary.pending().empty())
                pressKey(modes.active(), vk::Return, u'\r');
        }
    } else {
        for (const std::u16string& piece : ComposerInputMethod::syllables(typed)) {
            if (piece == u" ") {
                pressKey(modes.active(), vk::Space, u' ');
            } else if (piece == u"\n") {
                pressKey(modes.active(), vk::Return, u'\r');
            } else {
                inputMethod.commit(piece);
                for (char16_t c : piece)
                    modes.active().charTyped(c);
            }
        }
    }

    printRows(document, unicode);
    return kExitOk;
}

} // namespace braille::cli
