#pragma once
// Reads a BML file into a BrailleDocument, one paragraph per step.
//
// BrailleXML is a small tolerant scanner, not an XML parser: it recognises a handful of element
// names, ignores everything else (text between elements, unknown elements, end tags it has no
// use for) and does not check nesting. That lets it read the layout Tenkora writes, the compact
// layout of files written by XML libraries, and whatever a damaged or foreign file holds: any
// input gives a document that keeps the model's invariants.
//
// Rows are not taken from the file. Characters are collected into paragraphs up to each br
// element and laid out again with the current line width; the labels of the line elements are
// handed to the new rows in order.
//
// The caller creates the document for reading and calls readStep until it returns kReadEnd,
// repainting in between if it likes; the document is complete after the last step.

#include "BrailleDocument.h"
#include "file_utf8.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace braille {

class CharacterDictionary;

enum ReadStepResult : int {
    kReadEnd = 0,       // the document is complete
    kReadParagraph = 3, // one more paragraph was read
};

class BrailleXML {
public:
    // Opens the file with exclusive access and takes its whole content.
    explicit BrailleXML(const std::filesystem::path& path);
    BrailleXML(const BrailleXML&) = delete;
    BrailleXML& operator=(const BrailleXML&) = delete;

    // False when the file could not be opened (error() says why); reading then gives the
    // sections of a new document.
    bool isOpen() const { return m_file.isOpen(); }
    const std::string& error() const { return m_file.error(); }

    // Reads up to the end of the next paragraph (kReadParagraph) or to the end of the document
    // (kReadEnd). Always call it with the same document.
    int readStep(BrailleDocument& document);
    // All steps at once, for callers that show no progress.
    void readAll(BrailleDocument& document)
    {
        while (readStep(document) != kReadEnd) {
        }
    }

    // Progress: the decoded text read so far and in all, in code units.
    std::size_t position() const { return m_pos; }
    std::size_t size() const { return m_text.size(); }

private:
    struct LookupKey {
        std::uint16_t mode;
        std::u16string print;
        std::u16string nabcc;
        bool operator==(const LookupKey&) const = default;
    };
    struct LookupKeyHash {
        std::size_t operator()(const LookupKey& k) const;
    };

    bool atEnd() const { return m_pos >= m_text.size(); }
    std::u16string_view readName();
    void skipWhitespace();
    void skipPast(char16_t c);
    void readQuotedValue();
    std::u16string readLineLabel();
    const BrailleCharacter* readCharacter();
    const BrailleCharacter* lookUp(std::uint16_t mode, const std::u16string& print, const std::u16string& nabcc);

    void readUse(BrailleDocument& document);
    void startSection(BrailleDocument& document, SectionKind kind);
    void finishParagraph(BrailleDocument& document);
    void finishSection(BrailleDocument& document);
    void finishDocument(BrailleDocument& document);

    file_utf8 m_file;
    std::u16string m_value;  // the last attribute value read
    bool m_useOrgPage = false;

    std::u16string m_text; // the decoded content of the file
    std::size_t m_pos = 0;
    CharacterSequence* m_pending = nullptr; // characters of the paragraph being read
    bool m_finished = false;
    const CharacterDictionary& m_dictionary;
    // Books repeat a few hundred distinct characters many thousands of times; the dictionary
    // never changes while a file is read, so each distinct stored form is looked up once.
    std::unordered_map<LookupKey, const BrailleCharacter*, LookupKeyHash> m_cache;
    LookupKey m_key;
};

} // namespace braille
