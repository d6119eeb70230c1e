// autotranslate_accuracy: translates the sentences of a test set and reports the share of words
// and of whole sentences that match the transcriber's braille.
//
//   autotranslate_accuracy SENTENCES.tsv [--verbose] [--min-words P] [--min-sentences P]
//                          [--dictionary DIR] [--second-dictionary DIR]
//
// The lines of the set are print, a tab and the accepted braille versions separated by tabs;
// `#` lines are comments. With --verbose every sentence that differs is printed with what came
// out. --dictionary names the MeCab dictionary folder (otherwise the translator's own choice);
// --second-dictionary the one asked for readings (as $TENKORA_MECAB_SECOND_DICDIR does).
// The exit status is 1 when a share falls below its minimum (in percent).

#include "AutoTranslator.h"
#include "BrailleScore.h"
#include "Utf.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace braille;

int main(int argc, char** argv)
{
    std::string path;
    bool verbose = false;
    double minWords = 0, minSentences = 0;
    std::string dictionary;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--verbose")
            verbose = true;
        else if (a == "--min-words" && i + 1 < argc)
            minWords = std::atof(argv[++i]);
        else if (a == "--min-sentences" && i + 1 < argc)
            minSentences = std::atof(argv[++i]);
        else if (a == "--dictionary" && i + 1 < argc)
            dictionary = argv[++i];
        else if (a == "--second-dictionary" && i + 1 < argc)
            setenv("TENKORA_MECAB_SECOND_DICDIR", argv[++i], 1);
        else
            path = a;
    }
    std::ifstream in(path);
    if (path.empty() || !in) {
        std::cerr << "usage: autotranslate_accuracy SENTENCES.tsv [--verbose] [--min-words P] [--min-sentences P]"
                     " [--dictionary DIR] [--second-dictionary DIR]\n";
        return 2;
    }
    autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open(dictionary);
    if (!opened.translator) {
        std::cerr << "autotranslate_accuracy: " << opened.error << "\n";
        return 1;
    }
    std::size_t sentences = 0, exact = 0, words = 0, wordsRight = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::u16string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(fromUtf8(field));
        if (fields.size() < 2) {
            std::cerr << "autotranslate_accuracy: no braille for: " << line << "\n";
            return 2;
        }
        const std::vector<std::u16string> accepted(fields.begin() + 1, fields.end());
        const std::u16string got = opened.translator->translate(fields[0]).braille;
        const test::SentenceScore s = test::scoreSentence(got, accepted);
        ++sentences;
        exact += s.exact;
        words += s.words;
        wordsRight += s.wordsRight;
        if (verbose && !s.exact)
            std::cout << "  " << toUtf8(fields[0]) << "\n    want " << toUtf8(test::normalizeBraille(accepted[0]))
                      << "\n    got  " << toUtf8(test::normalizeBraille(got)) << "\n";
    }
    const double wordShare = words ? 100.0 * double(wordsRight) / double(words) : 0;
    const double sentenceShare = sentences ? 100.0 * double(exact) / double(sentences) : 0;
    std::cout.setf(std::ios::fixed);
    std::cout.precision(1);
    std::cout << "words: " << wordsRight << " / " << words << " (" << wordShare << "%)\n"
              << "sentences: " << exact << " / " << sentences << " (" << sentenceShare << "%)\n";
    return wordShare < minWords || sentenceShare < minSentences ? 1 : 0;
}
