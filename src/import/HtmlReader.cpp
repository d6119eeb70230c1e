// An HTML page, parsed as HTML (never as XML) and read like an EPUB chapter; its first h1, else
// its <title>, is the book's title.

#include "HtmlParsing.h"
#include "MarkupWalker.h"
#include "Readers.h"
#include "Utf.h"

namespace braille::import {

std::string readHtml(std::string_view bytes, const ImportOptions& options, PrintBook& book)
{
    book.source = PrintBook::Source::Html;
    std::string error;
    bool ok = false;
    const std::string utf8 = markupAsUtf8(bytes, options.encoding, error, ok);
    if (!ok)
        return error;
    pugi::xml_document doc;
    parseHtml(utf8, doc);
    MarkupWalker walker(book.body, book.report);
    walker.walkDocument(doc);
    walker.finish();

    const pugi::xml_node author = doc.find_node([](const pugi::xml_node& n) {
        return localName(n) == "meta" && std::string_view(n.attribute("name").value()) == "author";
    });
    // A title in no heading of the page is carried by the cover; one in an h1 is in the text.
    setTitleAndAuthor(book, walker.firstH1().empty() ? walker.documentTitle() : std::u16string(),
                      fromUtf8(author.attribute("content").value()));
    if (!walker.firstH1().empty())
        book.title = walker.firstH1();
    return {};
}

} // namespace braille::import
