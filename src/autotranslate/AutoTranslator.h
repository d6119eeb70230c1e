#pragma once
// Automatic translation of ordinary Japanese print (kanji and kana) into draft braille kana.
//
// The text is cut into words by the morphological analyser; each word's dictionary reading is
// spelled as braille writes it (KanaSpelling, NumberReading), the words are grouped into the
// units braille separates with a blank (自立語 with the 助詞 and 助動詞 after them, compound
// nouns split between long components), and the user dictionary overrides both. The result is
// katakana with U+3000 blanks, digits and letters as printed: what the TEXT input types with the
// braille rules, which add the number sign, the connector and the blanks after 、 and 。.
// Every print word keeps the span of braille it became, and the words whose reading had to be
// guessed or that the dictionary does not know are counted for the transcriber to check.

#include "MecabAnalyzer.h"
#include "UserReadings.h"

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace braille::autotranslate {

struct TranslatedWord {
    std::u16string print;
    std::size_t printBegin = 0, printEnd = 0;     // in the translated text, UTF-16 units
    std::size_t brailleBegin = 0, brailleEnd = 0; // in Translation::braille, the blank before excluded
    std::u16string partOfSpeech;                  // "名詞,一般"; "数" for a number with its counter
    std::u16string reading;                       // the dictionary's reading
    std::u16string braille;
    std::u16string rule; // the rules that made the braille differ from the reading
    bool blankBefore = false;
};

struct WordCount {
    std::u16string word;
    std::u16string note; // the readings it could have had, or why it is unknown
    int count = 0;
};

// How many times the words of a list were met.
std::size_t totalCount(const std::vector<WordCount>& words);

struct Translation {
    std::u16string braille;
    std::vector<TranslatedWord> words;
    std::vector<WordCount> guessed; // homographs whose reading was chosen without knowing the sense
    std::vector<WordCount> unknown; // words the dictionary does not know
};

class AutoTranslator {
public:
    struct OpenResult {
        std::unique_ptr<AutoTranslator> translator;
        std::string error;
    };
    static OpenResult open(const std::string& dictionaryDir = {});

    AutoTranslator(const AutoTranslator&) = delete;
    AutoTranslator& operator=(const AutoTranslator&) = delete;
    ~AutoTranslator();

    void setUserReadings(UserReadings readings) { m_user = std::move(readings); }
    const UserReadings& userReadings() const { return m_user; }

    // A reading the print gives for part of the text (ruby): the word text[begin, end) is read
    // so, whatever the dictionary or the user dictionary say.
    struct GivenReading {
        std::size_t begin = 0, end = 0; // UTF-16 units in the translated text
        std::u16string kana;            // as the print gives it, hiragana or katakana
    };

    // Not thread-safe: the analyser keeps one working lattice.
    Translation translate(std::u16string_view text) const { return translate(text, {}); }
    // `given` in text order, not overlapping; a reading that spans a line feed is not used.
    Translation translate(std::u16string_view text, const std::vector<GivenReading>& given) const;

private:
    explicit AutoTranslator(std::unique_ptr<MecabAnalyzer> analyzer);
    void translateLine(std::u16string_view line, std::size_t offset, const std::vector<GivenReading>& given,
                       Translation& out,
                       std::unordered_map<std::u16string, std::size_t>& guessed,
                       std::unordered_map<std::u16string, std::size_t>& unknown) const;
    // A long kanji noun the dictionary holds whole (修学旅行), cut into its components when
    // the analyser's next-best analysis spells the same reading; otherwise empty. The parts'
    // places are within the word.
    const Morphemes& components(const Morpheme& m) const;

    std::unique_ptr<MecabAnalyzer> m_analyzer;
    UserReadings m_user;
    mutable std::unordered_map<std::u16string, Morphemes> m_componentCache;
};

} // namespace braille::autotranslate
