// Find-first/find-next directory search with Windows-style masks.
#include "platform/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace platform {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Iterative glob match with backtracking to the last '*': linear in
// practice, never exponential.
bool Glob(const char* m, const char* n) {
    const char* starM = nullptr;
    const char* starN = nullptr;
    while (*n) {
        if (*m == '*') {
            starM = m++;
            starN = n;
        } else if (*m == '?' || (*m && Lower(*m) == Lower(*n))) {
            ++m;
            ++n;
        } else if (starM) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (*m == '*') ++m;
    return *m == '\0';
}

uint32_t AttributesOf(int dirFd, const char* name, uint64_t& size) {
    struct stat st;
    size = 0;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return kAttrDevice;
    if (S_ISLNK(st.st_mode)) return kAttrReparsePoint;
    if (S_ISDIR(st.st_mode)) {
        uint32_t a = kAttrDirectory;
        if (name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) a |= kAttrHidden;
        return a;
    }
    if (!S_ISREG(st.st_mode)) return kAttrDevice;
    size = static_cast<uint64_t>(st.st_size);
    uint32_t a = kAttrArchive;
    if (!(st.st_mode & S_IWUSR)) a |= kAttrReadOnly;
    if (name[0] == '.') a |= kAttrHidden;
    return a;
}

} // namespace

bool MatchMask(const char* mask, const char* name) {
    if (!mask || !name) return false;
    if (std::strcmp(mask, "*.*") == 0) return true;
    return Glob(mask, name);
}

DirSearch::~DirSearch() { Close(); }

void DirSearch::Close() {
    m_entries.clear();
    m_next = 0;
}

bool DirSearch::First(const char* pattern, DirEntry& entry) {
    Close();
    if (!pattern || !*pattern) return false;
    std::string p(pattern);
    std::string folder, mask;
    size_t slash = p.find_last_of('/');
    if (slash == std::string::npos) {
        folder = ".";
        mask = p;
    } else {
        folder = slash == 0 ? std::string("/") : p.substr(0, slash);
        mask = p.substr(slash + 1);
    }
    if (mask.empty()) return false;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return false;
    while (struct dirent* de = ::readdir(d)) {
        if (!MatchMask(mask.c_str(), de->d_name)) continue;
        DirEntry e;
        e.name = de->d_name;
        e.attributes = AttributesOf(::dirfd(d), de->d_name, e.size);
        m_entries.push_back(std::move(e));
    }
    ::closedir(d);
    std::sort(m_entries.begin(), m_entries.end(), [](const DirEntry& a, const DirEntry& b) {
        int c = ::strcasecmp(a.name.c_str(), b.name.c_str());
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return Next(entry);
}

bool DirSearch::Next(DirEntry& entry) {
    if (m_next >= m_entries.size()) return false;
    entry = m_entries[m_next++];
    return true;
}

} // namespace platform
