// Named resources shared between processes: locks and shared memory.
#include "platform/platform.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Keeps a resource name usable as one file name component.
std::string SafeName(const std::string& name) {
    std::string out;
    for (char c : name) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                  c == '_' || c == '.';
        out += ok ? c : '_';
    }
    if (out.empty() || out[0] == '.') out.insert(out.begin(), '_');
    return out;
}

} // namespace

std::string RuntimeDirectory() {
    std::string dir = GetEnv("TRAKVUE_RUNTIME_DIR");
    if (dir.empty()) dir = GetEnv("XDG_RUNTIME_DIR");
    if (dir.empty()) dir = TempDirectory() + "trakvue-" + std::to_string(::getuid());
    if (dir.back() != '/') dir += '/';
    ::mkdir(dir.c_str(), 0700);
    return dir;
}

NamedLock::~NamedLock() { Release(); }

bool NamedLock::TryAcquire(const std::string& name) {
    if (m_fd >= 0) return true;
    std::string path = RuntimeDirectory() + SafeName(name) + ".lock";
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void NamedLock::Release() {
    if (m_fd < 0) return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

SharedByte::~SharedByte() { Close(); }

bool SharedByte::Open(const std::string& name) {
    Close();
    std::string shmName = "/" + SafeName(name);
    int fd = ::shm_open(shmName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || (st.st_size < 1 && ::ftruncate(fd, 1) != 0)) {
        ::close(fd);
        return false;
    }
    void* p = ::mmap(nullptr, 1, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) return false;
    m_ptr = p;
    return true;
}

void SharedByte::Close() {
    if (m_ptr) ::munmap(m_ptr, 1);
    m_ptr = nullptr;
}

uint8_t SharedByte::Get() const {
    if (!m_ptr) return 0;
    return reinterpret_cast<std::atomic<uint8_t>*>(m_ptr)->load();
}

void SharedByte::Set(uint8_t value) {
    if (m_ptr) reinterpret_cast<std::atomic<uint8_t>*>(m_ptr)->store(value);
}

bool SharedByte::Unlink(const std::string& name) {
    std::string shmName = "/" + SafeName(name);
    return ::shm_unlink(shmName.c_str()) == 0;
}

} // namespace platform
