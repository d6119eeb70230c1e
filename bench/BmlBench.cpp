// Saving and opening a 1000-page book as BML, with pugixml parsing the same file as the yardstick.
//
// The book has four sections and original-page labels on every row; the body is paragraphs of
// kana words separated by blanks, with punctuation, numbers (number sign and digits) and short
// formulas from the math set, about 650,000 characters in 1000 pages of 22 rows of 32 cells.
// Each figure is the median of several runs. Reading is timed as the editor opens a file: the
// reader takes the file and is stepped paragraph by paragraph until the document is complete.

#include "BmlWriter.h"
#include "BmlReader.h"
#include "CharacterDictionary.h"
#include "PageLayout.h"
#include "RowLayout.h"
#include "TableLoader.h"
#include "Utf8File.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace braille;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kPages = 1000;
constexpr int kRuns = 7;

struct Pools {
    EntryList kana, punctuation, digits, math;
    const BrailleCharacter* numberSign = nullptr;
};

Pools makePools(const CharacterDictionary& d)
{
    Pools p;
    // Mostly one-cell kana, as in running text; voiced kana and yōon take two cells.
    for (const char16_t* s : {u"あ", u"い", u"う", u"え", u"お", u"か", u"き", u"く", u"こ", u"さ", u"し", u"す", u"た",
                              u"ち", u"つ", u"て", u"と", u"な", u"に", u"の", u"は", u"ひ", u"ま", u"み", u"も", u"や",
                              u"よ", u"ら", u"り", u"る", u"れ", u"わ", u"を", u"ん", u"っ", u"が"})
        if (const BrailleCharacter* e = d.printSet(kTextSet).firstByPrint(s))
            p.kana.push_back(e);
    for (const char16_t* s : {u"。", u"、", u"？"})
        if (const BrailleCharacter* e = d.printSet(kTextSet).firstByPrint(s))
            p.punctuation.push_back(e);
    for (const char16_t* s : {u"０", u"１", u"２", u"３", u"４", u"５", u"６", u"７", u"８", u"９"})
        if (const BrailleCharacter* e = d.printSet(kTextSet).firstByPrint(s))
            p.digits.push_back(e);
    for (const char16_t* s : {u"ｘ", u"＋", u"＝", u"２", u"ｙ", u"－", u"＜", u" <= "})
        if (const BrailleCharacter* e = d.printSet(kMathSet).firstByPrint(s))
            p.math.push_back(e);
    p.numberSign = d.find(kTextSet, u"\uE003", u"#");
    return p;
}

std::u16string printPage(std::size_t n)
{
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

// Paragraphs of words until the section holds `rows` rows; labels count print pages of 40 rows.
void fillSection(BrailleDocument& doc, SectionKind kind, std::size_t rows, const Pools& pools, std::mt19937& rng)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    doc.currentSection = kind;
    DocumentSection& section = doc.section();
    section.paragraphs.clear();
    std::size_t made = 0;
    auto pick = [&](const EntryList& list) { return list[rng() % list.size()]; };
    while (made < rows) {
        CharacterSequence* seq = doc.newCharacterSequence();
        const std::size_t words = 40 + rng() % 80;
        for (std::size_t w = 0; w < words; ++w) {
            const unsigned kindOfWord = rng() % 20;
            if (kindOfWord == 0 && pools.numberSign && !pools.digits.empty()) {
                seq->push_back(pools.numberSign);
                for (std::size_t i = 0, n = 1 + rng() % 4; i < n; ++i)
                    seq->push_back(pick(pools.digits));
            } else if (kindOfWord == 1 && !pools.math.empty()) {
                for (std::size_t i = 0, n = 3 + rng() % 5; i < n; ++i)
                    seq->push_back(pick(pools.math));
            } else {
                for (std::size_t i = 0, n = 2 + rng() % 3; i < n; ++i)
                    seq->push_back(pick(pools.kana));
                if (rng() % 6 == 0 && !pools.punctuation.empty())
                    seq->push_back(pick(pools.punctuation));
            }
            seq->push_back(d.blankEntry());
        }
        seq->back() = d.lineBreakEntry();
        BrailleParagraph& p = section.paragraphs.emplace_back(seq);
        relayout(p, doc.cellsPerLine);
        for (BrailleRow& r : p.rows)
            r.orgPage = printPage(made / 40 + 1);
        made += p.rows.size();
    }
    CharacterSequence* last = doc.newCharacterSequence();
    last->push_back(d.endMarkerEntry());
    relayout(section.paragraphs.emplace_back(last), doc.cellsPerLine);
    doc.recountRows();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F>
double timeMs(F&& f)
{
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::size_t characterCount(const BrailleDocument& doc)
{
    std::size_t n = 0;
    for (const DocumentSection& s : doc.sections)
        for (const BrailleParagraph& p : s.paragraphs)
            n += p.characters->size();
    return n;
}

} // namespace

int main()
{
    CharacterDictionary& dictionary = CharacterDictionary::instance();
    loadTables(dictionary);
    pageLayout().ColumnNumber = 32;
    const std::size_t rowsPerPage = pageLayout().LineNumber;
    const Pools pools = makePools(dictionary);
    std::mt19937 rng(2026);

    BrailleDocument book;
    book.useOrgPage = true;
    const std::size_t totalRows = kPages * rowsPerPage;
    fillSection(book, Cover, rowsPerPage, pools, rng);
    fillSection(book, Contents, 10 * rowsPerPage, pools, rng);
    fillSection(book, Colophon, rowsPerPage, pools, rng);
    fillSection(book, Body, totalRows - 12 * rowsPerPage, pools, rng);
    std::size_t rows = 0;
    for (const DocumentSection& s : book.sections)
        for (const BrailleParagraph& p : s.paragraphs)
            rows += p.rows.size();

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tenkora-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "book.bml";

    std::vector<double> save, write, read, parse;
    for (int i = 0; i < kRuns; ++i) {
        save.push_back(timeMs([&] {
            if (!writeBml(book, file))
                std::fprintf(stderr, "saving failed\n");
        }));
        write.push_back(timeMs([&] {
            Utf8File out(dir / "plain.bml", Utf8File::Write);
            writeBmlContent(out, book);
            out.flush();
        }));
    }
    const auto bytes = std::filesystem::file_size(file);

    std::size_t steps = 0, readCharacters = 0;
    std::vector<double> open;
    for (int i = 0; i < kRuns; ++i) {
        BrailleDocument doc(BrailleDocument::ForReading);
        read.push_back(timeMs([&] {
            BmlReader reader(file);
            steps = 0;
            while (reader.readStep(doc) != kReadEnd)
                ++steps;
        }));
        open.push_back(timeMs([&] { BmlReader reader(file); }));
        readCharacters = characterCount(doc);
    }
    std::size_t elements = 0;
    for (int i = 0; i < kRuns; ++i) {
        pugi::xml_document tree;
        parse.push_back(timeMs([&] {
            if (!tree.load_file(file.c_str()))
                std::fprintf(stderr, "pugixml could not parse the file\n");
        }));
        elements = tree.select_nodes("//char").size();
    }
    std::filesystem::remove_all(dir);

    const double r = median(read), p = median(parse), s = median(save), w = median(write);
    std::printf("book: %zu pages of %zu rows (%zu rows), %zu characters, %.1f MB of BML (%zu char elements)\n",
                rows / rowsPerPage, rowsPerPage, rows, characterCount(book), double(bytes) / 1e6, elements);
    std::printf("save (temporary file, fsync, rename): %7.1f ms\n", s);
    std::printf("write (buffered, no fsync):           %7.1f ms\n", w);
    std::printf("read (%zu paragraph steps):          %7.1f ms\n", steps, r);
    std::printf("  of which opening the file:            %5.1f ms\n", median(open));
    std::printf("pugixml parse of the same file:       %7.1f ms\n", p);
    std::printf("read / pugixml:                       %7.2f\n", r / p);
    const bool same = readCharacters == characterCount(book);
    std::printf("read back: %s\n", same ? "same number of characters" : "CHARACTER COUNT DIFFERS");
    std::printf("goals: read < 1 s %s, read within 2x pugixml %s, write < 0.5 s %s\n", r < 1000 ? "met" : "MISSED",
                r <= 2 * p ? "met" : "MISSED", s < 500 ? "met" : "MISSED");
    return same ? 0 : 1;
}
