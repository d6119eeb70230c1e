#pragma once
// The morphological analyser: MeCab with the IPA dictionary (or NAIST-jdic, UniDic), cutting a line of print into
// words with their parts of speech and kana readings.
//
// Opening fails, with a message that says why, when the library cannot load the dictionary;
// the caller shows the message and carries on without automatic translation.

#include "Morpheme.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace braille::autotranslate {

// A stretch of the line that must be one word with the given reading (the user dictionary).
struct ForcedWord {
    std::size_t begin = 0; // UTF-16 units in the line
    std::size_t end = 0;
    std::u16string braille;
};

class MecabAnalyzer {
public:
    struct OpenResult {
        std::unique_ptr<MecabAnalyzer> analyzer;
        std::string error;
    };
    // `dictionaryDir` empty: $TENKORA_MECAB_DICDIR when it is set, otherwise the first IPA
    // dictionary found in /var/lib/mecab/dic/ipadic-utf8 or the build machine's dicdir.
    // The IPA dictionary, NAIST-jdic and UniDic are read alike (UniDic's names mapped onto the
    // IPA ones). When $TENKORA_MECAB_SECOND_DICDIR names another dictionary, a word both cut
    // alike with the same part of speech takes that one's reading (numbers, counters and user
    // words excepted): NAIST-jdic's readings of homographs are the better ones (大勢 オオゼイ,
    // 行った イッタ, 後の アトノ), IPA's cutting of numbers and counters is.
    static OpenResult open(const std::string& dictionaryDir = {});
    static std::vector<std::string> dictionaryCandidates();

    ~MecabAnalyzer();
    MecabAnalyzer(const MecabAnalyzer&) = delete;
    MecabAnalyzer& operator=(const MecabAnalyzer&) = delete;

    // One line (no line feed). Forced words must not overlap and must be in order; each comes
    // out as one word with its braille as the reading, whatever the line holds around it.
    // Control characters are word boundaries and come out as no word.
    Morphemes analyze(std::u16string_view line, const std::vector<ForcedWord>& forced = {}) const;
    // Up to `count` best analyses of a short text, best first (to split a long compound).
    std::vector<Morphemes> analyzeBest(std::u16string_view text, int count) const;

private:
    struct Impl;
    explicit MecabAnalyzer(std::unique_ptr<Impl> impl);
    static OpenResult openDictionary(const std::string& dir);
    // Analyses line[begin, end) with the forced words MeCab can honour there as constraints.
    void appendPiece(std::u16string_view line, std::size_t begin, std::size_t end,
                     const std::vector<ForcedWord>& constrained, const std::vector<ForcedWord>& forced,
                     Morphemes& out) const;
    std::unique_ptr<Impl> m_impl;
};

} // namespace braille::autotranslate
