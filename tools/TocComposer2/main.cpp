// TocComposer2: writes the table of contents of a BML book into its contents section, made from
// the headings of its body, and saves the file again (atomically).
//   TocComposer2 PATH.bml
// The page layout is the editor's (Tenkora.ini). Exit status 0 on success, 1 on failure (with one
// line on standard error), 2 for bad usage. A file that ends before the book does, or a body
// without a heading, is a failure that leaves the file as it was.

#include "BmlWriter.h"
#include "BmlReader.h"
#include "CellExport.h"
#include "CharacterDictionary.h"
#include "TableLoader.h"
#include "TableOfContents.h"

#include <cstdio>
#include <filesystem>

using namespace braille;

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: TocComposer2 PATH.bml\n");
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    const std::filesystem::path path = argv[1];
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::fprintf(stderr, "TocComposer2: cannot read %s: no such file\n", path.c_str());
        return 1;
    }
    loadTables(CharacterDictionary::instance());
    const PageLayout layout = settingsPageLayout();
    BrailleDocument document(BrailleDocument::ForReading);
    document.cellsPerLine = layout.ColumnNumber;
    {
        // The reader holds the file until it is gone; the file is written after that.
        BmlReader reader(path);
        if (!reader.isOpen()) {
            std::fprintf(stderr, "TocComposer2: cannot read %s: %s\n", path.c_str(), reader.error().c_str());
            return 1;
        }
        reader.readAll(document);
        // Writing back what was read of a file cut short would make the shorter book the book.
        if (reader.endedEarly()) {
            std::fprintf(stderr, "TocComposer2: %s ends before the book does (cut short); the file is left as it was\n",
                         path.c_str());
            return 1;
        }
    }
    if (!composeTableOfContents(document, layout)) {
        std::fprintf(stderr,
                     "TocComposer2: %s has no heading (a body paragraph indented by 4, 6 or 8 blanks); the contents "
                     "are left as they were\n",
                     path.c_str());
        return 1;
    }
    const SaveResult saved = writeBml(document, path);
    if (!saved) {
        std::fprintf(stderr, "TocComposer2: %s\n", saved.reason.c_str());
        return 1;
    }
    return 0;
}
