#include "AtomicSave.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace braille {

namespace {

std::string describe(const std::string& what, const std::filesystem::path& path, int error)
{
    std::string text = what + " " + path.string();
    if (error)
        text += std::string(": ") + std::strerror(error);
    return text;
}

// The temporary file's name: ".NAME.tenkora-" and mkostemp's six characters. The mark keeps the
// files of other programs that write NAME the same way (".NAME.XXXXXX") out of the cleaning.
constexpr std::size_t kTemporarySuffix = 6;

std::string temporaryPrefix(const std::filesystem::path& target)
{
    return "." + target.filename().string() + ".tenkora-";
}

// Removes what killed saves of `target` left; the caller holds the target's lock.
int removeTemporariesBeside(const std::filesystem::path& target)
{
    const std::string prefix = temporaryPrefix(target);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + kTemporarySuffix || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        struct stat st {};
        if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (::unlink(entry.path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

bool syncPath(const std::filesystem::path& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

unsigned currentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return unsigned(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    }
    return 077; // unknown: the narrowest mask is the safe guess
}

int removeStaleTemporaries(const std::filesystem::path& target)
{
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    int removed = 0;
    // A Tenkora that is saving this book holds its lock until the rename, and its temporary
    // file is made only once it holds it: whoever can take the lock knows no save is under way.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        removed = removeTemporariesBeside(target);
    ::close(fd);
    return removed;
}

AtomicSave::AtomicSave(const std::filesystem::path& target, SaveKind kind) : m_target(target)
{
    std::error_code ec;
    const bool privateFile = kind == SaveKind::PrivateFile;
    if (!privateFile && std::filesystem::is_symlink(m_target, ec)) {
        // Replace the file the link names, not the link.
        std::filesystem::path resolved = std::filesystem::weakly_canonical(m_target, ec);
        if (!ec)
            m_target = resolved;
    }
    if (m_target.filename().empty()) {
        m_status = SaveResult::failure("cannot save to " + target.string() + ": no file name");
        return;
    }

    mode_t mode = privateFile ? 0600 : (0666 & ~mode_t(currentUmask()));
    struct stat st {};
    // A private file is looked at, never through: a link there is replaced, not followed.
    if ((privateFile ? ::lstat(m_target.c_str(), &st) : ::stat(m_target.c_str(), &st)) == 0) {
        if (S_ISDIR(st.st_mode)) {
            m_status = SaveResult::failure(describe("cannot save to", m_target, EISDIR));
            return;
        }
        if (!privateFile)
            mode = st.st_mode & 07777;
        if (S_ISREG(st.st_mode))
            m_lockFd = ::open(m_target.c_str(), O_RDONLY | O_CLOEXEC | (privateFile ? O_NOFOLLOW : 0));
        if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_lockFd);
            m_lockFd = -1;
            m_status = SaveResult::failure("cannot save " + m_target.string() +
                                           ": the file is in use by another program");
            return;
        }
        if (m_lockFd >= 0)
            removeTemporariesBeside(m_target);
    }

    std::filesystem::path folder = m_target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern = (folder / (temporaryPrefix(m_target) + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        m_status = SaveResult::failure(describe("cannot create a file in", folder, errno));
        return;
    }
    m_temporary = name.data();
    ::fchmod(fd, mode);
    ::close(fd);
}

AtomicSave::~AtomicSave()
{
    if (!m_committed)
        discard();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

void AtomicSave::discard()
{
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

void AtomicSave::fail(std::string reason)
{
    if (m_status)
        m_status = SaveResult::failure(std::move(reason));
}

SaveResult AtomicSave::commit()
{
    if (!m_status) {
        discard();
        return m_status;
    }
    if (!syncPath(m_temporary, O_RDONLY)) {
        m_status = SaveResult::failure(describe("cannot write", m_target, errno));
        discard();
        return m_status;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_status = SaveResult::failure(describe("cannot replace", m_target, errno));
        discard();
        return m_status;
    }
    m_committed = true;
    m_temporary.clear();
    // The rename itself reaches the disk with the folder.
    std::filesystem::path folder = m_target.parent_path();
    syncPath(folder.empty() ? std::filesystem::path(".") : folder, O_RDONLY | O_DIRECTORY);
    return m_status;
}

SaveResult saveBytesAtomically(const std::filesystem::path& target, std::string_view bytes, SaveKind kind)
{
    AtomicSave save(target, kind);
    if (!save.status())
        return save.status();
    const int fd = ::open(save.temporaryPath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        save.fail(describe("cannot write", save.target(), errno));
        return save.commit();
    }
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            save.fail(describe("cannot write", save.target(), n < 0 ? errno : ENOSPC));
            break;
        }
        data += n;
        left -= std::size_t(n);
    }
    ::close(fd);
    return save.commit();
}

} // namespace braille
