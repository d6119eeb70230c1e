#pragma once
// Replaces a file only once its new content is completely on disk.
//
// The new content is written to a temporary file in the target's own folder (so that the final
// rename stays within one file system); `commit` flushes it to disk and renames it over the
// target. Until then the old file is untouched, and if anything fails, or the object is
// destroyed without a commit, the temporary file is removed and the old file stays as it was.
// While the save is under way the target is locked like any file Tenkora has open, so a file
// that another Tenkora process holds is reported as in use rather than replaced.

#include "SaveResult.h"

#include <filesystem>
#include <string_view>

namespace braille {

class AtomicSave {
public:
    explicit AtomicSave(const std::filesystem::path& target);
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
SaveResult saveBytesAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace braille
