#pragma once
// The subcommands of tenkora-cli and the small argument parser they share.
//
// Every subcommand is one entry of the command table: its name, a synopsis for the usage
// message, a summary for the command list, and the function that runs it. A subcommand returns
// the process exit status: 0 done, 1 the work failed, 2 bad usage.

#include "AutoTranslator.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace braille {
class BrailleDocument;
}

namespace braille::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Options (--name or --name VALUE) are taken out first; what is left are the operands.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> args) : m_args(std::move(args)) {}

    bool takeFlag(std::string_view name);
    // The value after --name (or in --name=VALUE); sets `missing` when the value is not there.
    std::optional<std::string> takeValue(std::string_view name, bool& missing);
    // An option that is still left over is an unknown one.
    std::optional<std::string> unknownOption() const;
    const std::vector<std::string>& operands() const { return m_args; }

private:
    std::vector<std::string> m_args;
};

struct CliCommand {
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    std::string_view help; // further lines for `tenkora-cli COMMAND --help`
    int (*run)(Arguments& args);
};

const std::vector<CliCommand>& cliCommands();

// Prints "tenkora-cli: MESSAGE" and the command's usage to standard error; returns kExitUsage.
int usageError(std::string_view command, std::string_view message);
// Each row of the body: its print texts, a tab, its cells (Braille ASCII) and with `unicode` a
// tab and the cells as Unicode braille.
void printRows(const BrailleDocument& document, bool unicode);
// The automatic translation with the user dictionary (FILE, or the settings folder's): none, after
// saying why on standard error, without the analyser's dictionary; skipped lines are reported.
std::unique_ptr<autotranslate::AutoTranslator> openTranslator(const std::optional<std::string>& readingsFile);
// An integer option within [min, max]; prints the usage error itself and sets `failed`.
std::optional<int> takeIntOption(Arguments& args, std::string_view command, std::string_view name, int min, int max,
                                 bool& failed);

int runLookup(Arguments& args);
int runAutoTranslate(Arguments& args);
int runImport(Arguments& args);
int runDump(Arguments& args);
int runRoundtrip(Arguments& args);
int runLink2Bml(Arguments& args);
int runTranslate(Arguments& args);
int runType(Arguments& args);
int runCheck(Arguments& args);
int runEmboss(Arguments& args);

} // namespace braille::cli
