#pragma once
// Recovery copies: while a book has unsaved changes, a copy of it is kept on disk, so that a
// crash, a killed process or a power cut loses at most a few seconds of work. The next start
// offers the copies of processes that are gone.
//
// Copies live in $XDG_STATE_HOME/Tenkora/recovery/ (default ~/.local/state/Tenkora/recovery/),
// owner-only, one per process: recovery-ID.bml and beside it recovery-ID.txt with the book's path
// (empty for a new book), the time of the copy and the process id, where ID is the process id
// and a random part, so that a later process with the same id never takes over an old copy.
// recovery-ID.lock is locked (flock) by its process for as long as it runs: a copy whose lock can
// be taken belongs to a process that is gone, whatever process now has its id. A process writes
// and removes only its own copy.

#include "BrailleDocument.h"
#include "SaveResult.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace braille {

struct RecoveryCopy {
    std::filesystem::path copy;   // the BML file
    std::filesystem::path record; // the record beside it
    std::u16string original;      // the book's own path, empty for a new book
    std::string time;             // "YYYY-MM-DD HH:MM:SS"
    long pid = 0;
};

class RecoveryStore {
public:
    // The folder of the copies; made when the first copy is written.
    static std::filesystem::path folder();

    explicit RecoveryStore(long pid);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // A copy of the book, taken at once and cheap: what writeSnapshot writes, on any thread.
    static std::unique_ptr<BrailleDocument> snapshot(const BrailleDocument& document);
    // Writes this process's copy (atomically, owner-only) and its record; the first write takes
    // the lock that marks the copy as this running process's. One writer at a time.
    SaveResult write(BrailleDocument& snapshot, const std::u16string& original);
    // Removes this process's copy, when there is one.
    void remove() const;
    // Whether a complete copy is there: the copy and its record.
    bool exists() const;
    const std::filesystem::path& copyPath() const { return m_copy; }

    // The copies of processes that no longer run, oldest first.
    static std::vector<RecoveryCopy> leftovers();
    static void discard(const RecoveryCopy& copy);

private:
    long m_pid;
    std::filesystem::path m_copy;
    std::filesystem::path m_record;
    std::filesystem::path m_lock;
    int m_lockFd = -1;
};

} // namespace braille
