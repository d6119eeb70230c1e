#include "BookLock.h"

#include "AtomicSave.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace braille;
using namespace braille::test;

namespace {

// The id of a process that ran and is gone (reaped, so the id is free).
long goneProcessId()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return long(child);
}

LockHolder otherTenkora(std::string host, long pid)
{
    return LockHolder{std::move(host), pid, "hanako", 1765000000};
}

} // namespace

TEST(BookLock, ASecondTenkoraFindsWhoHoldsTheBookUntilItIsReleased)
{
    TempDir dir;
    const auto book = dir.file("本.bml");
    writeBytes(book, "<document/>");
    BookLock first;
    ASSERT_EQ(first.take(book), BookLock::Outcome::Taken);
    EXPECT_FALSE(first.tookOver());
    EXPECT_EQ(first.lockFile(), dir.file(".本.bml.lock"));
    // A live process of this host (this one) holds it: never stale.
    const LockHolder self = thisProcess();
    BookLock second;
    EXPECT_EQ(second.take(book, otherTenkora(self.host, 1)), BookLock::Outcome::Held);
    EXPECT_EQ(second.holder().host, self.host);
    EXPECT_EQ(second.holder().pid, self.pid);
    EXPECT_EQ(second.holder().user, self.user);
    EXPECT_NEAR(double(second.holder().since), double(self.since), 5.0);
    EXPECT_FALSE(second.held());

    first.release();
    EXPECT_FALSE(std::filesystem::exists(dir.file(".本.bml.lock")));
    EXPECT_EQ(second.take(book, otherTenkora(self.host, 1)), BookLock::Outcome::Taken);
}

TEST(BookLock, AStaleLockOfThisHostIsTakenOverOneOfAnotherHostNever)
{
    TempDir dir;
    const auto book = dir.file("a.bml");
    const long gone = goneProcessId();
    const std::string host = thisProcess().host;

    writeBytes(lockPathOf(book), lockText(otherTenkora(host, gone)));
    BookLock lock;
    ASSERT_EQ(lock.take(book), BookLock::Outcome::Taken);
    EXPECT_TRUE(lock.tookOver());
    EXPECT_EQ(parseLockText(readBytes(lockPathOf(book)))->pid, long(::getpid()));
    lock.release();

    // The same dead process id on another host proves nothing: that host's process may run.
    writeBytes(lockPathOf(book), lockText(otherTenkora("elsewhere", gone)));
    EXPECT_EQ(lock.take(book), BookLock::Outcome::Held);
    EXPECT_EQ(lock.holder().host, "elsewhere");
    EXPECT_EQ(parseLockText(readBytes(lockPathOf(book)))->host, "elsewhere");

    // Nor on another machine of the same name, nor in another sandbox; but a lock from before
    // this machine's restart is stale whatever its process id.
    const LockHolder self = thisProcess();
    LockHolder twin = otherTenkora(host, gone);
    twin.machine = "another-machine";
    EXPECT_FALSE(isStaleLock(twin, self));
    LockHolder sandboxed = otherTenkora(host, gone);
    sandboxed.pidNamespace = "pid:[1]";
    EXPECT_FALSE(isStaleLock(sandboxed, LockHolder{self.host, 1, "", 0, "", "", "pid:[2]"}));
    LockHolder beforeRestart = otherTenkora(host, long(::getpid()));
    beforeRestart.machine = "m";
    beforeRestart.boot = "earlier";
    EXPECT_TRUE(isStaleLock(beforeRestart, LockHolder{self.host, 1, "", 0, "m", "now", ""}));
    EXPECT_EQ(parseLockText(lockText(beforeRestart)), beforeRestart);
}

TEST(BookLock, AnUnreadableLockIsHeldWhileYoungAndTakenOverWhenOld)
{
    TempDir dir;
    const auto book = dir.file("a.bml");
    // A Tenkora that made the file and has not written it yet, or was killed in between.
    writeBytes(lockPathOf(book), "");
    BookLock lock;
    EXPECT_EQ(lock.take(book), BookLock::Outcome::Held);
    EXPECT_TRUE(lock.holder().host.empty());
    const utimbuf old{::time(nullptr) - 60, ::time(nullptr) - 60};
    ASSERT_EQ(::utime(lockPathOf(book).c_str(), &old), 0);
    EXPECT_EQ(lock.take(book), BookLock::Outcome::Taken);
    EXPECT_TRUE(lock.tookOver());
}

TEST(BookLock, ReleaseLeavesALockThatAnotherTookOver)
{
    TempDir dir;
    const auto book = dir.file("a.bml");
    BookLock lock;
    ASSERT_EQ(lock.take(book), BookLock::Outcome::Taken);
    const std::string theirs = lockText(otherTenkora("elsewhere", 42));
    writeBytes(lockPathOf(book), theirs);
    lock.release();
    EXPECT_EQ(readBytes(lockPathOf(book)), theirs);
}

TEST(BookLock, AFolderThatTakesNoFileIsReportedNotHeld)
{
    TempDir dir;
    BookLock lock;
    EXPECT_EQ(lock.take(dir.file("gone") / "a.bml"), BookLock::Outcome::Unwritable);
    EXPECT_NE(lock.problem().find("gone"), std::string::npos);
    EXPECT_FALSE(lock.held());
    if (::geteuid() != 0) {
        // A read-only share: the book is there and readable, its folder takes no new file.
        writeBytes(dir.file("a.bml"), "<document/>");
        ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
        EXPECT_EQ(lock.take(dir.file("a.bml")), BookLock::Outcome::Unwritable);
        ::chmod(dir.path().c_str(), 0755);
    }
}

TEST(BookLock, SavingTheBookAndCleaningAfterAKilledSaveLeaveTheLock)
{
    TempDir dir;
    const auto book = dir.file("a.bml");
    writeBytes(book, "old");
    BookLock lock;
    ASSERT_EQ(lock.take(book), BookLock::Outcome::Taken);
    writeBytes(dir.file(".a.bml.tenkora-AbC123"), "left by a killed save");
    EXPECT_EQ(removeStaleTemporaries(book), 1);
    ASSERT_TRUE(saveBytesAtomically(book, "new"));
    EXPECT_EQ(parseLockText(readBytes(lock.lockFile()))->pid, long(::getpid()));
    EXPECT_FALSE(lock.lockFile().filename().string().ends_with(".bml")); // never listed as a book
    EXPECT_FALSE(parseLockText("tenkora-lock 1\nhost=x\npid=12")); // cut short while written
}
