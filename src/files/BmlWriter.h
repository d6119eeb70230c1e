#pragma once
// Writes a BrailleDocument as a BML file.
//
// The layout is fixed and written without an XML library: the declaration, the root, a head
// that says whether lines carry original-page labels, then the four sections in the order
// cover, contents, body, colophon, one line element per row and one element per character,
// indented by tabs, every line ending in CR LF. The reader (BmlReader) does not need this
// layout, but other tools compare and diff these files, so the bytes never vary.
//
// Characters that the reader would otherwise misread are written as references: "&", "\"", "<"
// and ">" in cell strings and labels, "&", "<" and ">" in print texts. Files without such
// characters are unaffected.

#include "AtomicSave.h"
#include "SaveResult.h"

#include <filesystem>
#include <string>
#include <vector>

namespace braille {

class BrailleDocument;
class Utf8File;

// Writes `document` to `path` through a temporary file that replaces the old one only when
// complete. When `replacementLabels` is given, the body's lines take those labels in order
// (and their rows' own labels once the list is used up), and the labelled layout is written.
// `complete` is false while writing. `modified` is cleared on success and left as it was on
// failure, so a failed save never looks like a saved document.
SaveResult writeBml(BrailleDocument& document, const std::filesystem::path& path,
                    const std::vector<std::u16string>* replacementLabels = nullptr,
                    SaveKind kind = SaveKind::UserFile);

// The same content into an open file, without the atomic replacement.
void writeBmlContent(Utf8File& out, const BrailleDocument& document,
                     const std::vector<std::u16string>* replacementLabels = nullptr);

} // namespace braille
