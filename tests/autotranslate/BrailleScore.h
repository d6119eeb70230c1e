#pragma once
// Scoring a translation against a transcriber's braille: the share of words and of whole
// sentences that came out exactly.
//
// Both sides are compared as braille kana: hiragana as katakana, full-width digits and letters
// as ASCII, any blank as one blank, and the blanks after 、 。 ・ left out (the braille rules add
// those when the text is typed in). Words are the runs between blanks; the words right are the
// longest common subsequence of the two word lists, so one missing blank costs the two words it
// should have separated, not the rest of the sentence.

#include <string>
#include <string_view>
#include <vector>

namespace braille::test {

std::u16string normalizeBraille(std::u16string_view kana);
std::vector<std::u16string> brailleWords(std::u16string_view normalized);

struct SentenceScore {
    std::size_t words = 0;        // in the expected braille
    std::size_t wordsRight = 0;
    bool exact = false;
};
// Against the best of the accepted versions.
SentenceScore scoreSentence(std::u16string_view actual, const std::vector<std::u16string>& accepted);

} // namespace braille::test
