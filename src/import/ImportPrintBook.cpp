// Chooses the reader for a file by its content and its extension, and checks what it read.

#include "PrintBook.h"
#include "Readers.h"
#include "TextDecoding.h"
#include "ZipArchive.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace braille {

namespace {

// A print book's source larger than this is not something to hold in memory at once.
constexpr std::uintmax_t kMaxFileSize = 512u * 1024u * 1024u;

std::string lowerExtension(const std::filesystem::path& file)
{
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

bool startsLikeHtml(std::string_view bytes)
{
    std::string head(bytes.substr(0, 512));
    std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const std::size_t start = head.find('<');
    if (start == std::string::npos)
        return false;
    for (std::size_t i = 0; i < start; ++i)
        if (!std::isspace(static_cast<unsigned char>(head[i])) && static_cast<unsigned char>(head[i]) < 0x80)
            return false;
    const std::string_view rest = std::string_view(head).substr(start);
    return rest.starts_with("<!doctype html") || rest.starts_with("<html") ||
           (rest.starts_with("<?xml") && rest.find("<html") != std::string_view::npos);
}

void tally(PrintBook& book)
{
    ImportReport& r = book.report;
    r.paragraphs = r.headings = r.pages = r.rubySpans = 0;
    for (const auto* part : {&book.cover, &book.body, &book.colophon})
        for (const PrintParagraph& p : *part) {
            ++r.paragraphs;
            r.headings += p.kind == PrintParagraph::Heading;
            r.pages += !p.pageLabel.empty();
            r.rubySpans += p.ruby.size();
        }
}

} // namespace

ImportResult importPrintBook(const std::filesystem::path& file, const ImportOptions& options)
{
    const std::string name = file.filename().string();
    auto fail = [&](const std::string& reason) { return ImportResult{std::nullopt, name + ": " + reason + "."}; };

    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return fail("it is a folder, not a file");
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec)
        return fail("it cannot be read (" + ec.message() + ")");
    if (size > kMaxFileSize)
        return fail("it is too large to import");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return fail(std::string("it cannot be opened (") + std::strerror(errno) + ")");
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return fail("it cannot be read");

    const std::string ext = lowerExtension(file);
    const bool isZip = bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
    PrintBook book;
    std::string error;
    if (ext == ".epub" || ext == ".docx" || isZip) {
        import::ZipArchive zip;
        if (!zip.open(file, error))
            return fail(error);
        if (ext == ".epub" || (ext != ".docx" && zip.contains("META-INF/container.xml")))
            error = import::readEpub(zip, book);
        else if (ext == ".docx" || zip.contains("word/document.xml"))
            error = import::readDocx(zip, book);
        else
            error = "it is a ZIP archive that is neither an EPUB nor a Word document";
    } else if (ext == ".html" || ext == ".htm" || ext == ".xhtml" || startsLikeHtml(bytes)) {
        error = import::readHtml(bytes, options, book);
    } else if (ext == ".txt" || ext == ".text" || ext.empty() || import::isValidUtf8(bytes)) {
        const import::DecodedText decoded = import::decodeText(bytes, options.encoding);
        if (!decoded.ok)
            return fail(decoded.error);
        if (decoded.text.find(u'\0') != std::u16string::npos)
            return fail("it holds binary data, not text");
        error = import::looksLikeAozora(decoded.text) ? import::readAozoraText(decoded.text, book)
                                                      : import::readPlainText(decoded.text, book);
    } else {
        error = "it is not a kind of file that can be imported (plain text, Aozora Bunko text, EPUB, DOCX or HTML)";
    }
    if (!error.empty())
        return fail(error);
    if (book.body.empty())
        return fail("it holds no text to import");
    tally(book);
    return ImportResult{std::move(book), {}};
}

} // namespace braille
