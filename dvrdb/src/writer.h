// The recording side of a database folder: samples into the month ring,
// pictures into the hourly AVI files, lines into Server.log.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "prm.h"
#include "store.h"
#include "video.h"

namespace dvrdb {

class Writer {
public:
    Writer() = default;
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Makes a new database folder (Prm.cfg, video/, Server.log).
    bool Create(const std::string& folder, const DbConfig& config, std::string* error);
    // Opens an existing folder for further recording.
    bool Open(const std::string& folder, std::string* error);
    const DbConfig& Config() const { return m_config; }

    bool WriteRecord(int64_t epochMs, const uint8_t* record);
    bool WritePicture(int64_t epochMs, const uint8_t* jpeg, size_t size);
    void Log(int64_t epochMs, const std::string& message);
    // Completes the open AVI file (sizes and index for players).
    void Close();

private:
    bool EnsureMonth(int monthIndex, int64_t firstEpochMs);
    bool StartVideoFile(int64_t epochMs);

    std::string m_folder;
    DbConfig m_config;
    std::map<int, std::unique_ptr<platform::PositionedFile>> m_months;  // by ring number
    std::map<int, MonthFileHeader> m_headers;                            // by ring number
    AviWriter m_avi;
    platform::PositionedFile m_index;
    int64_t m_aviHour = -1;
    int64_t m_lastPicture = INT64_MIN;
};

} // namespace dvrdb
