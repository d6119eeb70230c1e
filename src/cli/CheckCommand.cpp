// tenkora-cli check: the braille check of a BML book, one finding a line.

#include "BmlReader.h"
#include "BrailleCheck.h"
#include "CharacterDictionary.h"
#include "CliCommands.h"
#include "PageLayout.h"
#include "ReviewPlaces.h"
#include "TableLoader.h"
#include "Utf.h"

#include <iostream>

namespace braille::cli {

int runCheck(Arguments& args)
{
    bool failed = false;
    const std::optional<int> columns = takeIntOption(args, "check", "--columns", 1, 1000, failed);
    const std::optional<int> lines = takeIntOption(args, "check", "--lines", 1, 1000, failed);
    if (failed)
        return kExitUsage;
    if (auto unknown = args.unknownOption())
        return usageError("check", "unknown option " + *unknown);
    if (args.operands().size() != 1)
        return usageError("check", "give exactly one FILE.bml");
    if (columns)
        pageLayout().ColumnNumber = std::uint32_t(*columns);
    if (lines)
        pageLayout().LineNumber = std::uint32_t(*lines);

    loadTables(CharacterDictionary::instance());
    const std::string& path = args.operands()[0];
    auto document = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
    BmlReader reader(path);
    if (!reader.isOpen()) {
        std::cerr << "tenkora-cli: " << reader.error() << "\n";
        return kExitUsage;
    }
    reader.readAll(*document);
    if (!reader.sawDocument()) {
        std::cerr << "tenkora-cli: " << path << " is not a BML file\n";
        return kExitUsage;
    }
    const std::vector<ReviewItem> findings = checkBook(*document);
    const std::vector<ReviewPlace> places = reviewPlaces(*document, findings, pageLayout().LineNumber);
    for (std::size_t i = 0; i < findings.size(); ++i) {
        // One line a finding: a line break among the cells is shown as the editor shows it.
        std::u16string cells = findings[i].braille;
        for (char16_t& c : cells)
            if (c == u'\n')
                c = u'\u21B2';
        std::cout << toUtf8(places[i].label) << '\t' << toUtf8(reviewDescription(findings[i])) << '\t'
                  << toUtf8(cells) << '\n';
    }
    return findings.empty() ? kExitOk : kExitFailed;
}

} // namespace braille::cli
