#include "ClipboardFormat.h"
#include "DocumentBuilder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <random>

using namespace braille;
using namespace braille::test;

TEST(ClipboardFormat, LetterLineBreakLetterRoundTrip)
{
    const CharacterDictionary& d = shippedDictionary();
    const EntryList entries = {entryOf(u'a'), d.lineBreakEntry(), entryOf(u'b')};
    const std::u16string units = serializeEntries(entries);
    std::size_t expected = 2;
    for (const BrailleCharacter* e : entries)
        expected += 3 + e->print.size() + e->nabcc.size();
    ASSERT_EQ(units.size(), expected);
    EXPECT_EQ(units[0], 0);
    EXPECT_EQ(units[1], expected);
    EXPECT_EQ(units[2], kTextSet);
    EXPECT_EQ(units[3], 1); // "ａ"

    const std::vector<std::uint8_t> bytes = unitsToBytes(units);
    EXPECT_EQ(bytes.size(), expected * 2);
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[2], expected); // little-endian low unit
    const ClipboardParse parsed = parseClipboard(bytes);
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(resolveRecords(parsed.records, d), entries);
}

TEST(ClipboardFormat, LyingLengthsAreReadSafely)
{
    const CharacterDictionary& d = shippedDictionary();
    std::u16string units = serializeEntries({entryOf(u'a'), entryOf(u'b')});
    std::vector<std::uint8_t> good = unitsToBytes(units);

    // A total length far beyond the data: the records that are there are read.
    std::u16string longer = units;
    longer[0] = 0x7FFF;
    ClipboardParse p = parseClipboard(unitsToBytes(longer));
    EXPECT_NE(p.problem, "");
    EXPECT_EQ(p.records.size(), 2u);

    // A total length shorter than the data stops early.
    std::u16string shorter = units;
    shorter[1] = char16_t(2 + 3 + 1 + 1);
    p = parseClipboard(unitsToBytes(shorter));
    EXPECT_EQ(p.records.size(), 1u);

    // A print length that runs past the end.
    std::u16string lying = units;
    lying[3] = 0xFFFF;
    p = parseClipboard(unitsToBytes(lying));
    EXPECT_TRUE(p.records.empty());
    EXPECT_NE(p.problem, "");

    // An odd size drops the last byte; one or no header unit gives nothing.
    std::vector<std::uint8_t> odd = good;
    odd.push_back(0x41);
    p = parseClipboard(odd);
    EXPECT_EQ(p.records.size(), 2u);
    EXPECT_EQ(parseClipboard(good.data(), 3).records.size(), 0u);
    EXPECT_EQ(parseClipboard(nullptr, 0).records.size(), 0u);

    // A record of a set no table knows resolves to nothing.
    std::u16string unknown = serializeEntries({entryOf(u'a')});
    unknown[2] = 9;
    EXPECT_EQ(resolveRecords(parseClipboard(unitsToBytes(unknown)).records, d), EntryList{nullptr});
}

TEST(ClipboardFormat, RandomBytesNeverReadOutOfBounds)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(rng() % 64);
        for (auto& b : bytes)
            b = std::uint8_t(rng() % 4 == 0 ? rng() : rng() % 8);
        const ClipboardParse p = parseClipboard(bytes);
        std::size_t units = 2;
        for (const ClipboardRecord& r : p.records)
            units += 3 + r.print.size() + r.nabcc.size();
        EXPECT_LE(units, std::max<std::size_t>(2, bytes.size() / 2));
    }
}
