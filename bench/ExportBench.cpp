// bench_export: the 1000-page book of the benchmarks exported to BSE, BRF and PEF, from the BML
// file to the written export, as CellExport does it. Goal: each under 1 s.

#include "BenchSupport.h"
#include "BmlWriter.h"
#include "CellExport.h"
#include "CharacterDictionary.h"
#include "TableLoader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

using namespace braille;

int main()
{
    loadTables(CharacterDictionary::instance());
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tenkora-bench-export";
    std::filesystem::create_directories(folder);
    BrailleDocument book;
    bench::buildBody(book, 1000 * 21 * 31);
    book.complete = true;
    if (!writeBml(book, folder / "book.bml")) {
        std::fprintf(stderr, "bench_export: cannot write the book\n");
        return 1;
    }
    std::printf("body: %u rows (%.0f pages of 21 rows)\n", book.section().rowCount, double(book.section().rowCount) / 21);
    bool ok = true;
    for (const auto& [name, format] : {std::pair{"bse", ExportFormat::Bse}, std::pair{"brf", ExportFormat::Brf},
                                       std::pair{"pef", ExportFormat::Pef}}) {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i)
            times.push_back(bench::timeMicros([&, format = format, name = name] {
                ok &= bool(exportBook(folder / "book.bml", folder / (std::string("book.") + name), format, PageLayout{}));
            }));
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2] / 1000;
        std::printf("export to %s: median %.0f ms (%ju bytes)\n", name, median,
                    std::uintmax_t(std::filesystem::file_size(folder / (std::string("book.") + name))));
        ok &= median < 1000;
    }
    std::filesystem::remove_all(folder);
    std::printf("%s\n", ok ? "every export under 1 s" : "AN EXPORT FAILED OR TOOK 1 s OR MORE");
    return ok ? 0 : 1;
}
