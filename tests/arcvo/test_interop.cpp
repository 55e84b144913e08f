// Archives written here are read by Info-ZIP and Python; archives written by
// them are listed and extracted here byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "Arcvo.h"
#include "arcvo_test_util.h"

using Arcvo::CZip;
using Arcvo::CZipArchive;
using Arcvo::CZipObjectInfo;
using arcvotest::Shell;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

// A small tree with text, binary, an empty file and nested folders.
void MakeTree(const TempDir& t, const std::string& root) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "value " + std::to_string(i * 7) + "\t\n";
    std::string binary;
    unsigned x = 12345;
    for (int i = 0; i < 300000; ++i) {
        x = x * 1103515245u + 12345u;
        binary += static_cast<char>(x >> 24);
    }
    t.Write(root + "/Prm.cfg", text);
    t.Write(root + "/empty.log", "");
    t.Write(root + "/video/Arh1_x_03_1.avi", binary);
    t.Write(root + "/video/nested/deep/n.txt", "nested");
    t.MakeDir(root + "/emptydir");
    // Even seconds: zip dates keep two-second steps.
    const std::string files[] = {"/Prm.cfg", "/empty.log", "/video/Arh1_x_03_1.avi", "/video/nested/deep/n.txt"};
    for (const std::string& f : files) {
        struct timeval tv[2] = {{1600000000, 0}, {1600000000, 0}};
        utimes((t.path() + "/" + root + f).c_str(), tv);
    }
}

std::string PythonList(const std::string& zip) {
    std::string out = zip + ".list";
    EXPECT_EQ(Shell("python3 '" + std::string(ARCVO_PEER) + "' list '" + zip + "' > '" + out + "'"), 0);
    return ReadFile(out);
}

} // namespace

TEST(Interop, ArcvoArchivesPassUnzipAndPython) {
    setenv("TZ", "UTC", 1);
    tzset();
    TempDir t;
    MakeTree(t, "src");
    const std::string zip = t / "arcvo.zip";
    {
        CZipArchive a(zip.c_str(), CZipArchive::OPEN_MODE_CREATE);
        ASSERT_EQ(a.OpenArchive(), 0);
        ASSERT_EQ(a.AddDirectory((t / "src").c_str(), CZip::COMPRESSION_FAST, "db"), 0);
        ASSERT_EQ(a.AddFile((t / "src/Prm.cfg").c_str(), CZip::COMPRESSION_STORE, nullptr), 0);
        ASSERT_EQ(a.CloseArchive(), 0);
    }
    EXPECT_EQ(Shell("unzip -tqq '" + zip + "'"), 0);
    const std::string listing = PythonList(zip);
    // Names, order, sizes, times (UTC here) and directory flags.
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        lines.push_back(listing.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 9u) << listing;
    auto prefix = [&](size_t i) { return lines[i].substr(0, lines[i].rfind('|')); };
    EXPECT_EQ(prefix(0), "db/empty.log|0|2020-09-13 12:26:40|0");
    EXPECT_EQ(prefix(1).substr(0, 15), "db/emptydir/|0|");
    EXPECT_EQ(prefix(1).substr(prefix(1).size() - 2), "|1");
    EXPECT_EQ(prefix(2), "db/Prm.cfg|" + std::to_string(ReadFile(t / "src/Prm.cfg").size()) + "|2020-09-13 12:26:40|0");
    EXPECT_EQ(prefix(4), "db/video/Arh1_x_03_1.avi|300000|2020-09-13 12:26:40|0");
    EXPECT_EQ(lines[5].substr(0, 14), "db/video/neste");
    EXPECT_EQ(prefix(7), "db/video/nested/deep/n.txt|6|2020-09-13 12:26:40|0");
    EXPECT_EQ(prefix(8).substr(0, 8), "Prm.cfg|");

    // Info-ZIP extracts the same bytes.
    ASSERT_EQ(Shell("cd '" + t.path() + "' && unzip -qq arcvo.zip -d unz"), 0);
    EXPECT_EQ(Shell("diff -r '" + t.path() + "/src' '" + t.path() + "/unz/db'"), 0);
}

TEST(Interop, PeerArchivesExtractByteForByte) {
    TempDir t;
    MakeTree(t, "src");
    // Info-ZIP, deflated and (for -0) stored; Python, deflated and stored mixed.
    ASSERT_EQ(Shell("cd '" + t.path() + "/src' && zip -qr ../infozip.zip . && zip -qr0 ../infozip0.zip ."), 0);
    ASSERT_EQ(Shell("python3 '" + std::string(ARCVO_PEER) + "' write '" + t.path() + "/python.zip' '" + t.path() + "/src'"), 0);
    for (const char* name : {"infozip.zip", "infozip0.zip", "python.zip"}) {
        CZipArchive r((t / name).c_str(), CZipArchive::OPEN_MODE_READ);
        ASSERT_EQ(r.OpenArchive(), 0) << name;
        bool sawDir = false, sawEmpty = false;
        for (uint32_t i = 0; i < r.ArchiveObjectsCount(); ++i) {
            const CZipObjectInfo* o = r.ArchiveObjectByIndex(i);
            if (std::string(o->ObjectName()) == "emptydir/") {
                sawDir = true;
                EXPECT_EQ(o->ObjectType(), CZipObjectInfo::OBJECT_TYPE_DIRECTORY);
            }
            if (std::string(o->ObjectName()) == "empty.log") {
                sawEmpty = true;
                EXPECT_EQ(o->ObjectType(), CZipObjectInfo::OBJECT_TYPE_FILE);
                EXPECT_EQ(o->ObjectSize(), 0u);
            }
        }
        EXPECT_TRUE(sawDir && sawEmpty) << name;
        const std::string out = t / (std::string("out-") + name);
        ASSERT_EQ(r.Extract(out.c_str(), nullptr), 0) << name;
        EXPECT_EQ(Shell("diff -r '" + t.path() + "/src' '" + out + "'"), 0) << name;
        struct stat st;
        ASSERT_EQ(stat((out + "/Prm.cfg").c_str(), &st), 0);
        EXPECT_EQ(st.st_mtime, 1600000000) << name;
    }
}
