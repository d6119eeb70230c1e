#include "ClipboardFormat.h"

namespace braille {

std::u16string serializeEntries(const EntryList& entries)
{
    std::u16string units(2, u'\0');
    for (const BrailleCharacter* e : entries) {
        if (!e)
            continue;
        units.push_back(char16_t(e->set));
        units.push_back(char16_t(e->print.size()));
        units += e->print;
        units.push_back(char16_t(e->nabcc.size()));
        units += e->nabcc;
    }
    const std::uint32_t total = std::uint32_t(units.size());
    units[0] = char16_t(total >> 16);
    units[1] = char16_t(total & 0xFFFF);
    return units;
}

std::vector<std::uint8_t> unitsToBytes(std::u16string_view units)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t u : units) {
        bytes.push_back(std::uint8_t(u & 0xFF));
        bytes.push_back(std::uint8_t(u >> 8));
    }
    return bytes;
}

ClipboardParse parseClipboard(const std::uint8_t* data, std::size_t size)
{
    ClipboardParse result;
    const std::size_t available = size / 2;
    if (size % 2)
        result.problem = "odd number of bytes";
    auto unit = [&](std::size_t i) { return char16_t(data[2 * i] | (data[2 * i + 1] << 8)); };
    if (available < 2) {
        result.problem = "no header";
        return result;
    }
    const std::size_t total = (std::size_t(unit(0)) << 16) | unit(1);
    std::size_t end = total;
    if (total > available) {
        result.problem = "the length says " + std::to_string(total) + " units, the data holds " + std::to_string(available);
        end = available;
    }
    std::size_t pos = 2;
    auto readString = [&](std::u16string& out) {
        if (pos >= end)
            return false;
        const std::size_t n = unit(pos++);
        if (n > end - pos)
            return false;
        out.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            out.push_back(unit(pos++));
        return true;
    };
    while (pos < end) {
        ClipboardRecord r;
        r.set = unit(pos++);
        if (!readString(r.print) || !readString(r.nabcc)) {
            result.problem = "a record runs past the end of the data";
            break;
        }
        result.records.push_back(std::move(r));
    }
    return result;
}

std::u16string encodeCharacterRunCode(const EntryList& entries)
{
    std::u16string code = serializeEntries(entries);
    std::uint32_t count = 0;
    for (const BrailleCharacter* e : entries)
        count += e != nullptr;
    code[0] = char16_t(count >> 16);
    code[1] = char16_t(count & 0xFFFF);
    return code;
}

EntryList decodeCharacterRunCode(std::u16string_view code, const CharacterDictionary& dictionary)
{
    EntryList entries;
    if (code.size() < 2 || (code[0] & 0x8000))
        return entries;
    std::size_t count = (std::size_t(code[0]) << 16) | code[1];
    std::size_t pos = 2;
    const auto readString = [&](std::u16string& out) {
        if (pos >= code.size())
            return false;
        const std::size_t n = code[pos++];
        if (n > code.size() - pos)
            return false;
        out.assign(code.substr(pos, n));
        pos += n;
        return true;
    };
    while (count-- > 0 && pos < code.size()) {
        ClipboardRecord r;
        r.set = code[pos++];
        if (!readString(r.print) || !readString(r.nabcc))
            break;
        if (const BrailleCharacter* e = dictionary.findOrDefault(r.set, r.print, r.nabcc))
            entries.push_back(e);
    }
    return entries;
}

EntryList resolveRecords(const std::vector<ClipboardRecord>& records, const CharacterDictionary& dictionary)
{
    EntryList entries;
    entries.reserve(records.size());
    for (const ClipboardRecord& r : records)
        entries.push_back(dictionary.findOrDefault(r.set, r.print, r.nabcc));
    return entries;
}

} // namespace braille
