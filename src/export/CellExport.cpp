#include "CellExport.h"

#include "AtomicSave.h"
#include "ConfigPaths.h"
#include "BmlReader.h"
#include "Cells.h"
#include "LocalTime.h"
#include "Utf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iconv.h>

namespace braille {

namespace {

// The header's numbers are zero-padded decimal digits; callers make sure the value fits.
std::string zeroPadded(std::uint32_t value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*u", width, value);
    return text;
}

constexpr std::uint32_t kBseMostCells = 99, kBseMostLines = 99, kBseMostPages = 9999;

std::string xmlEscape(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.push_back(c); break;
        }
    }
    return out;
}

} // namespace

std::string toCp932(std::u16string_view text, std::size_t bytes)
{
    std::string out;
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == iconv_t(-1))
        return out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
        char16_t units[2] = {text[i], n == 2 ? text[i + 1] : u'\0'};
        char in[4];
        for (std::size_t k = 0; k < n; ++k) {
            in[2 * k] = char(units[k] & 0xFF);
            in[2 * k + 1] = char(units[k] >> 8);
        }
        char converted[8];
        char* inPtr = in;
        char* outPtr = converted;
        std::size_t inLeft = 2 * n, outLeft = sizeof converted;
        std::string piece = "?";
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1))
            piece.assign(converted, std::size_t(outPtr - converted));
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (out.size() + piece.size() > bytes)
            break;
        out += piece;
        i += n - 1;
    }
    iconv_close(cd);
    return out;
}

ExportBytes writeBse(const std::vector<BraillePage>& pages, const PageLayout& layout, const ExportInfo& info)
{
    if (layout.ColumnNumber > kBseMostCells || layout.LineNumber > kBseMostLines)
        return {{}, "BSE holds at most " + std::to_string(kBseMostCells) + " cells per line and " +
                        std::to_string(kBseMostLines) + " lines per page, not " + std::to_string(layout.ColumnNumber) +
                        " cells and " + std::to_string(layout.LineNumber) + " lines"};
    if (pages.size() > kBseMostPages)
        return {{}, "BSE holds at most " + std::to_string(kBseMostPages) + " pages, the book has " +
                        std::to_string(pages.size())};
    // The 512-byte header: text fields padded with spaces, the numbers as zero-padded digits.
    std::string header(512, ' ');
    std::string date = info.date;
    std::replace(date.begin(), date.end(), '-', '/');
    header.replace(0, std::min<std::size_t>(date.size(), 10), date.substr(0, 10));
    const std::string title = toCp932(info.title, 50);
    header.replace(10, title.size(), title);
    header.replace(504, 4, zeroPadded(std::uint32_t(pages.size()), 4));
    header.replace(508, 2, zeroPadded(layout.ColumnNumber, 2));
    header.replace(510, 2, zeroPadded(layout.LineNumber, 2));
    ExportBytes out{header + "\r\n", {}};
    // Every page is as long as a page: pages are found by counting lines.
    for (const BraillePage& page : pages)
        for (std::uint32_t i = 0; i < std::max<std::uint32_t>(layout.LineNumber, 1); ++i)
            out.bytes += (i < page.lines.size() ? page.lines[i] : std::string()) + "\r\n";
    return out;
}

std::string writeBrf(const std::vector<BraillePage>& pages)
{
    std::string out;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            out += '\f';
        for (const std::string& line : pages[p].lines)
            out += line + "\r\n";
    }
    return out;
}

std::string writePef(const std::vector<BraillePage>& pages, const PageLayout& layout, const ExportInfo& info)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<pef version=\"2008-1\" xmlns=\"http://www.daisy.org/ns/2008/pef\">\n"
                      "  <head>\n"
                      "    <meta xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                      "      <dc:format>application/x-pef+xml</dc:format>\n";
    out += "      <dc:identifier>" + xmlEscape(info.identifier) + "</dc:identifier>\n";
    out += "      <dc:title>" + xmlEscape(toUtf8(info.title)) + "</dc:title>\n";
    out += "      <dc:language>ja</dc:language>\n";
    out += "      <dc:date>" + xmlEscape(info.date) + "</dc:date>\n";
    out += "    </meta>\n  </head>\n  <body>\n";
    out += "    <volume cols=\"" + std::to_string(layout.ColumnNumber) + "\" rows=\"" +
           std::to_string(std::max<std::uint32_t>(layout.LineNumber, 1)) + "\" rowgap=\"0\" duplex=\"false\">\n";
    if (pages.empty()) {
        // A volume needs a section with a page, even for an empty book.
        out += "      <section>\n        <page/>\n      </section>\n";
    }
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p == 0 || pages[p].section != pages[p - 1].section)
            out += "      <section>\n";
        out += "        <page>\n";
        for (const std::string& line : pages[p].lines) {
            std::u16string cells(line.begin(), line.end());
            out += "          <row>" + toUtf8(cellsToUnicode(cells)) + "</row>\n";
        }
        out += "        </page>\n";
        if (p + 1 == pages.size() || pages[p + 1].section != pages[p].section)
            out += "      </section>\n";
    }
    out += "    </volume>\n  </body>\n</pef>\n";
    return out;
}

PagedBook pageBook(const std::filesystem::path& input, const PageLayout& layout)
{
    PagedBook book;
    const auto refuse = [&](PagedBook::Problem kind, std::string why) {
        book.kind = kind;
        book.problem = std::move(why);
        book.pages.clear();
        return book;
    };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(input, ec))
        return refuse(PagedBook::Unreadable, "no such file");
    BmlReader reader(input);
    if (!reader.isOpen())
        return refuse(PagedBook::Unreadable, reader.error());
    if (std::string problem = layoutProblem(layout); !problem.empty())
        return refuse(PagedBook::Layout, std::move(problem));
    BrailleDocument document(BrailleDocument::ForReading);
    document.cellsPerLine = layout.ColumnNumber;
    reader.readAll(document);
    // What was read of a file cut short is a sound book, but not the book: handing it on would
    // pass a shorter book off as whole.
    if (reader.endedEarly())
        return refuse(PagedBook::CutShort, "the file ends before the book does (cut short)");
    book.pages = paginate(document, layout);
    if (std::string problem = pagesProblem(book.pages, layout); !problem.empty())
        return refuse(PagedBook::Layout, std::move(problem));
    return book;
}

SaveResult exportBook(const std::filesystem::path& input, const std::filesystem::path& output, ExportFormat format,
                      const PageLayout& layout)
{
    const PagedBook book = pageBook(input, layout);
    if (book.kind == PagedBook::Unreadable)
        return SaveResult::failure("cannot read " + input.string() + ": " + book.problem);
    if (!book)
        return SaveResult::failure("cannot export " + input.string() + ": " + book.problem);
    const std::vector<BraillePage>& pages = book.pages;
    ExportInfo info;
    info.title = output.stem().u16string();
    info.date = localTimeText("%Y-%m-%d");
    info.identifier = "tenkora:" + output.stem().string() + ":" + info.date;
    ExportBytes bytes;
    switch (format) {
    case ExportFormat::Bse: bytes = writeBse(pages, layout, info); break;
    case ExportFormat::Brf: bytes.bytes = writeBrf(pages); break;
    case ExportFormat::Pef: bytes.bytes = writePef(pages, layout, info); break;
    }
    if (!bytes)
        return SaveResult::failure("cannot export " + input.string() + ": " + bytes.problem);
    return saveBytesAtomically(output, bytes.bytes);
}

PageLayout settingsPageLayout()
{
    PageLayout layout;
    const std::filesystem::path folder = paths::configFolder();
    if (folder.empty())
        return layout;
    std::ifstream ini(folder / "Tenkora.ini");
    std::string line;
    bool window = false;
    while (std::getline(ini, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            window = line == "[Window]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!window || equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        char* end = nullptr;
        const long value = std::strtol(line.c_str() + equals + 1, &end, 10);
        if (end == line.c_str() + equals + 1)
            continue;
        const std::uint32_t clamped = std::uint32_t(std::clamp<long>(value, 1, 100));
        if (key == "LineNumber")
            layout.LineNumber = clamped;
        else if (key == "ColumnNumber")
            layout.ColumnNumber = clamped;
    }
    return layout;
}

} // namespace braille
