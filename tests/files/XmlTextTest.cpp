#include "XmlText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using braille::test::u8;

namespace {

std::string escaped(std::u16string_view text, unsigned which)
{
    std::u16string out;
    appendEscaped(out, text, which);
    return u8(out);
}

} // namespace

TEST(XmlTextEscape, CellsEscapeAllFour)
{
    EXPECT_EQ(escaped(u"&\"<>A", kEscapeCells), "&amp;&quot;&lt;&gt;A");
}

TEST(XmlTextEscape, ContentKeepsQuotes)
{
    EXPECT_EQ(escaped(u"a&b<c>\"d", kEscapeContent), "a&amp;b&lt;c&gt;\"d");
}

TEST(XmlTextEscape, CarriageReturnAndByteOrderMarkAlwaysBecomeReferences)
{
    EXPECT_EQ(escaped(u"a\rb\uFEFFc", kEscapeContent), "a&#13;b&#xFEFF;c");
    EXPECT_TRUE(needsEscape(u"\r", 0));
    EXPECT_FALSE(needsEscape(u"あいう", kEscapeCells));
}

TEST(XmlTextDecode, FivePredefinedEntities)
{
    EXPECT_EQ(u8(decodeReferences(u"&amp;&lt;&gt;&quot;&apos;")), "&<>\"'");
}

TEST(XmlTextDecode, OnePassDoesNotDecodeTwice)
{
    EXPECT_EQ(u8(decodeReferences(u"&amp;lt;")), "&lt;");
    EXPECT_EQ(u8(decodeReferences(u"&amp;amp;")), "&amp;");
}

TEST(XmlTextDecode, NumericReferences)
{
    EXPECT_EQ(decodeReferences(u"&#65;&#x3042;&#X1F600;&#09;"), u"Aあ\U0001F600\t");
}

TEST(XmlTextDecode, MalformedReferencesStayAsText)
{
    for (std::u16string_view s : {u"&", u"&amp", u"a & b", u"&unknown;", u"&#;", u"&#x;", u"&#xD800;", u"&#0;",
                                  u"&#1114112;", u"&#99999999999;", u"&#12a;", u"&&amp;"}) {
        const std::u16string d = decodeReferences(s);
        if (s == u"&&amp;")
            EXPECT_EQ(d, u"&&");
        else
            EXPECT_EQ(d, s) << u8(s);
    }
}

TEST(XmlTextDecode, InverseOfEscape)
{
    const std::u16string text = u"&lt; is \"<\" & \r\uFEFF > 1";
    std::u16string out;
    appendEscaped(out, text, kEscapeCells);
    EXPECT_EQ(decodeReferences(out), text);
}
