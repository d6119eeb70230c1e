#include "LinkTextConverter.h"

#include "BmlTestSupport.h"
#include "DocumentBuilder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

using namespace braille;
using namespace braille::test;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>";

// The char elements of the serialised tree, as they stand in the file.
std::string charsOf(std::u16string_view text)
{
    LinkTextConverter c;
    EXPECT_TRUE(c.convert(text));
    const std::string xml = c.serialize();
    const std::size_t open = xml.find("<line orgpage=\"\">");
    const std::size_t close = xml.find("</line>");
    if (open == std::string::npos || close == std::string::npos)
        return "(no children)";
    return xml.substr(open + 17, close - open - 17);
}

std::string recordsOf(std::u16string_view text)
{
    std::string out;
    for (const LinkRecord& r : parseLinkText(text))
        out += std::string(r.math ? "m" : "t") + "|" + u8(r.nabcc) + "|" + u8(r.print) + "\n";
    return out;
}

} // namespace

TEST(LinkTextConverter, TwoRecordsWithBackquotes)
{
    EXPECT_EQ(charsOf(u"t`A`あ,m`#`1"),
              "<char mode=\"text\" nabcc=\"A\">あ</char><char mode=\"math\" nabcc=\"#\">1</char>");
}

TEST(LinkTextConverter, EmptyTextGivesALineWithoutChildren)
{
    LinkTextConverter c;
    ASSERT_TRUE(c.convert(u""));
    EXPECT_EQ(c.serialize(), kDeclaration + "<document><head><use orgpage=\"no\"/></head><body><line orgpage=\"\"/></body></document>");
    EXPECT_EQ(c.characterCount(), 0u);
}

TEST(LinkTextConverter, TheTreeHasTheExpectedShape)
{
    LinkTextConverter c;
    ASSERT_TRUE(c.convert(u"text\tA\tあ"));
    const pugi::xml_document& tree = c.tree();
    EXPECT_STREQ(tree.child("document").child("head").child("use").attribute("orgpage").value(), "no");
    pugi::xml_node ch = tree.select_node("/document/body/line/char").node();
    ASSERT_TRUE(ch);
    EXPECT_STREQ(ch.first_attribute().name(), "mode");
    EXPECT_STREQ(ch.first_attribute().next_attribute().name(), "nabcc");
    EXPECT_STREQ(ch.text().get(), "あ");
}

TEST(LinkTextConverter, ABracedRecordKeepsItsComma)
{
    EXPECT_EQ(recordsOf(u"{t`,`、},t`A`あ"), "t|,|、\nt|A|あ\n");
}

TEST(LinkTextConverter, MalformedRecordsAreSkipped)
{
    EXPECT_EQ(recordsOf(u"t`A,`B`い,t``う,t`C`,t`D`え"), "t|D|え\n");
}

TEST(LinkTextConverter, ABackquoteInThePrintTextIsATab)
{
    EXPECT_EQ(recordsOf(u"t`A`x`y"), "t|A|x\ty\n");
}

TEST(LinkTextConverter, ModeIsMathOnlyWhenItStartsWithM)
{
    EXPECT_EQ(recordsOf(u"math`A`1\nm`A`1\nmx`A`1\ntext`A`1\nx`A`1\nM`A`1"),
              "m|A|1\nm|A|1\nm|A|1\nt|A|1\nt|A|1\nt|A|1\n");
}

TEST(LinkTextConverter, BracesAtTheEndsAreRemovedAndOthersKept)
{
    EXPECT_EQ(recordsOf(u"{{t`A`{x}}}"), "t|A|{x\n");
    EXPECT_EQ(recordsOf(u"}t`A`a,b"), "t|A|a\n");
    EXPECT_EQ(recordsOf(u"{t`A`a,b"), "t|A|a,b\n") << "a brace that never closes keeps every comma";
    EXPECT_EQ(recordsOf(u"{t`A`a{,}b}"), "t|A|a{,}b\n") << "braces do not nest";
}

TEST(LinkTextConverter, LineFeedsSeparateRecordsAndEmptyPiecesAreSkipped)
{
    EXPECT_EQ(recordsOf(u"\n\nt\tA\tあ\n,\n\nt\tB\tい\n"), "t|A|あ\nt|B|い\n");
}

TEST(LinkTextConverter, AZeroCodeUnitEndsTheText)
{
    EXPECT_EQ(recordsOf(std::u16string(u"t`A`あ\0,t`B`い", 13)), "t|A|あ\n");
}

TEST(LinkTextConverter, MarkupCharactersAreEscapedByTheSerialiser)
{
    EXPECT_EQ(charsOf(u"t`&`へ,m`[33` <= ,t`\"<`a&b"),
              "<char mode=\"text\" nabcc=\"&amp;\">へ</char><char mode=\"math\" nabcc=\"[33\"> &lt;= </char>"
              "<char mode=\"text\" nabcc=\"&quot;&lt;\">a&amp;b</char>");
}

TEST(LinkTextConverter, TheWorkFileReadsBackAsOneBodyParagraph)
{
    TempDir dir;
    LinkTextConverter c;
    ASSERT_TRUE(c.convert(u"t`A`あ,{t`&`へ},m`A`１,m`[33` <= ,junk,t`P`ね"));
    ASSERT_TRUE(c.save(dir.file("work.bml")));
    auto d = readBmlFile(dir.file("work.bml"));
    EXPECT_EQ(d->checkInvariants(), "");
    EXPECT_EQ(dumpDocument(*d), "== cover\n*|1\n== contents\n*|1\n== body\nあへ１ <= ね*|8\n== colophon\n*|1\n");
    const EntryList chars = flatCharacters(*d);
    ASSERT_EQ(chars.size(), 6u);
    EXPECT_EQ(chars[1]->nabcc, u"&");
    EXPECT_EQ(chars[2]->set, kMathSet);
    EXPECT_EQ(chars[3]->print, u" <= ") << "the reader replaces the serialiser's &lt;";
}

TEST(LinkTextConverter, TextWithoutRecordsGivesAnEmptyBody)
{
    TempDir dir;
    LinkTextConverter c;
    ASSERT_TRUE(c.convert(u"nothing here,{}"));
    ASSERT_TRUE(c.save(dir.file("work.bml")));
    auto d = readBmlFile(dir.file("work.bml"));
    EXPECT_EQ(dumpDocument(*d), "== cover\n*|1\n== contents\n*|1\n== body\n*|1\n== colophon\n*|1\n");
}

TEST(LinkTextConverter, SavingToAMissingFolderIsReported)
{
    TempDir dir;
    LinkTextConverter c;
    ASSERT_TRUE(c.convert(u"t`A`あ"));
    const SaveResult r = c.save(dir.file("gone/work.bml"));
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.reason.empty());
}
