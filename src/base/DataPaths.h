#pragma once
// Where Tenkora finds what it ships: the character tables, the cell font and the help pages (the
// data folder), the display driver (the library folder) and the external tools (the program
// folder).
//
// The same programs run from the build folder and from an installed tree, and find their files
// relative to their own executable, with no variable to set:
//   build tree   build/bin/tenkora          data in build/bin/ (tables/, TenkoraCells.ttf, help/)
//                                           driver build/bin/libktnbrlc.so
//   installed    PREFIX/bin/tenkora         data in PREFIX/share/tenkora/
//                                           driver PREFIX/lib/tenkora/libktnbrlc.so
// The installed tree's folders relative to bin/ are the ones the build installs into
// (GNUInstallDirs), so a package with another library folder still finds its driver.
// Every program and library asks here, so the two layouts are told apart in one place.

#include <filesystem>

namespace braille::paths {

// The folder of the running executable; empty when /proc/self/exe cannot be read.
std::filesystem::path programFolder();

// The data folder for a program in `programFolder`: the program's own folder when the tables
// are beside it (the build tree), else the installed share/tenkora folder when its tables are
// there, else the program's own folder (so that a message names where tables were looked for).
std::filesystem::path dataFolderFor(const std::filesystem::path& programFolder);

// The folder of Tenkora's own libraries for a program in `programFolder`: the program's folder
// when the driver is beside it (the build tree), else the installed lib/tenkora folder.
std::filesystem::path libraryFolderFor(const std::filesystem::path& programFolder);

// The running program's data folder, and its `tables` folder.
std::filesystem::path dataFolder();
std::filesystem::path tableFolder();

// The running program's library folder; empty when the program's own folder cannot be found.
std::filesystem::path libraryFolder();

} // namespace braille::paths
