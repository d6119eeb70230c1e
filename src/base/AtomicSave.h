#pragma once
// Replaces a file only once its new content is completely on disk.
//
// The new content is written to a temporary file in the target's own folder (so that the final
// rename stays within one file system); `commit` flushes it to disk and renames it over the
// target. Until then the old file is untouched, and if anything fails, or the object is
// destroyed without a commit, the temporary file is removed and the old file stays as it was.
// While the save is under way the target is locked like any file Tenkora has open, so a file
// that another Tenkora process holds is reported as in use rather than replaced.
//
// A user's own book (SaveKind::UserFile) may be a symbolic link: the file it names is replaced,
// and a new file gets the permissions the umask allows. A file the program names itself
// (SaveKind::PrivateFile: recovery copies, link-mode work files, logs) is never followed through
// a link, which would let whoever planted the link choose what is overwritten, and is owner-only.

#include "SaveResult.h"

#include <filesystem>
#include <string_view>

namespace braille {

enum class SaveKind { UserFile, PrivateFile };

class AtomicSave {
public:
    explicit AtomicSave(const std::filesystem::path& target, SaveKind kind = SaveKind::UserFile);
    ~AtomicSave();
    AtomicSave(const AtomicSave&) = delete;
    AtomicSave& operator=(const AtomicSave&) = delete;

    // A failure found while preparing (the temporary file could not be made, the target is in
    // use); when it is not ok, nothing should be written.
    const SaveResult& status() const { return m_status; }
    // Where to write the new content.
    const std::filesystem::path& temporaryPath() const { return m_temporary; }
    // The file that will be replaced (a symbolic link is followed to the file it names).
    const std::filesystem::path& target() const { return m_target; }

    // Records a failure of the caller's writing; commit will then only clean up.
    void fail(std::string reason);
    // Puts the temporary file on disk and renames it over the target.
    SaveResult commit();

private:
    void discard();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_lockFd = -1;
    bool m_committed = false;
    SaveResult m_status;
};

// Writes `bytes` to `target` through an AtomicSave.
SaveResult saveBytesAtomically(const std::filesystem::path& target, std::string_view bytes,
                               SaveKind kind = SaveKind::UserFile);

// Removes the temporary files that saves of `target` killed before their rename left beside it
// (".NAME.tenkora-XXXXXX"; other programs' files are left alone). Only while no other process holds the target, so a save under way in another
// Tenkora keeps its file; returns how many were removed.
int removeStaleTemporaries(const std::filesystem::path& target);

// The process's file-creation mask, read without changing it (changing it, even for a moment,
// would let another thread create a file with the wrong permissions).
unsigned currentUmask();

} // namespace braille
