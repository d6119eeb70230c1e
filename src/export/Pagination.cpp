#include "Pagination.h"

#include "BrailleDocumentRowIterator.h"
#include "CharacterDictionary.h"

#include <algorithm>

namespace braille {

namespace {

std::uint32_t rowsPerPage(std::uint32_t linesPerPage) { return linesPerPage > 2 ? linesPerPage - 1 : 1; }

bool sectionIsEmpty(const DocumentSection& section)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    for (const BrailleParagraph& p : section.paragraphs)
        for (const BrailleCharacter* e : *p.characters)
            if (e != d.endMarkerEntry())
                return false;
    return true;
}

void trimRight(std::string& line)
{
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
}

std::string digitsOf(std::u16string_view label)
{
    std::string digits;
    for (char16_t c : label) {
        if (c >= u'0' && c <= u'9')
            digits.push_back(char(c));
        else if (c >= u'０' && c <= u'９')
            digits.push_back(char('0' + (c - u'０')));
    }
    return digits;
}

std::string pageLine(std::uint32_t number, const std::u16string& label, std::uint32_t columns)
{
    const std::string right = brailleNumber(std::to_string(number));
    std::string line(columns > right.size() ? columns - right.size() : 0, ' ');
    const std::string digits = digitsOf(label);
    if (!digits.empty()) {
        // The original page at the start; it never reaches into the page number.
        const std::string left = brailleNumber(digits);
        if (left.size() + 1 <= line.size())
            line.replace(0, left.size(), left);
    }
    line += right;
    trimRight(line);
    return line;
}

} // namespace

std::string brailleNumber(std::string_view digits)
{
    std::string cells = "#";
    for (char c : digits)
        if (c >= '0' && c <= '9')
            cells.push_back(c == '0' ? 'J' : char('A' + (c - '1')));
    return cells;
}

std::string layoutProblem(const PageLayout& layout)
{
    if (layout.LineNumber < 2)
        return "a page needs at least 2 lines (the page line and a row), not " + std::to_string(layout.LineNumber);
    if (layout.ColumnNumber < 2)
        return "a line needs at least 2 cells (the page number #A), not " + std::to_string(layout.ColumnNumber);
    return {};
}

std::string pagesProblem(const std::vector<BraillePage>& pages, const PageLayout& layout)
{
    if (const std::string problem = layoutProblem(layout); !problem.empty())
        return problem;
    std::uint32_t widest = 0;
    for (const BraillePage& page : pages)
        widest = std::max(widest, page.number);
    const std::string number = brailleNumber(std::to_string(widest));
    if (number.size() > layout.ColumnNumber)
        return "page " + std::to_string(widest) + " needs " + std::to_string(number.size()) +
               " cells for its page number (" + number + "), the line has " + std::to_string(layout.ColumnNumber);
    return {};
}

std::uint32_t pageOfRow(std::uint32_t row, std::uint32_t linesPerPage) { return row / rowsPerPage(linesPerPage) + 1; }

std::vector<BraillePage> paginate(const BrailleDocument& document, const PageLayout& layout)
{
    std::vector<BraillePage> pages;
    const std::uint32_t perPage = rowsPerPage(layout.LineNumber);
    const std::uint32_t columns = std::max<std::uint32_t>(layout.ColumnNumber, 1);
    for (int k = 0; k < kSectionCount; ++k) {
        const DocumentSection& section = document.sections[k];
        if (sectionIsEmpty(section))
            continue;
        std::vector<std::string> rows;
        std::vector<std::u16string> labels;
        for (const BrailleParagraph& p : section.paragraphs)
            for (const BrailleRow& r : p.rows) {
                std::string line;
                for (std::uint32_t i = r.begin; i < r.end && i < p.characters->size(); ++i)
                    for (char16_t c : (*p.characters)[i]->nabcc)
                        if (c >= 0x20 && c <= 0x5F)
                            line.push_back(char(c));
                trimRight(line);
                if (line.size() > columns)
                    line.resize(columns); // a character wider than the line is cut at the edge
                rows.push_back(std::move(line));
                labels.push_back(r.orgPage);
            }
        for (std::size_t first = 0; first < rows.size(); first += perPage) {
            BraillePage& page = pages.emplace_back();
            page.section = SectionKind(k);
            page.number = std::uint32_t(first / perPage + 1);
            std::u16string label;
            for (std::size_t r = first; r < first + perPage && r < rows.size() && label.empty(); ++r)
                label = labels[r];
            page.lines.push_back(pageLine(page.number, label, columns));
            for (std::size_t r = first; r < first + perPage && r < rows.size(); ++r)
                page.lines.push_back(rows[r]);
        }
    }
    return pages;
}

} // namespace braille
