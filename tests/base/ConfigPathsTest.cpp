#include "ConfigPaths.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace braille;
using namespace braille::test;

namespace {

// Sets or clears a variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::filesystem::perms permissionsOf(const std::filesystem::path& path)
{
    return std::filesystem::symlink_status(path).permissions() & std::filesystem::perms::all;
}

} // namespace

TEST(ConfigPaths, PerUserFoldersNeverFallBackToASharedFolder)
{
    ScopedVariable config("TENKORA_CONFIG_DIR", nullptr);
    ScopedVariable state("TENKORA_STATE_DIR", nullptr);
    ScopedVariable xdgConfig("XDG_CONFIG_HOME", nullptr);
    ScopedVariable xdgState("XDG_STATE_HOME", "relative/is/ignored");
    ScopedVariable runtime("XDG_RUNTIME_DIR", nullptr);
    {
        ScopedVariable home("HOME", "/home/someone");
        EXPECT_EQ(paths::configFolder(), "/home/someone/.config/Tenkora");
        EXPECT_EQ(paths::stateFolder(), "/home/someone/.local/state/Tenkora");
    }
    ScopedVariable home("HOME", nullptr);
    // Without HOME the password database names the home folder, never the temporary folder.
    EXPECT_NE(paths::configFolder().string().rfind("/tmp", 0), 0u) << paths::configFolder();
    EXPECT_NE(paths::stateFolder().string().rfind("/tmp", 0), 0u) << paths::stateFolder();
    // Without XDG_RUNTIME_DIR: a folder of this user's own, which privateFolder checks.
    EXPECT_EQ(paths::runtimeFolder(), "/tmp/tenkora-" + std::to_string(::getuid()));
}

TEST(ConfigPaths, APrivateFolderIsMadeOwnerOnlyAndAnythingElseIsRefused)
{
    TempDir dir;
    const std::filesystem::path deep = dir.path() / "state" / "Tenkora" / "recovery";
    ASSERT_TRUE(paths::privateFolder(deep));
    EXPECT_EQ(permissionsOf(deep), std::filesystem::perms::owner_all);
    EXPECT_EQ(permissionsOf(dir.path() / "state"), std::filesystem::perms::owner_all);
    // One of ours that others can read is narrowed.
    std::filesystem::create_directory(dir.file("open"));
    std::filesystem::permissions(dir.file("open"), std::filesystem::perms(0755));
    ASSERT_TRUE(paths::privateFolder(dir.file("open")));
    EXPECT_EQ(permissionsOf(dir.file("open")), std::filesystem::perms::owner_all);
    // A link, a file, and a folder that belongs to somebody else are refused.
    std::filesystem::create_directory_symlink(deep, dir.file("planted"));
    EXPECT_FALSE(paths::privateFolder(dir.file("planted")));
    writeBytes(dir.file("plain"), "x");
    EXPECT_FALSE(paths::privateFolder(dir.file("plain")));
    if (::geteuid() == 0) {
        std::filesystem::create_directory(dir.file("theirs"));
        ASSERT_EQ(::chown(dir.file("theirs").c_str(), 4242, 4242), 0);
        const FolderResult theirs = paths::privateFolder(dir.file("theirs"));
        EXPECT_FALSE(theirs);
        EXPECT_NE(theirs.reason.find("another user"), std::string::npos) << theirs.reason;
    }
    EXPECT_FALSE(paths::privateFolder({}));
}
