#pragma once
// Helpers the readers share: blanks, trimming a paragraph with its ruby, notes said once, and
// ParagraphBuilder, which gathers paragraphs a piece of text at a time.

#include "PrintBook.h"

#include <string_view>

namespace braille::import {

// ASCII white space, no-break space and the ideographic space.
bool isBlank(char16_t c);
// Characters as wide as a kanji: no blank is put between two of them when markup breaks a line.
bool isWide(char16_t c);

// Adds `note` to the report unless it is there already.
void noteOnce(ImportReport& report, const std::string& note);

// The text without the blanks at both ends (from UTF-8 markup attributes and the like).
std::u16string trimmed(std::u16string_view text);
std::u16string trimmedUtf8(const char* utf8);

// Sets the book's title and author from a file's metadata, and puts those given on its cover.
void setTitleAndAuthor(PrintBook& book, std::u16string title, std::u16string author);

// Trims the blanks at both ends, moves the readings with the text, narrows each reading's base
// to its text without blanks and drops readings whose base is empty.
void trimParagraph(PrintParagraph& paragraph);

// Gathers paragraphs into a list: text and readings are added as a reader walks its source, and
// ending a paragraph keeps it if it has text. A print page's label waits for the next paragraph
// with text.
class ParagraphBuilder {
public:
    ParagraphBuilder(std::vector<PrintParagraph>& out, ImportReport& report);

    void setTarget(std::vector<PrintParagraph>& out) { m_out = &out; }
    // Text from markup: a run of ASCII white space is one blank, and none is kept between wide
    // characters (a line broken inside Japanese text in the source).
    void addMarkupText(std::u16string_view text);
    // Text as the source has it.
    void addText(std::u16string_view text);
    // Where the next text goes, in the paragraph being built.
    std::size_t position() const { return m_current.text.size(); }
    // Gives `reading` to the text added since `begin`.
    void addRuby(std::size_t begin, std::u16string reading);
    // A print page begins here.
    void pageBreak(std::u16string label);
    void endParagraph(PrintParagraph::Kind kind = PrintParagraph::Body, int level = 0);
    bool hasText() const;
    // Ends the last paragraph; a page label with no paragraph after it is noted and dropped.
    void finish();

private:
    std::vector<PrintParagraph>* m_out;
    ImportReport& m_report;
    PrintParagraph m_current;
    std::u16string m_pendingPage;
    bool m_pendingBlank = false;
};

} // namespace braille::import
