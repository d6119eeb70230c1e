#pragma once
// Helpers for the BML tests: reading and writing documents through real files, the line width
// set for one test, and a text dump of a whole document.

#include "BrailleDocument.h"
#include "BmlReader.h"
#include "PageLayout.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace braille::test {

// Sets the line width for the life of the object.
class ColumnsGuard {
public:
    explicit ColumnsGuard(std::uint32_t columns) : m_saved(pageLayout().ColumnNumber)
    {
        pageLayout().ColumnNumber = columns;
    }
    ~ColumnsGuard() { pageLayout().ColumnNumber = m_saved; }
    ColumnsGuard(const ColumnsGuard&) = delete;
    ColumnsGuard& operator=(const ColumnsGuard&) = delete;

private:
    std::uint32_t m_saved;
};

// Reads a file with all read steps; `steps` counts the steps that returned a paragraph.
std::unique_ptr<BrailleDocument> readBmlFile(const std::filesystem::path& path, int* steps = nullptr,
                                             ReadWindow window = {});
// Reads BML given as bytes.
std::unique_ptr<BrailleDocument> readBmlBytes(std::string_view bytes, int* steps = nullptr, ReadWindow window = {});
// The bytes the writer produces for the document (empty when writing failed).
std::string writtenBytes(BrailleDocument& document, const std::vector<std::u16string>* labels = nullptr);

// Every section as "== name" followed by its rows in the notation of dumpRows.
std::string dumpDocument(BrailleDocument& document);

// The Part's fixed layout around the given section contents (each a run of lines with CR LF).
std::string bmlFile(bool labelled, std::string_view cover, std::string_view contents, std::string_view body,
                    std::string_view colophon);

} // namespace braille::test
