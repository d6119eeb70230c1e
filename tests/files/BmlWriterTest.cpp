#include "BmlWriter.h"

#include "BmlTestSupport.h"
#include "DocumentBuilder.h"
#include "RowLayout.h"
#include "TestSupport.h"
#include "Utf8File.h"

#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

using namespace braille;
using namespace braille::test;

namespace {

const std::string kLineStart = "\t\t<line>\r\n";
const std::string kLineEnd = "\t\t</line>\r\n";
const std::string kBr = "\t\t\t<br/>\r\n";
const std::string kBlank = "\t\t\t<char mode=\"text\" nabcc=\" \">\u3000</char>\r\n";

std::string charLine(std::string_view mode, std::string_view nabcc, std::string_view print)
{
    return "\t\t\t<char mode=\"" + std::string(mode) + "\" nabcc=\"" + std::string(nabcc) + "\">" + std::string(print) +
           "</char>\r\n";
}

std::string labelledLine(std::string_view label) { return "\t\t<line orgpage=\"" + std::string(label) + "\">\r\n"; }

std::unique_ptr<BrailleDocument> documentWithBody(std::u16string_view body)
{
    shippedDictionary();
    auto d = std::make_unique<BrailleDocument>();
    fillSection(*d, body);
    return d;
}

void setLabels(BrailleDocument& d, SectionKind kind, const std::vector<std::string>& labels)
{
    std::size_t i = 0;
    for (BrailleParagraph& p : d.sections[kind].paragraphs)
        for (BrailleRow& r : p.rows)
            if (i < labels.size())
                r.orgPage = u16(labels[i++]);
}

} // namespace

TEST(BmlWriter, NewDocumentIsTheHeadAndFourEmptySections)
{
    shippedDictionary();
    BrailleDocument d;
    EXPECT_EQ(writtenBytes(d), bmlFile(false, "", "", "", ""));
}

TEST(BmlWriter, TwoCharactersAndALineBreakMakeOneLine)
{
    auto d = documentWithBody(u"あい\n");
    EXPECT_EQ(writtenBytes(*d), bmlFile(false, "", "",
                                        kLineStart + charLine("text", "A", "あ") + charLine("text", "B", "い") + kBr +
                                            kLineEnd,
                                        ""));
}

TEST(BmlWriter, LastParagraphWithoutLineBreakHasNoBrElement)
{
    auto d = documentWithBody(u"あ い");
    EXPECT_EQ(writtenBytes(*d),
              bmlFile(false, "", "",
                      kLineStart + charLine("text", "A", "あ") + kBlank + charLine("text", "B", "い") + kLineEnd, ""));
}

TEST(BmlWriter, EveryRowIsALine)
{
    ColumnsGuard columns(3);
    auto d = documentWithBody(u"あいう えお\n");
    // Rows: "あいう " (the blank stays at the end) and "えお" with the line break.
    EXPECT_EQ(writtenBytes(*d),
              bmlFile(false, "", "",
                      kLineStart + charLine("text", "A", "あ") + charLine("text", "B", "い") +
                          charLine("text", "C", "う") + kBlank + kLineEnd + kLineStart + charLine("text", "F", "え") +
                          charLine("text", "I", "お") + kBr + kLineEnd,
                      ""));
}

TEST(BmlWriter, LabelledLayoutWritesEveryLabel)
{
    auto d = documentWithBody(u"あ\nい\n");
    d->useOrgPage = true;
    setLabels(*d, Body, {"7", ""});
    EXPECT_EQ(writtenBytes(*d),
              bmlFile(true, "", "",
                      labelledLine("7") + charLine("text", "A", "あ") + kBr + kLineEnd + labelledLine("") +
                          charLine("text", "B", "い") + kBr + kLineEnd,
                      ""));
}

TEST(BmlWriter, ReplacementLabelsGoToTheBodyLinesInOrder)
{
    auto d = documentWithBody(u"あ\nい\nう\n");
    d->currentSection = Cover;
    fillSection(*d, u"え\n");
    d->currentSection = Body;
    setLabels(*d, Body, {"1", "2", "3"});
    setLabels(*d, Cover, {"c"});
    const std::vector<std::u16string> replacement = {u"x", u"y"};
    EXPECT_EQ(writtenBytes(*d, &replacement),
              bmlFile(true, labelledLine("c") + charLine("text", "F", "え") + kBr + kLineEnd, "",
                      labelledLine("x") + charLine("text", "A", "あ") + kBr + kLineEnd + labelledLine("y") +
                          charLine("text", "B", "い") + kBr + kLineEnd + labelledLine("3") +
                          charLine("text", "C", "う") + kBr + kLineEnd,
                      ""));
    EXPECT_TRUE(d->useOrgPage);
}

TEST(BmlWriter, CellsAreEscaped)
{
    const CharacterDictionary& dict = shippedDictionary();
    BrailleDocument d;
    CharacterSequence& seq = *d.section().paragraphs.front().characters;
    // The raw cells '"', '&', '<' and '>'.
    for (char16_t cell : {u'"', u'&', u'<', u'>'})
        seq.insert(seq.end() - 1, dict.find(kTextSet, std::u16string(1, char16_t(0xE000 + cell - 0x20)), std::u16string(1, cell)));
    relayout(d.section().paragraphs.front(), d.cellsPerLine);
    EXPECT_EQ(writtenBytes(d), bmlFile(false, "", "",
                                       kLineStart + charLine("text", "&quot;", "\uE002") +
                                           charLine("text", "&amp;", "\uE006") + charLine("text", "&lt;", "\uE01C") +
                                           charLine("text", "&gt;", "\uE01E") + kLineEnd,
                                       ""));
}

TEST(BmlWriter, PrintTextsAndLabelsWithMarkupCharactersAreEscaped)
{
    shippedDictionary();
    // Entries made here only for writing; the dictionary is not involved.
    const BrailleCharacter lessOrEqual(u" <= & > \"", u"[33", kMathSet);
    BrailleDocument d;
    d.useOrgPage = true;
    CharacterSequence& seq = *d.section().paragraphs.front().characters;
    seq.insert(seq.begin(), &lessOrEqual);
    relayout(d.section().paragraphs.front(), d.cellsPerLine);
    d.section().paragraphs.front().rows.front().orgPage = u"1\"2<&>";
    EXPECT_EQ(writtenBytes(d), bmlFile(true, "", "",
                                       labelledLine("1&quot;2&lt;&amp;&gt;") +
                                           charLine("math", "[33", " &lt;= &amp; &gt; \"") + kLineEnd,
                                       ""));
}

TEST(BmlWriter, MathAndGaijiSetsAreWrittenAsMath)
{
    shippedDictionary();
    const BrailleCharacter math(u"＋", u"5", kMathSet), gaiji(u"\uE017\uE017", u"77", kGaijiSet),
        mathKeys(u"ｘ", u"X", 12), textKeys(u"か", u"*", 6);
    BrailleDocument d;
    CharacterSequence& seq = *d.section().paragraphs.front().characters;
    seq.insert(seq.begin(), {&math, &gaiji, &mathKeys, &textKeys});
    relayout(d.section().paragraphs.front(), d.cellsPerLine);
    EXPECT_EQ(writtenBytes(d), bmlFile(false, "", "",
                                       kLineStart + charLine("math", "5", "＋") +
                                           charLine("math", "77", "\uE017\uE017") + charLine("math", "X", "ｘ") +
                                           charLine("text", "*", "か") + kLineEnd,
                                       ""));
}

TEST(BmlWriterSave, SuccessClearsModifiedAndLeavesTheDocumentComplete)
{
    TempDir dir;
    auto d = documentWithBody(u"あ\n");
    d->modified = true;
    ASSERT_TRUE(writeBml(*d, dir.file("a.bml")));
    EXPECT_FALSE(d->modified);
    EXPECT_TRUE(d->complete);
}

TEST(BmlWriterSave, FailureIsReportedAndKeepsModified)
{
    TempDir dir;
    auto d = documentWithBody(u"あ\n");
    d->modified = true;
    const SaveResult r = writeBml(*d, dir.file("missing/a.bml"));
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("missing"), std::string::npos) << r.reason;
    EXPECT_TRUE(d->modified);
    EXPECT_TRUE(d->complete);
}

TEST(BmlWriterSave, FileInUseIsReportedAndUntouched)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "old");
    Utf8File holder(dir.file("a.bml"), Utf8File::Read);
    auto d = documentWithBody(u"あ\n");
    d->modified = true;
    const SaveResult r = writeBml(*d, dir.file("a.bml"));
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("in use"), std::string::npos) << r.reason;
    EXPECT_TRUE(d->modified);
    EXPECT_EQ(readBytes(dir.file("a.bml")), "old");
}

// A disk that fills up in the middle of the file: the file size limit makes the writes fail the
// same way.
TEST(BmlWriterSave, DiskFullKeepsTheOldFileAndModified)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "the old book");
    std::u16string body;
    for (int i = 0; i < 20000; ++i)
        body += u"あいうえお\n";
    auto d = documentWithBody(body);
    d->modified = true;

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult r = writeBml(*d, dir.file("a.bml"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("cannot write"), std::string::npos) << r.reason;
    EXPECT_NE(r.reason.find("a.bml"), std::string::npos) << r.reason;
    EXPECT_TRUE(d->modified);
    EXPECT_TRUE(d->complete);
    EXPECT_EQ(readBytes(dir.file("a.bml")), "the old book");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u) << "the temporary file was left behind";
}
