#include "AtomicSave.h"

#include "TestSupport.h"
#include "Utf8File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace braille;
using namespace braille::test;

namespace {

std::size_t filesIn(const std::filesystem::path& dir)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST(AtomicSave, ReplacesTheFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "old");
    ASSERT_TRUE(saveBytesAtomically(dir.file("a.bml"), "new content"));
    EXPECT_EQ(readBytes(dir.file("a.bml")), "new content");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicSave, CreatesAMissingFile)
{
    TempDir dir;
    ASSERT_TRUE(saveBytesAtomically(dir.file("new.bml"), "x"));
    EXPECT_EQ(readBytes(dir.file("new.bml")), "x");
}

TEST(AtomicSave, WithoutCommitTheOldFileStays)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "old");
    {
        AtomicSave save(dir.file("a.bml"));
        ASSERT_TRUE(save.status());
        writeBytes(save.temporaryPath(), "half writ");
    }
    EXPECT_EQ(readBytes(dir.file("a.bml")), "old");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicSave, RecordedFailureKeepsTheOldFileAndReportsIt)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "old");
    AtomicSave save(dir.file("a.bml"));
    writeBytes(save.temporaryPath(), "new");
    save.fail("cannot write a.bml: No space left on device");
    const SaveResult r = save.commit();
    EXPECT_FALSE(r);
    EXPECT_EQ(r.reason, "cannot write a.bml: No space left on device");
    EXPECT_EQ(readBytes(dir.file("a.bml")), "old");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicSave, MissingFolderIsReported)
{
    TempDir dir;
    const SaveResult r = saveBytesAtomically(dir.file("no/such/folder/a.bml"), "x");
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("no/such/folder"), std::string::npos) << r.reason;
}

TEST(AtomicSave, AFolderIsNotReplaced)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("sub"));
    const SaveResult r = saveBytesAtomically(dir.file("sub"), "x");
    EXPECT_FALSE(r);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("sub")));
}

TEST(AtomicSave, AFileThatAnotherOwnerHoldsIsInUse)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "old");
    Utf8File holder(dir.file("a.bml"), Utf8File::Read);
    ASSERT_TRUE(holder.isOpen());
    const SaveResult r = saveBytesAtomically(dir.file("a.bml"), "new");
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("in use"), std::string::npos) << r.reason;
    EXPECT_EQ(readBytes(dir.file("a.bml")), "old");
}

TEST(AtomicSave, KeepsThePermissionsOfTheReplacedFile)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "old");
    std::filesystem::permissions(dir.file("a.bml"), std::filesystem::perms(0640));
    ASSERT_TRUE(saveBytesAtomically(dir.file("a.bml"), "new"));
    EXPECT_EQ(std::filesystem::status(dir.file("a.bml")).permissions(), std::filesystem::perms(0640));
}

TEST(AtomicSave, ASymbolicLinkKeepsPointingAtTheNewContent)
{
    TempDir dir;
    writeBytes(dir.file("real.bml"), "old");
    std::filesystem::create_symlink(dir.file("real.bml"), dir.file("link.bml"));
    ASSERT_TRUE(saveBytesAtomically(dir.file("link.bml"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.bml")));
    EXPECT_EQ(readBytes(dir.file("real.bml")), "new");
}

TEST(AtomicSave, AFileTheProgramNamesIsOwnerOnlyAndNeverWrittenThroughALink)
{
    TempDir dir;
    writeBytes(dir.file("book.bml"), "the transcriber's book");
    // Another user plants links where the program will write.
    std::filesystem::create_symlink(dir.file("book.bml"), dir.file("work.bml"));
    std::filesystem::create_symlink(dir.file("copy-for-me.bml"), dir.file("work2.bml"));
    ASSERT_TRUE(saveBytesAtomically(dir.file("work.bml"), "link text", SaveKind::PrivateFile));
    ASSERT_TRUE(saveBytesAtomically(dir.file("work2.bml"), "link text", SaveKind::PrivateFile));
    EXPECT_EQ(readBytes(dir.file("book.bml")), "the transcriber's book");
    EXPECT_FALSE(std::filesystem::exists(dir.file("copy-for-me.bml")));
    for (const char* name : {"work.bml", "work2.bml"}) {
        EXPECT_FALSE(std::filesystem::is_symlink(dir.file(name)));
        EXPECT_EQ(readBytes(dir.file(name)), "link text");
        EXPECT_EQ(std::filesystem::status(dir.file(name)).permissions(), std::filesystem::perms(0600));
    }
}

TEST(AtomicSave, TheUmaskDecidesANewFileAndIsNeverChanged)
{
    TempDir dir;
    const mode_t before = ::umask(027);
    EXPECT_EQ(currentUmask(), 027u);
    ASSERT_TRUE(saveBytesAtomically(dir.file("new.bml"), "x"));
    EXPECT_EQ(std::filesystem::status(dir.file("new.bml")).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(::umask(before), 027u);
}

TEST(AtomicSave, TemporariesLeftByAKilledSaveGoAtTheNextSaveUnlessASaveIsUnderWay)
{
    TempDir dir;
    writeBytes(dir.file("a.bml"), "old");
    writeBytes(dir.file(".a.bml.tenkora-Xq3zP1"), "half a book"); // a save killed before its rename
    writeBytes(dir.file(".a.bml.Xq3zP1"), "another program's");    // not one of ours
    writeBytes(dir.file(".b.bml.tenkora-Xq3zP1"), "another book's");
    {
        // While another save holds the book, its temporary stays.
        Utf8File holder(dir.file("a.bml"), Utf8File::Write);
        ASSERT_TRUE(holder.isOpen());
        EXPECT_EQ(removeStaleTemporaries(dir.file("a.bml")), 0);
        EXPECT_TRUE(std::filesystem::exists(dir.file(".a.bml.tenkora-Xq3zP1")));
    }
    ASSERT_TRUE(saveBytesAtomically(dir.file("a.bml"), "new"));
    EXPECT_FALSE(std::filesystem::exists(dir.file(".a.bml.tenkora-Xq3zP1")));
    EXPECT_TRUE(std::filesystem::exists(dir.file(".a.bml.Xq3zP1")));
    EXPECT_TRUE(std::filesystem::exists(dir.file(".b.bml.tenkora-Xq3zP1")));
    writeBytes(dir.file(".a.bml.tenkora-Zz9aa0"), "half a book");
    EXPECT_EQ(removeStaleTemporaries(dir.file("a.bml")), 1); // as the book is opened
}
