#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "platform/platform.h"
#include "tempdir.h"

using testsupport::TempDir;

TEST(MatchMask, WindowsStyleMasks) {
    struct Case { const char* mask; const char* name; bool match; };
    const Case cases[] = {
        {"*", "anything", true},
        {"*", ".", true},
        {"*.*", "noext", true},
        {"*.avi", "clip.avi", true},
        {"*.avi", "clip.AVI", true},
        {"*.avi", "clip.avi.bak", false},
        {"*.avi", "avi", false},
        {"Arh1_*_03_*.avi", "Arh1_20240301_03_0001.avi", true},
        {"Arh1_*_03_*.avi", "Arh1_20240401_04_0001.avi", false},
        {"Arh1_*_03_*.avi", "Arh1__03_.avi", true},
        {"Arh1_??.pdb", "Arh1_03.pdb", true},
        {"Arh1_??.pdb", "Arh1_3.pdb", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"", "", true},
        {"", "x", false},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::MatchMask(c.mask, c.name), c.match) << c.mask << " / " << c.name;
    EXPECT_FALSE(platform::MatchMask(nullptr, "x"));
}

TEST(MatchMask, ManyStarsStayFast) {
    std::string name(2000, 'a');
    std::string mask;
    for (int i = 0; i < 200; ++i) mask += "*a";
    mask += "b";
    EXPECT_FALSE(platform::MatchMask(mask.c_str(), name.c_str()));
}

TEST(DirSearch, FindsEntriesInNameOrderWithAttributes) {
    TempDir t;
    t.Write("b.avi", "12345");
    t.Write("A.avi", "1");
    t.Write("c.txt", "");
    t.MakeDir("sub.avi");
    const std::string ro = t.Write("ro.avi", "xy");
    chmod(ro.c_str(), 0444);
    ASSERT_EQ(mkfifo((t / "pipe.avi").c_str(), 0600), 0);
    ASSERT_EQ(symlink("b.avi", (t / "link.avi").c_str()), 0);

    platform::DirSearch s;
    platform::DirEntry e;
    std::vector<platform::DirEntry> found;
    for (bool ok = s.First((t.path() + "/*.avi").c_str(), e); ok; ok = s.Next(e)) found.push_back(e);
    ASSERT_EQ(found.size(), 6u);
    EXPECT_EQ(found[0].name, "A.avi");
    EXPECT_EQ(found[1].name, "b.avi");
    EXPECT_EQ(found[1].size, 5u);
    EXPECT_EQ(found[1].attributes, platform::kAttrArchive);
    EXPECT_EQ(found[2].name, "link.avi");
    EXPECT_EQ(found[2].attributes, platform::kAttrReparsePoint);
    EXPECT_EQ(found[3].name, "pipe.avi");
    EXPECT_EQ(found[3].attributes, platform::kAttrDevice);
    EXPECT_EQ(found[4].name, "ro.avi");
    EXPECT_EQ(found[4].attributes, platform::kAttrArchive | platform::kAttrReadOnly);
    EXPECT_EQ(found[5].name, "sub.avi");
    EXPECT_EQ(found[5].attributes, platform::kAttrDirectory);
}

TEST(DirSearch, DotEntriesAndFailures) {
    TempDir t;
    platform::DirSearch s;
    platform::DirEntry e;
    std::set<std::string> names;
    for (bool ok = s.First((t.path() + "/*").c_str(), e); ok; ok = s.Next(e)) names.insert(e.name);
    EXPECT_EQ(names, (std::set<std::string>{".", ".."}));
    EXPECT_FALSE(s.First((t.path() + "/*.none").c_str(), e));
    EXPECT_FALSE(s.First((t.path() + "/missing/*").c_str(), e));
    EXPECT_FALSE(s.First((t.path() + "/").c_str(), e));
    EXPECT_FALSE(s.First(nullptr, e));
    EXPECT_FALSE(s.Next(e));
}
