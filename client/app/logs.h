// The client's two logs: the work log Reg_Client.log and the debug log
// ClientLog.log.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

class WorkLog {
public:
    // Opens (creates) the log of the folder; its lines are kept and the
    // file is rewritten after every line.
    bool Open(const std::string& path);
    void Write(const std::string& message, bool spaced);
    void Close();
    bool IsOpen() const { return m_open; }

private:
    std::mutex m_mutex;
    std::string m_path, m_text;
    bool m_open = false;
};

class DebugLog {
public:
    ~DebugLog();
    bool Open(const std::string& path);  // truncates
    void Write(const std::string& message);

private:
    std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};

// "dd.mm.yyyy hh:mm:ss -> message" of the work log, at the local time.
std::string WorkLogLine(const std::string& message);
