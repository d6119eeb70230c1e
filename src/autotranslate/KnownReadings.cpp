#include "KnownReadings.h"

#include "KanaSpelling.h"

#include <algorithm>

namespace braille::autotranslate {

extern const char16_t* const kKnownReadingsText; // known-readings.tsv, built in

UserReadings parseKnownReadings(std::vector<UserReadingError>& errors)
{
    return UserReadings::parse(kKnownReadingsText, errors);
}

const UserReadings& knownReadings()
{
    static const UserReadings table = [] {
        std::vector<UserReadingError> errors; // none: the tests read the table the same way
        return parseKnownReadings(errors);
    }();
    return table;
}

namespace {

bool untouchable(const Morpheme& m) { return m.userWord || m.givenReading; }

// 恋し read from 恋する コイ スル: the braille of the dictionary form without the form's own ending
// (スル), then this form's ending (シ). Empty when the braille does not end as the form does.
std::u16string conjugate(const Morpheme& m, const std::u16string& braille)
{
    std::size_t same = 0;
    while (same < m.surface.size() && same < m.baseForm.size() && m.surface[same] == m.baseForm[same])
        ++same;
    const std::u16string formEnding = toKatakana(std::u16string_view(m.baseForm).substr(same));
    if (same == 0 || !braille.ends_with(formEnding))
        return {};
    return braille.substr(0, braille.size() - formEnding.size()) + toKatakana(std::u16string_view(m.surface).substr(same));
}

} // namespace

void applyKnownReadings(const UserReadings& table, Morphemes& words)
{
    if (table.empty())
        return;
    Morphemes out;
    out.reserve(words.size());
    for (std::size_t i = 0; i < words.size();) {
        Morpheme& m = words[i];
        if (untouchable(m)) {
            out.push_back(std::move(m));
            ++i;
            continue;
        }
        // The longest entry that covers whole words from here. The words of a line lie end to end
        // except where the print has white space, which no entry holds.
        std::u16string ahead;
        std::vector<std::size_t> wordEnds; // in `ahead`
        for (std::size_t k = i; k < words.size() && !untouchable(words[k]) && ahead.size() < 64; ++k) {
            if (k > i && words[k].begin != words[k - 1].end)
                break;
            ahead += words[k].surface;
            wordEnds.push_back(ahead.size());
        }
        const UserReading* entry = nullptr;
        std::size_t runEnd = i;
        for (const UserReading* e : table.matches(ahead, 0)) {
            const auto at = std::find(wordEnds.begin(), wordEnds.end(), e->print.size());
            if (at != wordEnds.end()) {
                entry = e;
                runEnd = i + std::size_t(at - wordEnds.begin()) + 1;
                break;
            }
        }
        if (entry) {
            Morpheme merged = m;
            merged.surface = entry->print;
            merged.end = words[runEnd - 1].end;
            merged.reading = entry->braille;
            merged.pronunciation.clear();
            merged.unknown = false;
            merged.brailleReading = true;
            if (runEnd - i > 1) {
                // One word now: it takes the last word's conjugation for the words after it.
                merged.conjugationType = words[runEnd - 1].conjugationType;
                merged.conjugationForm = words[runEnd - 1].conjugationForm;
            }
            out.push_back(std::move(merged));
            i = runEnd;
            continue;
        }
        if ((m.pos == u"動詞" || m.pos == u"形容詞") && m.baseForm != m.surface) {
            if (const UserReading* e = table.match(m.baseForm, 0); e && e->print == m.baseForm)
                if (std::u16string braille = conjugate(m, e->braille); !braille.empty()) {
                    m.reading = std::move(braille);
                    m.pronunciation.clear();
                    m.brailleReading = true;
                }
        }
        out.push_back(std::move(m));
        ++i;
    }
    words = std::move(out);
}

} // namespace braille::autotranslate
