#pragma once
// The braille files Tenkora exports: BSE (the format of Japanese braille editors), BRF (Braille
// ASCII with form feeds) and PEF 1.0 (the XML format of the braille community). Each is made
// from the paginated book; see docs/formats.md for what each holds and how sure we are of it.

#include "Pagination.h"
#include "SaveResult.h"

#include <filesystem>
#include <string>

namespace braille {

enum class ExportFormat { Bse, Brf, Pef };

struct ExportInfo {
    std::u16string title; // the file's name without its extension
    std::string date;     // YYYY-MM-DD
    std::string identifier;
};

// An export's bytes, or why the book cannot be written in that format (the bytes then empty).
struct ExportBytes {
    std::string bytes;
    std::string problem;
    explicit operator bool() const { return problem.empty(); }
};

// BSE's header holds cells per line and lines per page in two digits and the page count in four:
// a layout or a book those fields cannot hold is refused, never written with a wrong number.
ExportBytes writeBse(const std::vector<BraillePage>& pages, const PageLayout& layout, const ExportInfo& info);
std::string writeBrf(const std::vector<BraillePage>& pages);
std::string writePef(const std::vector<BraillePage>& pages, const PageLayout& layout, const ExportInfo& info);

// A BML file read, laid out with a page layout and paginated: the pages every exporter and the
// embosser take, or why the file gives none.
struct PagedBook {
    enum Problem { None, Unreadable, CutShort, Layout };
    std::vector<BraillePage> pages;
    Problem kind = None;
    std::string problem; // the reason, without the file's name
    explicit operator bool() const { return kind == None; }
};
PagedBook pageBook(const std::filesystem::path& input, const PageLayout& layout);

// Reads the BML file, lays it out with `layout`, and writes the export atomically: a failure
// (unreadable input, a file that ends before the book does, a layout too small to page the book
// or that the format cannot hold, a folder that cannot be written) leaves no file and says why.
SaveResult exportBook(const std::filesystem::path& input, const std::filesystem::path& output, ExportFormat format,
                      const PageLayout& layout);

// The page layout of the settings file (Tenkora.ini, section Window) in the folder the editor
// uses ($TENKORA_CONFIG_DIR, else $XDG_CONFIG_HOME/Tenkora, else ~/.config/Tenkora); defaults
// 22 and 32, values brought into 1..100.
PageLayout settingsPageLayout();

// Text in CP932 (Shift_JIS as Windows writes it) for the BSE header; characters it lacks become
// "?". At most `bytes` bytes, never cutting a double-byte character.
std::string toCp932(std::u16string_view text, std::size_t bytes);

} // namespace braille
