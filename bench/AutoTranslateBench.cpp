// The automatic translation's speed: about 1 MB of UTF-8 print (kanji and kana prose with
// numbers, names and punctuation, a sentence a line) into braille kana. Goal: under 2 s. And
// the loading of a large user dictionary.

#include "AutoTranslator.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace braille::autotranslate;

namespace {

std::u16string printText()
{
    // Each line differs a little (a number), so no cache of whole sentences could help.
    const std::u16string sentences[] = {
        u"私は毎朝七時に起きて、駅まで歩いて十分ほどかかります。",
        u"政府は来年度の予算案を閣議で決定したと発表した。",
        u"高橋さんは三年前から大阪に住んでいて、週に二回英会話の教室に通っている。",
        u"修学旅行で京都へ行ったとき、古いお寺をたくさん見ました。",
        u"この問題について話し合いましょう、と先生が言った。",
        u"雨が降っているので、傘を持っていくことにしました。",
        u"東京都の人口は約千四百万人で、その数は毎年少しずつ変わっている。",
        u"「インターネットで調べてみる」と彼女は答えた。",
    };
    std::u16string text;
    std::size_t bytes = 0;
    for (int n = 0; bytes < 1'000'000; ++n) {
        const std::u16string& s = sentences[n % 8];
        const std::string number = std::to_string(n);
        text += s + std::u16string(number.begin(), number.end()) + u"匹\n";
        bytes += (s.size() + 3) * 3 + number.size() + 1;
    }
    return text;
}

void TranslateOneMegabyte(benchmark::State& state)
{
    AutoTranslator::OpenResult opened = AutoTranslator::open();
    if (!opened.translator) {
        state.SkipWithError(opened.error.c_str());
        return;
    }
    const std::u16string text = printText();
    std::size_t words = 0;
    for (auto _ : state) {
        const Translation t = opened.translator->translate(text);
        words = t.words.size();
        benchmark::DoNotOptimize(t.braille.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 1'000'000);
    state.counters["words"] = double(words);
}
BENCHMARK(TranslateOneMegabyte)->Unit(benchmark::kMillisecond)->MinTime(3);

void OpenTheAnalyser(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AutoTranslator::open().translator.get());
}
BENCHMARK(OpenTheAnalyser)->Unit(benchmark::kMillisecond);

// A user dictionary of 20,000 entries, parsed and indexed (the window does it when the file
// changed, the command line at every run).
void LoadTwentyThousandUserReadings(benchmark::State& state)
{
    std::u16string text;
    for (int n = 0; n < 20000; ++n) {
        const std::string number = std::to_string(n);
        text += u"固有名" + std::u16string(number.begin(), number.end()) + u"\tこゆうめい " +
                std::u16string(number.begin(), number.end()) + u"\n";
    }
    std::size_t entries = 0;
    for (auto _ : state) {
        std::vector<UserReadingError> errors;
        const UserReadings readings = UserReadings::parse(text, errors);
        entries = readings.entries().size();
        benchmark::DoNotOptimize(readings.entries().data());
    }
    state.counters["entries"] = double(entries);
}
BENCHMARK(LoadTwentyThousandUserReadings)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
