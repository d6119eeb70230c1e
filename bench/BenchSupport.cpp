#include "BenchSupport.h"

#include "CharacterDictionary.h"
#include "PageLayout.h"
#include "RowLayout.h"
#include "TableLoader.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace braille::bench {

bool reportMedian(const char* what, std::vector<double>& micros, double budgetMicros)
{
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    std::printf("%-56s median %7.1f us   p99 %7.1f us   max %7.1f us\n", what, median,
                micros[micros.size() * 99 / 100], micros.back());
    return median < budgetMicros;
}

void buildBody(BrailleDocument& doc, std::size_t targetCharacters)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    const char16_t* syllables[] = {u"あ", u"か", u"さ", u"た", u"な", u"は", u"ま", u"や", u"ら", u"わ", u"き", u"し",
                                   u"ち", u"に", u"ひ", u"み", u"り", u"が", u"ざ", u"だ", u"ば", u"ぱ", u"きょ", u"しゃ"};
    std::vector<const BrailleCharacter*> pool;
    for (const char16_t* s : syllables)
        if (const BrailleCharacter* e = d.printSet(kTextSet).firstByPrint(s))
            pool.push_back(e);
    std::mt19937 rng(7);
    DocumentSection& body = doc.section();
    body.paragraphs.clear();
    std::size_t total = 0;
    while (total < targetCharacters) {
        CharacterSequence* seq = doc.newCharacterSequence();
        const std::size_t words = 20 + rng() % 60;
        for (std::size_t w = 0; w < words; ++w) {
            const std::size_t length = 2 + rng() % 6;
            for (std::size_t i = 0; i < length; ++i)
                seq->push_back(pool[rng() % pool.size()]);
            seq->push_back(d.blankEntry());
        }
        seq->back() = d.lineBreakEntry();
        total += seq->size();
        seq->shrink_to_fit();
        relayout(body.paragraphs.emplace_back(seq), doc.cellsPerLine);
    }
    CharacterSequence* last = doc.newCharacterSequence();
    last->push_back(d.endMarkerEntry());
    relayout(body.paragraphs.emplace_back(last), doc.cellsPerLine);
    doc.recountRows();
}

std::unique_ptr<BrailleDocument> thousandPageBook()
{
    loadTables(CharacterDictionary::instance());
    pageLayout() = PageLayout{};
    auto doc = std::make_unique<BrailleDocument>();
    doc->complete = true;
    buildBody(*doc, 1000 * 21 * 31);
    return doc;
}

} // namespace braille::bench
