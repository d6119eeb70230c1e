#pragma once
// A braille book made from a print book: every paragraph translated automatically (the print's
// own ruby readings winning over the dictionary's and the user's) and typed through the TEXT
// input, so the braille rules add the number signs, connectors and blanks as when a transcriber
// types; headings indented so that the table of contents finds them (level 1 at cell 9, level 2
// at cell 7, deeper at cell 5), body paragraphs at cell 3, and the print pages marked on the
// rows where they begin. The cost grows with the text alone.

#include "AutoTranslator.h"
#include "BrailleDocument.h"
#include "PageLayout.h"
#include "PrintBook.h"
#include "ReviewItem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace braille {

// A word the transcriber should check, where it stands: its section, its paragraph there (the
// braille paragraph made of that print paragraph) and its place in the print paragraph's text.
struct WordToReview {
    SectionKind section = Body;
    std::uint32_t paragraph = 0;
    std::size_t printBegin = 0, printEnd = 0;
    std::u16string word;
    bool guessed = false; // a homograph whose reading was guessed; else unknown to the dictionary
};

struct PrintBookTyping {
    std::unique_ptr<BrailleDocument> document; // none when cancelled
    std::size_t rubyUsed = 0;
    std::size_t leftOut = 0; // characters no table knows
    std::vector<autotranslate::WordCount> guessed, unknown;
    std::vector<WordToReview> review; // every guessed and unknown word, in book order
    // The same words where they stand in the braille book, for its review list.
    std::vector<ReviewItem> reviewItems;
    bool cancelled = false;
};

// `progress(done, total)` is told the paragraphs typed so far now and then; when it returns
// false the work stops and no book is made.
PrintBookTyping typePrintBook(const PrintBook& book, const autotranslate::AutoTranslator& translator,
                              PageLayout layout,
                              const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

} // namespace braille
