#pragma once
// Turns the companion's link text into a BML document tree.
//
// Link text lists characters as records of mode, cell string and print text. Records are
// separated by "," or by line feeds; a record in braces keeps its commas; fields are separated
// by tabs, and "`" stands for a tab anywhere. The conversion builds an XML tree with a "no" head
// and a body of one line holding one char element per well-formed record; malformed records
// are skipped. Saved, the tree is the link work file, which the BML reader reads as a body of
// one paragraph.

#include "AtomicSave.h"
#include "SaveResult.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_document;
}

namespace braille {

struct LinkRecord {
    bool math = false;
    std::u16string nabcc;
    std::u16string print;
};

class LinkTextConverter {
public:
    LinkTextConverter();
    ~LinkTextConverter();
    LinkTextConverter(const LinkTextConverter&) = delete;
    LinkTextConverter& operator=(const LinkTextConverter&) = delete;

    // Builds the tree from `text` (which ends at its first zero code unit, if any). False only
    // when the tree could not be started.
    bool convert(std::u16string_view text);

    // The tree as UTF-8 XML: the declaration, then the elements without indentation.
    std::string serialize() const;
    // Writes the tree to `path`, replacing the file only when it is complete.
    SaveResult save(const std::filesystem::path& path, SaveKind kind = SaveKind::UserFile) const;

    const pugi::xml_document& tree() const { return *m_tree; }
    // How many records became char elements.
    std::size_t characterCount() const { return m_count; }

private:
    std::unique_ptr<pugi::xml_document> m_tree;
    std::size_t m_count = 0;
};

// The records of link text, in order, without the malformed ones.
std::vector<LinkRecord> parseLinkText(std::u16string_view text);

} // namespace braille
