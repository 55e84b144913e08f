#include "logs.h"

#include "platform/platform.h"

std::string WorkLogLine(const std::string& message) {
    platform::CalendarTime t = platform::LocalNow();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%2.2d.%2.2d.%4.4d %2.2d:%2.2d:%2.2d", t.day, t.month, t.year, t.hour, t.minute,
                  t.second);
    return std::string(buf) + " -> " + message;
}

bool WorkLog::Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_path = path;
    m_text.clear();
    if (!platform::ReadWholeFile(path, m_text)) {
        m_text.clear();
        if (!platform::WriteFileAtomic(path, "", 0)) return m_open = false;
    }
    if (!m_text.empty() && m_text.back() != '\n') m_text += "\r\n";
    return m_open = true;
}

void WorkLog::Write(const std::string& message, bool spaced) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return;
    if (spaced) m_text += "\r\n";
    m_text += WorkLogLine(message) + "\r\n";
    if (spaced) m_text += "\r\n";
    platform::WriteFileAtomic(m_path, m_text.data(), m_text.size());
}

void WorkLog::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
}

DebugLog::~DebugLog() {
    if (m_file) std::fclose(m_file);
}

bool DebugLog::Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_file) std::fclose(m_file);
    m_file = std::fopen(path.c_str(), "w");
    return m_file != nullptr;
}

void DebugLog::Write(const std::string& message) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file) return;
    platform::CalendarTime t = platform::LocalNow();
    std::fprintf(m_file, "%.2d:%.2d:%.2d > %s\n", t.hour, t.minute, t.second, message.c_str());
    std::fflush(m_file);
}
