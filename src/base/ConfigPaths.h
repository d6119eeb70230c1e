#pragma once
// Where Tenkora keeps what belongs to one user: the settings folder, the state folder (recovery
// copies, logs) and the runtime folder (link-mode sockets and work files).
//
// Every program and library asks here, so they agree on the folders and on the override
// variables. None of them ever falls back to a folder other users can write to: without HOME the
// home folder comes from the password database, and without XDG_RUNTIME_DIR the runtime folder
// is one the program makes for the user alone and checks before use.

#include <filesystem>
#include <string>

namespace braille {

// The outcome of making a folder private: ok, or why it cannot be used.
struct FolderResult {
    bool ok = true;
    std::string reason;
    explicit operator bool() const { return ok; }
};

namespace paths {

// The settings folder: $TENKORA_CONFIG_DIR, else $XDG_CONFIG_HOME/Tenkora, else
// ~/.config/Tenkora. Empty when no home folder can be found.
std::filesystem::path configFolder();

// The state folder: $TENKORA_STATE_DIR, else $XDG_STATE_HOME/Tenkora, else
// ~/.local/state/Tenkora. Empty when no home folder can be found.
std::filesystem::path stateFolder();

// The runtime folder: $XDG_RUNTIME_DIR, else /tmp/tenkora-UID, which privateFolder makes and
// checks (a folder of that name that another user made first is refused, never used).
std::filesystem::path runtimeFolder();

// Makes `folder` (and any missing parent) owner-only (0700) and checks it: it must be a real
// folder, not a link, owned by this user. A folder of ours that others may read is narrowed to
// 0700; one that is not ours is refused with the reason.
FolderResult privateFolder(const std::filesystem::path& folder);

} // namespace paths
} // namespace braille
