// Link mode's frames and records, as a companion application sees them.

#include "LinkProtocol.h"
#include "SessionFixture.h"

using namespace braille;
using namespace braille::link;
using namespace braille::test;

TEST(LinkFrames, RoundTripEvenByteByByte)
{
    Frame sent{FrameType::Sent, kCopyData, 7, 0, 12, textPayload(42, kChangeData, u"{t`A`あ}")};
    Frame posted{FrameType::Posted, kStart, 1, 2, 0, {}};
    std::vector<std::uint8_t> bytes = encodeFrame(sent);
    const std::vector<std::uint8_t> second = encodeFrame(posted);
    bytes.insert(bytes.end(), second.begin(), second.end());
    FrameReader reader;
    std::vector<Frame> frames;
    for (std::uint8_t b : bytes) {
        reader.append(&b, 1);
        while (std::optional<Frame> f = reader.next())
            frames.push_back(*f);
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].message, kCopyData);
    EXPECT_EQ(frames[0].dwData, 12u);
    EXPECT_EQ(frames[0].data, sent.data);
    EXPECT_EQ(frames[1].message, kStart);
    EXPECT_EQ(frames[1].lParam, 2u);
    const std::optional<TextPayload> payload = readTextPayload(frames[0].data);
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->id, kChangeData);
    EXPECT_EQ(payload->text, u"{t`A`あ}");
}

TEST(LinkFrames, LyingOrCutFramesAreSurvived)
{
    // A copy-data size that claims more than its frame holds breaks the stream; nothing is read.
    std::vector<std::uint8_t> bytes = encodeFrame({FrameType::Sent, kCopyData, 0, 0, 12, {1, 2, 3, 4}});
    bytes[24] = 0xFF;
    FrameReader lying;
    lying.append(bytes.data(), bytes.size());
    EXPECT_FALSE(lying.next());
    EXPECT_TRUE(lying.broken());
    // A frame cut short waits for the rest; a length too large is refused.
    bytes = encodeFrame({FrameType::Posted, kEnd, 9, 0, 0, {}});
    FrameReader cut;
    cut.append(bytes.data(), bytes.size() - 1);
    EXPECT_FALSE(cut.next());
    EXPECT_FALSE(cut.broken());
    const std::uint8_t huge[8] = {0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0};
    FrameReader big;
    big.append(huge, sizeof huge);
    EXPECT_FALSE(big.next());
    EXPECT_TRUE(big.broken());
    // A payload without its zero, or with an odd last byte, ends at the data's end.
    std::vector<std::uint8_t> data = textPayload(1, kChangeData, u"ab");
    data.resize(data.size() - 1);
    EXPECT_EQ(readTextPayload(data)->text, u"ab");
    data.resize(6);
    EXPECT_FALSE(readTextPayload(data));
}

TEST(LinkUpdate, TheBodyGoesBackWithoutBlanksLineBreaksOrEmptyRows)
{
    Session typed;
    typed.run(u"ka {Enter}{Enter}{F2}x{Enter}");
    const std::u16string text = updateText(typed.document);
    EXPECT_EQ(text, u"{text`*`か},{math`;`\uE01B},{math`X`ｘ},");
    Session empty;
    empty.run(u"{Space}{Enter}{Space}");
    EXPECT_EQ(updateText(empty.document), u"");
    const std::vector<std::uint8_t> record = updateRecord(5, text);
    EXPECT_EQ(record.size(), 8 + 2 * (text.size() + 1));
    EXPECT_EQ(readTextPayload(record)->id, kUpdate);
}

TEST(LinkSockets, NamedByHandleInAFolderThatMustBePrivate)
{
    EXPECT_EQ(socketPath("/run/user/5", "tenkora", 0x47d3).string(), "/run/user/5/tenkora-link-000047d3");
    const std::optional<EventRecord> event = readEventRecord(eventRecord(9, kKeyDown, 0x26, 1));
    ASSERT_TRUE(event);
    EXPECT_EQ(event->sender, 9u);
    EXPECT_EQ(event->event, kKeyDown);
    EXPECT_EQ(event->first, 0x26u);
    EXPECT_EQ(event->second, 1u);
    EXPECT_FALSE(readEventRecord(textPayload(9, kUpdate, u"{text`A`あ},{text`B`い},")));
}
