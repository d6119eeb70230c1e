#pragma once
// Markup read into a pugixml tree: XHTML with pugixml, HTML with gumbo (a real HTML parser,
// never as XML), so one walker reads both.

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace braille::import {

// Markup bytes as UTF-8: `encoding` if given, else a byte order mark, the XML declaration's or a
// <meta> charset, valid UTF-8, and last CP932. Empty with `error` set when they cannot be read.
std::string markupAsUtf8(std::string_view bytes, const std::string& encoding, std::string& error, bool& ok);

// HTML through gumbo, copied into `doc`: elements with lower-case names, their attributes and
// text.
void parseHtml(const std::string& utf8, pugi::xml_document& doc);

// XHTML through pugixml; a document pugixml refuses, or one using HTML's named entities, goes
// through the HTML parser instead. Returns whether it did.
bool parseXhtml(const std::string& utf8, pugi::xml_document& doc);

// XML (package, container, Word parts) through pugixml, keeping white space between elements.
bool parseXml(const std::string& bytes, pugi::xml_document& doc);

// The element's name without a namespace prefix.
std::string_view localName(const pugi::xml_node& node);

} // namespace braille::import
