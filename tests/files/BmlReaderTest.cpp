#include "BmlReader.h"

#include "BmlTestSupport.h"
#include "BmlWriter.h"
#include "DocumentBuilder.h"
#include "FuzzChecks.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

const std::string kBr = "\t\t\t<br/>\r\n";

std::string charLine(std::string_view mode, std::string_view nabcc, std::string_view print)
{
    return "\t\t\t<char mode=\"" + std::string(mode) + "\" nabcc=\"" + std::string(nabcc) + "\">" + std::string(print) +
           "</char>\r\n";
}
std::string line(std::string_view content) { return "\t\t<line>\r\n" + std::string(content) + "\t\t</line>\r\n"; }
std::string labelledLine(std::string_view label, std::string_view content)
{
    return "\t\t<line orgpage=\"" + std::string(label) + "\">\r\n" + std::string(content) + "\t\t</line>\r\n";
}

std::string newDocumentDump()
{
    shippedDictionary();
    BrailleDocument d;
    return dumpDocument(d);
}

std::string bodyDump(BrailleDocument& d)
{
    d.currentSection = Body;
    return dumpRows(d);
}

} // namespace

TEST(BmlReaderReadStep, ReturnsThreeAfterEachParagraphAndZeroAtTheEnd)
{
    const std::string file = bmlFile(false, "", "",
                                     line(charLine("text", "A", "あ") + kBr) + line(charLine("text", "B", "い") + kBr), "");
    TempDir dir;
    writeBytes(dir.file("a.bml"), file);
    shippedDictionary();
    BrailleDocument d(BrailleDocument::ForReading);
    BmlReader reader(dir.file("a.bml"));
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.readStep(d), kReadParagraph);
    EXPECT_FALSE(d.complete);
    EXPECT_EQ(reader.readStep(d), kReadParagraph);
    EXPECT_EQ(reader.readStep(d), kReadEnd);
    EXPECT_TRUE(d.complete);
    EXPECT_EQ(reader.readStep(d), kReadEnd);
    EXPECT_EQ(d.checkInvariants(), "");
    EXPECT_EQ(bodyDump(d), "あ$|2\nい$|2\n*|1\n");
}

TEST(BmlReaderReadStep, ProgressGoesFromZeroToTheFileSize)
{
    std::string file = "<body>";
    for (int i = 0; i < 30; ++i)
        file += "<char mode=\"text\" nabcc=\"A\">あ</char><br/>";
    file += "</body>";
    TempDir dir;
    writeBytes(dir.file("a.bml"), file);
    shippedDictionary();
    BrailleDocument d(BrailleDocument::ForReading);
    BmlReader reader(dir.file("a.bml"), ReadWindow{100, 100});
    EXPECT_EQ(reader.bytesRead(), 0u);
    EXPECT_EQ(reader.totalBytes(), file.size());
    std::vector<std::size_t> progress;
    while (reader.readStep(d) == kReadParagraph)
        progress.push_back(reader.bytesRead());
    ASSERT_EQ(progress.size(), 30u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_LT(progress[10], file.size() / 2) << "with a small window the progress moves along the file";
    EXPECT_GT(progress[20], file.size() / 2);
    EXPECT_EQ(reader.bytesRead(), file.size());
}

TEST(BmlReaderReadStep, TheDocumentCanBeDrawnBetweenSteps)
{
    const std::string file = bmlFile(false, line(charLine("text", "A", "あ") + kBr), "",
                                     line(charLine("text", "B", "い") + kBr), "");
    TempDir dir;
    writeBytes(dir.file("a.bml"), file);
    shippedDictionary();
    BrailleDocument d(BrailleDocument::ForReading);
    BmlReader reader(dir.file("a.bml"));
    ASSERT_EQ(reader.readStep(d), kReadParagraph);
    EXPECT_EQ(d.currentSection, Cover);
    EXPECT_EQ(d.sections[Cover].paragraphs.size(), 1u);
    reader.readAll(d);
    EXPECT_EQ(d.currentSection, Body);
}

TEST(BmlReader, NewDocumentWrittenAndReadIsANewDocument)
{
    shippedDictionary();
    BrailleDocument fresh;
    auto d = readBmlBytes(writtenBytes(fresh));
    EXPECT_EQ(dumpDocument(*d), newDocumentDump());
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_FALSE(d->useOrgPage);
    EXPECT_FALSE(d->modified);
}

TEST(BmlReader, TwoCharactersAndALineBreakGiveTwoParagraphs)
{
    auto d = readBmlBytes(bmlFile(false, "", "", line(charLine("text", "A", "あ") + charLine("text", "B", "い") + kBr), ""));
    EXPECT_EQ(bodyDump(*d), "あい$|3\n*|1\n");
}

TEST(BmlReader, SectionEndAppendsTheEndMarkerToAParagraphWithoutLineBreak)
{
    auto d = readBmlBytes(bmlFile(false, "", "", line(charLine("text", "A", "あ") + charLine("text", "B", "い")), ""));
    EXPECT_EQ(bodyDump(*d), "あい*|3\n");
    EXPECT_EQ(d->sections[Body].rowCount, 1u);
}

TEST(BmlReader, EscapedCellsReadBack)
{
    auto d = readBmlBytes(bmlFile(false, "", "",
                                  line(charLine("text", "&quot;", "\uE002") + charLine("text", "&amp;", "へ") +
                                       charLine("text", "&lt;", "き") + charLine("text", "&gt;", "よ")),
                                  ""));
    const EntryList chars = flatCharacters(*d);
    ASSERT_EQ(chars.size(), 5u);
    EXPECT_EQ(u8(chars[0]->nabcc), "\"");
    EXPECT_EQ(u8(chars[1]->print), "へ");
    EXPECT_EQ(u8(chars[1]->nabcc), "&");
    EXPECT_EQ(u8(chars[2]->nabcc), "<");
    EXPECT_EQ(u8(chars[3]->nabcc), ">");
}

TEST(BmlReader, LowerCaseCellsAreReadAsUpperCase)
{
    auto d = readBmlBytes(bmlFile(false, "", "", line(charLine("text", "l", "に") + charLine("text", "\"\\", "じ")), ""));
    const EntryList chars = flatCharacters(*d);
    ASSERT_EQ(chars.size(), 3u);
    EXPECT_EQ(u8(chars[0]->print), "に");
    EXPECT_EQ(u8(chars[0]->nabcc), "L");
    EXPECT_NE(chars[0], shippedDictionary().defaultEntry(kTextSet));
}

TEST(BmlReader, LabelsGoToTheNewRowsAndSurplusLabelsAreDropped)
{
    // A paragraph saved as three lines at 32 cells, read at 40 cells: two rows.
    std::string a32, a6;
    for (int i = 0; i < 32; ++i)
        a32 += charLine("text", "A", "あ");
    for (int i = 0; i < 6; ++i)
        a6 += charLine("text", "A", "あ");
    const std::string file =
        bmlFile(true, "", "", labelledLine("1", a32) + labelledLine("1", a32) + labelledLine("2", a6 + kBr), "");
    {
        ColumnsGuard columns(32);
        auto d = readBmlBytes(file);
        EXPECT_EQ(writtenBytes(*d), file);
    }
    ColumnsGuard columns(40);
    auto d = readBmlBytes(file);
    const BrailleParagraph& p = d->sections[Body].paragraphs.front();
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(u8(p.rows[0].orgPage), "1");
    EXPECT_EQ(u8(p.rows[1].orgPage), "1");
}

TEST(BmlReader, SurplusRowsKeepEmptyLabels)
{
    std::string a40;
    for (int i = 0; i < 40; ++i)
        a40 += charLine("text", "A", "あ");
    auto d = readBmlBytes(bmlFile(true, "", "", labelledLine("5", a40 + kBr), ""));
    const BrailleParagraph& p = d->sections[Body].paragraphs.front();
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(u8(p.rows[0].orgPage), "5");
    EXPECT_EQ(u8(p.rows[1].orgPage), "");
}

TEST(BmlReader, CompactFileWithNoHeadLabelsIgnored)
{
    auto d = readBmlBytes("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?><document><head><use "
                          "orgpage=\"no\"/></head><body><line orgpage=\"9\"><char mode=\"text\" "
                          "nabcc=\"A\">あ</char></line></body></document>");
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_FALSE(d->useOrgPage);
    EXPECT_EQ(dumpDocument(*d), "== cover\n*|1\n== contents\n*|1\n== body\nあ*|2\n== colophon\n*|1\n");
}

TEST(BmlReader, FileWithoutSectionsGivesANewDocument)
{
    for (std::string_view text : {"", "plain text, no markup", "<document></document>", "<?xml?><document><head/>"}) {
        auto d = readBmlBytes(text);
        EXPECT_EQ(dumpDocument(*d), newDocumentDump()) << text;
        EXPECT_TRUE(d->complete);
        EXPECT_EQ(d->currentSection, Body);
    }
}

TEST(BmlReader, ARepeatedSectionReplacesTheEarlierOne)
{
    auto d = readBmlBytes("<body>" + line(charLine("text", "A", "あ") + kBr) +
                          "</body><body><char mode=\"text\" nabcc=\"B\">い</char></body>");
    EXPECT_EQ(bodyDump(*d), "い*|2\n");
}

TEST(BmlReader, CharactersBeforeTheFirstSectionGoIntoIt)
{
    auto d = readBmlBytes("<char mode=\"text\" nabcc=\"A\">あ</char><cover><char mode=\"text\" "
                          "nabcc=\"B\">い</char></cover>");
    d->currentSection = Cover;
    EXPECT_EQ(dumpRows(*d), "あい*|3\n");
}

TEST(BmlReader, CharactersAfterTheLastSectionAreDropped)
{
    auto d = readBmlBytes("<body></body><char mode=\"text\" nabcc=\"A\">あ</char>");
    EXPECT_EQ(dumpDocument(*d), newDocumentDump());
}

TEST(BmlReader, SectionEndedTwiceKeepsOneEndMarker)
{
    auto d = readBmlBytes("<body><char mode=\"text\" nabcc=\"A\">あ</char></body><char mode=\"text\" "
                          "nabcc=\"B\">い</char><br/><char mode=\"text\" nabcc=\"C\">う</char></body></body>");
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_EQ(bodyDump(*d), "あい$|3\nう*|2\n");
}

TEST(BmlReader, NestedSectionsKeepEverySectionWhole)
{
    auto d = readBmlBytes("<body><char mode=\"text\" nabcc=\"A\">あ</char><br/><cover><char mode=\"text\" "
                          "nabcc=\"B\">い</char></cover></body>");
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_EQ(bodyDump(*d), "あ$|2\n*|1\n");
    d->currentSection = Cover;
    EXPECT_EQ(dumpRows(*d), "い*|2\n");
}

TEST(BmlReader, BrMustBeWrittenExactly)
{
    auto d = readBmlBytes("<body><char mode=\"text\" nabcc=\"A\">あ</char><br /><br\t/><char mode=\"text\" "
                          "nabcc=\"B\">い</char></body>");
    EXPECT_EQ(bodyDump(*d), "あい*|3\n");
}

TEST(BmlReader, ATabIsNotASeparatorInsideAnElement)
{
    auto d = readBmlBytes("<body><char\tmode=\"text\" nabcc=\"A\">あ</char><char mode=\"text\" nabcc=\"B\">い</char></body>");
    EXPECT_EQ(bodyDump(*d), "い*|2\n");
}

TEST(BmlReader, UnknownCharactersBecomeTheDefaultEntryOfTheirMode)
{
    const CharacterDictionary& dict = shippedDictionary();
    auto d = readBmlBytes("<body><char mode=\"text\" nabcc=\"%%%%\">no such</char><char mode=\"math\" "
                          "nabcc=\"%%%%\">no such</char><char mode=\"other\">x</char></body>");
    const EntryList chars = flatCharacters(*d);
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_EQ(chars[0], dict.defaultEntry(kTextSet));
    EXPECT_EQ(chars[1], dict.defaultEntry(kMathSet));
    EXPECT_EQ(chars[2], dict.defaultEntry(kTextSet));
}

TEST(BmlReader, AMathCharacterOnlyTheGaijiSetKnowsIsFoundThere)
{
    const CharacterDictionary& dict = shippedDictionary();
    const std::u16string print = u"\uE03F\uE038\uE038\uE02C", cells = u"_XXL"; // the blank box sign
    ASSERT_EQ(dict.findStored(kMathSet, print, cells), nullptr);
    ASSERT_EQ(dict.findStored(kSpecialSet, print, cells), nullptr);
    const BrailleCharacter* gaiji = dict.findStored(kGaijiSet, print, cells);
    ASSERT_NE(gaiji, nullptr);
    auto d = readBmlBytes("<body><char mode=\"math\" nabcc=\"_XXL\">" + u8(print) + "</char></body>");
    const EntryList chars = flatCharacters(*d);
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0], gaiji);
}

TEST(BmlReader, TheBlankIsReadAsTheBlankEntry)
{
    auto d = readBmlBytes("<body><char mode=\"text\" nabcc=\" \">\u3000</char></body>");
    EXPECT_EQ(flatCharacters(*d).front(), shippedDictionary().blankEntry());
}

TEST(BmlReader, ACharElementNeverEndsAParagraph)
{
    // Print and cells of the line break, spelled out and as references.
    auto d = readBmlBytes("<body><char mode=\"text\" nabcc=\"\n\">\n</char><char mode=\"text\" "
                          "nabcc=\"&#10;\">&#10;</char><char mode=\"text\" nabcc=\" \">&#xFEFF;</char></body>");
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_EQ(d->sections[Body].paragraphs.size(), 1u);
    EXPECT_EQ(flatCharacters(*d).size(), 4u);
}

TEST(BmlReader, ReferencesInContentAndLabelsAreReplaced)
{
    // As a standard XML serialiser writes them.
    auto d = readBmlBytes("<document><head><use orgpage=\"yes\"/></head><body><line orgpage=\"1&quot;2&amp;\"><char "
                          "mode=\"math\" nabcc=\"[33\"> &lt;= </char></line></body></document>");
    const BrailleParagraph& p = d->sections[Body].paragraphs.front();
    EXPECT_EQ(u8(p.rows.front().orgPage), "1\"2&");
    EXPECT_EQ(u8((*p.characters)[0]->print), " <= ");
    EXPECT_EQ((*p.characters)[0]->set, kMathSet);
}

TEST(BmlReader, LabelsOnlyWhenTheHeadSaysYes)
{
    auto yes = readBmlBytes(bmlFile(true, "", "", labelledLine("4", charLine("text", "A", "あ")), ""));
    EXPECT_TRUE(yes->useOrgPage);
    EXPECT_EQ(bodyDump(*yes), "あ*|2@4\n");
    auto no = readBmlBytes(bmlFile(false, "", "", labelledLine("4", charLine("text", "A", "あ")), ""));
    EXPECT_FALSE(no->useOrgPage);
    EXPECT_EQ(bodyDump(*no), "あ*|2\n");
}

TEST(BmlReader, LineLabelIsTheFirstQuotedValue)
{
    auto d = readBmlBytes("<use orgpage=\"yes\"/><body><line id=\"x\" orgpage=\"3\"><char mode=\"text\" nabcc=\"A\">あ</char>"
                          "<br/><line><char mode=\"text\" nabcc=\"B\">い</char><br/><line orgpage=\"7>"
                          "<char mode=\"text\" nabcc=\"C\">う</char></body>");
    EXPECT_EQ(bodyDump(*d), "あ$|2@x\nい$|2\nう*|2\n");
}

TEST(BmlReader, AFileThatCannotBeOpenedIsReported)
{
    TempDir dir;
    shippedDictionary();
    BmlReader reader(dir.file("missing.bml"));
    EXPECT_FALSE(reader.isOpen());
    EXPECT_NE(reader.error().find("missing.bml"), std::string::npos);
    BrailleDocument d(BrailleDocument::ForReading);
    reader.readAll(d);
    EXPECT_EQ(dumpDocument(d), newDocumentDump());
}

TEST(BmlReader, HandWrittenFileRoundTripsByteForByte)
{
    const std::string file = readBytes(sourceDir() / "tests/data/bml/labelled.bml");
    ASSERT_FALSE(file.empty());
    auto d = readBmlBytes(file);
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_TRUE(d->useOrgPage);
    EXPECT_EQ(bodyDump(*d),
              "\uE003２０２６_ねん$|9@1\n"
              "ああああああああああああああああああああああああああああああああ|32@1\n"
              "ああああああああ$|9@2\n"
              "へきよ_１＋２＝３ <= *|14@2\n");
    for (const BrailleCharacter* c : flatCharacters(*d))
        EXPECT_NE(c->print, u"\u2612") << "a character was not found";
    EXPECT_EQ(writtenBytes(*d), file);
}

// Inputs that once were, or could be, trouble for a tolerant scanner.
TEST(BmlReaderMalformed, AnyInputGivesAValidDocument)
{
    TempDir dir;
    shippedDictionary();
    const std::string head = "<use orgpage=\"yes\"/><body><line orgpage=\"1\">";
    const std::vector<std::string> inputs = {
        "<",
        "<<<<>>>>",
        "<char",
        "<char mode",
        "<char mode=",
        "<char mode=\"",
        "<char mode=\"math",
        "<char mode=\"math\" nabcc=\"A",
        "<char mode=\"math\" nabcc=\"A\"",
        "<char mode=\"math\" nabcc=\"A\">",
        "<body><char mode=\"math\" nabcc=\"A\">１",
        "<body><char mode=\"text\" nabcc=\"\"\"A\">あ</char></body>",
        "<body><char mode=text nabcc=A>あ</char></body>",
        "<body><char nabcc=\"A\" mode=\"text\">あ</char></body>",
        head,
        head + "<char mode=\"text\" nabcc=\"A\">あ</char><br/>",
        "<use orgpage=\"yes\"",
        "<use orgpage=\"yes\"/><line orgpage=\"",
        "<use orgpage=\"yes\"/><line orgpage=\"1",
        "<use orgpage=\"yes\"/><line \"",
        "<use orgpage=\"yes\"/><line><line><line><br/>",
        "</body></body></cover><cover></colophon>",
        "<body><body><body><br/><br/></body>",
        "<br/><br/><br/>",
        "<body><contents><cover><colophon><char mode=\"text\" nabcc=\"A\">あ</char></body></cover>",
        std::string(3, '\0') + "<body>\xff\xfe\xc3<char mode=\"text\" nabcc=\"\xe3\x81\">\xf0\x9f</char>",
        "<body><char mode=\"text\" nabcc=\"&#x110000;&#xD800;&#0;&amp\">&#55296;&#x1F600;</char></body>",
        std::string(100000, '<'),
        "<body><char mode=\"text\" nabcc=\"A\">" + std::string(200000, 'x'),
        "<line orgpage=\"" + std::string(200000, 'y'),
        "<use " + std::string(200000, ' ') + "orgpage=\"yes\"",
    };
    for (const std::string& input : inputs)
        EXPECT_EQ(checkBmlInput(input, dir.path()), "") << input.substr(0, 80);
}

TEST(BmlReaderSample, TheShippedSampleReadsBackCleanly)
{
    const std::string file = readBytes(sourceDir() / "samples/sample.bml");
    ASSERT_FALSE(file.empty());
    auto d = readBmlBytes(file);
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_TRUE(d->useOrgPage);
    const CharacterDictionary& dict = shippedDictionary();
    bool math = false, labelled = false;
    for (int k = 0; k < kSectionCount; ++k) {
        EXPECT_GE(d->sections[k].paragraphs.size(), 2u) << sectionName(SectionKind(k));
        for (const BrailleParagraph& p : d->sections[k].paragraphs) {
            for (const BrailleCharacter* c : *p.characters) {
                EXPECT_NE(c, dict.defaultEntry(kTextSet)) << "an unknown character in " << sectionName(SectionKind(k));
                EXPECT_NE(c, dict.defaultEntry(kMathSet)) << "an unknown character in " << sectionName(SectionKind(k));
                math = math || c->set == kMathSet;
            }
            for (const BrailleRow& r : p.rows)
                labelled = labelled || !r.orgPage.empty();
        }
    }
    EXPECT_TRUE(math);
    EXPECT_TRUE(labelled);
    EXPECT_EQ(writtenBytes(*d), file);
}

// The reader decodes a window of code units at a time and drops what it consumed between
// elements: elements cut at every offset by a refill must read as whole elements, in every
// spelling, whatever the window's sizes.
class BmlReaderWindow : public testing::TestWithParam<ReadWindow> {};

INSTANTIATE_TEST_SUITE_P(Sizes, BmlReaderWindow,
                         testing::Values(ReadWindow{}, ReadWindow{1, 1}, ReadWindow{2, 3}, ReadWindow{7, 64},
                                         ReadWindow{64, 1000}, ReadWindow{4096, 4096}));

TEST_P(BmlReaderWindow, ElementsCutByARefillReadTheSame)
{
    const char* kana[] = {"あ", "い", "う"};
    const char* cells[] = {"A", "B", "C"};
    for (int pad = 0; pad < 46; pad += GetParam().fillUnits == ReadWindow{}.fillUnits ? 3 : 23) {
        std::string file = "<use orgpage=\"yes\"/>" + std::string(std::size_t(pad), ' ') + "<body>";
        for (int i = 0; i < 9000; ++i) {
            const int k = i % 3;
            if (i % 500 == 0)
                file += "<line orgpage=\"" + std::to_string(i) + "\">";
            if (i % 7 == 0) // the general spelling
                file += std::string("<char nabcc='x' nabcc=\"") + (k == 1 ? "b" : cells[k]) + "\"  mode=\"text\">" + kana[k] + "</char>";
            else
                file += std::string("\t\t\t<char mode=\"text\" nabcc=\"") + cells[k] + "\">" + kana[k] + "</char>\r\n";
            if (i % 1000 == 999)
                file += "<br/>";
        }
        file += "</body>";
        auto d = readBmlBytes(file, nullptr, GetParam());
        const EntryList chars = flatCharacters(*d);
        std::size_t n = 0;
        bool allRight = true;
        for (const BrailleCharacter* c : chars) {
            if (c == shippedDictionary().lineBreakEntry() || c == shippedDictionary().endMarkerEntry())
                continue;
            allRight = allRight && u8(c->print) == kana[n % 3];
            ++n;
        }
        EXPECT_EQ(n, 9000u) << pad;
        EXPECT_TRUE(allRight) << pad;
        EXPECT_EQ(d->sections[Body].paragraphs.size(), 10u) << pad;
        EXPECT_EQ(u8(d->sections[Body].paragraphs.back().rows.front().orgPage), "")
            << "the final end marker paragraph has no label";
        EXPECT_EQ(u8(std::next(d->sections[Body].paragraphs.begin())->rows.front().orgPage), "1000") << pad;
    }
}
