#pragma once
// Reads the body of an (X)HTML document, EPUB's chapters and HTML pages alike, into paragraphs:
// h1…h6 are headings, leaf blocks (p, div, li, …) and table rows are paragraphs, <ruby> gives
// readings, page-break markers label the next paragraph, images become their alt text.

#include "ParagraphBuilder.h"

#include <pugixml.hpp>

#include <map>
#include <string>

namespace braille::import {

class MarkupWalker {
public:
    MarkupWalker(std::vector<PrintParagraph>& out, ImportReport& report);

    // Elements whose id is a key here begin the print page named by the value (an EPUB's page
    // list pointing into this document).
    void setPageTargets(const std::map<std::string, std::u16string>* targets) { m_pageTargets = targets; }
    // Reads the document's <body> (or the whole document when it has none).
    void walkDocument(const pugi::xml_document& doc);
    void finish() { m_builder.finish(); }

    // The text of the first h1 met, and of <title>, for the book's title.
    const std::u16string& firstH1() const { return m_firstH1; }
    const std::u16string& documentTitle() const { return m_title; }

private:
    void walk(const pugi::xml_node& node, int depth);
    void element(const pugi::xml_node& node, int depth);
    void ruby(const pugi::xml_node& node, int depth);
    void image(const pugi::xml_node& node);
    void row(const pugi::xml_node& node, int depth);
    void endParagraph();

    ParagraphBuilder m_builder;
    ImportReport& m_report;
    const std::map<std::string, std::u16string>* m_pageTargets = nullptr;
    int m_heading = 0;   // the level of the heading being read
    bool m_inRow = false; // inside a table row, blocks do not end the paragraph
    std::u16string m_firstH1;
    std::u16string m_title;
};

// The element's text with runs of white space as one blank, trimmed.
std::u16string collapsedText(const pugi::xml_node& node);
// Whether the element is a print page-break marker (epub:type="pagebreak", role="doc-pagebreak").
bool isPageBreak(const pugi::xml_node& node);
// The page-break marker's label: its title, else its aria-label, else its text.
std::u16string pageBreakLabel(const pugi::xml_node& node);

} // namespace braille::import
