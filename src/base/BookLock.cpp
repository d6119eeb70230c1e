#include "BookLock.h"

#include <cerrno>
#include <fstream>
#include <charconv>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace braille {

namespace {

// The first line of a small system file (the machine's id, the boot's id), or empty.
std::string firstLine(const char* path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}


constexpr std::string_view kHeader = "tenkora-lock 1\n";

std::string describe(const std::string& what, const std::filesystem::path& path, int error)
{
    return what + " " + path.string() + ": " + std::strerror(error);
}

// What the lock file holds now: nothing when it is not there (or cannot be read), its bytes
// otherwise. Never followed through a symbolic link.
std::optional<std::string> readLockFile(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || text.size() > 16384)
            break;
        text.append(buffer, std::size_t(n));
    }
    ::close(fd);
    return text;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// Whether a lock file that holds no lock's text has been there long enough to be a leftover.
bool unreadableLockIsOld(const std::filesystem::path& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    return std::time(nullptr) - st.st_mtime >= BookLock::kUnreadableGraceSeconds;
}

} // namespace

std::filesystem::path lockPathOf(const std::filesystem::path& book)
{
    return book.parent_path() / ("." + book.filename().string() + ".lock");
}

std::string lockText(const LockHolder& holder)
{
    std::string text(kHeader);
    text += "host=" + holder.host + "\n";
    text += "pid=" + std::to_string(holder.pid) + "\n";
    text += "user=" + holder.user + "\n";
    text += "since=" + std::to_string(holder.since) + "\n";
    if (!holder.machine.empty())
        text += "machine=" + holder.machine + "\n";
    if (!holder.boot.empty())
        text += "boot=" + holder.boot + "\n";
    if (!holder.pidNamespace.empty())
        text += "pidns=" + holder.pidNamespace + "\n";
    return text;
}

std::optional<LockHolder> parseLockText(std::string_view text)
{
    if (text.substr(0, kHeader.size()) != kHeader)
        return std::nullopt;
    text.remove_prefix(kHeader.size());
    LockHolder holder;
    bool hasHost = false, hasPid = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // cut short while being written
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "host") {
            holder.host = std::string(value);
            hasHost = true;
        } else if (key == "pid") {
            hasPid = std::from_chars(value.data(), value.data() + value.size(), holder.pid).ec == std::errc() &&
                     holder.pid > 0;
        } else if (key == "user") {
            holder.user = std::string(value);
        } else if (key == "since") {
            std::from_chars(value.data(), value.data() + value.size(), holder.since);
        } else if (key == "machine") {
            holder.machine = std::string(value);
        } else if (key == "boot") {
            holder.boot = std::string(value);
        } else if (key == "pidns") {
            holder.pidNamespace = std::string(value);
        }
    }
    if (!hasHost || !hasPid)
        return std::nullopt;
    return holder;
}

LockHolder thisProcess()
{
    LockHolder self;
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        self.host = host;
    self.pid = long(::getpid());
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        self.user = pw->pw_name;
    else
        self.user = std::to_string(::geteuid());
    self.since = std::int64_t(std::time(nullptr));
    self.machine = firstLine("/etc/machine-id");
    self.boot = firstLine("/proc/sys/kernel/random/boot_id");
    char ns[128] = {};
    if (const ssize_t n = ::readlink("/proc/self/ns/pid", ns, sizeof ns - 1); n > 0)
        self.pidNamespace.assign(ns, std::size_t(n));
    return self;
}

bool processRuns(long pid)
{
    if (pid <= 0)
        return false;
    // EPERM: the process is there but belongs to someone else.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool isStaleLock(const LockHolder& holder, const LockHolder& self, const std::function<bool(long)>& runs)
{
    const auto differ = [](const std::string& a, const std::string& b) { return !a.empty() && !b.empty() && a != b; };
    if (holder.host.empty() || holder.host != self.host || differ(holder.machine, self.machine))
        return false; // another machine: its process may well run
    if (!holder.machine.empty() && holder.machine == self.machine && differ(holder.boot, self.boot))
        return true; // this machine has been restarted since
    if (differ(holder.pidNamespace, self.pidNamespace))
        return false; // another sandbox: its processes cannot be seen from here
    return !runs(holder.pid);
}

BookLock::~BookLock() { release(); }

BookLock::BookLock(BookLock&& other) noexcept { *this = std::move(other); }

BookLock& BookLock::operator=(BookLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_lockFile = std::move(other.m_lockFile);
        m_text = std::move(other.m_text);
        m_other = std::move(other.m_other);
        m_problem = std::move(other.m_problem);
        m_tookOver = other.m_tookOver;
        other.m_lockFile.clear();
        other.m_text.clear();
    }
    return *this;
}

BookLock::Outcome BookLock::take(const std::filesystem::path& book, const LockHolder& self)
{
    release();
    m_other = {};
    m_problem.clear();
    m_tookOver = false;
    const std::filesystem::path path = lockPathOf(book);
    const std::string text = lockText(self);
    // Twice at most: once more after a stale lock was removed.
    bool removedStale = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd >= 0) {
            const bool written = writeAll(fd, text);
            const int error = errno;
            ::close(fd);
            if (!written) {
                ::unlink(path.c_str());
                m_problem = describe("cannot write the lock file", path, error);
                return Outcome::Unwritable;
            }
            m_lockFile = path;
            m_text = text;
            m_tookOver = removedStale;
            return Outcome::Taken;
        }
        if (errno != EEXIST) {
            m_problem = describe("cannot make the lock file", path, errno);
            return Outcome::Unwritable;
        }
        const std::optional<std::string> found = readLockFile(path);
        if (!found)
            continue; // gone meanwhile: try again
        const std::optional<LockHolder> holder = parseLockText(*found);
        const bool stale = holder ? isStaleLock(*holder, self) : unreadableLockIsOld(path);
        if (!stale || attempt > 0) {
            m_other = holder.value_or(LockHolder{});
            return Outcome::Held;
        }
        // Removed only if it still says what was judged stale; if another Tenkora took it over
        // meanwhile, its new lock stays and the next attempt finds it.
        if (readLockFile(path) == found && ::unlink(path.c_str()) != 0 && errno != ENOENT) {
            m_problem = describe("cannot remove the stale lock file", path, errno);
            return Outcome::Unwritable;
        }
        removedStale = true;
    }
    const std::optional<std::string> found = readLockFile(path);
    m_other = found ? parseLockText(*found).value_or(LockHolder{}) : LockHolder{};
    return Outcome::Held;
}

void BookLock::release()
{
    if (m_lockFile.empty())
        return;
    // A lock that another Tenkora has since taken over is its own now.
    if (readLockFile(m_lockFile) == m_text)
        ::unlink(m_lockFile.c_str());
    m_lockFile.clear();
    m_text.clear();
}

} // namespace braille
