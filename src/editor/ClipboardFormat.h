#pragma once
// The editor's private clipboard format: a run of characters as 16-bit little-endian units.
//
// The block starts with its total length in units (header included), high half first, then one
// record per character in document order: set number, print length, print text, cell length,
// cell string. Entries are not copied but resolved again when pasted, so a run pasted into the
// same process yields the same entries.
//
// A block that comes from the clipboard is untrusted: a total length or a record length that
// lies, or an odd number of bytes, is read safely and never past the data; what could be read
// whole is kept.

#include "CharacterDictionary.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace braille {

struct ClipboardRecord {
    SetNumber set = 0;
    std::u16string print;
    std::u16string nabcc;
    friend bool operator==(const ClipboardRecord&, const ClipboardRecord&) = default;
};

struct ClipboardParse {
    std::vector<ClipboardRecord> records;
    // Empty when the block was well formed; otherwise what was wrong with it.
    std::string problem;
};

// The units of the block, header included.
std::u16string serializeEntries(const EntryList& entries);
std::vector<std::uint8_t> unitsToBytes(std::u16string_view units);

ClipboardParse parseClipboard(const std::uint8_t* data, std::size_t size);
inline ClipboardParse parseClipboard(const std::vector<std::uint8_t>& bytes)
{
    return parseClipboard(bytes.data(), bytes.size());
}

// The entries of the records, each resolved with findOrDefault; a record that no set knows
// gives an empty pointer (skipped when inserted).
EntryList resolveRecords(const std::vector<ClipboardRecord>& records, const CharacterDictionary& dictionary);

// The character run code the find dialog and the view exchange: the same records, after a header
// of two units that holds the number of characters (not the length). Decoding reads at most that
// many records and never past the end of the code; a count of zero or with its high half
// negative is an empty run. Each record is looked up with findOrDefault, so a character no set
// knows becomes its set's default entry (or is left out where the set has none).
std::u16string encodeCharacterRunCode(const EntryList& entries);
EntryList decodeCharacterRunCode(std::u16string_view code, const CharacterDictionary& dictionary);

} // namespace braille
