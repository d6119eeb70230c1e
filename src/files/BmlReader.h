#pragma once
// Reads a BML file into a BrailleDocument, one paragraph per step.
//
// BmlReader is a small tolerant scanner, not an XML parser: it recognises a handful of element
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
#include "Utf8File.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace braille {

class CharacterDictionary;

enum ReadStepResult : int {
    kReadEnd = 0,       // the document is complete
    kReadParagraph = 3, // one more paragraph was read
};

// How the reader decodes: code units at a time, and how many consumed ones it keeps before
// dropping them. The sizes change nothing in what is read; tests read with tiny windows to cut
// elements at every place.
struct ReadWindow {
    std::size_t fillUnits = 64 * 1024;
    std::size_t dropAfter = 256 * 1024;
};

// What a file that is not BML looks like from its first bytes, so that the message can say what
// it is.
enum class ForeignFile { Empty, Utf16, Xml, Text, Binary };
ForeignFile classifyForeignFile(const std::filesystem::path& path);

class BmlReader {
public:
    // Opens the file with exclusive access and takes its whole content.
    explicit BmlReader(const std::filesystem::path& path, ReadWindow window = {});
    BmlReader(const BmlReader&) = delete;
    BmlReader& operator=(const BmlReader&) = delete;

    // False when the file could not be opened (error() says why); reading then gives the
    // sections of a new document.
    bool isOpen() const { return m_file.isOpen(); }
    // After the last step: a section began but the file ended before it did (a file cut short,
    // as a failed copy or a full disk leaves it). What was read is a sound document all the same.
    bool endedEarly() const { return m_endedEarly; }
    // After the last step: whether the file held the document element at all. Without it the
    // file is no BML file, however tolerantly it was read.
    bool sawDocument() const { return m_sawDocument; }
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

    // Progress for a loading screen: bytes of the file decoded so far (at most one window ahead
    // of what was read) and the file's size.
    std::size_t bytesRead() const { return m_file.bytesRead(); }
    std::size_t totalBytes() const { return m_file.dataSize(); }

private:
    // The text is decoded into a window that scanning extends as it needs and that is emptied
    // of what was consumed between elements, so memory stays small whatever the file's size.
    bool fill();
    void dropConsumed();
    bool atEnd() { return m_pos >= m_text.size() && !fill(); }
    // The position of the first code unit from `from` on that is `c`, or npos at the end.
    std::size_t find(char16_t c, std::size_t from);
    std::size_t findQuoteOrClose(std::size_t from);

    std::u16string_view readName();
    void skipWhitespace();
    void skipPast(char16_t c);
    std::u16string_view readQuotedValue();
    std::u16string readLineLabel();
    const BrailleCharacter* readCharacter();
    const BrailleCharacter* readUsualCharacter();
    const BrailleCharacter* lookUp(std::uint16_t mode, std::u16string_view print, std::u16string_view nabcc);

    void readUse(BrailleDocument& document);
    void startSection(BrailleDocument& document, SectionKind kind);
    void finishParagraph(BrailleDocument& document);
    void finishSection(BrailleDocument& document);
    void finishDocument(BrailleDocument& document);

    Utf8File m_file;
    std::u16string_view m_value; // the last attribute value read (in the window, until it moves)
    bool m_useOrgPage = false;

    std::u16string m_text; // the window of decoded text
    std::size_t m_pos = 0; // the next code unit to scan in m_text
    ReadWindow m_window;
    CharacterSequence* m_pending = nullptr; // characters of the paragraph being read
    bool m_finished = false;
    bool m_endedEarly = false;
    bool m_sawDocument = false;
    const CharacterDictionary& m_dictionary;
    // Books repeat a few hundred distinct characters many thousands of times; the dictionary
    // never changes while a file is read, so each distinct stored form is looked up once and
    // kept in a small direct-mapped table. The key is the mode, the length of the print text,
    // the print text and the cells.
    struct CacheSlot {
        std::u16string key;
        const BrailleCharacter* entry = nullptr;
    };
    std::vector<CacheSlot> m_cache;
    std::u16string m_key;
    std::u16string m_nabcc, m_print; // values with references replaced
};

} // namespace braille
