// CellExport: a BML book to a braille file, as the editor's export commands call it.
//   CellExport [--format bse|brf|pef] [--columns N] [--lines N] IN.bml OUT
// Without --format, OUT's extension chooses (.brf, .pef; BSE otherwise). The page layout is the
// editor's (Tenkora.ini) unless given. Exit status 0 on success, 1 when the export failed (with
// one line on standard error: a file cut short, a layout too small to page the book or too large
// for BSE's header, a file that cannot be written), 2 for bad usage.

#include "CellExport.h"
#include "CharacterDictionary.h"
#include "TableLoader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace braille;

namespace {

int usage(const char* why)
{
    std::fprintf(stderr, "CellExport: %s\nusage: CellExport [--format bse|brf|pef] [--columns N] [--lines N] IN.bml OUT\n",
                 why);
    return 2;
}

bool number(const char* text, std::uint32_t& out)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < 1 || value > 100)
        return false;
    out = std::uint32_t(value);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    ExportFormat format = ExportFormat::Bse;
    bool formatGiven = false;
    PageLayout layout = settingsPageLayout();
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage("exports a BML book as BSE (default), BRF or PEF");
            return 0;
        }
        if ((arg == "--format" || arg == "--columns" || arg == "--lines") && i + 1 >= argc)
            return usage((arg + " needs a value").c_str());
        if (arg == "--format") {
            formatGiven = true;
            const std::string f = argv[++i];
            if (f == "bse")
                format = ExportFormat::Bse;
            else if (f == "brf")
                format = ExportFormat::Brf;
            else if (f == "pef")
                format = ExportFormat::Pef;
            else
                return usage("the format is bse, brf or pef");
        } else if (arg == "--columns") {
            if (!number(argv[++i], layout.ColumnNumber))
                return usage("--columns takes a number from 1 to 100");
        } else if (arg == "--lines") {
            if (!number(argv[++i], layout.LineNumber))
                return usage("--lines takes a number from 1 to 100");
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return usage(("unknown option " + arg).c_str());
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2)
        return usage("give the BML file and the file to write");
    // Without --format the output's extension says which format is wanted.
    if (!formatGiven) {
        const std::string extension = std::filesystem::path(files[1]).extension().string();
        if (extension == ".brf" || extension == ".BRF")
            format = ExportFormat::Brf;
        else if (extension == ".pef" || extension == ".PEF")
            format = ExportFormat::Pef;
    }
    loadTables(CharacterDictionary::instance());
    const SaveResult result = exportBook(files[0], files[1], format, layout);
    if (!result) {
        std::fprintf(stderr, "CellExport: %s\n", result.reason.c_str());
        return 1;
    }
    return 0;
}
