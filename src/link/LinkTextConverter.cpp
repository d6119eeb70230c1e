#include "LinkTextConverter.h"

#include "AtomicSave.h"
#include "Utf.h"

#include <pugixml.hpp>

#include <sstream>

namespace braille {

namespace {

constexpr const char* kStartingText =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>"
    "<document><head><use orgpage=\"no\"/></head><body><line orgpage=\"\"/></body></document>";

bool isBrace(char16_t c) { return c == u'{' || c == u'}'; }

} // namespace

std::vector<LinkRecord> parseLinkText(std::u16string_view text)
{
    if (const std::size_t zero = text.find(u'\0'); zero != std::u16string_view::npos)
        text = text.substr(0, zero);

    // Commas outside braces separate records like line feeds; backquotes stand for tabs.
    std::u16string copy(text);
    bool insideBraces = false;
    for (char16_t& c : copy) {
        if (c == u'{' && !insideBraces)
            insideBraces = true;
        else if (c == u'}' && insideBraces)
            insideBraces = false;
        else if (c == u',' && !insideBraces)
            c = u'\n';
        else if (c == u'`')
            c = u'\t';
    }

    std::vector<LinkRecord> records;
    std::u16string_view rest(copy);
    while (!rest.empty()) {
        const std::size_t lf = rest.find(u'\n');
        std::u16string_view piece = rest.substr(0, lf);
        rest = lf == std::u16string_view::npos ? std::u16string_view() : rest.substr(lf + 1);

        while (!piece.empty() && isBrace(piece.front()))
            piece.remove_prefix(1);
        while (!piece.empty() && isBrace(piece.back()))
            piece.remove_suffix(1);
        const std::size_t tab1 = piece.find(u'\t');
        if (tab1 == std::u16string_view::npos)
            continue;
        const std::u16string_view mode = piece.substr(0, tab1);
        const std::u16string_view fields = piece.substr(tab1 + 1);
        const std::size_t tab2 = fields.find(u'\t');
        if (tab2 == std::u16string_view::npos)
            continue;
        const std::u16string_view nabcc = fields.substr(0, tab2);
        const std::u16string_view print = fields.substr(tab2 + 1);
        if (mode.empty() || nabcc.empty() || print.empty())
            continue;
        records.push_back({mode.front() == u'm', std::u16string(nabcc), std::u16string(print)});
    }
    return records;
}

LinkTextConverter::LinkTextConverter() = default;
LinkTextConverter::~LinkTextConverter() = default;

bool LinkTextConverter::convert(std::u16string_view text)
{
    m_count = 0;
    m_tree = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result parsed =
        m_tree->load_string(kStartingText, pugi::parse_default | pugi::parse_declaration);
    if (!parsed)
        return false;
    pugi::xml_node line = m_tree->select_node("/document/body/line").node();
    if (!line)
        return false;
    for (const LinkRecord& r : parseLinkText(text)) {
        pugi::xml_node c = line.append_child("char");
        c.append_attribute("mode") = r.math ? "math" : "text";
        c.append_attribute("nabcc") = toUtf8(r.nabcc).c_str();
        c.text().set(toUtf8(r.print).c_str());
        ++m_count;
    }
    return true;
}

std::string LinkTextConverter::serialize() const
{
    if (!m_tree)
        return {};
    std::ostringstream out;
    m_tree->save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

SaveResult LinkTextConverter::save(const std::filesystem::path& path, SaveKind kind) const
{
    if (!m_tree)
        return SaveResult::failure("nothing to save to " + path.string());
    return saveBytesAtomically(path, serialize(), kind);
}

} // namespace braille
