#include "ConfigPaths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace braille::paths {

namespace {

std::filesystem::path fromVariable(const char* name)
{
    const char* value = std::getenv(name);
    // Relative values are invalid for the XDG variables and are ignored, as that standard says.
    if (value && *value == '/')
        return value;
    return {};
}

std::filesystem::path homeFolder()
{
    if (std::filesystem::path home = fromVariable("HOME"); !home.empty())
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir == '/')
        return entry->pw_dir;
    return {};
}

std::filesystem::path underHome(const char* variable, const char* fallback)
{
    if (std::filesystem::path folder = fromVariable(variable); !folder.empty())
        return folder / "Tenkora";
    const std::filesystem::path home = homeFolder();
    return home.empty() ? std::filesystem::path() : home / fallback / "Tenkora";
}

std::string describe(const std::filesystem::path& folder, const char* what, int error = 0)
{
    std::string text = folder.string() + ": " + what;
    if (error)
        text += std::string(" (") + std::strerror(error) + ")";
    return text;
}

} // namespace

std::filesystem::path configFolder()
{
    if (const char* overridden = std::getenv("TENKORA_CONFIG_DIR"); overridden && *overridden)
        return overridden;
    return underHome("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path stateFolder()
{
    if (const char* overridden = std::getenv("TENKORA_STATE_DIR"); overridden && *overridden)
        return overridden;
    return underHome("XDG_STATE_HOME", ".local/state");
}

std::filesystem::path runtimeFolder()
{
    if (std::filesystem::path runtime = fromVariable("XDG_RUNTIME_DIR"); !runtime.empty())
        return runtime;
    return std::filesystem::path("/tmp") / ("tenkora-" + std::to_string(::getuid()));
}

FolderResult privateFolder(const std::filesystem::path& folder)
{
    if (folder.empty())
        return {false, "no folder for this user (neither HOME nor a password entry names a home folder)"};
    // Missing parents are made owner-only as well, as the XDG folders should be.
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        struct stat parent {};
        if (::stat(folder.parent_path().c_str(), &parent) != 0) {
            if (FolderResult made = privateFolder(folder.parent_path()); !made)
                return made;
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {false, describe(folder, "cannot be made", errno)};
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return {false, describe(folder, "cannot be read", errno)};
    if (S_ISLNK(st.st_mode))
        return {false, describe(folder, "is a symbolic link, not a private folder")};
    if (!S_ISDIR(st.st_mode))
        return {false, describe(folder, "is not a folder")};
    if (st.st_uid != ::geteuid())
        return {false, describe(folder, "belongs to another user")};
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return {false, describe(folder, "cannot be made private", errno)};
    return {};
}

} // namespace braille::paths
