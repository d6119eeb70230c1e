#pragma once
// The braille check: what in a book breaks the rules the input applies while typing, found
// after editing has left it behind (a digit deleted from after its number sign, a number sign
// deleted from before its digits, a blank typed after 。, letters translated without their
// sign), each as an item of the review list, and the one edit that mends it.
//
// The check only reads the book; a fix is applied by the editing session when the transcriber
// asks for it on one item, as one undo step.

#include "CharacterDictionary.h"
#include "ReviewItem.h"

#include <vector>

namespace braille {

std::vector<ReviewItem> checkSection(const BrailleDocument& document, SectionKind section);
// Every section, in book order.
std::vector<ReviewItem> checkBook(const BrailleDocument& document);

// The edit that mends a finding: the characters from `at` to `stop` go (none when equal), and
// `insert` goes in at `at`.
struct ReviewFix {
    bool possible = false;
    std::u16string caption; // what the fix does, in Japanese
    SectionKind section = Body;
    DocumentLocation at, stop;
    EntryList insert;
};

// The fix for an item as it stands now; not possible for the translation's words, or when the
// item no longer stands on what was found.
ReviewFix fixFor(const BrailleDocument& document, const ReviewItem& item);

} // namespace braille
