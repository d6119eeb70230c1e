#pragma once
// The properties the fuzz targets check, shared with the regression tests that replay the
// corpus and every input that once failed.

#include <filesystem>
#include <string>
#include <string_view>

namespace braille::test {

// Reads `bytes` as a BML file, also with tiny read windows, writes the document and reads it
// back. Returns what is wrong (empty when all holds): a broken document invariant, a document
// that depends on the read window, a failed save, a second reading that does not give the same
// paragraphs, or, when every character came back as itself, bytes or labels that differ.
std::string checkBmlInput(std::string_view bytes, const std::filesystem::path& scratch);

// Converts `bytes` (UTF-8) as link text, saves the tree and reads it with the BML reader.
// Returns what is wrong: a body that is not one paragraph of the converted characters, or
// other sections that are not empty.
std::string checkLinkTextInput(std::string_view bytes, const std::filesystem::path& scratch);

// Translates `bytes` (UTF-8 print) automatically, with user readings chosen by the first bytes
// and cut from the text itself (AutoTranslateFuzzCheck.cpp). Returns what is wrong: a word
// whose print or braille span does not hold what it says, line feeds lost or added, a user
// word that did not come out with exactly its braille, or a second translation that differs.
std::string checkAutoTranslateInput(std::string_view bytes, const std::filesystem::path& scratch);

} // namespace braille::test
