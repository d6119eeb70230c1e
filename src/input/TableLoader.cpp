#include "TableLoader.h"

#include "CharacterDictionary.h"
#include "DataPaths.h"
#include "Utf8File.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <unistd.h>

namespace braille {

namespace {

struct Record {
    std::optional<std::u16string> source, print, nabcc;
};

// Reads the next four fields; the first (a label) is discarded. Empty when print or cells are
// absent, which ends the file.
std::optional<Record> readRecord(Utf8File& file)
{
    file.readField();
    Record r;
    r.source = file.readField();
    r.print = file.readField();
    r.nabcc = file.readField();
    if (!r.print || !r.nabcc)
        return std::nullopt;
    return r;
}

void readIntoPrintSet(CharacterSet& set, const std::filesystem::path& path)
{
    Utf8File file(path, Utf8File::Read);
    while (auto r = readRecord(file)) {
        const BrailleCharacter* e = set.findOrCreate(*r->print, *r->nabcc);
        if (e->nabcc == *r->nabcc) {
            set.addSource(e->print, e);
        } else {
            // The print text already belongs to an entry with other cells.
            e = set.createAlternate(*r->print, *r->nabcc);
        }
        if (r->source)
            set.addSourceIfFree(*r->source, e);
    }
}

void readIntoKeySet(CharacterSet& set, const std::filesystem::path& path)
{
    Utf8File file(path, Utf8File::Read);
    while (auto r = readRecord(file)) {
        const BrailleCharacter* e = set.findOrCreate(*r->print, *r->nabcc);
        if (r->source) {
            set.addSourceIfFree(*r->source, e);
            set.addSourceIfFree(*r->nabcc, e);
        }
        const BrailleCharacter* withCells = e->nabcc == *r->nabcc ? e : set.createAlternate(*r->print, *r->nabcc);
        set.addCellsIfFree(withCells);
    }
}

void readSixDot(CharacterDictionary& dictionary, const std::filesystem::path& path)
{
    Utf8File file(path, Utf8File::Read);
    for (int i = 1; i <= 64; ++i) {
        auto print = file.readField();
        auto nabcc = file.readField();
        if (print && nabcc)
            dictionary.setGaijiSixDot(i, std::move(*print), std::move(*nabcc));
    }
}

using Files = std::initializer_list<const char*>;

constexpr Files kTextFiles = {"kana.txt",  "bi_text.txt", "jtext_symbol.txt", "alphabet_capital.txt",
                              "alphabet_small.txt", "calligraphy.txt", "german.txt", "latin.txt",
                              "number.txt", "gaiji.txt"};

} // namespace

std::filesystem::path tableDirectory() { return paths::tableFolder(); }

void loadTables(CharacterDictionary& dictionary, const std::filesystem::path& dir)
{
    auto printPass = [&](SetNumber set, Files files) {
        for (const char* f : files)
            readIntoPrintSet(dictionary.printSetForLoading(set), dir / f);
    };
    auto keyPass = [&](SetNumber set, Files files) {
        for (const char* f : files)
            readIntoKeySet(dictionary.keySetForLoading(set), dir / f);
    };

    printPass(2, kTextFiles);
    printPass(3, {"kana.txt", "math.txt", "number.txt", "alphabet_capital.txt", "alphabet_small.txt", "bi_math.txt"});
    printPass(4, {"gaiji.txt"});

    readSixDot(dictionary, dir / "gaiji_sixpoints.txt");

    keyPass(2, kTextFiles);
    keyPass(3, {"math.txt", "number.txt", "alphabet_capital.txt", "alphabet_small.txt", "bi_math.txt"});
    keyPass(4, {"gaiji.txt"});
    keyPass(6, {"kana.txt"});
    keyPass(7, {"number.txt"});
    keyPass(8, {"alphabet_small.txt"});
    keyPass(9, {"alphabet_capital.txt"});
    keyPass(10, {"math.txt", "bi_math.txt", "number.txt", "kana.txt"});
    keyPass(11, {"number.txt"});
    keyPass(12, {"alphabet_small.txt", "math.txt", "bi_math.txt"});
    keyPass(13, {"alphabet_capital.txt", "math.txt", "bi_math.txt"});

    dictionary.addCommaAlternates();
}

} // namespace braille
