#include "Recovery.h"

#include "AtomicSave.h"
#include "BmlWriter.h"
#include "LocalTime.h"
#include "Utf.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace braille {

namespace {

bool processRuns(long pid)
{
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

std::filesystem::path RecoveryStore::folder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return std::filesystem::path(state) / "Tenkora" / "recovery";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / ".local" / "state" / "Tenkora" / "recovery";
}

RecoveryStore::RecoveryStore(long pid)
    : m_pid(pid), m_copy(folder() / ("recovery-" + std::to_string(pid) + ".bml")),
      m_record(folder() / ("recovery-" + std::to_string(pid) + ".txt"))
{
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

SaveResult RecoveryStore::write(BrailleDocument& snapshot, const std::u16string& original) const
{
    std::error_code ec;
    std::filesystem::create_directories(folder(), ec);
    if (ec)
        return SaveResult::failure("cannot make " + folder().string() + ": " + ec.message());
    const SaveResult copy = writeBml(snapshot, m_copy);
    if (!copy)
        return copy;
    std::ostringstream record;
    record << toUtf8(original) << "\n" << localTimeText("%Y-%m-%d %H:%M:%S") << "\n" << m_pid << "\n";
    return saveBytesAtomically(m_record, record.str());
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
        if (p.extension() != ".txt" || p.filename().string().rfind("recovery-", 0) != 0)
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
        if (processRuns(c.pid) || !std::filesystem::exists(c.copy, ec))
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
}

} // namespace braille
