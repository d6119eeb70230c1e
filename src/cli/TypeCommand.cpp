// tenkora-cli type: a script of keys, characters and commands run through an editing session, as
// a transcriber at the keyboard would type it, and the document that results.

#include "BmlWriter.h"
#include "BmlReader.h"
#include "CliCommands.h"
#include "DocumentDump.h"
#include "SessionScript.h"
#include "PageLayout.h"
#include "TableLoader.h"
#include "Utf.h"

#include <iostream>
#include <memory>

namespace braille::cli {

namespace {

void printState(const EditingSession& session, const ScriptHost& host)
{
    const BrailleDocumentCursor& c = session.cursor();
    std::cout << "caret: row " << c.row() << " column " << c.column << "\n";
    std::cout << "selection: " << c.anchor.row << ":" << c.anchor.column << " - " << c.end.row << ":" << c.end.column
              << (c.hasSelection() ? "" : " (empty)") << "\n";
    std::cout << "mode: " << toUtf8(host.pane(kModePane));
    if (!host.pane(kBraillePane).empty())
        std::cout << " " << toUtf8(host.pane(kBraillePane));
    std::cout << "\nsection: " << sectionName(session.document()->currentSection) << "\n";
    std::cout << "undo: step " << session.undoHistory().currentIndex() << " of " << session.undoHistory().size() - 1
              << "\n";
    std::cout << "modified: " << (session.document()->modified ? "yes" : "no") << "\n";
    const std::optional<std::size_t> saved = session.undoHistory().savePointIndex();
    std::cout << "save point: " << (saved ? "step " + std::to_string(*saved) : std::string("gone")) << "\n";
    if (!host.pane(kMessagePane).empty())
        std::cout << "status: " << toUtf8(host.pane(kMessagePane)) << "\n";
    for (const std::u16string& m : host.messages())
        std::cout << "message: " << toUtf8(m) << "\n";
}

} // namespace

int runType(Arguments& args)
{
    bool failed = false;
    const std::optional<int> columns = takeIntOption(args, "type", "--columns", 1, 1000, failed);
    if (failed)
        return kExitUsage;
    bool missing = false;
    const std::optional<std::string> open = args.takeValue("--open", missing);
    const std::optional<std::string> save = args.takeValue("--save", missing);
    if (missing)
        return usageError("type", "--open and --save need a file");
    const bool state = args.takeFlag("--state");
    if (auto unknown = args.unknownOption())
        return usageError("type", "unknown option " + *unknown);
    if (args.operands().size() != 1)
        return usageError("type", "give exactly one SCRIPT");

    loadTables(CharacterDictionary::instance());
    PageLayout layout;
    if (columns)
        layout.ColumnNumber = std::uint32_t(*columns);

    std::unique_ptr<BrailleDocument> document;
    if (open) {
        document = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
        document->cellsPerLine = layout.ColumnNumber;
        BmlReader reader(*open);
        if (!reader.isOpen()) {
            std::cerr << "tenkora-cli: " << reader.error() << "\n";
            return kExitFailed;
        }
        reader.readAll(*document);
    } else {
        document = std::make_unique<BrailleDocument>();
    }

    ScriptedSession played(layout);
    EditingSession& session = played.session;
    ScriptHost& host = played.host;
    session.setDocument(document.get());
    // {C-s} writes to the --save file, or back to the opened one.
    const std::optional<std::string> target = save ? save : open;
    bool savedByScript = false;
    host.setSaver([&](std::string& reason) {
        if (!target) {
            reason = "give --save FILE or --open FILE";
            return false;
        }
        const SaveResult saved = writeBml(*document, *target);
        reason = saved.reason;
        savedByScript = savedByScript || (saved && save);
        return bool(saved);
    });

    std::string error;
    if (!runSessionScript(session, host, fromUtf8(args.operands()[0]), error)) {
        std::cerr << "tenkora-cli: " << error << "\n";
        return kExitUsage;
    }
    for (int k = 0; k < kSectionCount; ++k)
        std::cout << dumpSection(*document, SectionKind(k));
    if (state)
        printState(session, host);
    else
        for (const std::u16string& m : host.messages())
            std::cerr << "tenkora-cli: message: " << toUtf8(m) << "\n";
    // --save writes the end result, unless the script saved it there and changed nothing since.
    if (save && !(savedByScript && !document->modified)) {
        const SaveResult saved = writeBml(*document, *save);
        if (!saved) {
            std::cerr << "tenkora-cli: " << saved.reason << "\n";
            return kExitFailed;
        }
    }
    return kExitOk;
}

} // namespace braille::cli
