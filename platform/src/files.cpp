// Files and folders: status, creation, removal, copying, atomic writes.
#include "platform/platform.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace platform {
namespace {

PathInfo FromStat(const struct stat& st) {
    PathInfo info;
    info.exists = true;
    info.isDirectory = S_ISDIR(st.st_mode);
    info.isRegular = S_ISREG(st.st_mode);
    info.isLink = S_ISLNK(st.st_mode);
    info.writable = (st.st_mode & S_IWUSR) != 0;
    info.size = static_cast<uint64_t>(st.st_size);
    info.modifiedEpochSec = static_cast<int64_t>(st.st_mtime);
    info.mode = static_cast<uint32_t>(st.st_mode);
    return info;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

PathInfo StatPath(const char* path) {
    struct stat st;
    if (!path || ::stat(path, &st) != 0) return PathInfo{};
    return FromStat(st);
}

PathInfo LstatPath(const char* path) {
    struct stat st;
    if (!path || ::lstat(path, &st) != 0) return PathInfo{};
    return FromStat(st);
}

MakeDirResult MakeDirectory(const char* path) {
    if (!path || !*path) return MakeDirResult::Failed;
    if (::mkdir(path, 0777) == 0) return MakeDirResult::Created;
    if (errno == EEXIST) {
        // Only an existing folder counts; a file of that name blocks it.
        struct stat st;
        if (::stat(path, &st) == 0 && S_ISDIR(st.st_mode)) return MakeDirResult::AlreadyExists;
    }
    return MakeDirResult::Failed;
}

bool RemoveDirectory(const char* path) {
    return path && ::rmdir(path) == 0;
}

bool RemoveFile(const char* path) {
    return path && ::unlink(path) == 0;
}

bool SetWritable(const char* path, bool writable) {
    struct stat st;
    if (!path || ::lstat(path, &st) != 0) return false;
    if (S_ISLNK(st.st_mode)) return true;  // links carry no permissions of their own
    mode_t mode = st.st_mode & 07777;
    if (writable) {
        mode |= S_IWUSR;
    } else {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    }
    return ::chmod(path, mode) == 0;
}

bool SetFileTimes(const char* path, int64_t epochSec) {
    if (!path) return false;
    struct timeval tv[2];
    tv[0].tv_sec = static_cast<time_t>(epochSec);
    tv[0].tv_usec = 0;
    tv[1] = tv[0];
    return ::utimes(path, tv) == 0;
}

bool CopyFileOverwrite(const char* source, const char* target) {
    if (!source || !target || !*source || !*target) return false;
    int in = ::open(source, O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    struct stat tst;
    if (::stat(target, &tst) == 0 && tst.st_dev == st.st_dev && tst.st_ino == st.st_ino) {
        ::close(in);  // same file: opening it for writing would empty it
        return false;
    }
    int out = ::open(target, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    off_t remaining = st.st_size;
    while (remaining > 0) {
        ssize_t n = ::sendfile(out, in, nullptr, static_cast<size_t>(remaining > (1 << 30) ? (1 << 30) : remaining));
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;  // source shrank meanwhile
        remaining -= n;
    }
    if (ok) {
        // Bytes appended to the source while copying are taken as well.
        char buf[65536];
        for (;;) {
            ssize_t n = ::read(in, buf, sizeof buf);
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            if (n == 0) break;
            if (!WriteAll(out, buf, static_cast<size_t>(n))) {
                ok = false;
                break;
            }
        }
    }
    ::fchmod(out, st.st_mode & 07777);
    if (::close(out) != 0) ok = false;
    ::close(in);
    return ok;
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
    std::string tmp = path + ".tmp-XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    bool ok = WriteAll(fd, static_cast<const char*>(data), size) && ::fsync(fd) == 0;
    ::fchmod(fd, 0644);
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(name.data(), path.c_str()) != 0) ok = false;
    if (!ok) ::unlink(name.data());
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

std::string TempDirectory() {
    std::string dir = GetEnv("TMPDIR");
    if (dir.empty()) dir = "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

std::string ExecutableDirectory() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    buf[n] = '\0';
    std::string path(buf);
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string GetEnv(const char* name) {
    const char* v = name ? std::getenv(name) : nullptr;
    return v ? std::string(v) : std::string();
}

} // namespace platform
