// CLogFile: a text log with optional local time stamps.
#include "ZorbUtils.h"
#include "text.h"

#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace ZorbUtils {

CLogFile::CLogFile() : m_file(nullptr), m_mode(LOG_FILE_MODE_REWRITE) { m_name[0] = '\0'; }

CLogFile::CLogFile(const char* name, ELogFileMode mode) : m_file(nullptr), m_mode(mode) {
    detail::CopyBounded(m_name, sizeof m_name, name);
}

CLogFile::~CLogFile() { Close(); }

void CLogFile::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

void CLogFile::SetLogFileName(const char* format, ...) {
    Close();
    m_name[0] = '\0';
    if (!format) return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(m_name, sizeof m_name, format, args);
    va_end(args);
}

void CLogFile::SetLogFileMode(ELogFileMode mode) {
    Close();
    m_mode = mode;
}

bool CLogFile::OpenLogFile() {
    Close();
    const char* how = nullptr;
    if (m_mode == LOG_FILE_MODE_REWRITE) how = "w";
    if (m_mode == LOG_FILE_MODE_APPEND) how = "a+";
    if (!how || !m_name[0]) return false;
    m_file = std::fopen(m_name, how);
    return m_file != nullptr;
}

bool CLogFile::CloseLogFile() {
    if (!m_file) return false;
    int rc = std::fclose(m_file);
    m_file = nullptr;
    return rc == 0;
}

bool CLogFile::AddLogString(bool timeFlag, const char* format, ...) {
    if (!m_file || !format) return false;
    char prefix[64] = "";
    if (timeFlag) {
        platform::CalendarTime t = platform::LocalNow();
        std::snprintf(prefix, sizeof prefix, "%02d.%02d.%04d %02d:%02d:%02d.%03d ", t.day, t.month, t.year, t.hour,
                      t.minute, t.second, t.millisecond);
    }
    char full[1024];
    std::snprintf(full, sizeof full, "%s%s", prefix, format);
    // A cut format may end inside a conversion; drop a dangling '%' so the
    // print never reads an argument that the caller did not pass.
    size_t n = std::strlen(full);
    if (n == sizeof full - 1) {
        size_t percents = 0;
        for (size_t i = n; i > 0 && full[i - 1] == '%'; --i) ++percents;
        if (percents % 2 == 1) full[n - 1] = '\0';
    }
    va_list args;
    va_start(args, format);
    int written = std::vfprintf(m_file, full, args);
    va_end(args);
    int flushed = std::fflush(m_file);
    return written > 0 && flushed == 0;
}

} // namespace ZorbUtils
