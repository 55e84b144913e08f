#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ZorbUtils.h"

using ZorbUtils::CVString;

namespace {

std::vector<std::string> Split(const char* text, const char* seps, bool keepEmpty) {
    char** arr = reinterpret_cast<char**>(1);
    unsigned int n = 99;
    EXPECT_TRUE(CVString::FindSubstrings(text, seps, &arr, &n, keepEmpty));
    std::vector<std::string> out;
    for (unsigned int i = 0; i < n; ++i) out.emplace_back(arr[i]);
    CVString::FreeSubstrings(arr, n);
    return out;
}

} // namespace

TEST(FindSubstrings, Cases) {
    using V = std::vector<std::string>;
    struct Case { const char* text; const char* seps; bool keep; V expected; };
    const Case cases[] = {
        {"a b  c", " ", false, {"a", "b", "c"}},
        {"a b  c", " ", true, {"a", "b", "", "c"}},
        {"a,,b", ",", false, {"a", "b"}},
        {",a,,b,", ",", true, {"", "a", "", "b", ""}},
        {",a,,b,", ",", false, {"a", "b"}},
        {"x;y\r\n", ";", true, {"x", "y"}},
        {"x;y\r\n", ";", false, {"x", "y\r\n"}},
        {"\r\nx;y", ";", true, {"\r\nx", "y"}},          // CR/LF at the very start stay
        {"x;\r\ny", ";", true, {"x", "y"}},              // CR/LF after a separator dropped
        {"x\r\ny;z", ";", true, {"x\r\ny", "z"}},        // between content they stay
        {"x;\r\n", ";", true, {"x", ""}},                // ends with a separator, then CR/LF
        {"", ";", true, {""}},
        {"", ";", false, {}},
        {";", ";", true, {"", ""}},
        {";;", ";", false, {}},
        {"\r\n", ";", true, {""}},
        {"a\\b/c", "\\/", false, {"a", "b", "c"}},
        {"whole text", nullptr, false, {"whole text"}},
        {"", nullptr, false, {""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Split(c.text, c.seps, c.keep), c.expected)
            << "text '" << c.text << "' keep " << c.keep;
    }
}

TEST(FindSubstrings, NullArguments) {
    char** arr = nullptr;
    unsigned int n = 5;
    EXPECT_FALSE(CVString::FindSubstrings(nullptr, ",", &arr, &n, false));
    EXPECT_FALSE(CVString::FindSubstrings("a", ",", nullptr, &n, false));
    EXPECT_FALSE(CVString::FindSubstrings("a", ",", &arr, nullptr, false));
    EXPECT_TRUE(CVString::FindSubstrings("", ",", &arr, &n, false));
    EXPECT_EQ(arr, nullptr);
    EXPECT_EQ(n, 0u);
    CVString::FreeSubstrings(nullptr, 3);
}

TEST(PathHelpers, AddLastSlashToPath) {
    struct Case { const char* path; const char* expected; };
    const Case cases[] = {
        {"dir", "dir/"}, {"dir/", "dir/"}, {"C:\\dir\\", "C:\\dir\\"}, {"", ""}, {"/", "/"},
    };
    for (const Case& c : cases) {
        char buf[ZorbUtils::MAX_PATH_LENGTH];
        std::memset(buf, 'x', sizeof buf);
        CVString::AddLastSlashToPath(c.path, buf, sizeof buf);
        EXPECT_STREQ(buf, c.expected);
    }
    // Cut to the buffer; null arguments and size 0 leave the buffer untouched.
    char small[4] = {'q', 'q', 'q', 'q'};
    CVString::AddLastSlashToPath("abcdef", small, sizeof small);
    EXPECT_STREQ(small, "abc");
    char keep[3] = {'k', 'k', '\0'};
    CVString::AddLastSlashToPath(nullptr, keep, sizeof keep);
    CVString::AddLastSlashToPath("a", keep, 0);
    CVString::AddLastSlashToPath("a", nullptr, 10);
    EXPECT_STREQ(keep, "kk");
    std::string longPath(400, 'p');
    char buf[ZorbUtils::MAX_PATH_LENGTH];
    CVString::AddLastSlashToPath(longPath.c_str(), buf, sizeof buf);
    EXPECT_EQ(std::strlen(buf), 259u);
}

TEST(PathHelpers, DeletePathLastSlashAndFixSlashes) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {{"/", ""}, {"a/b/", "a/b"}, {"a\\", "a"}, {"a/b", "a/b"}, {"a//", "a/"}, {"", ""}};
    for (const Case& c : cases) {
        char buf[32];
        std::strcpy(buf, c.in);
        CVString::DeletePathLastSlash(buf);
        EXPECT_STREQ(buf, c.out) << c.in;
    }
    char p[] = "C:\\a\\b/c";
    CVString::FixPathSlashes(p);
    EXPECT_STREQ(p, "C:/a/b/c");
    CVString::FixPathSlashes(nullptr);
    CVString::DeletePathLastSlash(nullptr);
}

TEST(PathHelpers, PathAndFileNameFromFilePath) {
    struct Case { const char* path; const char* dir; const char* file; };
    const Case cases[] = {
        {"C:\\data\\a.txt", "C:\\data\\", "a.txt"},
        {"/srv/dvr/cam1/Arh1_03.pdb", "/srv/dvr/cam1/", "Arh1_03.pdb"},
        {"a.txt", "", "a.txt"},
        {"dir/", "dir/", ""},
        {"mixed\\sep/name.tar.gz", "mixed\\sep/", "name.tar.gz"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        char dir[ZorbUtils::MAX_PATH_LENGTH], file[ZorbUtils::MAX_PATH_LENGTH];
        CVString::PathFromFilePath(c.path, dir, sizeof dir);
        CVString::FileNameFromFilePath(c.path, file, sizeof file);
        EXPECT_STREQ(dir, c.dir) << c.path;
        EXPECT_STREQ(file, c.file) << c.path;
    }
    char tiny[4];
    CVString::FileNameFromFilePath("/x/longname", tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "lon");
    CVString::PathFromFilePath("/abcdef/x", tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "/ab");
}

TEST(VString, SetStringAndCopies) {
    CVString s("hello", 3);
    EXPECT_STREQ(s.String(), "hel");
    s.SetString("", 0);
    EXPECT_EQ(s.String(), nullptr);
    s.SetString("world", 0);
    EXPECT_STREQ(s.String(), "world");
    s.SetString("world", 5);
    EXPECT_STREQ(s.String(), "world");
    s.SetString(s.String(), 2);  // its own text: nothing happens
    EXPECT_STREQ(s.String(), "world");
    s.SetString(nullptr);
    EXPECT_EQ(s.String(), nullptr);

    CVString a("abc", 0);
    CVString b(a);
    CVString c(&a);
    CVString d(static_cast<const CVString*>(nullptr));
    EXPECT_STREQ(b.String(), "abc");
    EXPECT_STREQ(c.String(), "abc");
    EXPECT_NE(b.String(), a.String());
    EXPECT_EQ(d.String(), nullptr);
    d = a;
    EXPECT_STREQ(d.String(), "abc");
    CVString& self = d;
    d = self;
    EXPECT_STREQ(d.String(), "abc");
}

TEST(VString, Comparisons) {
    CVString empty, empty2, a("a", 0), b("b", 0), A("A", 0), hi("\xe9", 0), ab("ab", 0);
    EXPECT_TRUE(empty == empty2);
    EXPECT_TRUE(empty < a);
    EXPECT_TRUE(a > empty);
    EXPECT_TRUE(empty != a);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(A < a);   // case-sensitive byte order
    EXPECT_TRUE(b < hi);  // unsigned characters
    EXPECT_TRUE(a < ab);
    EXPECT_FALSE(a == A);
    EXPECT_TRUE(a == CVString("a", 0));
}
