#pragma once
// Where braille puts a blank between the words of a line (分かち書き).
//
// Braille writes a blank before every 自立語; the 助詞 and 助動詞 after it, suffixes, and the
// second verb of a compound verb are written on without one. Formal nouns (こと, もの) and
// auxiliary verbs after て (いる, くる, しまう) are spaced, and so are ある after で and
// ない after an adjective. Compound nouns are split between components of three morae or more
// (or two-kanji 漢語); shorter pieces stay with their neighbour. A surname and a given name
// are separated, and an honorific after a name stands apart (ヤマモト サン).

#include "Morpheme.h"

#include <string>

namespace braille::autotranslate {

// One unit of the output: a word (one analysed word, or a number with its counter), a
// punctuation mark, a bracket, or a blank from the print.
struct Token {
    enum Kind { Word, Number, Punctuation, OpenBracket, CloseBracket, Space };
    Kind kind = Word;
    const Morpheme* head = nullptr; // the first and last analysed word it was made of
    const Morpheme* tail = nullptr;
    std::size_t begin = 0, end = 0; // in the line
    std::u16string kana;
    std::u16string rule;
    // A verb after the honorific prefix お or ご, or a verb written on after such a one
    // (お申し込み): the unit reads as a noun.
    bool honorific = false;
};

// Whether `current` is written on after `previous` (the last word before it) without a blank.
bool attaches(const Token& previous, const Token& current);

} // namespace braille::autotranslate
