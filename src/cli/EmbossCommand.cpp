// tenkora-cli emboss: a BML book sent to a braille embosser through CUPS, as the window's
// 点字プリンタで印刷 sends it.

#include "CellExport.h"
#include "CharacterDictionary.h"
#include "CliCommands.h"
#include "CupsEmbosser.h"
#include "EmbossJob.h"
#include "TableLoader.h"

#include <filesystem>
#include <iostream>

namespace braille::cli {

int runEmboss(Arguments& args)
{
    bool missing = false;
    const std::optional<std::string> printer = args.takeValue("--printer", missing);
    const std::optional<std::string> pages = args.takeValue("--pages", missing);
    if (missing)
        return usageError("emboss", "--printer and --pages need a value");
    bool failed = false;
    const std::optional<int> copies = takeIntOption(args, "emboss", "--copies", 1, int(kMostCopies), failed);
    if (failed)
        return kExitUsage;
    if (auto unknown = args.unknownOption())
        return usageError("emboss", "unknown option " + *unknown);
    if (args.operands().size() != 1)
        return usageError("emboss", "give exactly one BOOK.bml");
    if (printer && printer->empty())
        return usageError("emboss", "--printer needs a queue's name");
    PageRange range;
    if (pages) {
        const std::optional<PageRange> parsed = parsePageRange(*pages);
        if (!parsed)
            return usageError("emboss", "--pages takes A-B or A, page numbers from 1");
        range = *parsed;
    }

    loadTables(CharacterDictionary::instance());
    const std::filesystem::path book = args.operands()[0];
    const PageLayout layout = settingsPageLayout();
    const PagedBook paged = pageBook(book, layout);
    if (paged.kind == PagedBook::Unreadable || paged.kind == PagedBook::CutShort) {
        std::cerr << "tenkora-cli: cannot read " << book.string() << ": " << paged.problem << "\n";
        return kExitUsage;
    }
    if (!paged) {
        std::cerr << "tenkora-cli: cannot emboss " << book.string() << ": " << paged.problem << "\n";
        return kExitFailed;
    }
    if (const std::string problem = rangeProblem(range, paged.pages.size()); !problem.empty()) {
        std::cerr << "tenkora-cli: " << problem << "\n";
        return kExitUsage;
    }

    // The queue's own default decides one side or both: the command line has no say in it.
    std::string queue;
    if (printer) {
        queue = *printer;
    } else {
        const QueueList queues = listEmbosserQueues();
        if (queues.failure) {
            std::cerr << "tenkora-cli: " << queues.failure.message() << "\n";
            return kExitFailed;
        }
        queue = queues.proposal({});
    }
    JobOptions options;
    options.title = book.stem().string();
    const std::string brf = embossBytes(paged.pages, range, std::uint32_t(copies.value_or(1)), false);
    const JobSubmission job = submitBrfJob(queue, brf, options);
    if (job.failure) {
        std::cerr << "tenkora-cli: " << job.failure.message() << "\n";
        return kExitFailed;
    }
    std::cout << job.jobId << "\n";
    return kExitOk;
}

} // namespace braille::cli
