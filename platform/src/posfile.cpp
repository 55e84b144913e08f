// Positioned file access and stop signals.
#include "platform/platform.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

PositionedFile::~PositionedFile() { Close(); }

bool PositionedFile::OpenRead(const std::string& path) {
    Close();
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) return false;
    struct stat st;
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return false;
    }
    return true;
}

bool PositionedFile::OpenWrite(const std::string& path) {
    Close();
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    return m_fd >= 0;
}

void PositionedFile::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

long long PositionedFile::ReadAt(uint64_t offset, void* buffer, size_t size) const {
    if (m_fd < 0) return -1;
    size_t done = 0;
    char* p = static_cast<char*>(buffer);
    while (done < size) {
        ssize_t n = ::pread(m_fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<long long>(done);
}

bool PositionedFile::WriteAt(uint64_t offset, const void* data, size_t size) {
    if (m_fd < 0) return false;
    size_t done = 0;
    const char* p = static_cast<const char*>(data);
    while (done < size) {
        ssize_t n = ::pwrite(m_fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool PositionedFile::Append(const void* data, size_t size) {
    long long end = Size();
    return end >= 0 && WriteAt(static_cast<uint64_t>(end), data, size);
}

bool PositionedFile::Truncate(uint64_t size) {
    return m_fd >= 0 && ::ftruncate(m_fd, static_cast<off_t>(size)) == 0;
}

long long PositionedFile::Size() const {
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) return -1;
    return static_cast<long long>(st.st_size);
}

bool PositionedFile::Sync() { return m_fd >= 0 && ::fdatasync(m_fd) == 0; }

namespace {
volatile int* g_stopFlag = nullptr;
void OnStop(int) {
    if (g_stopFlag) *g_stopFlag = 1;
}
} // namespace

void InstallStopSignals(volatile int* flag) {
    g_stopFlag = flag;
    struct sigaction sa{};
    sa.sa_handler = OnStop;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

} // namespace platform
