#pragma once
// The lock beside a book: a small file ".NAME.lock" in the book's own folder that says which
// Tenkora has the book open (host name, process id, user, since when), so that a second Tenkora,
// on this computer or another one sharing the folder, does not open the book unknowingly and
// save over the first one's work.
//
// The lock is made with O_CREAT|O_EXCL, so of two Tenkoras opening a book at once only one gets
// it. It goes when the book is closed or replaced (the object is released or destroyed). A lock
// left by a Tenkora that was killed is taken over when it is stale: taken on this host by a
// process that no longer runs. A lock from another host is never assumed stale, since its
// process cannot be looked at from here.
//
// This lock is not the advisory lock (flock) that Utf8File and AtomicSave hold while a file is
// read or written, nor the recovery copies' lock: those last only as long as the reading, the
// writing or the process.
//
// The name starts with a dot and does not end in ".bml", so no file dialog or folder listing
// takes it for a book, and it is not the ".NAME.tenkora-XXXXXX" of a save's temporary file,
// which the cleaning after a killed save removes.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace braille {

// Who holds a book.
struct LockHolder {
    std::string host;
    long pid = 0;
    std::string user;
    std::int64_t since = 0; // seconds since the epoch
    // Which machine, which boot of it and which process-id namespace the process ran in (empty in
    // locks that do not say): a host name alone is shared by machines installed from one image,
    // and a process id means nothing in another sandbox or after a restart.
    std::string machine, boot, pidNamespace;
    bool operator==(const LockHolder&) const = default;
};

// ".NAME.lock" beside `book`.
std::filesystem::path lockPathOf(const std::filesystem::path& book);

// The lock file's text, and the holder read back from it (nothing when it is not a lock's text).
std::string lockText(const LockHolder& holder);
std::optional<LockHolder> parseLockText(std::string_view text);

// This process: the host name, the process id, the user's login name and now.
LockHolder thisProcess();
// Whether a process with this id runs on this host (one of another user counts as running).
bool processRuns(long pid);

// Whether a lock may be taken over: it was taken on this machine (`self`'s host and machine), and
// either the machine has been restarted since or, seen from the same process-id namespace, its
// process no longer runs.
bool isStaleLock(const LockHolder& holder, const LockHolder& self,
                 const std::function<bool(long)>& runs = processRuns);

class BookLock {
public:
    enum class Outcome {
        Taken,      // the lock is ours (made, or taken over from a stale one)
        Held,       // another Tenkora holds the book: holder() says who
        Unwritable, // the folder takes no lock file (a read-only share): problem() says why
    };

    BookLock() = default;
    ~BookLock();
    BookLock(BookLock&& other) noexcept;
    BookLock& operator=(BookLock&& other) noexcept;
    BookLock(const BookLock&) = delete;
    BookLock& operator=(const BookLock&) = delete;

    // Tries to lock `book` for `self`; a lock this object held before is released first.
    Outcome take(const std::filesystem::path& book, const LockHolder& self = thisProcess());
    // Removes the lock file, if it is still ours (a lock taken over by another is left to it).
    void release();

    bool held() const { return !m_lockFile.empty(); }
    // The lock file this object holds (empty when none).
    const std::filesystem::path& lockFile() const { return m_lockFile; }
    // After Held: who holds the book (an empty host when the lock file cannot be read).
    const LockHolder& holder() const { return m_other; }
    // After Taken: whether a stale lock was taken over.
    bool tookOver() const { return m_tookOver; }
    // After Unwritable: why, naming the file.
    const std::string& problem() const { return m_problem; }

    // How old a lock file that holds no lock's text must be to count as stale: one whose maker
    // was killed between making it and writing it. A younger one may be being written.
    static constexpr int kUnreadableGraceSeconds = 10;

private:
    std::filesystem::path m_lockFile;
    std::string m_text; // what we wrote, to know the file is still ours
    LockHolder m_other;
    std::string m_problem;
    bool m_tookOver = false;
};

} // namespace braille
