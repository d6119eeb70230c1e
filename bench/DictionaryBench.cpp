// Start-up cost of the character tables and the speed of print-text conversion.

#include "CharacterDictionary.h"
#include "TableLoader.h"

#include <benchmark/benchmark.h>

using namespace braille;

namespace {

void LoadAllTables(benchmark::State& state)
{
    for (auto _ : state) {
        CharacterDictionary d;
        loadTables(d);
        benchmark::DoNotOptimize(d.printSet(kTextSet).entries().size());
    }
}
BENCHMARK(LoadAllTables)->Unit(benchmark::kMillisecond);

// About 1 MB of UTF-8 kana text: running prose with yōon, voiced kana, punctuation and digits.
std::u16string kanaText()
{
    const std::u16string sentence = u"きょうは、がっこうで　しゅくだいを　しました。あしたは２０２６ねんの　ぴょんぴょん　とぶ　うさぎを　みに　いきます。";
    std::u16string text;
    while (text.size() * 3 < 1'000'000)
        text += sentence;
    return text;
}

void ConvertText(benchmark::State& state)
{
    CharacterDictionary d;
    loadTables(d);
    const std::u16string text = kanaText();
    std::size_t entries = 0;
    for (auto _ : state) {
        EntryList out;
        out.reserve(text.size());
        StoredCharMode mode = kTextSet;
        const char16_t* pos = text.data();
        const char16_t* end = pos + text.size();
        while (pos < end)
            d.convertText(mode, pos, end, out);
        entries = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 3)); // UTF-8 bytes
    state.counters["entries"] = double(entries);
}
BENCHMARK(ConvertText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
