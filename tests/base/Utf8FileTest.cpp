#include "Utf8File.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace braille;
using braille::test::readBytes;
using braille::test::TempDir;
using braille::test::writeBytes;

namespace {

std::u16string readAll(const std::filesystem::path& path)
{
    Utf8File f(path, Utf8File::Read);
    std::u16string s;
    for (;;) {
        char16_t u = f.readUnit();
        if (f.atEnd())
            break;
        s.push_back(u);
    }
    return s;
}

} // namespace

TEST(Utf8FileRead, ByteOrderMarkAndCarriageReturnsVanish)
{
    TempDir dir;
    writeBytes(dir.file("plain"), "a\tb\nc\n");
    writeBytes(dir.file("windows"), "\xEF\xBB\xBF" "a\tb\r\nc\r\n");
    EXPECT_EQ(readAll(dir.file("plain")), u"a\tb\nc\n");
    EXPECT_EQ(readAll(dir.file("windows")), u"a\tb\nc\n");
    // A byte-order mark in the middle is dropped too.
    writeBytes(dir.file("middle"), "x\xEF\xBB\xBFy");
    EXPECT_EQ(readAll(dir.file("middle")), u"xy");
}

TEST(Utf8FileRead, MultiByteSequences)
{
    TempDir dir;
    writeBytes(dir.file("f"), "\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80!");
    EXPECT_EQ(readAll(dir.file("f")), u"\u00E9\u3042\xD83D\xDE00!");
}

TEST(Utf8FileRead, MalformedBytesNeverReadPastTheData)
{
    TempDir dir;
    // A lead byte that cannot start a character gives a zero unit; a cut sequence gives nothing.
    writeBytes(dir.file("lead"), "a\x80" "b\xFF");
    EXPECT_EQ(readAll(dir.file("lead")), std::u16string(u"a\0b\0", 4));
    for (std::string cut : {"a\xC3", "a\xE3\x81", "a\xF0\x9F\x98"}) {
        writeBytes(dir.file("cut"), cut);
        EXPECT_EQ(readAll(dir.file("cut")), u"a") << cut.size();
    }
    // After the end every call returns the end mark.
    Utf8File f(dir.file("cut"), Utf8File::Read);
    f.readUnit();
    EXPECT_EQ(f.readUnit(), Utf8File::kEndOfData);
    EXPECT_TRUE(f.atEnd());
    EXPECT_EQ(f.readUnit(), Utf8File::kEndOfData);
}

TEST(Utf8FileRead, MissingFileIsAnEmptyStreamAndIsNotCreated)
{
    TempDir dir;
    Utf8File f(dir.file("nothing.txt"), Utf8File::Read);
    EXPECT_FALSE(f.isOpen());
    EXPECT_FALSE(f.readField());
    EXPECT_TRUE(f.atEnd());
    EXPECT_FALSE(std::filesystem::exists(dir.file("nothing.txt")));
}

TEST(Utf8FileRead, FieldsEndAtTabsAndLineFeedsAndEmptyOnesAreAbsent)
{
    TempDir dir;
    writeBytes(dir.file("f"), "a\t\tb\n\nc");
    Utf8File f(dir.file("f"), Utf8File::Read);
    EXPECT_EQ(f.readField(), u"a");
    EXPECT_FALSE(f.readField());
    EXPECT_EQ(f.readField(), u"b");
    EXPECT_FALSE(f.readField()); // the blank line
    EXPECT_EQ(f.readField(), u"c"); // no final line feed
    EXPECT_FALSE(f.readField());
}

TEST(Utf8FileWrite, EncodesAndJoinsSurrogates)
{
    TempDir dir;
    {
        Utf8File f(dir.file("out"), Utf8File::Write);
        ASSERT_TRUE(f.isOpen());
        f.write(u"a\u00E9\u3042\xD83D\xDE00");
        f.writeCodePoint(0x200000); // dropped
        EXPECT_TRUE(f.flush());
        EXPECT_EQ(f.byteCount(), 1u + 2 + 3 + 4);
    }
    EXPECT_EQ(readBytes(dir.file("out")), "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80");
    // The four-byte character read back is the same pair.
    EXPECT_EQ(readAll(dir.file("out")), u"a\u00E9\u3042\xD83D\xDE00");
}

TEST(Utf8FileWrite, ALoneHighSurrogateSurvivesARoundTrip)
{
    TempDir dir;
    {
        Utf8File f(dir.file("out"), Utf8File::Write);
        f.write(std::u16string(u"x\xD800y\xD801", 4));
    }
    EXPECT_EQ(readAll(dir.file("out")), std::u16string(u"x\xD800y\xD801", 4));
}

TEST(Utf8FileWrite, ReplacesTheFileAndLargeOutputIsComplete)
{
    TempDir dir;
    writeBytes(dir.file("out"), std::string(10000, 'z'));
    std::u16string big;
    for (int i = 0; i < 100000; ++i)
        big.push_back(char16_t(0x3041 + i % 80));
    {
        Utf8File f(dir.file("out"), Utf8File::Write);
        f.write(big);
    }
    EXPECT_EQ(readAll(dir.file("out")), big);
}

TEST(Utf8FileLock, ReadersShareAFileAndAWriterHasItAlone)
{
    TempDir dir;
    writeBytes(dir.file("held"), "keep me");
    {
        Utf8File holder(dir.file("held"), Utf8File::Read);
        ASSERT_TRUE(holder.isOpen());
        Utf8File secondReader(dir.file("held"), Utf8File::Read);
        EXPECT_TRUE(secondReader.isOpen());
        EXPECT_EQ(secondReader.readField(), u"keep me");
        Utf8File writer(dir.file("held"), Utf8File::Write);
        EXPECT_FALSE(writer.isOpen());
        writer.write(u"lost");
        EXPECT_FALSE(writer.flush());
        EXPECT_FALSE(writer.error().empty());
    }
    // The refused writer did not empty the file.
    EXPECT_EQ(readBytes(dir.file("held")), "keep me");
    {
        Utf8File writer(dir.file("held"), Utf8File::Write);
        ASSERT_TRUE(writer.isOpen());
        Utf8File reader(dir.file("held"), Utf8File::Read);
        EXPECT_FALSE(reader.isOpen());
        EXPECT_FALSE(reader.readField());
    }
    Utf8File again(dir.file("held"), Utf8File::Read);
    EXPECT_TRUE(again.isOpen());
}

TEST(Utf8FileWrite, AFailedWriteIsReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    Utf8File f("/dev/full", Utf8File::Write);
    ASSERT_TRUE(f.isOpen());
    f.write(u"data");
    EXPECT_FALSE(f.flush());
    EXPECT_NE(f.error().find("/dev/full"), std::string::npos);
}

TEST(Utf8FileRead, ReadAllDecodesLikeReadUnit)
{
    TempDir dir;
    const std::string inputs[] = {
        "",
        "plain ascii\r\nlines\r\n",
        "\xEF\xBB\xBF<a>\xE3\x81\x82\xEF\xBB\xBF\xE3\x81\x84</a>",
        "\xF0\x9F\x98\x80 and \xF0\x9F\x98",
        "\xC3\xA9\xC3",
        "\xFF\xFE\x80\x80\xF8\x88\x80\x80\x80 \xF4\x90\x80\x80 \xF0\x80\x81\x81",
        "ends in a four-byte character \xF0\x9F\x98\x80",
    };
    for (const std::string& bytes : inputs) {
        writeBytes(dir.file("a.txt"), bytes);
        const std::u16string unitByUnit = readAll(dir.file("a.txt"));
        Utf8File f(dir.file("a.txt"), Utf8File::Read);
        std::u16string all = u"kept:";
        f.readAll(all);
        EXPECT_EQ(all, u"kept:" + unitByUnit) << bytes;
        EXPECT_TRUE(f.atEnd());
        EXPECT_EQ(f.readUnit(), Utf8File::kEndOfData);
    }
}

TEST(Utf8FileRead, ReadAllContinuesAfterReadUnit)
{
    TempDir dir;
    writeBytes(dir.file("a.txt"), "\xF0\x9F\x98\x80xy");
    Utf8File f(dir.file("a.txt"), Utf8File::Read);
    std::u16string s(1, f.readUnit()); // the high surrogate; its low half is pending
    f.readAll(s);
    EXPECT_EQ(s, u"\U0001F600xy");
}

TEST(Utf8FileWrite, MixedTextGivesTheSameBytesAsUnitByUnit)
{
    TempDir dir;
    const std::u16string text = u"<char nabcc=\"A\">あ</char>\r\n\U0001F600ab\xD800z\xDC00";
    {
        Utf8File whole(dir.file("whole.txt"), Utf8File::Write);
        whole.write(text);
        Utf8File units(dir.file("units.txt"), Utf8File::Write);
        for (char16_t u : text)
            units.writeUnit(u);
        EXPECT_EQ(whole.byteCount(), units.byteCount());
    }
    EXPECT_EQ(readBytes(dir.file("whole.txt")), readBytes(dir.file("units.txt")));
    EXPECT_EQ(readBytes(dir.file("whole.txt")).substr(0, 19), "<char nabcc=\"A\">\xE3\x81\x82");
}

TEST(Utf8FileRead, ReadUnitsInSmallPiecesDecodesLikeReadUnit)
{
    TempDir dir;
    const std::string bytes = "\xEF\xBB\xBF" "a\r\n\xE3\x81\x82\xF0\x9F\x98\x80\xC3\xA9\xEF\xBB\xBF\xFF z\xE3\x81";
    writeBytes(dir.file("a.txt"), bytes);
    const std::u16string unitByUnit = readAll(dir.file("a.txt"));
    for (std::size_t piece = 1; piece <= 4; ++piece) {
        Utf8File f(dir.file("a.txt"), Utf8File::Read);
        std::u16string s;
        char16_t buffer[4];
        while (std::size_t n = f.readUnits(buffer, piece))
            s.append(buffer, n);
        EXPECT_EQ(s, unitByUnit) << piece;
        EXPECT_TRUE(f.atEnd());
    }
}
