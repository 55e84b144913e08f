#include "database.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "calendar.h"
#include "store.h"

namespace dvrdb {

// ---------------------------------------------------------------- Catalogue

Catalogue::Catalogue(DbConfig config) : m_config(std::move(config)) {
    for (const ParamDef& p : m_config.params) {
        DbParameterInfo info{};
        info.type = p.type;
        info.progId = p.progId.c_str();
        info.name = p.name.c_str();
        info.units = p.units.c_str();
        info.accuracy = p.accuracy.c_str();
        info.description = p.description.c_str();
        info.lowBound = p.low;
        info.highBound = p.high;
        info.view = p.view;
        info.status = p.status;
        m_infos.push_back(info);
        m_values.emplace(p.progId, DbValueInfo{p.type, p.accuracy.c_str(), p.offset});
    }
}

const DbValueInfo* Catalogue::Resolve(const char* name) const {
    if (!name) return nullptr;
    auto it = m_values.find(name);
    if (it != m_values.end()) return &it->second;
    // "name|bit" of an integer parameter.
    const char* bar = std::strchr(name, '|');
    if (!bar || bar == name || !bar[1]) return nullptr;
    std::string base(name, static_cast<size_t>(bar - name));
    auto b = m_values.find(base);
    if (b == m_values.end()) return nullptr;
    const int t = b->second.type;
    const bool integer = (t >= 1 && t <= 8) || (t >= 11 && t <= 13);
    if (!integer) return nullptr;
    char* end = nullptr;
    unsigned long bit = std::strtoul(bar + 1, &end, 10);
    if (*end != '\0' || bar[1] < '0' || bar[1] > '9' || bit >= static_cast<unsigned long>(TypeSize(t) * 8))
        return nullptr;
    std::lock_guard<std::mutex> lock(m_bitsMutex);
    auto& slot = m_bits[name];
    if (!slot) {
        slot = std::make_unique<std::pair<std::string, DbValueInfo>>();
        slot->first = name;
        slot->second = DbValueInfo{DB_TYPE_BIT, slot->first.c_str(), b->second.offset};
    }
    return &slot->second;
}

std::shared_ptr<const Catalogue> Catalogue::Intern(const std::string& folder, const std::string& prmText,
                                                   const DbConfig& config) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const Catalogue>> all;
    std::lock_guard<std::mutex> lock(mutex);
    auto& slot = all[folder + '\0' + prmText];
    if (!slot) slot = std::make_shared<const Catalogue>(config);
    return slot;
}

// ----------------------------------------------------------------- Database

Database::Database(std::string folder, std::shared_ptr<const Catalogue> catalogue)
    : m_folder(std::move(folder)), m_catalogue(std::move(catalogue)), m_video(m_folder + "/video") {}

std::shared_ptr<Database> Database::Open(const std::string& folder) {
    if (folder.empty() || !platform::StatPath(folder.c_str()).isDirectory) return nullptr;
    std::string dir = folder;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    std::string text;
    const std::string prm = dir + "/Prm.cfg";
    platform::PathInfo info = platform::StatPath(prm.c_str());
    if (!info.isRegular || info.size > (4u << 20) || !platform::ReadWholeFile(prm, text)) return nullptr;
    DbConfig config;
    if (!ParsePrm(text, config)) return nullptr;
    return std::shared_ptr<Database>(new Database(dir, Catalogue::Intern(dir, text, config)));
}

const platform::PositionedFile* Database::Month(int ringNumber, bool reread, MonthFileHeader& header) {
    std::lock_guard<std::mutex> lock(m_filesMutex);
    auto& m = m_files[ringNumber];
    if (!m) m = std::make_unique<MonthFile>();
    if (!m->file.IsOpen()) {
        if (!m->file.OpenRead(m_folder + "/" + MonthFileName(ringNumber))) return nullptr;
        reread = true;
    }
    if (reread || !m->headerValid) m->headerValid = ReadMonthHeader(m->file, m->header);
    if (!m->headerValid) return nullptr;
    header = m->header;
    return &m->file;
}

bool Database::ReadRecord(int64_t epochMs, uint8_t* out) {
    const DbConfig& c = Config();
    const int m = MonthIndexOf(epochMs);
    const int nn = RingNumber(m, c.months);
    for (int attempt = 0; attempt < 2; ++attempt) {
        MonthFileHeader h;
        const platform::PositionedFile* f = Month(nn, attempt > 0, h);
        if (!f) continue;
        if (h.monthIndex == m && h.periodMs == static_cast<uint32_t>(c.periodMs) &&
            h.recordSize == static_cast<uint32_t>(c.recordSize) &&
            ReadSlot(*f, h.baseSlot, epochMs, c.periodMs, c.recordSize, out))
            return true;
    }
    std::memset(out, 0, static_cast<size_t>(c.recordSize));
    return false;
}

void Database::ReadRecordPair(int64_t epochMs, uint8_t* out0, uint8_t* out1, bool& have0, bool& have1) {
    const DbConfig& c = Config();
    const int m = MonthIndexOf(epochMs);
    // The slot before the first of a month lives in the previous month's file.
    if (MonthIndexOf(epochMs - c.periodMs) != m) {
        have0 = ReadRecord(epochMs, out0);
        have1 = ReadRecord(epochMs - c.periodMs, out1);
        return;
    }
    const int nn = RingNumber(m, c.months);
    for (int attempt = 0; attempt < 2; ++attempt) {
        MonthFileHeader h;
        const platform::PositionedFile* f = Month(nn, attempt > 0, h);
        if (!f || h.monthIndex != m || h.periodMs != static_cast<uint32_t>(c.periodMs) ||
            h.recordSize != static_cast<uint32_t>(c.recordSize))
            continue;
        ReadSlotPair(*f, h.baseSlot, epochMs, c.periodMs, c.recordSize, out0, out1, have0, have1);
        if (have0 || have1) return;
    }
    have0 = have1 = false;
    std::memset(out0, 0, static_cast<size_t>(c.recordSize));
    std::memset(out1, 0, static_cast<size_t>(c.recordSize));
}

bool Database::FindPicture(int64_t epochMs, int64_t& pictureInstant, std::vector<uint8_t>& jpeg) {
    // Look back one hour: far enough for any stall the operator should see
    // as an old picture, near enough to stay cheap.
    return m_video.FindPicture(epochMs, 3600000, pictureInstant, jpeg);
}

int64_t Database::PictureBoundMs() const {
    const double framePeriod = 1000.0 / Config().fps;
    const int64_t bound = static_cast<int64_t>(3 * framePeriod);
    return bound < 2000 ? 2000 : bound;
}

int64_t Database::NewestRecorded() {
    const DbConfig& c = Config();
    const uint64_t slotSize = static_cast<uint64_t>(kSlotHeaderSize + c.recordSize);
    int64_t newest = INT64_MIN;
    std::vector<uint8_t> record(static_cast<size_t>(c.recordSize));
    for (int nn = 1; nn <= c.months; ++nn) {
        MonthFileHeader h;
        const platform::PositionedFile* f = Month(nn, true, h);
        if (!f || h.periodMs != static_cast<uint32_t>(c.periodMs) || h.recordSize != static_cast<uint32_t>(c.recordSize))
            continue;
        const long long size = f->Size();
        if (size < kFileHeaderSize + static_cast<long long>(slotSize)) continue;
        const int64_t start = MonthStartEpochMs(h.monthIndex);
        int64_t last = h.baseSlot + (size - kFileHeaderSize) / static_cast<long long>(slotSize) - 1;
        // The last slot may be in the middle of its write: step back a little.
        for (int64_t k = last; k >= h.baseSlot && k > last - 64; --k) {
            const int64_t t = start + k * c.periodMs;
            if (t <= newest) break;
            if (ReadSlot(*f, h.baseSlot, t, c.periodMs, c.recordSize, record.data())) {
                newest = t;
                break;
            }
        }
    }
    return newest;
}

} // namespace dvrdb
