// Shared libraries loaded at run time, and file output that never follows links.
#include "platform/platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void* LoadLibraryBeside(const void* addressInCaller, const char* fileName) {
    if (!fileName || !*fileName) return nullptr;
    Dl_info info{};
    if (addressInCaller && ::dladdr(addressInCaller, &info) != 0 && info.dli_fname) {
        std::string own(info.dli_fname);
        size_t slash = own.rfind('/');
        if (slash != std::string::npos) {
            std::string path = own.substr(0, slash + 1) + fileName;
            if (void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
        }
    }
    return ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
}

void* LibrarySymbol(void* library, const char* name) {
    if (!library || !name) return nullptr;
    return ::dlsym(library, name);
}

void FreeLibrary(void* library) {
    if (library) ::dlclose(library);
}

std::FILE* OpenForWritingNoFollow(const char* path) {
    if (!path) return nullptr;
    int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) ::close(fd);
    return f;
}

bool HasLinkBelow(const std::string& base, const std::string& relative) {
    std::string cur = base;
    if (!cur.empty() && cur.back() != '/') cur += '/';
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        cur += part;
        struct stat st;
        if (::lstat(cur.c_str(), &st) != 0) return false;  // nothing further exists yet
        if (S_ISLNK(st.st_mode)) return true;
        cur += '/';
    }
    return false;
}

} // namespace platform
