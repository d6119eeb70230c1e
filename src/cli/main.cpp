// tenkora-cli: Tenkora's editing core from the command line.

#include "CliCommands.h"

#include <iostream>

using namespace braille::cli;

namespace {

void printUsage(std::ostream& out)
{
    out << "usage: tenkora-cli COMMAND [ARGS...]\n"
           "       tenkora-cli COMMAND --help\n\ncommands:\n";
    for (const CliCommand& c : cliCommands())
        out << "  " << c.synopsis << "\n      " << c.summary << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return kExitOk;
    }
    for (const CliCommand& c : cliCommands()) {
        if (c.name != name)
            continue;
        Arguments args(std::vector<std::string>(argv + 2, argv + argc));
        if (args.takeFlag("--help")) {
            std::cout << "usage: tenkora-cli " << c.synopsis << "\n" << c.summary << "\n\n" << c.help;
            return kExitOk;
        }
        return c.run(args);
    }
    std::cerr << "tenkora-cli: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return kExitUsage;
}
