#pragma once
// The words of an automatic translation that a human should check (readings guessed, words the
// dictionary does not know), found again in the braille the translation was typed into.
//
// The translation is typed through the TEXT input, whose rules add signs and blanks the text
// did not have, so the words' places in the text are not places in the book. The typed
// characters are walked beside the text: a character whose print is the text's next
// characters takes their places; a sign or blank the rules added is passed over.

#include "AutoTranslator.h"
#include "ReviewItem.h"

#include <string_view>
#include <vector>

namespace braille {

// A word to check, by its place in the typed text.
struct TypedWord {
    std::size_t begin = 0, end = 0; // UTF-16 units of the typed text
    std::u16string print;
    bool guessed = false; // else unknown to the dictionary
};

// The guessed and unknown words of a translation whose braille stands at `offset` of the typed
// text.
std::vector<TypedWord> wordsToCheck(const autotranslate::Translation& translation, std::size_t offset = 0);

// The words as review items, where the text typed from `start` of `section` put them; a word
// none of whose characters went in is left out.
std::vector<ReviewItem> placeTypedWords(const BrailleDocument& document, SectionKind section, DocumentLocation start,
                                        std::u16string_view typedText, const std::vector<TypedWord>& words);

} // namespace braille
