// A whole print book made into a braille book: an Aozora Bunko text of about 1 MB and one eight
// times as long (kanji and kana prose with ruby, headings, annotations and the notation block),
// read, translated and typed. Prints the time and the memory at its peak, per print character.

#include "CharacterDictionary.h"
#include "PrintBookTyping.h"
#include "TableLoader.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace braille;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kSentences[] = {
    "朝の小径《こみち》を歩くと、古い｜石の橋《いしのはし》が見えた。",
    "人々《ひとびと》は静かに［＃「静かに」に傍点］挨拶をした。",
    "私は三匹の猫を飼っていて、毎朝六時に起きます。",
    "東京駅から新幹線に乗って、大阪まで二時間半かかった。",
    "図書館で借りた本を読みながら、窓の外の雨を眺めていた。",
    "彼女は子供のころから音楽が好きで、今はピアノの先生をしている。",
};

// Writes the book; returns the number of print characters (UTF-8 bytes / 3 is close enough for kanji
// and kana).
std::size_t writeBook(const std::filesystem::path& path, std::size_t bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << "星の記録\n山田花子\n\n-------------------------------------------------------\n"
           "【テキスト中に現れる記号について】\n《》：ルビ\n"
           "-------------------------------------------------------\n\n";
    std::mt19937 random(3);
    std::size_t written = 0, chapter = 0;
    while (written < bytes) {
        if (written / 40000 >= chapter) {
            ++chapter;
            const std::string title = "第" + std::to_string(chapter) + "章";
            out << "［＃５字下げ］" << title << "［＃「" << title << "」は中見出し］\n\n";
        }
        std::string line = "　";
        for (int i = 0; i < 4; ++i)
            line += kSentences[random() % std::size(kSentences)];
        out << line << "\n";
        written += line.size() + 1;
    }
    out << "\n底本：「星の記録」架空書房\n　　2001（平成13）年4月1日第1刷発行\n";
    return written / 3;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main()
{
    loadTables(CharacterDictionary::instance());
    autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open();
    if (!opened.translator) {
        std::printf("no dictionary: %s\n", opened.error.c_str());
        return 1;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("tenkora-bench-import-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::printf("%-10s %12s %9s %9s %9s %12s\n", "print", "characters", "read s", "typed s", "total s", "rows");
    double first = 0;
    for (std::size_t megabytes : {1u, 8u}) {
        const std::filesystem::path book = folder / ("book" + std::to_string(megabytes) + ".txt");
        const std::size_t characters = writeBook(book, megabytes * 1'000'000);
        const long before = peakKilobytes();
        auto start = Clock::now();
        ImportResult imported = importPrintBook(book);
        const double read = std::chrono::duration<double>(Clock::now() - start).count();
        if (!imported.book) {
            std::printf("%s\n", imported.error.c_str());
            return 1;
        }
        PrintBookTyping typed = typePrintBook(*imported.book, *opened.translator, PageLayout{});
        const double total = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%-10s %12zu %9.2f %9.2f %9.2f %12u\n", (std::to_string(megabytes) + " MB").c_str(), characters,
                    read, total - read, total, typed.document->sections[Body].rowCount);
        if (megabytes == 1)
            first = total;
        else
            std::printf("8 times the text: %.1f times the time\n", total / first);
        std::printf("peak memory grew by %.0f bytes per print character\n",
                    double(peakKilobytes() - before) * 1024.0 / double(characters));
    }
    std::filesystem::remove_all(folder);
    return 0;
}
