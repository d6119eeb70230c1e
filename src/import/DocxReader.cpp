// DOCX (Office Open XML): word/document.xml's paragraphs and tables in order, headings from the
// outline level or from the paragraph style (resolved through word/styles.xml), ruby from
// w:ruby, footnotes from word/footnotes.xml after the body, and the title and author from the
// document properties.

#include "HtmlParsing.h"
#include "ParagraphBuilder.h"
#include "Readers.h"
#include "Utf.h"
#include "ZipArchive.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace braille::import {

namespace {

constexpr int kMaxDepth = 256;

struct Style {
    std::string name;
    std::string basedOn;
    int outlineLevel = -1; // 0-based as Word writes it; -1 when not set
};

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// "Heading3" or "heading 3": 3; anything else 0.
int headingNumber(const std::string& name)
{
    std::string s = lower(name);
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    if (s.rfind("heading", 0) != 0 || s.size() == 7)
        return 0;
    int level = 0;
    for (std::size_t i = 7; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return 0;
        level = level * 10 + (s[i] - '0');
    }
    return level >= 1 && level <= 9 ? level : 0;
}

pugi::xml_node child(const pugi::xml_node& node, std::string_view name)
{
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && localName(c) == name)
            return c;
    return {};
}

const char* val(const pugi::xml_node& node)
{
    for (pugi::xml_attribute a : node.attributes())
        if (std::string_view(a.name()) == "w:val" || std::string_view(a.name()) == "val")
            return a.value();
    return "";
}

class DocxWalker {
public:
    DocxWalker(std::vector<PrintParagraph>& out, ImportReport& report, const std::map<std::string, Style>& styles)
        : m_out(out), m_builder(out, report), m_report(report), m_styles(styles)
    {
    }

    // Footnote ids in the order the body refers to them, each with its number.
    std::vector<std::string> footnoteOrder;

    void blockContent(const pugi::xml_node& node, int depth)
    {
        if (depth > kMaxDepth)
            return;
        for (pugi::xml_node c : node.children()) {
            const std::string_view name = localName(c);
            if (name == "p")
                paragraph(c, {});
            else if (name == "tbl")
                table(c, depth + 1);
            else if (name == "sdt")
                blockContent(child(c, "sdtContent"), depth + 1);
            else if (name == "customXml" || name == "ins" || name == "smartTag")
                blockContent(c, depth + 1);
        }
    }

    // A paragraph; `prefix` opens it (a footnote's number) when it has text.
    void paragraph(const pugi::xml_node& p, std::u16string_view prefix)
    {
        const int level = headingLevel(p);
        const std::size_t before = m_out.size();
        inlineContent(p, 0);
        m_builder.endParagraph(level ? PrintParagraph::Heading : PrintParagraph::Body, level);
        if (prefix.empty() || m_out.size() == before)
            return;
        PrintParagraph& made = m_out.back();
        made.text.insert(0, prefix);
        for (RubySpan& span : made.ruby) {
            span.begin += prefix.size();
            span.end += prefix.size();
        }
    }

    void finish() { m_builder.finish(); }
    ParagraphBuilder& builder() { return m_builder; }

private:
    int headingLevel(const pugi::xml_node& p) const
    {
        const pugi::xml_node pPr = child(p, "pPr");
        if (pugi::xml_node outline = child(pPr, "outlineLvl")) {
            const int level = std::atoi(val(outline));
            return level >= 0 && level < 9 ? std::min(level + 1, 6) : 0;
        }
        return styleLevel(val(child(pPr, "pStyle")));
    }

    int styleLevel(std::string id) const
    {
        for (int hops = 0; hops < 16 && !id.empty(); ++hops) {
            const auto found = m_styles.find(id);
            if (found == m_styles.end())
                return std::min(headingNumber(id), 6);
            const Style& style = found->second;
            if (style.outlineLevel >= 0)
                return style.outlineLevel < 9 ? std::min(style.outlineLevel + 1, 6) : 0;
            if (const int n = headingNumber(id) ? headingNumber(id) : headingNumber(style.name))
                return std::min(n, 6);
            id = style.basedOn;
        }
        return 0;
    }

    void inlineContent(const pugi::xml_node& node, int depth)
    {
        if (depth > kMaxDepth)
            return;
        for (pugi::xml_node c : node.children()) {
            const std::string_view name = localName(c);
            if (name == "r")
                run(c);
            else if (name == "ruby")
                ruby(c);
            else if (name == "hyperlink" || name == "ins" || name == "smartTag" || name == "fldSimple" ||
                     name == "customXml" || name == "moveTo" || name == "bdo" || name == "dir")
                inlineContent(c, depth + 1);
            else if (name == "sdt")
                inlineContent(child(c, "sdtContent"), depth + 1);
        }
    }

    void run(const pugi::xml_node& r)
    {
        for (pugi::xml_node c : r.children()) {
            const std::string_view name = localName(c);
            if (name == "t")
                m_builder.addText(fromUtf8(c.text().get()));
            else if (name == "tab" || name == "br" || name == "cr")
                m_builder.addText(u" ");
            else if (name == "noBreakHyphen")
                m_builder.addText(u"-");
            else if (name == "footnoteReference")
                footnoteReference(c.attribute("w:id").value());
            else if (name == "drawing" || name == "pict" || name == "AlternateContent")
                drawing(c);
        }
    }

    void footnoteReference(const std::string& id)
    {
        footnoteOrder.push_back(id);
        m_builder.addText(u"（注" + fromUtf8(std::to_string(footnoteOrder.size())) + u"）");
    }

    // Pictures become their description; text boxes inside drawings are not read.
    void drawing(const pugi::xml_node& node)
    {
        if (node.find_node([](const pugi::xml_node& n) { return localName(n) == "txbxContent"; }))
            noteOnce(m_report, "Text boxes in drawings were not read.");
        const pugi::xml_node docPr = node.find_node([](const pugi::xml_node& n) { return localName(n) == "docPr"; });
        const pugi::xml_node shape = node.find_node([](const pugi::xml_node& n) {
            return localName(n) == "imagedata" || localName(n) == "shape";
        });
        if (!docPr && !shape)
            return;
        std::string alt = docPr ? docPr.attribute("descr").value() : "";
        if (alt.empty() && shape)
            alt = shape.attribute("alt").value();
        const std::u16string text = trimmedUtf8(alt.c_str());
        if (text.empty())
            ++m_report.imagesWithoutAlt;
        else
            m_builder.addText(text);
    }

    void ruby(const pugi::xml_node& node)
    {
        const std::size_t begin = m_builder.position();
        inlineContent(child(node, "rubyBase"), 1);
        std::vector<PrintParagraph> scratch;
        ImportReport ignored;
        DocxWalker reading(scratch, ignored, m_styles);
        reading.inlineContent(child(node, "rt"), 1);
        reading.builder().endParagraph();
        m_builder.addRuby(begin, scratch.empty() ? std::u16string() : scratch.front().text);
    }

    // A row is a paragraph: its cells' text joined with a blank.
    void table(const pugi::xml_node& tbl, int depth)
    {
        for (pugi::xml_node tr : tbl.children()) {
            if (localName(tr) != "tr")
                continue;
            bool first = true;
            for (pugi::xml_node tc : tr.children()) {
                if (localName(tc) != "tc")
                    continue;
                if (!first)
                    m_builder.addText(u" ");
                first = false;
                cell(tc, depth + 1);
            }
            m_builder.endParagraph();
        }
    }

    void cell(const pugi::xml_node& tc, int depth)
    {
        if (depth > kMaxDepth)
            return;
        bool first = true;
        for (pugi::xml_node c : tc.children()) {
            const std::string_view name = localName(c);
            if (name == "p") {
                if (!first)
                    m_builder.addText(u" ");
                first = false;
                inlineContent(c, 0);
            } else if (name == "tbl") {
                for (pugi::xml_node tr : c.children())
                    for (pugi::xml_node inner : tr.children())
                        if (localName(inner) == "tc") {
                            m_builder.addText(u" ");
                            cell(inner, depth + 1);
                        }
            }
        }
    }

    std::vector<PrintParagraph>& m_out;
    ParagraphBuilder m_builder;
    ImportReport& m_report;
    const std::map<std::string, Style>& m_styles;
};

std::map<std::string, Style> readStyles(const pugi::xml_document& doc)
{
    std::map<std::string, Style> styles;
    for (pugi::xpath_node found : doc.select_nodes("//*[local-name()='style']")) {
        const pugi::xml_node node = found.node();
        Style style;
        style.name = val(child(node, "name"));
        style.basedOn = val(child(node, "basedOn"));
        if (pugi::xml_node outline = child(child(node, "pPr"), "outlineLvl"))
            style.outlineLevel = std::atoi(val(outline));
        styles[node.attribute("w:styleId").value()] = style;
    }
    return styles;
}

} // namespace

std::string readDocx(ZipArchive& zip, PrintBook& book)
{
    book.source = PrintBook::Source::Docx;
    std::string error;
    const auto document = zip.read("word/document.xml", error);
    if (!document)
        return error + ": it is not a Word document";
    pugi::xml_document documentDoc;
    if (!parseXml(*document, documentDoc))
        return "its word/document.xml is not well-formed XML";

    std::map<std::string, Style> styles;
    if (zip.contains("word/styles.xml")) {
        const auto bytes = zip.read("word/styles.xml", error);
        pugi::xml_document stylesDoc;
        if (bytes && parseXml(*bytes, stylesDoc))
            styles = readStyles(stylesDoc);
        else
            noteOnce(book.report, "The styles could not be read; headings are known only by their outline level.");
    }

    const pugi::xml_node body =
        documentDoc.find_node([](const pugi::xml_node& n) { return n.type() == pugi::node_element && localName(n) == "body"; });
    DocxWalker walker(book.body, book.report, styles);
    walker.blockContent(body, 0);

    if (zip.contains("word/footnotes.xml") && !walker.footnoteOrder.empty()) {
        const auto bytes = zip.read("word/footnotes.xml", error);
        pugi::xml_document notesDoc;
        if (!bytes || !parseXml(*bytes, notesDoc))
            return "its word/footnotes.xml cannot be read";
        std::map<std::string, pugi::xml_node> notes;
        for (pugi::xpath_node found : notesDoc.select_nodes("//*[local-name()='footnote']")) {
            const std::string type = found.node().attribute("w:type").value();
            if (type.empty() || type == "normal")
                notes[found.node().attribute("w:id").value()] = found.node();
        }
        const std::vector<std::string> order = walker.footnoteOrder;
        for (std::size_t k = 0; k < order.size(); ++k) {
            const auto note = notes.find(order[k]);
            if (note == notes.end())
                continue;
            std::u16string prefix = u"注" + fromUtf8(std::to_string(k + 1)) + u"\u3000";
            for (pugi::xml_node p : note->second.children()) {
                if (localName(p) != "p")
                    continue;
                walker.paragraph(p, prefix);
                prefix.clear();
            }
        }
    }
    walker.finish();

    if (zip.contains("docProps/core.xml")) {
        const auto bytes = zip.read("docProps/core.xml", error);
        pugi::xml_document core;
        if (bytes && parseXml(*bytes, core)) {
            auto named = [&](std::string_view name) {
                return core.find_node([&](const pugi::xml_node& n) { return localName(n) == name; }).text().get();
            };
            setTitleAndAuthor(book, fromUtf8(named("title")), fromUtf8(named("creator")));
        }
    }
    if (book.title.empty())
        for (const PrintParagraph& p : book.body)
            if (p.kind == PrintParagraph::Heading && p.level == 1) {
                book.title = p.text;
                break;
            }
    return {};
}

} // namespace braille::import
