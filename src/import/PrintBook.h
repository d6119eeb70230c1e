#pragma once
// A print book read from a file, as plain data: the paragraphs of its cover, body and colophon,
// with the readings (ruby) given to their words and the print pages they begin. importPrintBook
// reads one from plain text, Aozora Bunko text, EPUB, DOCX or HTML; turning it into a braille
// book is another library's work.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace braille {

// A reading given to part of a paragraph's text: the base is text[begin, end), in UTF-16 units.
struct RubySpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::u16string reading; // kana as the source gives it, hiragana or katakana
    bool operator==(const RubySpan&) const = default;
};

// One paragraph of print: body text or a heading, trimmed of the blanks at both ends.
struct PrintParagraph {
    enum Kind { Body, Heading };
    Kind kind = Body;
    int level = 0; // 1..6 for a heading, 0 for body text
    std::u16string text;
    std::vector<RubySpan> ruby; // in text order, not overlapping, never empty bases
    std::u16string pageLabel;   // the print page that begins at this paragraph, if any (u"12")
};

// What the import found and what it left out, for the user to see.
struct ImportReport {
    std::size_t paragraphs = 0; // in cover, body and colophon, headings included
    std::size_t headings = 0;
    std::size_t pages = 0; // paragraphs that begin a print page
    std::size_t rubySpans = 0;
    std::size_t droppedAnnotations = 0; // notation or markup whose meaning is not kept
    std::size_t imagesWithoutAlt = 0;
    std::vector<std::string> notes; // UTF-8 sentences, each said once
};

struct PrintBook {
    enum class Source { PlainText, AozoraText, Epub, Docx, Html };
    Source source = Source::PlainText;
    std::u16string title;
    std::u16string author;
    std::vector<PrintParagraph> cover;    // title, author and the like before the text
    std::vector<PrintParagraph> body;
    std::vector<PrintParagraph> colophon; // the bibliographic block after the text
    ImportReport report;
};

struct ImportOptions {
    std::string encoding; // for text and HTML: an iconv name such as "CP932"; empty = detect
};

struct ImportResult {
    std::optional<PrintBook> book;
    std::string error; // one line, naming the file, when there is no book
};

// Reads `file`, choosing the reader by its content and its extension. Never throws.
ImportResult importPrintBook(const std::filesystem::path& file, const ImportOptions& options = {});

} // namespace braille
