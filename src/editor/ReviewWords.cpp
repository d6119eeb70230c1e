#include "ReviewWords.h"

#include "CharacterDictionary.h"

#include <algorithm>

namespace braille {

namespace {

// Text and print compared alike: hiragana as katakana, ASCII as full-width, every blank as a
// space, a carriage return as a line feed.
char16_t folded(char16_t c)
{
    if (c >= u'ぁ' && c <= u'ゖ')
        return char16_t(c + 0x60);
    if (c >= 0x21 && c <= 0x7E)
        return char16_t(c + 0xFEE0);
    if (c == u'\u3000')
        return u' ';
    if (c == u'\r')
        return u'\n';
    return c;
}

std::u16string foldedPrint(const BrailleCharacter* e)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    if (e == d.lineBreakEntry())
        return u"\n";
    if (e->set == kSpecialSet && e->nabcc == u" ")
        return u" ";
    std::u16string out = e->print;
    for (char16_t& c : out)
        c = folded(c);
    return out;
}

// A cell without print: a sign the rules put in (number sign, connector, foreign-letter sign).
bool isRuleSign(const BrailleCharacter* e)
{
    return e->print.size() == 1 && e->print[0] >= u'\uE000' && e->print[0] <= u'\uE0FF';
}

bool isBlank(const BrailleCharacter* e) { return e->set == kSpecialSet && e->nabcc == u" " && e->print == u"\u25A1"; }

} // namespace

std::vector<TypedWord> wordsToCheck(const autotranslate::Translation& translation, std::size_t offset)
{
    std::vector<TypedWord> out;
    if (translation.guessed.empty() && translation.unknown.empty())
        return out;
    const auto listed = [](const std::vector<autotranslate::WordCount>& list, const std::u16string& word) {
        return std::any_of(list.begin(), list.end(), [&](const autotranslate::WordCount& w) { return w.word == word; });
    };
    for (const autotranslate::TranslatedWord& w : translation.words) {
        const bool guessed = listed(translation.guessed, w.print);
        if ((guessed || listed(translation.unknown, w.print)) && w.brailleEnd > w.brailleBegin)
            out.push_back({offset + w.brailleBegin, offset + w.brailleEnd, w.print, guessed});
    }
    return out;
}

std::vector<ReviewItem> placeTypedWords(const BrailleDocument& document, SectionKind section, DocumentLocation start,
                                        std::u16string_view typedText, const std::vector<TypedWord>& words)
{
    std::vector<ReviewItem> items;
    if (words.empty())
        return items;
    const ParagraphList& paragraphs = document.sections[section].paragraphs;
    auto p = paragraphs.begin();
    for (std::uint32_t n = 0; n < start.paragraph && p != paragraphs.end(); ++n)
        ++p;
    // The paragraphs walked, from the start's on, and where each text unit went.
    std::vector<const CharacterSequence*> walked;
    constexpr std::uint32_t kNowhere = 0xFFFFFFFF;
    std::vector<DocumentLocation> placeOf(typedText.size(), DocumentLocation{kNowhere, 0});
    const BrailleCharacter* endMarker = CharacterDictionary::instance().endMarkerEntry();
    std::size_t i = 0;
    std::uint32_t number = start.paragraph;
    std::size_t c = start.character;
    const std::size_t lastNeeded = std::max_element(words.begin(), words.end(), [](const TypedWord& a, const TypedWord& b) {
                                       return a.end < b.end;
                                   })->end;
    if (p != paragraphs.end())
        walked.push_back(p->characters);
    while (i < typedText.size() && i < lastNeeded && p != paragraphs.end()) {
        const CharacterSequence& chars = *p->characters;
        if (c >= chars.size()) {
            ++p;
            ++number;
            c = 0;
            if (p != paragraphs.end())
                walked.push_back(p->characters);
            continue;
        }
        const BrailleCharacter* e = chars[c];
        if (e == endMarker)
            break;
        const std::u16string key = foldedPrint(e);
        bool same = !key.empty() && i + key.size() <= typedText.size();
        for (std::size_t k = 0; same && k < key.size(); ++k)
            same = folded(typedText[i + k]) == key[k];
        if (same) {
            for (std::size_t k = 0; k < key.size(); ++k)
                placeOf[i + k] = {number, std::uint32_t(c)};
            i += key.size();
            ++c;
        } else if (isRuleSign(e) || isBlank(e)) {
            ++c; // put in by the rules
        } else {
            ++i; // left out: no table knows it
        }
    }
    for (const TypedWord& w : words) {
        std::size_t b = w.begin, e = std::min(w.end, typedText.size());
        while (b < e && placeOf[b].paragraph == kNowhere)
            ++b;
        while (e > b && placeOf[e - 1].paragraph == kNowhere)
            --e;
        if (b >= e)
            continue;
        ReviewItem item;
        item.kind = w.guessed ? ReviewKind::GuessedReading : ReviewKind::UnknownWord;
        item.section = section;
        item.begin = placeOf[b];
        item.end = {placeOf[e - 1].paragraph, placeOf[e - 1].character + 1};
        const CharacterSequence& first = *walked[item.begin.paragraph - start.paragraph];
        // The number sign or foreign-letter sign the rules put before the word belongs to it.
        while (item.begin.character > 0 && isRuleSign(first[item.begin.character - 1]) &&
               (first[item.begin.character - 1]->nabcc == u"#" || first[item.begin.character - 1]->nabcc == u";"))
            --item.begin.character;
        item.print = w.print;
        for (std::uint32_t q = item.begin.paragraph; q <= item.end.paragraph; ++q) {
            const CharacterSequence& chars = *walked[q - start.paragraph];
            const std::size_t from = q == item.begin.paragraph ? item.begin.character : 0;
            const std::size_t to = q == item.end.paragraph ? item.end.character : chars.size();
            for (std::size_t k = from; k < to && k < chars.size(); ++k)
                item.braille += chars[k]->nabcc;
        }
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace braille
