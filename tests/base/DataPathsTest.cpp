#include "DataPaths.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace braille;
using namespace braille::test;

namespace fs = std::filesystem;

TEST(DataPaths, BuildTreeKeepsDataAndDriverBesideTheProgram)
{
    TempDir tmp;
    const fs::path bin = tmp.path() / "build" / "bin";
    fs::create_directories(bin / "tables");
    writeBytes(bin / "libktnbrlc.so", "");
    // An installed tree next to it must not be taken for the build's own data.
    fs::create_directories((bin / TENKORA_DATA_FROM_BIN / "tables").lexically_normal());

    EXPECT_EQ(paths::dataFolderFor(bin), bin);
    EXPECT_EQ(paths::libraryFolderFor(bin), bin);
}

TEST(DataPaths, InstalledProgramFindsShareAndLibBesideItsBinFolder)
{
    TempDir tmp;
    const fs::path prefix = tmp.path() / "prefix";
    const fs::path bin = prefix / "bin";
    fs::create_directories(bin);
    const fs::path data = (bin / TENKORA_DATA_FROM_BIN).lexically_normal();
    fs::create_directories(data / "tables");

    EXPECT_EQ(paths::dataFolderFor(bin), data);
    EXPECT_EQ(data.parent_path().filename(), "share");
    EXPECT_EQ(paths::libraryFolderFor(bin), (bin / TENKORA_LIB_FROM_BIN).lexically_normal());
    EXPECT_EQ(paths::libraryFolderFor(bin).filename(), "tenkora");
}

TEST(DataPaths, WithoutTablesAnywhereTheProgramFolderIsNamed)
{
    TempDir tmp;
    const fs::path bin = tmp.path() / "bin";
    fs::create_directories(bin);
    // The message about missing tables then names the folder beside the program.
    EXPECT_EQ(paths::dataFolderFor(bin), bin);
}

TEST(DataPaths, TheRunningProgramFindsTheShippedTables)
{
    EXPECT_TRUE(fs::is_regular_file(paths::tableFolder() / "kana.txt")) << paths::tableFolder();
    EXPECT_EQ(paths::dataFolder(), paths::programFolder());
}
