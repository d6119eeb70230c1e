// tenkora-cli import: a print book (plain text, Aozora Bunko text, EPUB, DOCX or HTML) made into a
// braille book, written as BML.

#include "BmlWriter.h"
#include "CharacterDictionary.h"
#include "CliCommands.h"
#include "PrintBookTyping.h"
#include "TableLoader.h"

#include <iostream>

namespace braille::cli {

int runImport(Arguments& args)
{
    bool failed = false;
    const int columns = takeIntOption(args, "import", "--columns", 1, 100, failed).value_or(32);
    const int lines = takeIntOption(args, "import", "--lines", 1, 100, failed).value_or(22);
    if (failed)
        return kExitUsage;
    bool missing = false;
    const std::optional<std::string> encoding = args.takeValue("--encoding", missing);
    const std::optional<std::string> readingsFile = args.takeValue("--readings", missing);
    if (missing)
        return usageError("import", "--encoding and --readings need a value");
    if (auto unknown = args.unknownOption())
        return usageError("import", "unknown option " + *unknown);
    if (args.operands().size() != 2)
        return usageError("import", "give the SOURCE and OUT.bml");
    const std::string source = args.operands()[0];
    const std::string target = args.operands()[1];

    ImportOptions options;
    options.encoding = encoding.value_or("");
    ImportResult imported = importPrintBook(source, options);
    if (!imported.book) {
        std::cerr << "tenkora-cli: " << imported.error << "\n";
        return kExitFailed;
    }
    const std::unique_ptr<autotranslate::AutoTranslator> translator = openTranslator(readingsFile);
    if (!translator)
        return kExitFailed;

    loadTables(CharacterDictionary::instance());
    PageLayout layout;
    layout.ColumnNumber = std::uint32_t(columns);
    layout.LineNumber = std::uint32_t(lines);
    PrintBookTyping typed = typePrintBook(*imported.book, *translator, layout);
    const SaveResult saved = writeBml(*typed.document, target);
    if (!saved) {
        std::cerr << "tenkora-cli: " << saved.reason << "\n";
        return kExitFailed;
    }
    const ImportReport& report = imported.book->report;
    const std::size_t guessed = autotranslate::totalCount(typed.guessed);
    const std::size_t unknown = autotranslate::totalCount(typed.unknown);
    std::cout << target << ": " << report.paragraphs << " paragraphs, " << report.headings << " headings, "
              << report.pages << " original pages, " << typed.rubyUsed << " ruby readings, " << guessed
              << " guessed and " << unknown << " unknown words";
    if (typed.leftOut)
        std::cout << ", " << typed.leftOut << " characters in no table left out";
    if (report.droppedAnnotations)
        std::cout << ", " << report.droppedAnnotations << " annotations dropped";
    std::cout << "\n";
    for (const std::string& note : report.notes)
        std::cerr << "tenkora-cli: " << note << "\n";
    return kExitOk;
}

} // namespace braille::cli
