#include "HtmlParsing.h"

#include "TextDecoding.h"
#include "Utf.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>

namespace braille::import {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

// The charset an XML declaration or a <meta> names near the start, if any.
std::string declaredCharset(std::string_view bytes)
{
    const std::string head = lower(bytes.substr(0, 2048));
    for (const char* key : {"encoding=", "charset="}) {
        std::size_t at = head.find(key);
        if (at == std::string::npos)
            continue;
        at += std::char_traits<char>::length(key);
        while (at < head.size() && (head[at] == '"' || head[at] == '\'' || head[at] == ' '))
            ++at;
        std::size_t end = at;
        while (end < head.size() && (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' ||
                                     head[end] == '_' || head[end] == '.' || head[end] == ':'))
            ++end;
        if (end > at)
            return head.substr(at, end - at);
    }
    return {};
}

bool usesHtmlEntities(std::string_view utf8)
{
    for (std::size_t at = utf8.find('&'); at != std::string_view::npos; at = utf8.find('&', at + 1)) {
        std::size_t end = at + 1;
        while (end < utf8.size() && std::isalnum(static_cast<unsigned char>(utf8[end])))
            ++end;
        if (end == at + 1 || end >= utf8.size() || utf8[end] != ';' || !std::isalpha(static_cast<unsigned char>(utf8[at + 1])))
            continue;
        const std::string_view name = utf8.substr(at + 1, end - at - 1);
        if (name != "lt" && name != "gt" && name != "amp" && name != "apos" && name != "quot")
            return true;
    }
    return false;
}

std::string gumboTagName(const GumboElement& element)
{
    if (element.tag != GUMBO_TAG_UNKNOWN)
        return gumbo_normalized_tagname(element.tag);
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    std::string name = lower(std::string_view(piece.data, piece.length));
    // A name pugixml could not hold becomes a plain span.
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](unsigned char c) {
            return std::isalnum(c) || c == '-' || c == '_' || c == ':' || c == '.';
        }))
        return "span";
    return name;
}

constexpr int kMaxDepth = 512;

void copyNode(const GumboNode* node, pugi::xml_node parent, int depth)
{
    switch (node->type) {
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
        parent.append_child(pugi::node_pcdata).set_value(node->v.text.text);
        return;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
        if (depth > kMaxDepth)
            return;
        const GumboElement& element = node->v.element;
        pugi::xml_node copy = parent.append_child(gumboTagName(element).c_str());
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            copy.append_attribute(attribute->name).set_value(attribute->value);
        }
        for (unsigned i = 0; i < element.children.length; ++i)
            copyNode(static_cast<const GumboNode*>(element.children.data[i]), copy, depth + 1);
        return;
    }
    default:
        return;
    }
}

} // namespace

std::string markupAsUtf8(std::string_view bytes, const std::string& encoding, std::string& error, bool& ok)
{
    std::string name = encoding;
    const bool hasBom = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                              (bytes[0] == '\xFE' && bytes[1] == '\xFF') ||
                                              (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF"));
    if (name.empty() && !hasBom) {
        name = declaredCharset(bytes);
        // A UTF-16 declaration without a byte order mark is taken as detection's to settle.
        if (name.rfind("utf-16", 0) == 0)
            name.clear();
        if (name == "shift_jis" || name == "x-sjis" || name == "shift-jis" || name == "sjis" || name == "windows-31j")
            name = "CP932";
    }
    DecodedText decoded = decodeText(bytes, name);
    // A charset label this system does not know is passed over, as browsers do.
    if (!decoded.ok && encoding.empty() && !name.empty() && decoded.error.find("not one this system knows") != std::string::npos)
        decoded = decodeText(bytes, {});
    ok = decoded.ok;
    if (!ok) {
        error = decoded.error;
        return {};
    }
    return toUtf8(decoded.text);
}

void parseHtml(const std::string& utf8, pugi::xml_document& doc)
{
    doc.reset();
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.data(), utf8.size());
    if (output->root)
        copyNode(output->root, doc, 0);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
}

bool parseXhtml(const std::string& utf8, pugi::xml_document& doc)
{
    if (!usesHtmlEntities(utf8)) {
        const pugi::xml_parse_result parsed =
            doc.load_buffer(utf8.data(), utf8.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
        if (parsed)
            return false;
    }
    parseHtml(utf8, doc);
    return true;
}

bool parseXml(const std::string& bytes, pugi::xml_document& doc)
{
    return doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata);
}

std::string_view localName(const pugi::xml_node& node)
{
    std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

} // namespace braille::import
