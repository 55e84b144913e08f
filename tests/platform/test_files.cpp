#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tempdir.h"

using testsupport::ReadFile;
using testsupport::TempDir;

TEST(Files, MakeDirectoryReportsCreatedExistingAndBlocked) {
    TempDir t;
    const std::string d = t / "d";
    EXPECT_EQ(platform::MakeDirectory(d.c_str()), platform::MakeDirResult::Created);
    EXPECT_EQ(platform::MakeDirectory(d.c_str()), platform::MakeDirResult::AlreadyExists);
    const std::string f = t.Write("f", "x");
    EXPECT_EQ(platform::MakeDirectory(f.c_str()), platform::MakeDirResult::Failed);
    EXPECT_EQ(platform::MakeDirectory((t / "missing/child").c_str()), platform::MakeDirResult::Failed);
    EXPECT_EQ(platform::MakeDirectory(nullptr), platform::MakeDirResult::Failed);
}

TEST(Files, CopyOverwritesAndRefusesSelfCopy) {
    TempDir t;
    const std::string a = t.Write("a", std::string(200000, 'a'));
    const std::string b = t.Write("b", "old content that is longer");
    ASSERT_TRUE(platform::CopyFileOverwrite(a.c_str(), b.c_str()));
    EXPECT_EQ(ReadFile(b), std::string(200000, 'a'));
    EXPECT_FALSE(platform::CopyFileOverwrite(a.c_str(), a.c_str()));
    EXPECT_EQ(ReadFile(a).size(), 200000u);  // not emptied
    EXPECT_FALSE(platform::CopyFileOverwrite((t / "none").c_str(), b.c_str()));
    EXPECT_FALSE(platform::CopyFileOverwrite(t.path().c_str(), b.c_str()));  // a folder
}

TEST(Files, StatWritableAndTimes) {
    TempDir t;
    const std::string f = t.Write("f", "1234");
    platform::PathInfo i = platform::StatPath(f.c_str());
    EXPECT_TRUE(i.exists && i.isRegular && i.writable);
    EXPECT_EQ(i.size, 4u);
    ASSERT_TRUE(platform::SetWritable(f.c_str(), false));
    EXPECT_FALSE(platform::StatPath(f.c_str()).writable);
    ASSERT_TRUE(platform::SetFileTimes(f.c_str(), 1000000000));
    EXPECT_EQ(platform::StatPath(f.c_str()).modifiedEpochSec, 1000000000);
    EXPECT_FALSE(platform::StatPath((t / "none").c_str()).exists);
    EXPECT_TRUE(platform::StatPath(t.path().c_str()).isDirectory);
}

TEST(Files, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
    TempDir t;
    const std::string f = t / "data.bin";
    ASSERT_TRUE(platform::WriteFileAtomic(f, "first", 5));
    ASSERT_TRUE(platform::WriteFileAtomic(f, "second", 6));
    EXPECT_EQ(ReadFile(f), "second");
    platform::DirSearch s;
    platform::DirEntry e;
    int files = 0;
    for (bool ok = s.First((t.path() + "/*").c_str(), e); ok; ok = s.Next(e)) files += e.name[0] != '.';
    EXPECT_EQ(files, 1);
    EXPECT_FALSE(platform::WriteFileAtomic(t / "missing/x", "a", 1));
}

TEST(Files, FoldersEndInSlash) {
    EXPECT_EQ(platform::TempDirectory().back(), '/');
    EXPECT_EQ(platform::ExecutableDirectory().back(), '/');
}
