#pragma once
// One entry of the review list: a stretch of the book a human should look at, with what the
// transcriber is told about it.
//
// Two sources fill the list: the automatic translation, for words whose reading it guessed or
// did not know, and the braille check, for what breaks the braille rules. An item names its
// stretch as a section and two character locations (the end one past its last character), the
// print it stands for and the cells it had when it was listed.

#include "BrailleDocument.h"
#include "BrailleDocumentCursor.h"

#include <string>

namespace braille {

enum class ReviewKind : std::uint8_t {
    GuessedReading,           // a homograph whose reading the translation chose
    UnknownWord,              // a word the dictionary does not know
    StrayNumberSign,          // a number sign with no digit after it
    DigitsWithoutNumberSign,  // digits that would read as kana
    KanaWithoutConnector,     // an a- or ra-row kana after digits, read as a digit
    BlanksAfterPunctuation,   // not one blank after 、 or not two after 。
    LettersWithoutForeignSign, // a letter run that would read as kana
    BreakInsideWord,          // a line break between two characters of a word
    EmptyParagraphs,          // a run of empty paragraphs
};

// Words of the translation, as against findings of the check.
constexpr bool isTranslationKind(ReviewKind kind)
{
    return kind == ReviewKind::GuessedReading || kind == ReviewKind::UnknownWord;
}

struct ReviewItem {
    ReviewKind kind = ReviewKind::UnknownWord;
    SectionKind section = Body;
    DocumentLocation begin; // the first character
    DocumentLocation end;   // one past the last character
    std::u16string print;   // the print word, or the characters' print for a finding
    std::u16string braille; // the cells given, one NABCC code a cell
    // What the check counted (blanks after the punctuation, empty paragraphs in the run).
    std::uint32_t count = 0;
    bool done = false;
    // An edit inside the item changed its cells: the review list takes them again.
    bool stale = false;
};

// Document order: section, then the first character, then the last.
bool reviewOrder(const ReviewItem& a, const ReviewItem& b);

// What is wrong or what to check, in Japanese, for the list and the command line.
std::u16string reviewDescription(const ReviewItem& item);

// The section's name as the section menu says it ("本文").
std::u16string sectionCaption(SectionKind section);

} // namespace braille
