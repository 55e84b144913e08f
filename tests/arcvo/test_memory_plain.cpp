#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "Arcvo.h"
#include "arcvo_test_util.h"

using Arcvo::CZip;
using Arcvo::CZipMemory;
using testsupport::ReadFile;
using testsupport::TempDir;

TEST(ZipMemory, RoundTripAndErrors) {
    std::string input;
    for (int i = 0; i < 10000; ++i) input += "sample " + std::to_string(i % 97) + ";";
    CZipMemory m;
    EXPECT_EQ(m.Zip(input.data(), 0, CZip::COMPRESSION_FAST), 2);
    EXPECT_EQ(m.Data(), nullptr);
    EXPECT_EQ(m.DataSize(), 0u);
    EXPECT_EQ(m.Zip(nullptr, 5, CZip::COMPRESSION_FAST), 2);
    for (auto method : {CZip::COMPRESSION_STORE, CZip::COMPRESSION_FAST, CZip::COMPRESSION_BEST, CZip::COMPRESSION_DEFAULT}) {
        ASSERT_EQ(m.Zip(input.data(), static_cast<uint32_t>(input.size()), method), 0);
        std::string packed(static_cast<const char*>(m.Data()), m.DataSize());
        if (method == CZip::COMPRESSION_STORE) EXPECT_GT(packed.size(), input.size());
        else EXPECT_LT(packed.size(), input.size() / 4);
        CZipMemory u;
        ASSERT_EQ(u.Unzip(packed.data(), static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(input.size())), 0);
        EXPECT_EQ(std::string(static_cast<const char*>(u.Data()), u.DataSize()), input);
        // One byte too small.
        EXPECT_EQ(u.Unzip(packed.data(), static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(input.size() - 1)), 9);
        EXPECT_EQ(u.Data(), nullptr);
        EXPECT_EQ(u.DataSize(), 0u);
        // A larger buffer than needed gives the actual size.
        ASSERT_EQ(u.Unzip(packed.data(), static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(input.size() + 100)), 0);
        EXPECT_EQ(u.DataSize(), input.size());
        std::string damaged = packed;
        for (size_t i = 2; i < damaged.size(); i += 3) damaged[i] = static_cast<char>(damaged[i] ^ 0xA5);
        EXPECT_EQ(u.Unzip(damaged.data(), static_cast<uint32_t>(damaged.size()), static_cast<uint32_t>(input.size())), 12);
        EXPECT_EQ(u.Unzip(packed.data(), static_cast<uint32_t>(packed.size() / 2), static_cast<uint32_t>(input.size())), 12);
        EXPECT_EQ(u.Unzip(packed.data(), static_cast<uint32_t>(packed.size()), 0), 2);
    }
}

TEST(PlainInterface, OpenErrorsAndHandles) {
    TempDir t;
    EXPECT_EQ(IsZIPLibraryLoad(), 1);
    EXPECT_EQ(OpenArchive("", 0), nullptr);
    EXPECT_EQ(GetLastArchiveError(), 2);
    EXPECT_EQ(OpenArchive(nullptr, 2), nullptr);

    ArchiveHandle h = OpenArchive((t / "missing.zip").c_str(), 2);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetLastArchiveError(), 10);
    EXPECT_EQ(CloseArchive(h), 0);
    EXPECT_EQ(GetLastArchiveError(), 1);

    ArchiveHandle bad = OpenArchive((t / "x.zip").c_str(), 7);  // no such kind
    EXPECT_EQ(GetLastArchiveError(), 2);
    CloseArchive(bad);
    EXPECT_EQ(CloseArchive(nullptr), 0);
    EXPECT_EQ(GetLastArchiveError(), 2);
    EXPECT_EQ(AddFileOrDirectoryToArchive(nullptr, "x"), 0);
    EXPECT_EQ(GetLastArchiveError(), 2);
    ArchiveFilesList* list = nullptr;
    EXPECT_EQ(GetFilesListInArchive(nullptr, &list), 0);
    EXPECT_EQ(ExtractFileOrDirectoryFromArchive(nullptr, nullptr, "/tmp"), 0);
    FreeFilesListInArchive(nullptr);
}

TEST(PlainInterface, AddListExtract) {
    TempDir t;
    t.Write("db/Arh1_01.pdb", "one");
    t.Write("db/video/v.avi", "vid");
    const std::string single = t.Write("Server.log", "log");
    const std::string zip = t / "plain.zip";

    ArchiveHandle w = OpenArchive(zip.c_str(), 0);
    ASSERT_EQ(GetLastArchiveError(), 0);
    EXPECT_EQ(AddFileOrDirectoryToArchive(w, (t.path() + "/db\\").c_str()), 1);  // contents at the root
    EXPECT_EQ(AddFileOrDirectoryToArchive(w, single.c_str()), 1);
    EXPECT_EQ(AddFileOrDirectoryToArchive(w, (t / "none").c_str()), 0);
    EXPECT_EQ(GetLastArchiveError(), 8);
    EXPECT_EQ(CloseArchive(w), 1);
    EXPECT_EQ(GetLastArchiveError(), 0);

    ArchiveHandle r = OpenArchive(zip.c_str(), 2);
    ASSERT_EQ(GetLastArchiveError(), 0);
    ArchiveFilesList* list = nullptr;
    ASSERT_EQ(GetFilesListInArchive(r, &list), 1);
    ASSERT_EQ(list->count, 4u);
    const char* names[] = {"Arh1_01.pdb", "video/", "video/v.avi", "Server.log"};
    const int files[] = {1, 0, 1, 1};
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_STREQ(list->items[i].name, names[i]);
        EXPECT_EQ(list->items[i].isFile, files[i]);
    }
    FreeFilesListInArchive(list);
    EXPECT_EQ(ExtractFileOrDirectoryFromArchive(r, "video/", (t / "out").c_str()), 1);
    EXPECT_EQ(ReadFile(t / "out/video/v.avi"), "vid");
    struct stat st;
    EXPECT_NE(stat((t / "out/Arh1_01.pdb").c_str(), &st), 0);
    EXPECT_EQ(ExtractFileOrDirectoryFromArchive(r, nullptr, ""), 0);
    EXPECT_EQ(GetLastArchiveError(), 2);
    EXPECT_EQ(CloseArchive(r), 1);

    // An empty archive lists as count 0 with no array.
    ArchiveHandle e = OpenArchive((t / "empty.zip").c_str(), 0);
    CloseArchive(e);
    e = OpenArchive((t / "empty.zip").c_str(), 2);
    ASSERT_EQ(GetLastArchiveError(), 0);
    ASSERT_EQ(GetFilesListInArchive(e, &list), 1);
    EXPECT_EQ(list->count, 0u);
    EXPECT_EQ(list->items, nullptr);
    FreeFilesListInArchive(list);
    CloseArchive(e);
}
