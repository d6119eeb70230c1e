#include "BrailleScore.h"

#include <algorithm>

namespace braille::test {

std::u16string normalizeBraille(std::u16string_view kana)
{
    std::u16string out;
    for (char16_t c : kana) {
        if (c >= u'ぁ' && c <= u'ゖ')
            c = char16_t(c + (u'ァ' - u'ぁ'));
        else if (c >= u'！' && c <= u'～')
            c = char16_t(c - u'！' + u'!');
        // A connector after digits is the rules' to add, like the blanks after punctuation.
        if (c == u'-' && !out.empty() && out.back() >= u'0' && out.back() <= u'9')
            continue;
        const bool blank = c == u' ' || c == u'\u3000' || c == u'\t';
        if (blank) {
            if (!out.empty() && out.back() != u' ' && out.back() != u'、' && out.back() != u'。' && out.back() != u'・')
                out += u' ';
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == u' ')
        out.pop_back();
    return out;
}

std::vector<std::u16string> brailleWords(std::u16string_view normalized)
{
    std::vector<std::u16string> words;
    std::u16string word;
    for (char16_t c : normalized) {
        if (c == u' ') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
            continue;
        }
        word += c;
        // Punctuation ends a word: the rules put a blank after it.
        if (c == u'、' || c == u'。' || c == u'・') {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

namespace {

std::size_t commonWords(const std::vector<std::u16string>& a, const std::vector<std::u16string>& b)
{
    std::vector<std::size_t> row(b.size() + 1, 0), next(b.size() + 1, 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j)
            next[j + 1] = a[i] == b[j] ? row[j] + 1 : std::max(row[j + 1], next[j]);
        std::swap(row, next);
    }
    return row[b.size()];
}

} // namespace

SentenceScore scoreSentence(std::u16string_view actual, const std::vector<std::u16string>& accepted)
{
    const std::u16string got = normalizeBraille(actual);
    const std::vector<std::u16string> gotWords = brailleWords(got);
    SentenceScore best;
    bool first = true;
    for (const std::u16string& version : accepted) {
        const std::u16string want = normalizeBraille(version);
        const std::vector<std::u16string> wantWords = brailleWords(want);
        SentenceScore s{wantWords.size(), commonWords(wantWords, gotWords), want == got};
        if (first || s.exact > best.exact ||
            (s.exact == best.exact && s.wordsRight * best.words > best.wordsRight * s.words)) {
            best = s;
            first = false;
        }
    }
    return best;
}

} // namespace braille::test
