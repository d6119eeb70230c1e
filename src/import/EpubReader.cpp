// EPUB 2 and 3: the container names the package, whose spine lists the chapters in reading order;
// the package's metadata gives the title and author, the navigation document's page list (or
// the NCX's) and the chapters' page-break markers give the print pages.

#include "HtmlParsing.h"
#include "MarkupWalker.h"
#include "Readers.h"
#include "Utf.h"
#include "ZipArchive.h"

#include <map>
#include <set>

namespace braille::import {

namespace {

struct ManifestItem {
    std::string path; // inside the archive
    std::string mediaType;
    std::string properties;
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// `href` relative to the folder `base` (ending in '/'), as a path inside the archive without
// its fragment.
std::string resolve(const std::string& base, std::string_view href, std::string* fragment = nullptr)
{
    const std::size_t hash = href.find('#');
    if (fragment)
        *fragment = hash == std::string_view::npos ? std::string() : percentDecoded(href.substr(hash + 1));
    const std::string joined = base + percentDecoded(href.substr(0, hash));
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = joined.find('/', start);
        const std::string part = joined.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    std::string out;
    for (const std::string& part : parts)
        out += (out.empty() ? "" : "/") + part;
    return out;
}

bool isContentDocument(const std::string& path, const std::string& mediaType)
{
    if (mediaType == "application/xhtml+xml" || mediaType == "text/html")
        return true;
    for (const char* ext : {".xhtml", ".html", ".htm"})
        if (path.size() > std::char_traits<char>::length(ext) &&
            path.compare(path.size() - std::char_traits<char>::length(ext), std::string::npos, ext) == 0)
            return true;
    return false;
}

// The first descendant element with the local name `name`.
pugi::xml_node findElement(const pugi::xml_node& node, std::string_view name)
{
    return node.find_node([&](const pugi::xml_node& n) { return n.type() == pugi::node_element && localName(n) == name; });
}

using PageTargets = std::map<std::string, std::map<std::string, std::u16string>>;

// EPUB 3's page list: <nav epub:type="page-list"> with links to the page starts.
void readNavPageList(const pugi::xml_document& nav, const std::string& navPath, PageTargets& targets)
{
    const std::string base = folderOf(navPath);
    for (pugi::xpath_node found : nav.select_nodes("//*[local-name()='nav']")) {
        pugi::xml_node list = found.node();
        bool isPageList = false;
        for (pugi::xml_attribute a : list.attributes())
            if (std::string_view(a.name()).ends_with("type") && std::string_view(a.value()).find("page-list") != std::string_view::npos)
                isPageList = true;
        if (!isPageList)
            continue;
        for (pugi::xpath_node link : list.select_nodes(".//*[local-name()='a']")) {
            std::string fragment;
            const std::string path = resolve(base, link.node().attribute("href").value(), &fragment);
            const std::u16string label = collapsedText(link.node());
            if (!fragment.empty() && !label.empty())
                targets[path][fragment] = label;
        }
    }
}

// EPUB 2's page list in the NCX: <pageTarget> with <navLabel><text> and <content src>.
void readNcxPageList(const pugi::xml_document& ncx, const std::string& ncxPath, PageTargets& targets)
{
    const std::string base = folderOf(ncxPath);
    for (pugi::xpath_node found : ncx.select_nodes("//*[local-name()='pageTarget']")) {
        pugi::xml_node target = found.node();
        std::string fragment;
        const std::string path = resolve(base, findElement(target, "content").attribute("src").value(), &fragment);
        const std::u16string label = trimmedUtf8(findElement(findElement(target, "navLabel"), "text").text().get());
        if (!fragment.empty() && !label.empty())
            targets[path][fragment] = label;
    }
}

} // namespace

std::string readEpub(ZipArchive& zip, PrintBook& book)
{
    book.source = PrintBook::Source::Epub;
    std::string error;
    const auto container = zip.read("META-INF/container.xml", error);
    if (!container)
        return error + ": it is not an EPUB";
    pugi::xml_document containerDoc;
    if (!parseXml(*container, containerDoc))
        return "its META-INF/container.xml is not well-formed XML";
    std::string opfPath;
    for (pugi::xpath_node found : containerDoc.select_nodes("//*[local-name()='rootfile']")) {
        const std::string mediaType = found.node().attribute("media-type").value();
        if (opfPath.empty() || mediaType == "application/oebps-package+xml")
            opfPath = percentDecoded(found.node().attribute("full-path").value());
        if (mediaType == "application/oebps-package+xml")
            break;
    }
    if (opfPath.empty())
        return "its META-INF/container.xml names no package document";
    const auto opf = zip.read(opfPath, error);
    if (!opf)
        return error;
    pugi::xml_document package;
    if (!parseXml(*opf, package))
        return "its package document " + opfPath + " is not well-formed XML";

    const std::string opfBase = folderOf(opfPath);
    std::map<std::string, ManifestItem> manifest;
    for (pugi::xpath_node found : package.select_nodes("//*[local-name()='manifest']/*[local-name()='item']")) {
        const pugi::xml_node item = found.node();
        manifest[item.attribute("id").value()] = {resolve(opfBase, item.attribute("href").value()),
                                                  item.attribute("media-type").value(),
                                                  item.attribute("properties").value()};
    }

    // Encrypted fonts (obfuscation) are fine; encrypted chapters are DRM and cannot be read.
    if (zip.contains("META-INF/encryption.xml")) {
        const auto encryption = zip.read("META-INF/encryption.xml", error);
        pugi::xml_document encryptionDoc;
        if (!encryption || !parseXml(*encryption, encryptionDoc))
            return "its META-INF/encryption.xml cannot be read, so whether its text is encrypted is unknown";
        std::set<std::string> content;
        for (const auto& [id, item] : manifest)
            if (isContentDocument(item.path, item.mediaType) || item.path == opfPath)
                content.insert(item.path);
        for (pugi::xpath_node found : encryptionDoc.select_nodes("//*[local-name()='CipherReference']")) {
            const std::string path = resolve("", found.node().attribute("URI").value());
            if (content.count(path) || isContentDocument(path, {}))
                return "it is protected by DRM (its chapters are encrypted) and cannot be read";
        }
    }

    if (pugi::xml_node metadata = findElement(package, "metadata"))
        setTitleAndAuthor(book, fromUtf8(findElement(metadata, "title").text().get()),
                          fromUtf8(findElement(metadata, "creator").text().get()));

    PageTargets pageTargets;
    std::string navPath;
    for (const auto& [id, item] : manifest) {
        if (item.properties.find("nav") == std::string::npos)
            continue;
        navPath = item.path;
        std::string navError;
        if (const auto nav = zip.read(item.path, navError)) {
            bool ok = false;
            const std::string utf8 = markupAsUtf8(*nav, {}, navError, ok);
            pugi::xml_document navDoc;
            if (ok && !parseXhtml(utf8, navDoc))
                readNavPageList(navDoc, item.path, pageTargets);
        }
    }
    const pugi::xml_node spine = findElement(package, "spine");
    if (pageTargets.empty()) {
        auto ncx = manifest.find(spine.attribute("toc").value());
        if (ncx != manifest.end()) {
            std::string ncxError;
            pugi::xml_document ncxDoc;
            if (const auto bytes = zip.read(ncx->second.path, ncxError); bytes && parseXml(*bytes, ncxDoc))
                readNcxPageList(ncxDoc, ncx->second.path, pageTargets);
        }
    }

    MarkupWalker walker(book.body, book.report);
    std::size_t chapters = 0;
    for (pugi::xml_node itemref : spine.children()) {
        if (localName(itemref) != "itemref")
            continue;
        const auto found = manifest.find(itemref.attribute("idref").value());
        if (found == manifest.end())
            return std::string("its spine names an item its manifest lacks (") + itemref.attribute("idref").value() + ")";
        const ManifestItem& item = found->second;
        if (item.path == navPath) {
            noteOnce(book.report, "The EPUB's navigation document (its table of contents) was not read as text.");
            continue;
        }
        if (item.mediaType.rfind("image/", 0) == 0) {
            ++book.report.imagesWithoutAlt;
            continue;
        }
        if (!isContentDocument(item.path, item.mediaType)) {
            noteOnce(book.report, "Spine items that are not XHTML were skipped.");
            continue;
        }
        const auto bytes = zip.read(item.path, error);
        if (!bytes)
            return error;
        bool ok = false;
        const std::string utf8 = markupAsUtf8(*bytes, {}, error, ok);
        if (!ok)
            return item.path + ": " + error;
        pugi::xml_document doc;
        if (parseXhtml(utf8, doc))
            noteOnce(book.report, "Chapters that are not well-formed XHTML were read as HTML.");
        auto targets = pageTargets.find(item.path);
        walker.setPageTargets(targets == pageTargets.end() ? nullptr : &targets->second);
        walker.walkDocument(doc);
        ++chapters;
    }
    walker.finish();
    if (chapters == 0)
        return "its spine lists no chapters";
    return {};
}

} // namespace braille::import
