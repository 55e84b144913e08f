#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include "ZorbUtils.h"
#include "tempdir.h"

using ZorbUtils::CDirectory;
using ZorbUtils::CDirectoryNode;
using ZorbUtils::CFile;
using testsupport::TempDir;

namespace {

std::set<std::string> Names(const CDirectory& d) {
    std::set<std::string> out;
    for (unsigned int i = 0; i < d.Count(); ++i) out.insert(d.DirectoryNodeByIndex(i).DirectoryNodeName());
    return out;
}

bool IsDir(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

TEST(Directory, PathIsStoredWithSlash) {
    CDirectory none;
    EXPECT_STREQ(none.DirectoryPath(), "./");
    CDirectory empty("");
    EXPECT_STREQ(empty.DirectoryPath(), "./");
    CDirectory d("/tmp");
    EXPECT_STREQ(d.DirectoryPath(), "/tmp/");
    d.setDirectoryPath("C:\\x\\");
    EXPECT_STREQ(d.DirectoryPath(), "C:\\x\\");
}

TEST(Directory, ReadWithMasksAndFilters) {
    TempDir t;
    t.Write("Arh1_01.pdb", "abc");
    t.Write("Arh1_02.pdb", "");
    t.Write("video/Arh1_x_03_1.avi", "v");
    t.Write("video/Arh1_x_04_1.avi", "v");
    t.Write(".hidden", "h");
    t.MakeDir("sub");
    ASSERT_EQ(mkfifo((t / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("Arh1_01.pdb", (t / "link").c_str()), 0);

    CDirectory d(t.path().c_str());
    ASSERT_TRUE(d.Read());
    EXPECT_EQ(Names(d), (std::set<std::string>{"Arh1_01.pdb", "Arh1_02.pdb", "video", "sub", ".hidden"}));

    ASSERT_TRUE(d.Read(nullptr, CDirectory::READ_DIRECTORIES));
    EXPECT_EQ(Names(d), (std::set<std::string>{"video", "sub"}));
    for (unsigned int i = 0; i < d.Count(); ++i)
        EXPECT_EQ(d.DirectoryNodeByIndex(i).DirectoryNodeType(), CDirectoryNode::NODE_TYPE_DIRECTORY);

    ASSERT_TRUE(d.Read("*.pdb", CDirectory::READ_FILES));
    ASSERT_EQ(d.Count(), 2u);
    EXPECT_STREQ(d.DirectoryNodeByIndex(0).DirectoryNodeName(), "Arh1_01.pdb");
    EXPECT_EQ(d.DirectoryNodeByIndex(0).DirectoryNodeSize(), 3u);
    EXPECT_EQ(d.DirectoryNodeByIndex(0).DirectoryNodeType(), CDirectoryNode::NODE_TYPE_FILE);
    EXPECT_STREQ(d.DirectoryNodeByIndex(0).DirectoryNodeNameBySymLink(), "");

    CDirectory v((t / "video").c_str());
    ASSERT_TRUE(v.Read("Arh1_*_03_*.avi"));
    EXPECT_EQ(Names(v), (std::set<std::string>{"Arh1_x_03_1.avi"}));

    // No match at all: false and no nodes; a mask matching only dot
    // entries: true and no nodes.
    EXPECT_FALSE(d.Read("*.none"));
    EXPECT_EQ(d.Count(), 0u);
    CDirectory emptyDir(t.MakeDir("emptydir").c_str());
    EXPECT_TRUE(emptyDir.Read());
    EXPECT_EQ(emptyDir.Count(), 0u);
    CDirectory missing((t / "missing").c_str());
    EXPECT_FALSE(missing.Read());
}

TEST(Directory, IndexAtCountGivesTheEmptyNode) {
    TempDir t;
    t.Write("a", "1");
    CDirectory d(t.path().c_str());
    ASSERT_TRUE(d.Read());
    ASSERT_EQ(d.Count(), 1u);
    for (unsigned int i : {1u, 2u, 0xFFFFFFFFu}) {
        const CDirectoryNode& n = d.DirectoryNodeByIndex(i);
        EXPECT_STREQ(n.DirectoryNodeName(), "");
        EXPECT_EQ(n.DirectoryNodeSize(), 0u);
        EXPECT_EQ(n.DirectoryNodeType(), CDirectoryNode::NODE_TYPE_UNKNOWN);
    }
}

TEST(Directory, NodeCopiesAndCutsNames) {
    std::string longName(300, 'n');
    CDirectoryNode n(CDirectoryNode::NODE_TYPE_FILE, longName.c_str(), 7, nullptr);
    EXPECT_EQ(std::string(n.DirectoryNodeName()), longName.substr(0, 259));
    EXPECT_STREQ(n.DirectoryNodeNameBySymLink(), "");
    CDirectoryNode m;
    m = n;
    EXPECT_EQ(std::string(m.DirectoryNodeName()), longName.substr(0, 259));
    EXPECT_EQ(m.DirectoryNodeSize(), 7u);
    CDirectoryNode none(CDirectoryNode::NODE_TYPE_DIRECTORY, nullptr, 0, "link");
    EXPECT_STREQ(none.DirectoryNodeName(), "");
    EXPECT_STREQ(none.DirectoryNodeNameBySymLink(), "link");
}

TEST(Directory, MakeDirAndSequence) {
    TempDir t;
    const std::string out = t.MakeDir("out");
    t.MakeDir("out/a");  // an existing part does not stop it
    ASSERT_TRUE(CDirectory::MakeDirSequence(out.c_str(), "a\\b/c"));
    EXPECT_TRUE(IsDir(out + "/a/b/c"));
    ASSERT_TRUE(CDirectory::MakeDirSequence((out + "/").c_str(), "/x//y/"));
    EXPECT_TRUE(IsDir(out + "/x/y"));
    EXPECT_TRUE(CDirectory::MakeDirSequence(out.c_str(), ""));
    EXPECT_FALSE(CDirectory::MakeDirSequence(nullptr, "a"));
    EXPECT_FALSE(CDirectory::MakeDirSequence(out.c_str(), nullptr));

    // A file in the way stops the sequence.
    t.Write("out/blocked", "f");
    EXPECT_FALSE(CDirectory::MakeDir((out + "/blocked").c_str()));
    EXPECT_FALSE(CDirectory::MakeDirSequence(out.c_str(), "blocked/inner"));
    EXPECT_TRUE(CDirectory::MakeDir((out + "/a").c_str()));
    EXPECT_FALSE(CDirectory::MakeDir(nullptr));

    EXPECT_TRUE(CDirectory::IsDirectoryExists((out + "/a/").c_str()));
    EXPECT_FALSE(CDirectory::IsDirectoryExists((out + "/blocked").c_str()));
    EXPECT_FALSE(CDirectory::IsDirectoryExists(nullptr));
}

TEST(Directory, DeleteDirWithContent) {
    TempDir t;
    const std::string root = t.MakeDir("tree");
    t.Write("tree/a.txt", "a");
    const std::string ro = t.Write("tree/sub/deeper/ro.txt", "r");
    chmod(ro.c_str(), 0444);
    t.MakeDir("tree/sub/empty");
    ASSERT_TRUE(CDirectory::DeleteDirWithContent(root.c_str()));
    EXPECT_FALSE(IsDir(root));

    const std::string empty = t.MakeDir("empty");
    EXPECT_TRUE(CDirectory::DeleteDirWithContent((empty + "/").c_str()));
    EXPECT_FALSE(IsDir(empty));
    EXPECT_FALSE(CDirectory::DeleteDirWithContent((t / "missing").c_str()));
    EXPECT_FALSE(CDirectory::DeleteDirWithContent(nullptr));
}

TEST(Directory, DeleteDirWithContentNeverFollowsLinks) {
    TempDir t;
    const std::string outside = t.Write("outside/keep.txt", "keep");
    t.Write("tree/file", "f");
    ASSERT_EQ(symlink((t / "outside").c_str(), (t / "tree/link").c_str()), 0);
    // The link is not taken, so the folder cannot be emptied; nothing
    // outside the tree is touched.
    EXPECT_FALSE(CDirectory::DeleteDirWithContent((t / "tree").c_str()));
    EXPECT_EQ(testsupport::ReadFile(outside), "keep");
}

TEST(File, ExistsAndCopy) {
    TempDir t;
    const std::string a = t.Write("a", "content");
    const std::string b = t.Write("b", "old");
    EXPECT_TRUE(CFile::IsFileExists(a.c_str()));
    EXPECT_FALSE(CFile::IsFileExists(t.path().c_str()));
    EXPECT_FALSE(CFile::IsFileExists((t / "none").c_str()));
    EXPECT_FALSE(CFile::IsFileExists(nullptr));
    ASSERT_TRUE(CFile::CopyFileTo(a.c_str(), b.c_str()));
    EXPECT_EQ(testsupport::ReadFile(b), "content");
    EXPECT_TRUE(CFile::CopyFileTo(a.c_str(), (t / "c").c_str()));
    EXPECT_FALSE(CFile::CopyFileTo(nullptr, b.c_str()));
    EXPECT_FALSE(CFile::CopyFileTo(a.c_str(), nullptr));
    EXPECT_FALSE(CFile::CopyFileTo((t / "none").c_str(), b.c_str()));
}
