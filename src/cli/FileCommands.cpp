// tenkora-cli dump, roundtrip and link2bml: BML files and link text from the command line.

#include "BmlWriter.h"
#include "BmlReader.h"
#include "CharacterDictionary.h"
#include "CliCommands.h"
#include "DocumentDump.h"
#include "LinkTextConverter.h"
#include "PageLayout.h"
#include "TableLoader.h"
#include "Utf.h"

#include <iostream>
#include <memory>

namespace braille::cli {

namespace {

constexpr int kMaxColumns = 1000;

// Reads a BML file into a new document; reports a file that cannot be opened.
std::unique_ptr<BrailleDocument> readDocument(const std::string& path)
{
    auto document = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
    BmlReader reader(path);
    if (!reader.isOpen()) {
        std::cerr << "tenkora-cli: " << reader.error() << "\n";
        return nullptr;
    }
    reader.readAll(*document);
    return document;
}

// --columns N, shared by the commands that lay documents out.
bool takeColumns(Arguments& args, std::string_view command)
{
    bool failed = false;
    if (auto columns = takeIntOption(args, command, "--columns", 1, kMaxColumns, failed))
        pageLayout().ColumnNumber = std::uint32_t(*columns);
    return !failed;
}

} // namespace

int runDump(Arguments& args)
{
    if (!takeColumns(args, "dump"))
        return kExitUsage;
    if (auto unknown = args.unknownOption())
        return usageError("dump", "unknown option " + *unknown);
    if (args.operands().size() != 1)
        return usageError("dump", "give exactly one FILE");

    loadTables(CharacterDictionary::instance());
    std::unique_ptr<BrailleDocument> document = readDocument(args.operands()[0]);
    if (!document)
        return kExitFailed;
    for (int k = 0; k < kSectionCount; ++k)
        std::cout << dumpSection(*document, SectionKind(k));
    return kExitOk;
}

int runRoundtrip(Arguments& args)
{
    if (!takeColumns(args, "roundtrip"))
        return kExitUsage;
    if (auto unknown = args.unknownOption())
        return usageError("roundtrip", "unknown option " + *unknown);
    if (args.operands().size() != 2)
        return usageError("roundtrip", "give IN.bml and OUT.bml");

    loadTables(CharacterDictionary::instance());
    std::unique_ptr<BrailleDocument> document = readDocument(args.operands()[0]);
    if (!document)
        return kExitFailed;
    const SaveResult saved = writeBml(*document, args.operands()[1]);
    if (!saved) {
        std::cerr << "tenkora-cli: " << saved.reason << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

int runLink2Bml(Arguments& args)
{
    if (auto unknown = args.unknownOption())
        return usageError("link2bml", "unknown option " + *unknown);
    if (args.operands().size() != 2)
        return usageError("link2bml", "give TEXT-FILE and OUT.bml");

    Utf8File in(args.operands()[0], Utf8File::Read);
    if (!in.isOpen()) {
        std::cerr << "tenkora-cli: " << in.error() << "\n";
        return kExitFailed;
    }
    std::u16string text;
    for (;;) {
        const char16_t u = in.readUnit();
        if (u == Utf8File::kEndOfData && in.atEnd())
            break;
        text.push_back(u);
    }
    LinkTextConverter converter;
    if (!converter.convert(text)) {
        std::cerr << "tenkora-cli: the XML tree could not be built\n";
        return kExitFailed;
    }
    const SaveResult saved = converter.save(args.operands()[1]);
    if (!saved) {
        std::cerr << "tenkora-cli: " << saved.reason << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace braille::cli
