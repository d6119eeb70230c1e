#include "AtomicSave.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
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

AtomicSave::AtomicSave(const std::filesystem::path& target) : m_target(target)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(m_target, ec)) {
        // Replace the file the link names, not the link.
        std::filesystem::path resolved = std::filesystem::weakly_canonical(m_target, ec);
        if (!ec)
            m_target = resolved;
    }
    if (m_target.filename().empty()) {
        m_status = SaveResult::failure("cannot save to " + target.string() + ": no file name");
        return;
    }

    mode_t mode = 0666 & ~currentUmask();
    struct stat st {};
    if (::stat(m_target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            m_status = SaveResult::failure(describe("cannot save to", m_target, EISDIR));
            return;
        }
        mode = st.st_mode & 07777;
        m_lockFd = ::open(m_target.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_lockFd);
            m_lockFd = -1;
            m_status = SaveResult::failure("cannot save " + m_target.string() +
                                           ": the file is in use by another program");
            return;
        }
    }

    std::filesystem::path folder = m_target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern = (folder / ("." + m_target.filename().string() + ".XXXXXX")).string();
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

SaveResult saveBytesAtomically(const std::filesystem::path& target, std::string_view bytes)
{
    AtomicSave save(target);
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
