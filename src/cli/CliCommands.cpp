#include "CliCommands.h"

#include <charconv>
#include <iostream>

namespace braille::cli {

bool Arguments::takeFlag(std::string_view name)
{
    for (auto it = m_args.begin(); it != m_args.end(); ++it) {
        if (*it == "--")
            return false;
        if (*it == name) {
            m_args.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> Arguments::takeValue(std::string_view name, bool& missing)
{
    for (auto it = m_args.begin(); it != m_args.end(); ++it) {
        if (*it == "--")
            return std::nullopt;
        if (*it == name) {
            if (it + 1 == m_args.end()) {
                missing = true;
                m_args.erase(it);
                return std::nullopt;
            }
            std::string value = *(it + 1);
            m_args.erase(it, it + 2);
            return value;
        }
        if (it->size() > name.size() && it->compare(0, name.size(), name) == 0 && (*it)[name.size()] == '=') {
            std::string value = it->substr(name.size() + 1);
            m_args.erase(it);
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> Arguments::unknownOption() const
{
    for (const std::string& a : m_args) {
        if (a == "--")
            return std::nullopt;
        if (a.size() > 1 && a[0] == '-' && a[1] == '-')
            return a;
    }
    return std::nullopt;
}

const std::vector<CliCommand>& cliCommands()
{
    static const std::vector<CliCommand> commands = {
        {"lookup", "lookup [--set N] TEXT",
         "convert TEXT to braille by longest match and print each entry",
         "Prints one line per entry: set number, print text, cells (Braille ASCII) and the cells as\n"
         "Unicode braille, separated by tabs. N is the print set (default 2, text; 3 is math).\n"
         "Characters that no entry covers are reported on standard error (exit status 1).\n",
         runLookup},
        {"dump", "dump [--columns N] FILE.bml",
         "read a BML file and print its sections row by row",
         "Lays the document out with N cells per line (default 32). For each section, in the order\n"
         "cover, contents, body, colophon, prints \"== NAME (R rows)\", then one line per row: its\n"
         "original-page label, the print texts of its characters, their cells (the line break as\n"
         "\u21B2) and their set numbers separated by commas, separated by tabs.\n"
         "A file that cannot be opened is reported (exit status 1); any content reads.\n",
         runDump},
        {"roundtrip", "roundtrip [--columns N] IN.bml OUT.bml",
         "read a BML file and write it again",
         "Reads IN laid out with N cells per line (default 32) and writes it to OUT in Tenkora's own\n"
         "layout. OUT is replaced only once it is completely written; a failure is reported with\n"
         "its reason (exit status 1) and leaves an existing OUT as it was.\n",
         runRoundtrip},
        {"link2bml", "link2bml TEXT-FILE OUT.bml",
         "convert link text into a BML work file",
         "TEXT-FILE is UTF-8 link text: records of mode, cells and print text separated by tabs\n"
         "(or \"`\"), records separated by \",\" or line feeds, a record in braces keeping its\n"
         "commas. Well-formed records become the characters of one body line; malformed ones are\n"
         "skipped. OUT is written as standard XML, which the BML reader reads back.\n",
         runLink2Bml},
        {"translate", "translate [--columns N] [--math] [--unicode] TEXT",
         "type TEXT into a new document and print the braille the input systems make of it",
         "TEXT is typed into the body of a new document through the input systems, as a transcriber\n"
         "types it, so the braille rules add their signs. In TEXT mode (the default) each character\n"
         "is committed as its own input-method result, a kana together with the small kana after\n"
         "it (きょ, ふぁ); with --math, MATH mode is entered first (with its opening sign) and each\n"
         "character is typed as a key, followed by Enter while anything is pending. A space is the\n"
         "Space key and a line feed the Enter key. Prints one line per row of the body, N cells wide\n"
         "(default 32): the print texts, a tab and the cells (Braille ASCII, the line break as\n"
         "\u21B2); --unicode adds the cells as Unicode braille in a third column.\n",
         runTranslate},
    };
    return commands;
}

int usageError(std::string_view command, std::string_view message)
{
    std::cerr << "tenkora-cli: " << message << "\n";
    for (const CliCommand& c : cliCommands())
        if (c.name == command)
            std::cerr << "usage: tenkora-cli " << c.synopsis << "\n";
    return kExitUsage;
}

std::optional<int> takeIntOption(Arguments& args, std::string_view command, std::string_view name, int min, int max,
                                 bool& failed)
{
    bool missing = false;
    std::optional<std::string> text = args.takeValue(name, missing);
    if (missing) {
        usageError(command, std::string(name) + " needs a value");
        failed = true;
        return std::nullopt;
    }
    if (!text)
        return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (ec != std::errc() || end != text->data() + text->size() || value < min || value > max) {
        usageError(command, std::string(name) + " takes a whole number from " + std::to_string(min) + " to " +
                                std::to_string(max) + ", not '" + *text + "'");
        failed = true;
        return std::nullopt;
    }
    return value;
}

} // namespace braille::cli
