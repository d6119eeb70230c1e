#include "LinkProtocol.h"

#include "CharacterDictionary.h"

#include <cstdio>

namespace braille::link {

namespace {

constexpr std::size_t kMaxFrame = 16u << 20;

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

std::uint32_t get32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void putText(std::vector<std::uint8_t>& out, std::u16string_view text)
{
    for (char16_t c : text) {
        out.push_back(std::uint8_t(c & 0xFF));
        out.push_back(std::uint8_t(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
}

} // namespace

std::vector<std::uint8_t> encodeFrame(const Frame& frame)
{
    std::vector<std::uint8_t> body;
    put32(body, std::uint32_t(frame.type));
    put32(body, frame.message);
    put32(body, frame.wParam);
    put32(body, frame.lParam);
    if (frame.message == kCopyData && frame.type != FrameType::Reply) {
        put32(body, frame.dwData);
        put32(body, std::uint32_t(frame.data.size()));
        body.insert(body.end(), frame.data.begin(), frame.data.end());
    }
    std::vector<std::uint8_t> out;
    put32(out, std::uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

void FrameReader::append(const std::uint8_t* bytes, std::size_t size)
{
    if (m_broken)
        return;
    // What was read is dropped before more is kept.
    if (m_read > 0) {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + std::ptrdiff_t(m_read));
        m_read = 0;
    }
    m_buffer.insert(m_buffer.end(), bytes, bytes + size);
}

std::optional<Frame> FrameReader::next()
{
    if (m_broken)
        return std::nullopt;
    const std::size_t available = m_buffer.size() - m_read;
    if (available < 4)
        return std::nullopt;
    const std::uint8_t* p = m_buffer.data() + m_read;
    const std::uint32_t length = get32(p);
    if (length < 16 || length > kMaxFrame) {
        m_broken = true;
        return std::nullopt;
    }
    if (available - 4 < length)
        return std::nullopt; // the rest has not arrived yet
    Frame frame;
    const std::uint32_t type = get32(p + 4);
    if (type < 1 || type > 3) {
        m_broken = true;
        return std::nullopt;
    }
    frame.type = FrameType(type);
    frame.message = get32(p + 8);
    frame.wParam = get32(p + 12);
    frame.lParam = get32(p + 16);
    if (frame.message == kCopyData && frame.type != FrameType::Reply) {
        if (length < 24) {
            m_broken = true;
            return std::nullopt;
        }
        frame.dwData = get32(p + 20);
        const std::uint32_t size = get32(p + 24);
        if (size != length - 24) {
            m_broken = true; // a copy-data size that does not fill its frame exactly lies
            return std::nullopt;
        }
        frame.data.assign(p + 28, p + 28 + size);
    }
    m_read += 4 + length;
    return frame;
}

std::optional<TextPayload> readTextPayload(const std::vector<std::uint8_t>& data)
{
    if (data.size() < 8)
        return std::nullopt;
    TextPayload payload;
    payload.sender = get32(data.data());
    payload.id = get32(data.data() + 4);
    // The text ends at its zero; an odd last byte or a missing zero end it at the data's end.
    for (std::size_t i = 8; i + 1 < data.size(); i += 2) {
        const char16_t c = char16_t(data[i] | data[i + 1] << 8);
        if (c == 0)
            break;
        payload.text.push_back(c);
    }
    return payload;
}

std::vector<std::uint8_t> textPayload(std::uint32_t sender, std::uint32_t id, std::u16string_view text)
{
    std::vector<std::uint8_t> out;
    put32(out, sender);
    put32(out, id);
    putText(out, text);
    return out;
}

std::u16string updateText(const BrailleDocument& document)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    std::u16string text;
    for (const BrailleParagraph& p : document.sections[Body].paragraphs)
        for (const BrailleRow& row : p.rows) {
            if (row.end - row.begin == 1)
                continue; // a row of one character (an empty line) carries nothing
            for (std::uint32_t i = row.begin; i < row.end && i < p.characters->size(); ++i) {
                const BrailleCharacter* e = (*p.characters)[i];
                if (e == d.lineBreakEntry() || e == d.endMarkerEntry() || e == d.blankEntry())
                    continue;
                text += isMathSet(e->set) ? u"{math`" : u"{text`";
                text += e->nabcc;
                text += u'`';
                text += e->print;
                text += u"},";
            }
        }
    return text;
}

std::vector<std::uint8_t> updateRecord(std::uint32_t editor, std::u16string_view text)
{
    return textPayload(editor, kUpdate, text);
}

std::vector<std::uint8_t> eventRecord(std::uint32_t editor, std::uint32_t event, std::uint32_t first,
                                      std::uint32_t second)
{
    std::vector<std::uint8_t> out;
    put32(out, editor);
    put32(out, kMessage);
    put32(out, event);
    put32(out, first);
    put32(out, second);
    return out;
}

std::optional<EventRecord> readEventRecord(const std::vector<std::uint8_t>& data)
{
    if (data.size() < 20 || get32(data.data() + 4) != kMessage)
        return std::nullopt;
    return EventRecord{get32(data.data()), get32(data.data() + 8), get32(data.data() + 12), get32(data.data() + 16)};
}

SocketFolder socketFolder()
{
    SocketFolder result{paths::runtimeFolder(), {}};
    result.usable = paths::privateFolder(result.folder);
    return result;
}

std::filesystem::path socketPath(const std::filesystem::path& folder, std::string_view name, std::uint32_t handle)
{
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", unsigned(handle));
    return folder / (std::string(name) + "-link-" + hex);
}

} // namespace braille::link
