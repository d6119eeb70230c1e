#pragma once
// Fills the character dictionary from the table files in the shipped `tables` folder (beside the
// program in the build tree, in share/tenkora once installed: paths::tableFolder).
//
// Each dictionary table is read twice: into the print sets (print text to braille, and stored
// characters) and into the key sets (typed input). Within a set the first record for a print
// text makes the main entry, so the order of the files matters. A missing folder or file adds
// nothing; a malformed record ends its file. The loader reports nothing: what it could read is
// what the dictionary holds.

#include <filesystem>

namespace braille {

class CharacterDictionary;

// The shipped `tables` folder of the running program (paths::tableFolder).
std::filesystem::path tableDirectory();

void loadTables(CharacterDictionary& dictionary, const std::filesystem::path& directory);
inline void loadTables(CharacterDictionary& dictionary) { loadTables(dictionary, tableDirectory()); }

} // namespace braille
