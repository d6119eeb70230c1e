#include "Recovery.h"

#include "AtomicSave.h"
#include "BmlWriter.h"
#include "ConfigPaths.h"
#include "LocalTime.h"
#include "Utf.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace braille {

namespace {

bool processRuns(long pid)
{
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Whether a running process holds this lock file. A copy written before lock files existed has
// none; only then does the process id decide, as it did.
bool heldByARunningProcess(const std::filesystem::path& lock, long pid)
{
    const int fd = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno == ENOENT ? processRuns(pid) : true;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

std::string uniqueId(long pid)
{
    std::random_device random;
    char suffix[9];
    std::snprintf(suffix, sizeof suffix, "%08x", unsigned(random()));
    return std::to_string(pid) + "-" + suffix;
}

} // namespace

std::filesystem::path RecoveryStore::folder()
{
    const std::filesystem::path state = paths::stateFolder();
    return state.empty() ? state : state / "recovery";
}

RecoveryStore::RecoveryStore(long pid) : m_pid(pid)
{
    const std::string id = uniqueId(pid);
    const std::filesystem::path dir = folder();
    m_copy = dir / ("recovery-" + id + ".bml");
    m_record = dir / ("recovery-" + id + ".txt");
    m_lock = dir / ("recovery-" + id + ".lock");
}

RecoveryStore::~RecoveryStore()
{
    if (m_lockFd < 0)
        return;
    // A copy still there (the process ends without saving, as a crash would) stays offered.
    if (!exists()) {
        std::error_code ec;
        std::filesystem::remove(m_lock, ec);
    }
    ::close(m_lockFd);
}

std::unique_ptr<BrailleDocument> RecoveryStore::snapshot(const BrailleDocument& document)
{
    auto copy = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
    copy->cellsPerLine = document.cellsPerLine;
    copy->useOrgPage = document.useOrgPage;
    for (int k = 0; k < kSectionCount; ++k) {
        const DocumentSection& from = document.sections[k];
        DocumentSection& to = copy->sections[k];
        to.rowCount = from.rowCount;
        for (const BrailleParagraph& p : from.paragraphs) {
            CharacterSequence* characters = copy->newCharacterSequence();
            *characters = *p.characters;
            BrailleParagraph& q = to.paragraphs.emplace_back(characters);
            q.rows = p.rows;
        }
    }
    copy->currentSection = Body;
    copy->recountRows();
    copy->complete = true;
    copy->modified = true;
    return copy;
}

SaveResult RecoveryStore::write(BrailleDocument& snapshot, const std::u16string& original)
{
    if (const FolderResult made = paths::privateFolder(folder()); !made)
        return SaveResult::failure("cannot keep a recovery copy: " + made.reason);
    if (m_lockFd < 0) {
        const int fd = ::open(m_lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (fd >= 0)
                ::close(fd);
            return SaveResult::failure("cannot lock " + m_lock.string() + ": " + std::strerror(error));
        }
        m_lockFd = fd;
    }
    const SaveResult copy = writeBml(snapshot, m_copy, nullptr, SaveKind::PrivateFile);
    if (!copy)
        return copy;
    std::ostringstream record;
    record << toUtf8(original) << "\n" << localTimeText("%Y-%m-%d %H:%M:%S") << "\n" << m_pid << "\n";
    return saveBytesAtomically(m_record, record.str(), SaveKind::PrivateFile);
}

void RecoveryStore::remove() const
{
    std::error_code ec;
    std::filesystem::remove(m_copy, ec);
    std::filesystem::remove(m_record, ec);
}

bool RecoveryStore::exists() const
{
    // The record is written after the copy: only both together can be offered after a crash.
    std::error_code ec;
    return std::filesystem::exists(m_copy, ec) && std::filesystem::exists(m_record, ec);
}

std::vector<RecoveryCopy> RecoveryStore::leftovers()
{
    std::vector<RecoveryCopy> copies;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder(), ec)) {
        const std::filesystem::path& p = item.path();
        if (p.filename().string().rfind("recovery-", 0) != 0)
            continue;
        if (p.extension() == ".lock") {
            // The lock of a process that ended before its first copy was complete holds nothing.
            if (!std::filesystem::exists(std::filesystem::path(p).replace_extension(".txt"), ec) &&
                !heldByARunningProcess(p, 0))
                std::filesystem::remove(p, ec);
            continue;
        }
        if (p.extension() != ".txt")
            continue;
        std::ifstream in(p);
        RecoveryCopy c;
        c.record = p;
        c.copy = std::filesystem::path(p).replace_extension(".bml");
        std::string original, pid;
        std::getline(in, original);
        std::getline(in, c.time);
        std::getline(in, pid);
        c.original = fromUtf8(original);
        c.pid = std::atol(pid.c_str());
        // A copy of a process that still runs is that process's business.
        const std::filesystem::path lock = std::filesystem::path(p).replace_extension(".lock");
        if (heldByARunningProcess(lock, c.pid) || !std::filesystem::exists(c.copy, ec))
            continue;
        copies.push_back(std::move(c));
    }
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.time < b.time; });
    return copies;
}

void RecoveryStore::discard(const RecoveryCopy& copy)
{
    std::error_code ec;
    std::filesystem::remove(copy.copy, ec);
    std::filesystem::remove(copy.record, ec);
    std::filesystem::remove(std::filesystem::path(copy.record).replace_extension(".lock"), ec);
}

} // namespace braille
