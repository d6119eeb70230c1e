#include "DataPaths.h"

// The installed tree's data and library folders relative to its bin folder; the build sets them
// from its install folders, and these are GNUInstallDirs' defaults.
#ifndef TENKORA_DATA_FROM_BIN
#define TENKORA_DATA_FROM_BIN "../share/tenkora"
#endif
#ifndef TENKORA_LIB_FROM_BIN
#define TENKORA_LIB_FROM_BIN "../lib/tenkora"
#endif

namespace braille::paths {

namespace {

// The name of the driver the window loads; its presence marks a build tree's library folder.
constexpr const char* kDriverName = "libktnbrlc.so";

bool isFolder(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool isFile(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::filesystem::path programFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

std::filesystem::path dataFolderFor(const std::filesystem::path& programFolder)
{
    if (isFolder(programFolder / "tables"))
        return programFolder;
    const std::filesystem::path installed = (programFolder / TENKORA_DATA_FROM_BIN).lexically_normal();
    if (isFolder(installed / "tables"))
        return installed;
    return programFolder;
}

std::filesystem::path libraryFolderFor(const std::filesystem::path& programFolder)
{
    if (isFile(programFolder / kDriverName))
        return programFolder;
    return (programFolder / TENKORA_LIB_FROM_BIN).lexically_normal();
}

std::filesystem::path dataFolder()
{
    const std::filesystem::path program = programFolder();
    // Without /proc the tables are looked for in the working folder, as before.
    return program.empty() ? std::filesystem::path(".") : dataFolderFor(program);
}

std::filesystem::path tableFolder() { return dataFolder() / "tables"; }

std::filesystem::path libraryFolder()
{
    // Without /proc no folder is named: a library is never loaded from the working folder, which
    // may be anyone's.
    const std::filesystem::path program = programFolder();
    return program.empty() ? std::filesystem::path() : libraryFolderFor(program);
}

} // namespace braille::paths
