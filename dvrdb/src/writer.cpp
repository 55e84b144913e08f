#include "writer.h"

#include <cstdio>

#include "calendar.h"
#include "store.h"

namespace dvrdb {

Writer::~Writer() { Close(); }

bool Writer::Create(const std::string& folder, const DbConfig& config, std::string* error) {
    platform::MakeDirectory(folder.c_str());
    if (!platform::StatPath(folder.c_str()).isDirectory) {
        if (error) *error = "cannot create " + folder;
        return false;
    }
    platform::MakeDirectory((folder + "/video").c_str());
    const std::string prm = FormatPrm(config);
    if (!platform::WriteFileAtomic(folder + "/Prm.cfg", prm.data(), prm.size())) {
        if (error) *error = "cannot write " + folder + "/Prm.cfg";
        return false;
    }
    return Open(folder, error);
}

bool Writer::Open(const std::string& folder, std::string* error) {
    Close();
    std::string text;
    if (!platform::ReadWholeFile(folder + "/Prm.cfg", text) || !ParsePrm(text, m_config, error)) {
        if (error && error->empty()) *error = folder + " is not a database folder";
        return false;
    }
    m_folder = folder;
    platform::MakeDirectory((folder + "/video").c_str());
    return true;
}

bool Writer::EnsureMonth(int monthIndex, int64_t firstEpochMs) {
    const int nn = RingNumber(monthIndex, m_config.months);
    auto known = m_headers.find(nn);
    if (known != m_headers.end() && known->second.monthIndex == monthIndex) return true;
    auto& file = m_months[nn];
    if (!file) file = std::make_unique<platform::PositionedFile>();
    if (!file->IsOpen() && !file->OpenWrite(m_folder + "/" + MonthFileName(nn))) return false;
    MonthFileHeader h;
    if (!ReadMonthHeader(*file, h) || h.monthIndex != monthIndex ||
        h.periodMs != static_cast<uint32_t>(m_config.periodMs) || h.recordSize != static_cast<uint32_t>(m_config.recordSize)) {
        // A new cycle of the ring: this file and the videos of its number
        // belonged to an older month.
        if (!file->Truncate(0)) return false;
        h.monthIndex = monthIndex;
        h.periodMs = static_cast<uint32_t>(m_config.periodMs);
        h.recordSize = static_cast<uint32_t>(m_config.recordSize);
        // The file begins at the first recorded slot, so its size follows
        // the recorded time.
        h.baseSlot = SlotIndex(firstEpochMs, m_config.periodMs);
        if (!WriteMonthHeader(*file, h)) return false;
        platform::DirSearch search;
        platform::DirEntry e;
        char mask[64];
        std::snprintf(mask, sizeof mask, "/video/Arh1_*_%.2d_*.avi*", nn);
        std::vector<std::string> stale;
        for (bool ok = search.First((m_folder + mask).c_str(), e); ok; ok = search.Next(e)) {
            VideoFileName v;
            const std::string avi = e.name.size() > 4 && e.name.compare(e.name.size() - 4, 4, ".idx") == 0
                                        ? e.name.substr(0, e.name.size() - 4)
                                        : e.name;
            if (ParseVideoFileName(avi, v) && MonthIndexOf(v.startEpochMs) != monthIndex) stale.push_back(e.name);
        }
        for (const std::string& name : stale) platform::RemoveFile((m_folder + "/video/" + name).c_str());
        char line[96];
        std::snprintf(line, sizeof line, "month %d starts in %s", monthIndex, MonthFileName(nn).c_str());
        Log(MonthStartEpochMs(monthIndex), line);
    }
    m_headers[nn] = h;
    return true;
}

bool Writer::WriteRecord(int64_t epochMs, const uint8_t* record) {
    const int m = MonthIndexOf(epochMs);
    if (!EnsureMonth(m, epochMs)) return false;
    const int nn = RingNumber(m, m_config.months);
    return WriteSlot(*m_months[nn], m_headers[nn].baseSlot, epochMs, m_config.periodMs, m_config.recordSize, record);
}

bool Writer::StartVideoFile(int64_t epochMs) {
    m_avi.Finish();
    m_index.Close();
    const int nn = RingNumber(MonthIndexOf(epochMs), m_config.months);
    const int64_t second = epochMs - ((epochMs % 1000) + 1000) % 1000;
    const std::string name = FormatVideoFileName(second, nn);
    const std::string path = m_folder + "/video/" + name;
    if (platform::StatPath(path.c_str()).exists) return false;  // that second is taken already
    if (!m_avi.Create(path, m_config.pictureWidth, m_config.pictureHeight, m_config.fps)) return false;
    if (!m_index.OpenWrite(path + ".idx") || !m_index.Truncate(0)) {
        m_avi.Finish();
        return false;
    }
    m_aviHour = epochMs / 3600000;
    return true;
}

bool Writer::WritePicture(int64_t epochMs, const uint8_t* jpeg, size_t size) {
    if (epochMs <= m_lastPicture) return false;  // pictures come in time order
    if (!EnsureMonth(MonthIndexOf(epochMs), epochMs)) return false;
    if (!m_avi.IsOpen() || epochMs / 3600000 != m_aviHour) {
        if (!StartVideoFile(epochMs)) return false;
    }
    uint64_t offset = 0;
    if (!m_avi.AddFrame(epochMs, jpeg, size, offset)) return false;
    uint8_t entry[kIndexEntrySize];
    EncodeIndexEntry(IndexEntry{epochMs, offset, static_cast<uint32_t>(size)}, entry);
    if (!m_index.Append(entry, sizeof entry)) return false;
    m_lastPicture = epochMs;
    return true;
}

void Writer::Log(int64_t epochMs, const std::string& message) {
    platform::CalendarTime t = platform::LocalFromEpochMs(epochMs);
    char line[512];
    std::snprintf(line, sizeof line, "%02d.%02d.%04d %02d:%02d:%02d -> %s\n", t.day, t.month, t.year, t.hour, t.minute,
                  t.second, message.c_str());
    if (std::FILE* f = std::fopen((m_folder + "/Server.log").c_str(), "a")) {
        std::fputs(line, f);
        std::fclose(f);
    }
}

void Writer::Close() {
    m_avi.Finish();
    m_index.Close();
    m_aviHour = -1;
    for (auto& f : m_months) f.second->Close();
    m_months.clear();
    m_headers.clear();
}

} // namespace dvrdb
