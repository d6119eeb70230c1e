// tenkora-cli lookup: print text through the dictionary's longest-match conversion.

#include "CharacterDictionary.h"
#include "Cells.h"
#include "CliCommands.h"
#include "TableLoader.h"
#include "Utf.h"

#include <iostream>

namespace braille::cli {

int runLookup(Arguments& args)
{
    bool failed = false;
    const int set = takeIntOption(args, "lookup", "--set", 0, kSetCount - 1, failed).value_or(kTextSet);
    if (failed)
        return kExitUsage;
    if (auto unknown = args.unknownOption())
        return usageError("lookup", "unknown option " + *unknown);
    if (args.operands().size() != 1)
        return usageError("lookup", "give exactly one TEXT");

    CharacterDictionary& dictionary = CharacterDictionary::instance();
    loadTables(dictionary);

    const std::u16string text = fromUtf8(args.operands()[0]);
    StoredCharMode mode = SetNumber(set);
    const char16_t* pos = text.data();
    const char16_t* end = pos + text.size();
    EntryList entries;
    std::u16string unmatched;
    while (pos < end)
        dictionary.convertText(mode, pos, end, entries, &unmatched);

    for (const BrailleCharacter* e : entries) {
        std::u16string cells = e->nabcc == u"\n" ? u"\u21B2" : e->nabcc;
        std::cout << e->set << '\t' << toUtf8(e->print) << '\t' << toUtf8(cells) << '\t'
                  << toUtf8(cellsToUnicode(cells)) << '\n';
    }
    if (!unmatched.empty()) {
        std::cerr << "tenkora-cli: no entry for:";
        for (std::size_t i = 0; i < unmatched.size(); ++i)
            std::cerr << ' ' << toUtf8(std::u16string_view(&unmatched[i], 1));
        std::cerr << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace braille::cli
