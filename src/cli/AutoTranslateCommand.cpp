// tenkora-cli autotranslate: Japanese print translated automatically, typed into a new document
// through the TEXT input, and the braille that results.

#include "AutoTranslatePaste.h"
#include "CliCommands.h"
#include "ComposerInputMethod.h"
#include "EditingSession.h"
#include "PageLayout.h"
#include "SessionScript.h"
#include "TableLoader.h"
#include "Utf.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace braille::cli {

namespace {

std::optional<std::string> readInput(const std::string& file)
{
    if (file == "-")
        return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void explain(const autotranslate::Translation& t)
{
    std::cout << "\n# word\tpart of speech\treading\tbraille\trule\n";
    for (const autotranslate::TranslatedWord& w : t.words)
        std::cout << toUtf8(w.print) << '\t' << toUtf8(w.partOfSpeech) << '\t' << toUtf8(w.reading) << '\t'
                  << (w.blankBefore ? "\u25A1" : "") << toUtf8(w.braille) << '\t' << toUtf8(w.rule) << '\n';
    std::cout << "\n# guessed readings: " << t.guessed.size() << '\n';
    for (const autotranslate::WordCount& w : t.guessed)
        std::cout << toUtf8(w.word) << '\t' << w.count << '\t' << toUtf8(w.note) << '\n';
    std::cout << "\n# unknown words: " << t.unknown.size() << '\n';
    for (const autotranslate::WordCount& w : t.unknown)
        std::cout << toUtf8(w.word) << '\t' << w.count << '\t' << toUtf8(w.note) << '\n';
}

} // namespace

int runAutoTranslate(Arguments& args)
{
    bool failed = false;
    const int columns = takeIntOption(args, "autotranslate", "--columns", 1, 1000, failed).value_or(32);
    if (failed)
        return kExitUsage;
    const bool unicode = args.takeFlag("--unicode");
    const bool wantExplain = args.takeFlag("--explain");
    bool missing = false;
    const std::optional<std::string> file = args.takeValue("--file", missing);
    const std::optional<std::string> readingsFile = args.takeValue("--readings", missing);
    if (missing)
        return usageError("autotranslate", "--file and --readings need a value");
    if (auto unknown = args.unknownOption())
        return usageError("autotranslate", "unknown option " + *unknown);
    if (file.has_value() == (args.operands().size() == 1) || args.operands().size() > 1)
        return usageError("autotranslate", "give exactly one TEXT or --file FILE");

    std::string text;
    const std::optional<std::string> source = file ? file : args.operands()[0] == "-" ? std::optional<std::string>("-")
                                                                                     : std::nullopt;
    if (source) {
        std::optional<std::string> read = readInput(*source);
        if (!read) {
            std::cerr << "tenkora-cli: cannot read " << *source << "\n";
            return kExitFailed;
        }
        text = std::move(*read);
    } else {
        text = args.operands()[0];
    }

    const std::unique_ptr<autotranslate::AutoTranslator> translator = openTranslator(readingsFile);
    if (!translator)
        return kExitFailed;

    loadTables(CharacterDictionary::instance());
    PageLayout layout;
    layout.ColumnNumber = std::uint32_t(columns);
    BrailleDocument document;
    ScriptedSession played(layout);
    played.session.setDocument(&document);

    const std::u16string print = fromUtf8(text);
    const AutoTranslatePasteResult pasted = pasteTranslated(played.session, translator.get(), print);
    if (pasted.leftOut)
        std::cerr << "tenkora-cli: " << pasted.leftOut << " characters of the translation are in no table and were left out\n";
    if (!pasted.typed)
        std::cerr << "tenkora-cli: nothing was typed\n";
    printRows(document, unicode);
    if (wantExplain)
        explain(translator->translate(print));
    return kExitOk;
}

} // namespace braille::cli
