#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "Arcvo.h"
#include "arcvo_test_util.h"

using Arcvo::CZip;
using Arcvo::CZipArchive;
using Arcvo::CZipObjectInfo;
using arcvotest::Shell;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

std::vector<std::string> List(const std::string& zip) {
    CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_READ);
    std::vector<std::string> out;
    if (a.OpenArchive() != 0) return {"<open failed>"};
    for (uint32_t i = 0; i < a.ArchiveObjectsCount(); ++i) out.push_back(a.ArchiveObjectByIndex(i)->ObjectName());
    return out;
}

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

} // namespace

TEST(ZipArchive, AddFileNamesEntriesByFolder) {
    TempDir t;
    const std::string src = t.Write("data/a.txt", "alpha");
    const std::string zip = t / "out.zip";
    CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
    ASSERT_EQ(a.OpenArchive(), 0);
    EXPECT_EQ(a.AddFile(src.c_str(), CZip::COMPRESSION_FAST, "video"), 0);
    EXPECT_EQ(a.AddFile(src.c_str(), CZip::COMPRESSION_STORE, "video/"), 0);
    EXPECT_EQ(a.AddFile(src.c_str(), CZip::COMPRESSION_BEST, nullptr), 0);
    EXPECT_EQ(a.AddFile(src.c_str(), CZip::COMPRESSION_DEFAULT, "x\\y"), 0);
    EXPECT_EQ(a.AddFile((t.path() + "/data/").c_str(), CZip::COMPRESSION_FAST, nullptr), 2);  // ends in '/'
    EXPECT_EQ(a.AddFile("", CZip::COMPRESSION_FAST, nullptr), 2);
    EXPECT_EQ(a.AddFile((t / "missing").c_str(), CZip::COMPRESSION_FAST, nullptr), 8);
    EXPECT_EQ(a.AddFile((t / "data").c_str(), CZip::COMPRESSION_FAST, nullptr), 4);  // a directory
    ASSERT_EQ(a.CloseArchive(), 0);
    EXPECT_EQ(List(zip), (std::vector<std::string>{"video/a.txt", "video/a.txt", "a.txt", "x/y/a.txt"}));
    EXPECT_EQ(Shell("unzip -tqq '" + zip + "'"), 0);
}

TEST(ZipArchive, AddDirectoryWalksInListingOrder) {
    TempDir t;
    t.Write("src/x.pdb", "pdb");
    t.Write("src/sub/y.avi", "avi");
    t.Write("src/a_empty.txt", "");
    t.MakeDir("src/sub/deeper");
    const std::string zip = t / "d.zip";
    CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
    ASSERT_EQ(a.OpenArchive(), 0);
    ASSERT_EQ(a.AddDirectory((t / "src").c_str(), CZip::COMPRESSION_FAST, "d"), 0);
    ASSERT_EQ(a.AddDirectory((t.path() + "/src/sub/").c_str(), CZip::COMPRESSION_FAST, nullptr), 0);
    EXPECT_EQ(a.AddDirectory((t / "none").c_str(), CZip::COMPRESSION_FAST, nullptr), 8);
    ASSERT_EQ(a.CloseArchive(), 0);
    EXPECT_EQ(List(zip), (std::vector<std::string>{"d/a_empty.txt", "d/sub/", "d/sub/deeper/", "d/sub/y.avi",
                                                   "d/x.pdb", "deeper/", "y.avi"}));
    CZipArchive r(zip.c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(r.OpenArchive(), 0);
    EXPECT_EQ(r.ArchiveObjectByIndex(0)->ObjectSize(), 0u);
    EXPECT_EQ(r.ArchiveObjectByIndex(0)->ObjectType(), CZipObjectInfo::OBJECT_TYPE_FILE);
    EXPECT_EQ(r.ArchiveObjectByIndex(1)->ObjectType(), CZipObjectInfo::OBJECT_TYPE_DIRECTORY);
    EXPECT_EQ(r.ArchiveObjectByIndex(4)->ObjectSize(), 3u);
}

TEST(ZipArchive, CreateDirCreateFileAndReadBack) {
    TempDir t;
    const std::string zip = t / "m.zip";
    {
        CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
        ASSERT_EQ(a.OpenArchive(), 0);
        EXPECT_EQ(a.CreateDir("video"), 0);
        EXPECT_EQ(a.CreateDir("video/"), 0);
        EXPECT_EQ(a.CreateDir(""), 2);
        ASSERT_EQ(a.CreateFile("notes\\log.txt", CZip::COMPRESSION_BEST), 0);
        EXPECT_EQ(a.AddData("hello ", 6), 0);
        EXPECT_EQ(a.AddData("world", 5), 0);
        EXPECT_EQ(a.AddData(nullptr, 5), 2);
        EXPECT_EQ(a.AddFile(zip.c_str(), CZip::COMPRESSION_FAST, nullptr), 1);  // an entry is open
        EXPECT_EQ(a.CloseFile(), 0);
        EXPECT_EQ(a.CloseFile(), 1);
        EXPECT_EQ(a.AddData("x", 1), 1);
        ASSERT_EQ(a.CreateFile("left-open.txt", CZip::COMPRESSION_FAST), 0);
        EXPECT_EQ(a.AddData("tail", 4), 0);
        // Closing the archive closes the open entry too.
    }
    EXPECT_EQ(List(zip), (std::vector<std::string>{"video/", "video/", "notes/log.txt", "left-open.txt"}));
    CZipArchive r(zip.c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(r.OpenArchive(), 0);
    EXPECT_EQ(r.OpenArchive(), 1);
    EXPECT_EQ(r.OpenFile("Notes/log.txt"), 17);  // case-sensitive
    ASSERT_EQ(r.OpenFile("notes/log.txt"), 0);
    EXPECT_EQ(r.OpenFile("notes/log.txt"), 1);
    EXPECT_EQ(r.Extract(t.path().c_str(), nullptr), 1);  // an entry is open
    char buf[4];
    uint32_t n = 99;
    std::string got;
    for (;;) {
        ASSERT_EQ(r.GetData(buf, sizeof buf, &n), 0);
        if (n == 0) break;
        got.append(buf, n);
    }
    EXPECT_EQ(got, "hello world");
    EXPECT_EQ(r.GetData(nullptr, 4, &n), 2);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(r.CloseFile(), 0);
    EXPECT_EQ(r.GetData(buf, sizeof buf, &n), 1);
    EXPECT_EQ(r.AddFile(zip.c_str(), CZip::COMPRESSION_FAST, nullptr), 1);  // read mode
    EXPECT_EQ(r.CreateDir("x"), 1);
}

TEST(ZipArchive, StatesAndModes) {
    TempDir t;
    CZipArchive none;
    EXPECT_EQ(none.OpenArchive(), 2);
    none.SetArchiveFileName((t / "a.zip").c_str());
    EXPECT_EQ(none.OpenArchive(), 2);  // mode not set
    none.SetArchiveOpenMode(CZipArchive::OPEN_MODE_READ);
    EXPECT_EQ(none.OpenArchive(), 10);  // missing file
    EXPECT_EQ(none.CloseArchive(), 1);
    EXPECT_EQ(none.AddFile("x", CZip::COMPRESSION_FAST, nullptr), 1);
    EXPECT_EQ(none.Extract(t.path().c_str(), nullptr), 1);
    EXPECT_EQ(none.Extract("", nullptr), 2);

    // Mode 2 adds to an existing archive.
    const std::string zip = t / "add.zip";
    const std::string f = t.Write("f.txt", "f");
    {
        CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
        ASSERT_EQ(a.OpenArchive(), 0);
        ASSERT_EQ(a.AddFile(f.c_str(), CZip::COMPRESSION_FAST, "one"), 0);
        ASSERT_EQ(a.CloseArchive(), 0);
        a.SetArchiveOpenMode(CZipArchive::OPEN_MODE_ADD);
        ASSERT_EQ(a.OpenArchive(), 0);
        ASSERT_EQ(a.AddFile(f.c_str(), CZip::COMPRESSION_FAST, "two"), 0);
        // Changing the name force-closes and completes the archive.
        a.SetArchiveFileName(nullptr);
        EXPECT_STREQ(a.ArchiveFileName(), "");
    }
    EXPECT_EQ(List(zip), (std::vector<std::string>{"one/f.txt", "two/f.txt"}));

    // An empty archive opens with an empty list.
    const std::string empty = t / "empty.zip";
    {
        CZipArchive a(empty.c_str(), CZipArchive::OPEN_MODE_CREATE);
        ASSERT_EQ(a.OpenArchive(), 0);
        ASSERT_EQ(a.CloseArchive(), 0);
    }
    CZipArchive e(empty.c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(e.OpenArchive(), 0);
    EXPECT_EQ(e.ArchiveObjectsCount(), 0u);
    const CZipObjectInfo* o = e.ArchiveObjectByIndex(0);
    EXPECT_STREQ(o->ObjectName(), "");
    EXPECT_EQ(o->ObjectSize(), 0u);
    EXPECT_EQ(o->ObjectType(), CZipObjectInfo::OBJECT_TYPE_UNKNOWN);
    EXPECT_EQ(e.Extract((t / "out").c_str(), nullptr), 0);
}

TEST(ZipArchive, ExtractWithPrefixTimesAndReadOnly) {
    TempDir t;
    const std::string a = t.Write("src/video/clip.avi", std::string(500000, 'v'));
    const std::string b = t.Write("src/Arh1_01.pdb", "pdb");
    chmod(b.c_str(), 0444);
    struct timeval tv[2] = {{1500000000, 0}, {1500000000, 0}};
    utimes(a.c_str(), tv);
    const std::string zip = t / "x.zip";
    {
        CZipArchive w(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
        ASSERT_EQ(w.OpenArchive(), 0);
        ASSERT_EQ(w.AddDirectory((t / "src").c_str(), CZip::COMPRESSION_FAST, nullptr), 0);
    }
    CZipArchive r(zip.c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(r.OpenArchive(), 0);
    ASSERT_EQ(r.Extract((t.path() + "/only\\").c_str(), "video/"), 0);
    EXPECT_TRUE(Exists(t / "only/video/clip.avi"));
    EXPECT_FALSE(Exists(t / "only/Arh1_01.pdb"));
    ASSERT_EQ(r.Extract((t / "all").c_str(), nullptr), 0);
    EXPECT_EQ(ReadFile(t / "all/video/clip.avi"), std::string(500000, 'v'));
    struct stat st;
    ASSERT_EQ(stat((t / "all/video/clip.avi").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 1500000000);  // DOS times have 2-second steps; this one is even
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    ASSERT_EQ(stat((t / "all/Arh1_01.pdb").c_str(), &st), 0);
    EXPECT_FALSE(st.st_mode & S_IWUSR);
}

TEST(ZipArchive, ExtractFailures) {
    TempDir t;
    const std::string zip = t / "x.zip";
    t.Write("src/dir/f.txt", "f");
    {
        CZipArchive w(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
        ASSERT_EQ(w.OpenArchive(), 0);
        ASSERT_EQ(w.AddDirectory((t / "src").c_str(), CZip::COMPRESSION_FAST, nullptr), 0);
    }
    // A file where a folder must go.
    t.Write("blocked/dir", "a file");
    CZipArchive r(zip.c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(r.OpenArchive(), 0);
    EXPECT_EQ(r.Extract((t / "blocked").c_str(), nullptr), 7);
    // A link inside the target is never written through.
    t.MakeDir("outside");
    t.MakeDir("linked");
    ASSERT_EQ(symlink((t / "outside").c_str(), (t / "linked/dir").c_str()), 0);
    EXPECT_EQ(r.Extract((t / "linked").c_str(), nullptr), 14);
    EXPECT_FALSE(Exists(t / "outside/f.txt"));
}

TEST(ZipArchive, UnsafeNamesAreRefusedAndNothingIsWritten) {
    const char* fixtures[] = {"dotdot.zip", "dotdot_inner.zip", "dotdot_backslash.zip", "absolute.zip", "drive.zip"};
    for (const char* f : fixtures) {
        TempDir t;
        const std::string target = t.MakeDir("target/inner");
        CZipArchive r(arcvotest::Fixture(f).c_str(), CZipArchive::OPEN_MODE_READ);
        ASSERT_EQ(r.OpenArchive(), 0) << f;
        EXPECT_EQ(r.Extract(target.c_str(), nullptr), 14) << f;
        EXPECT_FALSE(Exists(target + "/ok.txt")) << f;
        EXPECT_FALSE(Exists(t / "target/evil.txt")) << f;
        EXPECT_FALSE(Exists(t / "evil.txt")) << f;
        EXPECT_FALSE(Exists("/tmp/trakvue-evil.txt")) << f;
        // A prefix that leaves the bad entry out extracts the rest.
        EXPECT_EQ(r.Extract(target.c_str(), "ok"), 0) << f;
        EXPECT_EQ(ReadFile(target + "/ok.txt"), "fine") << f;
    }
}

TEST(ZipArchive, LinkEntriesBecomeNoLinks) {
    TempDir t;
    CZipArchive r(arcvotest::Fixture("symlink.zip").c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(r.OpenArchive(), 0);
    const std::string target = t.MakeDir("target");
    EXPECT_EQ(r.Extract(target.c_str(), nullptr), 7);  // "link" is a plain file, so link/ cannot be a folder
    struct stat st;
    ASSERT_EQ(lstat((target + "/link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(ReadFile(target + "/link"), "/tmp");
    EXPECT_FALSE(Exists("/tmp/evil.txt"));
}

TEST(ZipArchive, DeclaredSizesAreNotTrusted) {
    TempDir t;
    CZipArchive r(arcvotest::Fixture("lying_size.zip").c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(r.OpenArchive(), 0);
    EXPECT_EQ(r.ArchiveObjectByIndex(0)->ObjectSize(), 1u);
    EXPECT_EQ(r.Extract(t.path().c_str(), nullptr), 18);  // checksum of what was inflated
    EXPECT_FALSE(Exists(t / "big.bin"));
}

TEST(ZipArchive, TruncatedAndDamagedArchives) {
    TempDir t;
    std::string content;
    for (int i = 0; i < 20000; ++i) content += "line " + std::to_string(i) + "\n";
    t.Write("src/a.txt", content);
    const std::string zip = t / "good.zip";
    {
        CZipArchive w(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
        ASSERT_EQ(w.OpenArchive(), 0);
        ASSERT_EQ(w.AddDirectory((t / "src").c_str(), CZip::COMPRESSION_BEST, nullptr), 0);
    }
    const std::string bytes = ReadFile(zip);
    // Truncated: the central directory is gone.
    t.Write("trunc.zip", bytes.substr(0, bytes.size() / 2));
    CZipArchive a((t / "trunc.zip").c_str(), CZipArchive::OPEN_MODE_READ);
    EXPECT_EQ(a.OpenArchive(), 10);
    // Damaged data: the entry lists but does not inflate.
    std::string damaged = bytes;
    for (size_t i = 100; i < 400; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    t.Write("damaged.zip", damaged);
    CZipArchive d((t / "damaged.zip").c_str(), CZipArchive::OPEN_MODE_READ);
    ASSERT_EQ(d.OpenArchive(), 0);
    uint8_t code = d.Extract((t / "out").c_str(), nullptr);
    EXPECT_TRUE(code == 16 || code == 18) << int(code);
    EXPECT_FALSE(Exists(t / "out/a.txt"));
    // Not a zip file at all.
    t.Write("foreign.zip", std::string(1000, 'Z'));
    CZipArchive f((t / "foreign.zip").c_str(), CZipArchive::OPEN_MODE_READ);
    EXPECT_EQ(f.OpenArchive(), 10);
}

TEST(ZipArchive, FilesOf4GiBAreRefusedBeforeWriting) {
    TempDir t;
    const std::string big = t / "big.bin";
    {
        std::ofstream o(big);
    }
    ASSERT_EQ(truncate(big.c_str(), 0x100000000LL), 0);  // sparse, 4 GiB
    const std::string small = t.Write("small.txt", "s");
    const std::string zip = t / "z.zip";
    CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
    ASSERT_EQ(a.OpenArchive(), 0);
    EXPECT_EQ(a.AddFile(big.c_str(), CZip::COMPRESSION_FAST, nullptr), 19);
    EXPECT_EQ(a.AddFile(small.c_str(), CZip::COMPRESSION_FAST, nullptr), 0);
    ASSERT_EQ(a.CloseArchive(), 0);
    EXPECT_EQ(List(zip), (std::vector<std::string>{"small.txt"}));
    EXPECT_EQ(Shell("unzip -tqq '" + zip + "'"), 0);
}

TEST(ZipArchive, NamesTooLongForTheirFieldAreRefused) {
    TempDir t;
    const std::string zip = t / "n.zip";
    CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
    ASSERT_EQ(a.OpenArchive(), 0);
    EXPECT_EQ(a.CreateDir(std::string(300, 'd').c_str()), 2);
    EXPECT_EQ(a.CreateDir(std::string(200, 'd').c_str()), 0);
}
