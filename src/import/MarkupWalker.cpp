#include "MarkupWalker.h"

#include "HtmlParsing.h"
#include "Utf.h"

#include <array>
#include <sstream>

namespace braille::import {

namespace {

constexpr int kMaxDepth = 512;

bool hasToken(const char* list, std::string_view token)
{
    std::istringstream words{std::string(list)};
    std::string word;
    while (words >> word)
        if (word == token)
            return true;
    return false;
}

bool isBlock(std::string_view name)
{
    static constexpr std::array<std::string_view, 33> kBlocks{
        "p",      "div",     "li",     "ul",      "ol",     "dl",         "dt",     "dd",      "blockquote",
        "section", "article", "aside", "header",  "footer", "nav",        "main",   "figure",  "figcaption",
        "table",  "thead",   "tbody",  "tfoot",   "caption", "pre",       "address", "hr",     "hgroup",
        "details", "summary", "body",  "center",  "form",   "fieldset"};
    for (std::string_view block : kBlocks)
        if (name == block)
            return true;
    return false;
}

bool isSkipped(std::string_view name)
{
    return name == "head" || name == "script" || name == "style" || name == "template" || name == "noscript" ||
           name == "rp" || name == "title" || name == "meta" || name == "link";
}

int headingLevel(std::string_view name)
{
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6')
        return name[1] - '0';
    return 0;
}

pugi::xml_attribute epubType(const pugi::xml_node& node)
{
    for (pugi::xml_attribute a : node.attributes()) {
        std::string_view name = a.name();
        if (name == "epub:type" || (name.size() > 5 && name.substr(name.size() - 5) == ":type"))
            return a;
    }
    return {};
}

void appendCollapsed(const pugi::xml_node& node, ParagraphBuilder& into, int depth)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            into.addMarkupText(fromUtf8(child.value()));
        else if (child.type() == pugi::node_element && depth < kMaxDepth && localName(child) != "rp")
            appendCollapsed(child, into, depth + 1);
    }
}

} // namespace

std::u16string collapsedText(const pugi::xml_node& node)
{
    std::vector<PrintParagraph> out;
    ImportReport scratch;
    ParagraphBuilder builder(out, scratch);
    appendCollapsed(node, builder, 0);
    builder.endParagraph();
    return out.empty() ? std::u16string() : out.front().text;
}

bool isPageBreak(const pugi::xml_node& node)
{
    const pugi::xml_attribute type = epubType(node);
    if (type && hasToken(type.value(), "pagebreak"))
        return true;
    const pugi::xml_attribute role = node.attribute("role");
    return role && hasToken(role.value(), "doc-pagebreak");
}

std::u16string pageBreakLabel(const pugi::xml_node& node)
{
    for (const char* name : {"title", "aria-label"})
        if (std::u16string label = trimmedUtf8(node.attribute(name).value()); !label.empty())
            return label;
    return collapsedText(node);
}

MarkupWalker::MarkupWalker(std::vector<PrintParagraph>& out, ImportReport& report)
    : m_builder(out, report), m_report(report)
{
}

void MarkupWalker::walkDocument(const pugi::xml_document& doc)
{
    pugi::xml_node html = doc.document_element();
    for (pugi::xml_node node : html.children())
        if (localName(node) == "head")
            for (pugi::xml_node t : node.children())
                if (localName(t) == "title" && m_title.empty())
                    m_title = collapsedText(t);
    pugi::xml_node body;
    for (pugi::xml_node node : html.children())
        if (localName(node) == "body")
            body = node;
    walk(body ? body : pugi::xml_node(html), 0);
    endParagraph();
}

void MarkupWalker::endParagraph()
{
    m_builder.endParagraph(m_heading ? PrintParagraph::Heading : PrintParagraph::Body, m_heading);
}

void MarkupWalker::walk(const pugi::xml_node& node, int depth)
{
    if (depth > kMaxDepth) {
        noteOnce(m_report, "Markup nested too deeply was not read.");
        return;
    }
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            m_builder.addMarkupText(fromUtf8(child.value()));
        else if (child.type() == pugi::node_element)
            element(child, depth + 1);
    }
}

void MarkupWalker::element(const pugi::xml_node& node, int depth)
{
    const std::string_view name = localName(node);
    if (isSkipped(name) || node.attribute("hidden"))
        return;
    if (isPageBreak(node)) {
        m_builder.pageBreak(pageBreakLabel(node));
        return;
    }
    if (m_pageTargets) {
        if (const char* id = node.attribute("id").value(); *id) {
            auto found = m_pageTargets->find(id);
            if (found != m_pageTargets->end())
                m_builder.pageBreak(found->second);
        }
    }
    if (name == "ruby") {
        ruby(node, depth);
        return;
    }
    if (name == "img" || name == "image") {
        image(node);
        return;
    }
    if (name == "br") {
        if (m_heading || m_inRow)
            m_builder.addMarkupText(u" ");
        else
            endParagraph();
        return;
    }
    if (const int level = headingLevel(name); level > 0 && !m_heading && !m_inRow) {
        endParagraph();
        m_heading = level;
        walk(node, depth);
        if (level == 1 && m_firstH1.empty())
            m_firstH1 = collapsedText(node);
        endParagraph();
        m_heading = 0;
        return;
    }
    if (name == "tr" && !m_inRow && !m_heading) {
        row(node, depth);
        return;
    }
    if (isBlock(name) || headingLevel(name) > 0) {
        if (m_heading || m_inRow) {
            m_builder.addMarkupText(u" ");
            walk(node, depth);
            m_builder.addMarkupText(u" ");
        } else {
            endParagraph();
            walk(node, depth);
            endParagraph();
        }
        return;
    }
    walk(node, depth);
}

void MarkupWalker::ruby(const pugi::xml_node& node, int depth)
{
    std::size_t begin = m_builder.position();
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            m_builder.addMarkupText(fromUtf8(child.value()));
            continue;
        }
        if (child.type() != pugi::node_element)
            continue;
        const std::string_view name = localName(child);
        if (name == "rp")
            continue;
        if (name == "rt" || name == "rtc") {
            m_builder.addRuby(begin, collapsedText(child));
            begin = m_builder.position();
            continue;
        }
        element(child, depth + 1);
    }
}

void MarkupWalker::image(const pugi::xml_node& node)
{
    const std::u16string alt = trimmedUtf8(node.attribute("alt").value());
    if (alt.empty()) {
        ++m_report.imagesWithoutAlt;
        return;
    }
    m_builder.addMarkupText(u" ");
    m_builder.addMarkupText(alt);
    m_builder.addMarkupText(u" ");
}

void MarkupWalker::row(const pugi::xml_node& node, int depth)
{
    endParagraph();
    m_inRow = true;
    bool first = true;
    for (pugi::xml_node cell : node.children()) {
        const std::string_view name = localName(cell);
        if (name != "td" && name != "th")
            continue;
        if (!first)
            m_builder.addText(u" ");
        first = false;
        walk(cell, depth + 1);
    }
    m_inRow = false;
    endParagraph();
}

} // namespace braille::import
