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

std::string pageLine(std::uint32_t number, const std::u16string& label, std::uint32_t columns,
                     std::vector<PrintSpan>* print)
{
    const std::string right = brailleNumber(std::to_string(number));
    std::string line(columns > right.size() ? columns - right.size() : 0, ' ');
    const std::string digits = digitsOf(label);
    if (!digits.empty()) {
        // The original page at the start; it never reaches into the page number.
        const std::string left = brailleNumber(digits);
        if (left.size() + 1 <= line.size()) {
            line.replace(0, left.size(), left);
            if (print)
                print->push_back({0, std::uint32_t(left.size()), std::u16string(digits.begin(), digits.end())});
        }
    }
    if (print) {
        const std::string n = std::to_string(number);
        print->push_back({std::uint32_t(line.size()), std::uint32_t(right.size()), std::u16string(n.begin(), n.end())});
    }
    line += right;
    trimRight(line);
    return line;
}

// The spans of a row cut to the cells its line keeps (trailing blanks go, a too-wide character
// is cut at the edge).
void fitSpans(std::vector<PrintSpan>& spans, std::size_t cells)
{
    while (!spans.empty() && spans.back().column >= cells)
        spans.pop_back();
    if (!spans.empty() && spans.back().column + spans.back().cells > cells)
        spans.back().cells = std::uint32_t(cells - spans.back().column);
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
    return paginate(document, layout, nullptr);
}

std::vector<BraillePage> paginate(const BrailleDocument& document, const PageLayout& layout,
                                  std::vector<PagePrint>* print)
{
    std::vector<BraillePage> pages;
    if (print)
        print->clear();
    const std::uint32_t perPage = rowsPerPage(layout.LineNumber);
    const std::uint32_t columns = std::max<std::uint32_t>(layout.ColumnNumber, 1);
    for (int k = 0; k < kSectionCount; ++k) {
        const DocumentSection& section = document.sections[k];
        if (sectionIsEmpty(section))
            continue;
        std::vector<std::string> rows;
        std::vector<std::u16string> labels;
        std::vector<std::vector<PrintSpan>> rowPrint;
        for (const BrailleParagraph& p : section.paragraphs)
            for (const BrailleRow& r : p.rows) {
                std::string line;
                std::vector<PrintSpan>* spans = print ? &rowPrint.emplace_back() : nullptr;
                for (std::uint32_t i = r.begin; i < r.end && i < p.characters->size(); ++i) {
                    const BrailleCharacter& e = *(*p.characters)[i];
                    const std::size_t first = line.size();
                    for (char16_t c : e.nabcc)
                        if (c >= 0x20 && c <= 0x5F)
                            line.push_back(char(c));
                    // The blank, the line break and the end marker have no print to show.
                    if (spans && line.size() > first && e.set != kSpecialSet)
                        spans->push_back({std::uint32_t(first), std::uint32_t(line.size() - first), e.print});
                }
                trimRight(line);
                if (line.size() > columns)
                    line.resize(columns); // a character wider than the line is cut at the edge
                if (spans)
                    fitSpans(*spans, line.size());
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
            PagePrint* pagePrint = print ? &print->emplace_back() : nullptr;
            std::vector<PrintSpan>* linePrint = pagePrint ? &pagePrint->lines.emplace_back() : nullptr;
            page.lines.push_back(pageLine(page.number, label, columns, linePrint));
            for (std::size_t r = first; r < first + perPage && r < rows.size(); ++r) {
                page.lines.push_back(rows[r]);
                if (pagePrint)
                    pagePrint->lines.push_back(std::move(rowPrint[r]));
            }
        }
    }
    return pages;
}

} // namespace braille
