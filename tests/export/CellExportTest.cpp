// The exports and the table of contents, pinned on small books.

#include "CellExport.h"
#include "DocumentBuilder.h"
#include "TableOfContents.h"
#include "TestSupport.h"
#include "Utf.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// A body of three rows on pages of three lines (a page line and two rows) of eight cells.
std::vector<BraillePage> smallBook(BrailleDocument& document)
{
    shippedDictionary();
    document.cellsPerLine = 8;
    fillSection(document, u"あいう\nかき\nあ");
    document.sections[Body].paragraphs.front().rows.front().orgPage = u"12";
    return paginate(document, PageLayout{3, 8});
}

ExportInfo info() { return {u"本", "2026-12-09", "tenkora:test"}; }

// The sample book written into `dir`, whole or up to `bytes`.
std::filesystem::path sampleIn(const TempDir& dir, std::size_t bytes = std::string::npos)
{
    shippedDictionary();
    const auto book = dir.file("book.bml");
    writeBytes(book, readBytes(sourceDir() / "samples" / "sample.bml").substr(0, bytes));
    return book;
}

// An export that must fail, saying `words`, and leave no file.
void expectRefused(const std::filesystem::path& book, ExportFormat format, PageLayout layout, std::string_view words)
{
    const auto output = book.parent_path() / "refused.out";
    const SaveResult result = exportBook(book, output, format, layout);
    EXPECT_FALSE(result) << layout.LineNumber << " x " << layout.ColumnNumber;
    EXPECT_NE(result.reason.find(words), std::string::npos) << result.reason;
    EXPECT_FALSE(std::filesystem::exists(output));
}

} // namespace

TEST(Pagination, ThePrintOfEveryCellComesWithTheSamePages)
{
    shippedDictionary();
    BrailleDocument document;
    fillSection(document, u"がい_う\nかき\nあ");
    document.setCellsPerLine(8);
    document.sections[Body].paragraphs.front().rows.front().orgPage = u"12";
    const PageLayout layout{3, 8};
    std::vector<PagePrint> print;
    const std::vector<BraillePage> pages = paginate(document, layout, &print);
    const std::vector<BraillePage> plain = paginate(document, layout);
    ASSERT_EQ(pages.size(), plain.size());
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(pages[i].lines, plain[i].lines) << "page " << i;
    ASSERT_EQ(print.size(), pages.size());
    // Every span lies on the cells of its line, in order, without overlap.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        ASSERT_EQ(print[i].lines.size(), pages[i].lines.size());
        for (std::size_t l = 0; l < pages[i].lines.size(); ++l) {
            std::uint32_t end = 0;
            for (const PrintSpan& span : print[i].lines[l]) {
                EXPECT_GE(span.column, end);
                end = span.column + span.cells;
                EXPECT_LE(end, pages[i].lines[l].size()) << "page " << i << " line " << l;
            }
        }
    }
    // The page line: the original page "12" over #AB at the start, the page number "1" over #A at
    // the end. The first row: が over its two cells, い, う; the blank has no print.
    const auto spans = [](const std::vector<PrintSpan>& line) {
        std::string out;
        for (const PrintSpan& span : line)
            out += std::to_string(span.column) + "+" + std::to_string(span.cells) + ":" + u8(span.print) + " ";
        return out;
    };
    EXPECT_EQ(pages[0].lines[0], "#AB   #A");
    EXPECT_EQ(spans(print[0].lines[0]), "0+3:12 6+2:1 ");
    EXPECT_EQ(pages[0].lines[1].size(), 5u);
    EXPECT_EQ(spans(print[0].lines[1]), "0+2:が 2+1:い 4+1:う ");
}

TEST(CellExport, BseIsAHeaderThenEveryPageLineByLine)
{
    BrailleDocument document;
    const std::vector<BraillePage> pages = smallBook(document);
    ASSERT_EQ(pages.size(), 2u);
    const std::string bse = writeBse(pages, PageLayout{3, 8}, info()).bytes;
    std::string header(512, ' ');
    header.replace(0, 10, "2026/12/09");
    header.replace(10, 2, "\x96\x7b"); // 本 in CP932
    header.replace(504, 8, "00020803");
    EXPECT_EQ(bse, header + "\r\n" +
                       "#AB   #A\r\nABC\r\n*<\r\n" // the original page 12 at the start, page 1 at the end
                       "      #B\r\nA\r\n\r\n");    // the last page filled to its three lines
}

TEST(CellExport, BrfHasAFormFeedBetweenPagesOnly)
{
    BrailleDocument document;
    EXPECT_EQ(writeBrf(smallBook(document)), "#AB   #A\r\nABC\r\n*<\r\n\f      #B\r\nA\r\n");
}

TEST(CellExport, PefKeepsTheRulesOfTheFormat)
{
    BrailleDocument document;
    document.cellsPerLine = 8;
    const std::vector<BraillePage> pages = smallBook(document);
    const std::string pef = writePef(pages, PageLayout{3, 8}, info());
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(pef.c_str()));
    const pugi::xml_node root = xml.child("pef");
    EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.daisy.org/ns/2008/pef");
    EXPECT_STREQ(root.attribute("version").value(), "2008-1");
    const pugi::xml_node meta = root.child("head").child("meta");
    EXPECT_STREQ(meta.child("dc:format").text().get(), "application/x-pef+xml");
    EXPECT_STRNE(meta.child("dc:identifier").text().get(), "");
    const pugi::xml_node volume = root.child("body").child("volume");
    const int cols = volume.attribute("cols").as_int(), rows = volume.attribute("rows").as_int();
    EXPECT_EQ(cols, 8);
    EXPECT_EQ(rows, 3);
    int pageCount = 0;
    for (pugi::xml_node section : volume.children("section"))
        for (pugi::xml_node page : section.children("page")) {
            ++pageCount;
            int rowCount = 0;
            for (pugi::xml_node row : page.children("row")) {
                ++rowCount;
                const std::u16string cells = fromUtf8(row.text().get());
                EXPECT_LE(int(cells.size()), cols);
                for (char16_t c : cells)
                    EXPECT_TRUE(c >= 0x2800 && c <= 0x28FF);
            }
            EXPECT_LE(rowCount, rows);
        }
    EXPECT_EQ(pageCount, 2);
}

TEST(CellExport, AFailedExportLeavesNoFile)
{
    TempDir dir;
    const auto book = sampleIn(dir);
    EXPECT_FALSE(exportBook(book, dir.path() / "missing" / "book.bse", ExportFormat::Bse, PageLayout{}));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
    const SaveResult unreadable = exportBook(dir.file("none.bml"), dir.file("none.bse"), ExportFormat::Brf, PageLayout{});
    EXPECT_FALSE(unreadable);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.bse")));
    EXPECT_TRUE(exportBook(book, dir.file("book.pef"), ExportFormat::Pef, PageLayout{}));
}

TEST(CellExport, ABookCutShortIsRefusedAndNothingIsWritten)
{
    const std::size_t bodyEnd = readBytes(sourceDir() / "samples" / "sample.bml").find("</body>");
    ASSERT_NE(bodyEnd, std::string::npos);
    TempDir dir;
    const auto cut = sampleIn(dir, bodyEnd - 100); // within the body's last paragraph
    for (ExportFormat format : {ExportFormat::Bse, ExportFormat::Brf, ExportFormat::Pef})
        expectRefused(cut, format, PageLayout{}, "cut short");
}

TEST(CellExport, BseWritesWhatItsHeaderHoldsAndRefusesTheRest)
{
    BrailleDocument document;
    const std::vector<BraillePage> pages = smallBook(document);
    const ExportBytes most = writeBse(pages, PageLayout{99, 99}, info());
    ASSERT_TRUE(most) << most.problem;
    EXPECT_EQ(most.bytes.substr(504, 8), "00029999");
    for (const PageLayout layout : {PageLayout{100, 32}, PageLayout{22, 100}}) {
        const ExportBytes refused = writeBse(pages, layout, info());
        EXPECT_FALSE(refused);
        EXPECT_TRUE(refused.bytes.empty());
        EXPECT_NE(refused.problem.find("100"), std::string::npos) << refused.problem;
    }
    // Through the export: a message and no file; the other formats take the same layout.
    TempDir dir;
    const auto book = sampleIn(dir);
    expectRefused(book, ExportFormat::Bse, PageLayout{22, 100}, "BSE");
    EXPECT_TRUE(exportBook(book, dir.file("book.brf"), ExportFormat::Brf, PageLayout{22, 100}));
}

TEST(CellExport, ALayoutTooSmallForThePageLineIsRefused)
{
    TempDir dir;
    const auto book = sampleIn(dir);
    ASSERT_GT(std::filesystem::file_size(book), 1000u);
    // One line leaves no room for a row under the page line; one cell none for "#A"; two cells
    // hold "#A" but not the number of a tenth page.
    for (const PageLayout layout : {PageLayout{1, 32}, PageLayout{22, 1}, PageLayout{2, 2}})
        expectRefused(book, ExportFormat::Brf, layout, "needs");
    EXPECT_TRUE(exportBook(book, dir.file("book.brf"), ExportFormat::Brf, PageLayout{2, 4}));
}

TEST(TableOfContents, ABodyWithoutHeadingsLeavesTheContentsAsTheyWere)
{
    shippedDictionary();
    BrailleDocument document;
    document.cellsPerLine = 16;
    document.currentSection = Contents;
    fillSection(document, u"  てがき\nあ");
    document.currentSection = Body;
    fillSection(document, u"あ\n  か\nさ"); // two blanks make no heading
    const PageLayout layout{4, 16};
    const std::vector<BraillePage> before = paginate(document, layout);
    EXPECT_FALSE(composeTableOfContents(document, layout));
    EXPECT_FALSE(document.modified);
    const std::vector<BraillePage> after = paginate(document, layout);
    ASSERT_EQ(after.size(), before.size());
    ASSERT_EQ(after[0].section, Contents);
    EXPECT_EQ(after[0].lines, before[0].lines);
}

TEST(TableOfContents, HeadingsAtCellsFiveSevenAndNineOverThreePages)
{
    shippedDictionary();
    BrailleDocument document;
    document.cellsPerLine = 16;
    // Pages of four lines hold three rows: the headings fall on pages 1, 2 and 3.
    fillSection(document, u"    あ\nか\nか\n      い\nか\nか\n        う\nか");
    const PageLayout layout{4, 16};
    EXPECT_TRUE(composeTableOfContents(document, layout));
    const std::vector<BraillePage> pages = paginate(document, layout);
    ASSERT_FALSE(pages.empty());
    ASSERT_EQ(pages[0].section, Contents);
    // The title at cell 9, then each heading at its own indent, the leader, the page number.
    EXPECT_EQ(pages[0].lines[1], "        )%\"\\"); // もくじ
    EXPECT_EQ(pages[0].lines[2], "    A 3333333 #A");
    EXPECT_EQ(pages[0].lines[3], "      B 33333 #B");
    EXPECT_EQ(pages[1].lines[1], "        C 333 #C");
}

TEST(TableOfContents, VolumesFollowEachOtherInTheCombinedContents)
{
    shippedDictionary();
    const PageLayout layout{22, 32};
    std::vector<std::vector<Heading>> volumes;
    for (std::u16string_view body : {std::u16string_view(u"      あ\nか"), std::u16string_view(u"      い\n    う")}) {
        BrailleDocument volume;
        fillSection(volume, body);
        volumes.push_back(findHeadings(volume, layout));
    }
    BrailleDocument contents;
    composeCombinedContents(volumes, layout, contents);
    contents.currentSection = Contents;
    const std::vector<BraillePage> pages = paginate(contents, layout);
    ASSERT_EQ(pages.size(), 1u);
    // The title, then each volume's name at cell 9 and its headings (and the section's end).
    ASSERT_EQ(pages[0].lines.size(), 8u);
    EXPECT_EQ(pages[0].lines[2], "        \"OB#A*0"); // だい#１かん
    EXPECT_EQ(pages[0].lines[3].substr(0, 7), "      A");
    EXPECT_EQ(pages[0].lines[6].substr(0, 5), "    C");
}
