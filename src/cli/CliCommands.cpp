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
        {"autotranslate", "autotranslate [--unicode] [--explain] [--columns N] [--readings FILE] (TEXT | --file FILE)",
         "translate Japanese print (kanji and kana) into braille automatically and print the rows",
         "TEXT (or the UTF-8 text of FILE, - for standard input) is cut into words by the\n"
         "morphological analyser (MeCab with the IPA dictionary), spelled in braille kana with\n"
         "blanks between the words, and typed into a new document through the TEXT input, so the\n"
         "braille rules add their signs. Prints the rows as `translate` does. The user dictionary\n"
         "$XDG_CONFIG_HOME/Tenkora/readings.tsv (or FILE given with --readings) holds lines of\n"
         "print, a tab and braille kana that override the analyser; a malformed line is reported\n"
         "on standard error with its line number and skipped. --explain prints after the rows each\n"
         "word with its part of speech, reading, braille and the rules applied, then the words\n"
         "whose reading was guessed and those the dictionary does not know, with their counts.\n"
         "Without the dictionary the command says so (exit status 1).\n",
         runAutoTranslate},
        {"import", "import [--encoding E] [--columns N] [--lines N] [--readings FILE] SOURCE OUT.bml",
         "make a braille book from a print book and write it as BML",
         "SOURCE is plain text (UTF-8, UTF-16 with its byte order mark or Shift_JIS, found out;\n"
         "--encoding names another, as iconv knows it), Aozora Bunko text, EPUB, DOCX or HTML. Its\n"
         "title and author go to the cover, its headings and paragraphs to the body (headings at\n"
         "cells 9, 7 and 5 by level, paragraphs at cell 3), a closing bibliography to the colophon,\n"
         "and its print pages become original-page labels. Every paragraph is translated\n"
         "automatically, ruby readings winning over the dictionary and the user dictionary\n"
         "(--readings FILE, as for autotranslate), and typed through the TEXT input, so the braille\n"
         "rules add their signs. The book is N cells wide (default 32) with the given lines per\n"
         "page (default 22). OUT.bml is written atomically; one line sums up what was made. A\n"
         "source that cannot be read is said in one line (exit status 1).\n",
         runImport},
        {"check", "check [--columns N] [--lines N] FILE.bml",
         "check a BML book against the braille rules and print each finding",
         "Reads FILE.bml, lays it out N cells wide (default 32) with the given lines per page\n"
         "(default 22), and looks for what breaks the braille rules: a number sign with no digit\n"
         "after it, digits without their number sign, an a- or ra-row kana after digits without\n"
         "the connector, blanks after \u3001 and \u3002 other than one and two, a letter run without\n"
         "the foreign-letter sign, a line break inside a word, a run of empty paragraphs. Prints one\n"
         "line a finding: the section and page-line, what is wrong and the cells found, separated\n"
         "by tabs. Exit status 0 when nothing is found, 1 with findings, 2 when the file cannot be\n"
         "read.\n",
         runCheck},
        {"emboss", "emboss [--printer QUEUE] [--pages A-B] [--copies N] BOOK.bml",
         "send a BML book to a braille embosser through CUPS",
         "Pages the book as the BRF export does (cells per line and lines per page from the editor's\n"
         "settings), keeps pages A to B (counted 1 to the book's last page across its sections;\n"
         "\"A\" alone is one page) and sends N copies (default 1) as one BRF job with the option\n"
         "LibLouis=None to QUEUE (default: the CUPS default queue when its driver takes BRF, else\n"
         "the first queue whose driver does). Prints the job's id. No CUPS server, no queue, or a job\n"
         "CUPS refuses is said in one line (exit status 1); bad arguments, a page range outside the\n"
         "book or a book that cannot be read exit 2.\n",
         runEmboss},
        {"type", "type [--columns N] [--open IN.bml] [--save OUT.bml] [--state] SCRIPT",
         "run SCRIPT through an editing session as typed at the keyboard, then print the document",
         "Runs SCRIPT through an editing session on a new document (or on IN.bml), exactly as a\n"
         "transcriber at the keyboard would, then prints all four sections as `dump` does and saves\n"
         "to OUT.bml when asked. The session starts in TEXT mode with Tenkora's own kana input open\n"
         "in hiragana.\n\n"
         "SCRIPT is text and {...} tokens:\n"
         "  plain characters  typed as the window delivers them: in TEXT mode letters go through the\n"
         "                    kana input (\"kyouha\" becomes きょうは) and kana and other non-ASCII\n"
         "                    characters are committed as input-method results, a syllable at a\n"
         "                    time; in MATH and BRAILLE they are typed as characters. A space is\n"
         "                    the Space key, a line feed the Enter key.\n"
         "  {Enter} {BS} {Del} {Space} {Esc} {Tab} {Left} {Right} {Up} {Down} {Home} {End}\n"
         "  {PgUp} {PgDn} {F1}..{F9}\n"
         "                    keys; S- adds Shift, C- Control, A- Alt: {S-Right} {C-z} {C-y}\n"
         "                    {C-x} {C-c} {C-v} {S-F2} {C-S-Up} {A-BS}. F2 switches TEXT and\n"
         "                    MATH, F4 BRAILLE.\n"
         "  {C-s}             saves to OUT.bml, or back to IN.bml when there is no --save\n"
         "  {ime:TEXT}        TEXT committed as one input-method result\n"
         "  {chord:FD}        the six-key chord of the keys F D S J K L (dots 1 to 6), pressed\n"
         "                    together and released\n"
         "  {wait:100}        100 ms pass; timers (the chord window, the display flush) fire\n"
         "  {disp:A}          cells typed on the braille display's keys (Braille ASCII)\n"
         "  {route:5}         the display's cursor-routing key over cell 5 (from 0)\n"
         "  {dispkey:530}     a key code from the display's driver (530 = F2, 3205 = routing key 4)\n"
         "  {cmd:32932}       a command by id (symbols, sections, conversions, delete, ...)\n"
         "  {find:T} {find-up:T}\n"
         "                    the find dialog: T typed into the find field in Text mode, then\n"
         "                    \"次を検索\" downward or upward; {F3} {S-F3} search again\n"
         "  {replace:T=R} {replace-all:T=R}\n"
         "                    the two fields typed, then \"置換して次に\" or \"すべて置換\"; the\n"
         "                    dialog stays open, so the first click only finds\n"
         "  {pages:5,,,6}     the original-page editor's label column holding these lines (one\n"
         "                    a row), then OK: every row takes the nearest label above it\n\n"
         "--state adds the caret, the selection, the mode, the undo position, whether the document\n"
         "is modified, the save point, the status message and the messages shown after the dump. N is the line width in cells (default 32).\n",
         runType},
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

std::unique_ptr<autotranslate::AutoTranslator> openTranslator(const std::optional<std::string>& readingsFile)
{
    autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open();
    if (!opened.translator) {
        std::cerr << "tenkora-cli: automatic translation is not available: " << opened.error << "\n";
        return nullptr;
    }
    std::vector<autotranslate::UserReadingError> errors;
    const std::string readingsPath = readingsFile.value_or(autotranslate::UserReadings::defaultPath());
    opened.translator->setUserReadings(autotranslate::UserReadings::load(readingsPath, errors));
    for (const autotranslate::UserReadingError& e : errors)
        std::cerr << "tenkora-cli: " << readingsPath << ":" << e.line << ": " << e.message << " (line skipped)\n";
    return std::move(opened.translator);
}

} // namespace braille::cli
