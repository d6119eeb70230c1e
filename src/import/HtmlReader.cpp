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
    PrintParagraph authorText;
    authorText.text = fromUtf8(author.attribute("content").value());
    trimParagraph(authorText);
    book.author = authorText.text;
    if (!walker.firstH1().empty()) {
        book.title = walker.firstH1();
    } else if (!walker.documentTitle().empty()) {
        // The title is in no heading of the page, so the cover carries it.
        book.title = walker.documentTitle();
        PrintParagraph title;
        title.text = book.title;
        book.cover.push_back(std::move(title));
    }
    if (!authorText.text.empty())
        book.cover.push_back(std::move(authorText));
    return {};
}

} // namespace braille::import
