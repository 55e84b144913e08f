// The twelve functions, over a table of open databases.
#include "dvrdb.h"

#include <climits>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "calendar.h"
#include "database.h"

using dvrdb::Database;

namespace {

constexpr int kSlots = 256;

// The open databases: one owner for the library's process-wide state.
class HandleTable {
public:
    static HandleTable& Get() {
        static HandleTable table;
        return table;
    }

    DbHandle Add(std::shared_ptr<Database> db) {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i < kSlots; ++i) {
            if (!m_slots[i].db) {
                m_slots[i].db = std::move(db);
                ++m_slots[i].generation;
                return static_cast<DbHandle>(i);
            }
        }
        return DB_INVALID_HANDLE;
    }

    void Remove(DbHandle h) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (h < kSlots) {
            m_slots[h].db.reset();
            ++m_slots[h].generation;
        }
    }

    std::shared_ptr<Database> Find(DbHandle h, uint32_t* generation = nullptr) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (h >= kSlots) return nullptr;
        if (generation) *generation = m_slots[h].generation;
        return m_slots[h].db;
    }

    // Keys name a slot and the generation it had when the descriptor was
    // taken, so a key of a closed or reopened handle resolves nothing.
    static uint32_t Key(DbHandle h, uint32_t generation, bool withHeader) {
        return ((generation & 0x7FFFFFu) << 9) | (static_cast<uint32_t>(h) << 1) | (withHeader ? 1u : 0u);
    }
    std::shared_ptr<Database> FromKey(uint32_t key) {
        const DbHandle h = static_cast<DbHandle>((key >> 1) & 0xFF);
        uint32_t generation = 0;
        std::shared_ptr<Database> db = Find(h, &generation);
        if (!db || ((generation & 0x7FFFFFu) != (key >> 9))) return nullptr;
        return db;
    }

private:
    struct Slot {
        std::shared_ptr<Database> db;
        uint32_t generation = 0;
    };
    std::mutex m_mutex;
    Slot m_slots[kSlots];
};

const DbValueInfo* Resolve(uint32_t key, const char** name) {
    if (!name || !*name) return nullptr;
    std::shared_ptr<Database> db = HandleTable::Get().FromKey(key);
    return db ? db->Cat().Resolve(*name) : nullptr;
}

void PutHeader(uint8_t* at, uint16_t status, uint16_t day, int32_t time) {
    std::memset(at, 0, 16);
    std::memcpy(at, &status, 2);
    std::memcpy(at + 4, &day, 2);
    std::memcpy(at + 8, &time, 4);
}

// Space for header and record in a section, or null.
uint8_t* Target(DbSampleSection& s, int recordSize) {
    if (!s.current || !s.data || s.capacity < recordSize + 16) return nullptr;
    if (s.current < s.data || s.current + recordSize + 16 > s.data + s.capacity) return nullptr;
    return s.current;
}

void ClearPicture(int32_t* width, int32_t* height, uint8_t** data) {
    if (width) *width = 0;
    if (height) *height = 0;
    if (data) *data = nullptr;
}

void Read(DbHandle handle, uint16_t day, int32_t time, DbSampleBuffer* buffer, int32_t* width, int32_t* height,
          uint8_t** data, bool utc) {
    const bool wantPicture = data != nullptr;
    ClearPicture(width, height, data);
    std::shared_ptr<Database> db = HandleTable::Get().Find(handle);
    if (!buffer) return;
    if (!db) {
        // Nothing to read: whatever the sections can hold reads as not recorded.
        for (DbSampleSection& s : buffer->section) {
            if (s.current && s.data && s.capacity >= 16 && s.current >= s.data) {
                std::memset(s.current, 0, static_cast<size_t>(s.capacity - (s.current - s.data)));
                PutHeader(s.current, DB_STATUS_NOT_RECORDED, day, time);
            }
        }
        return;
    }
    const dvrdb::DbConfig& c = db->Config();
    const int64_t at = utc ? dvrdb::UtcInstantToEpochMs(day, time) : dvrdb::LocalInstantToEpochMs(day, time);
    const int64_t slot0 = at - (((at % c.periodMs) + c.periodMs) % c.periodMs);
    auto instantOf = [&](int64_t epoch, uint16_t& d, int32_t& t) {
        if (utc) dvrdb::EpochMsToUtcInstant(epoch, d, t);
        else dvrdb::EpochMsToLocalInstant(epoch, d, t);
    };

    thread_local std::vector<uint8_t> rec0, rec1;
    rec0.resize(static_cast<size_t>(c.recordSize));
    rec1.resize(static_cast<size_t>(c.recordSize));
    bool have0 = false, have1 = false;
    db->ReadRecordPair(at, rec0.data(), rec1.data(), have0, have1);
    uint16_t status0 = have0 ? DB_STATUS_CURRENT : DB_STATUS_NOT_RECORDED;

    if (wantPicture) {
        // One picture buffer per thread and handle number: a reopened
        // handle reuses the buffer of the one it replaces.
        thread_local std::unordered_map<uint32_t, std::vector<uint8_t>> pictures;
        thread_local std::vector<uint8_t> jpeg;
        int64_t pictureAt = 0;
        if (db->FindPicture(at, pictureAt, jpeg)) {
            std::vector<uint8_t>& rgb = pictures[handle];
            int w = 0, h = 0;
            if (dvrdb::DecodeJpeg(jpeg.data(), jpeg.size(), rgb, w, h)) {
                if (width) *width = w;
                if (height) *height = h;
                *data = rgb.data();
                if (at - pictureAt > db->PictureBoundMs() && status0 == DB_STATUS_CURRENT)
                    status0 = DB_STATUS_EXPIRED_PICTURE;
            }
        }
    }

    uint16_t d0, d1;
    int32_t t0, t1;
    instantOf(slot0, d0, t0);
    instantOf(slot0 - c.periodMs, d1, t1);
    const struct {
        const std::vector<uint8_t>* rec;
        uint16_t status, day;
        int32_t time;
    } fill[3] = {{&rec0, status0, d0, t0},
                 {&rec1, static_cast<uint16_t>(have1 ? DB_STATUS_CURRENT : DB_STATUS_NOT_RECORDED), d1, t1},
                 {&rec0, status0, d0, t0}};
    for (int i = 0; i < 3; ++i) {
        uint8_t* p = Target(buffer->section[i], c.recordSize);
        if (!p) continue;
        PutHeader(p, fill[i].status, fill[i].day, fill[i].time);
        std::memcpy(p + 16, fill[i].rec->data(), fill[i].rec->size());
    }
}

} // namespace

extern "C" {

DbHandle dbOpenDatabase(const char* folder, int, int) {
    if (!folder || !*folder) return DB_INVALID_HANDLE;
    std::shared_ptr<Database> db = Database::Open(folder);
    if (!db) return DB_INVALID_HANDLE;
    return HandleTable::Get().Add(std::move(db));
}

void dbCloseDatabase(DbHandle handle) { HandleTable::Get().Remove(handle); }

DbDescriptor dbGetDBDsr(DbHandle handle) {
    DbDescriptor d{};
    uint32_t generation = 0;
    std::shared_ptr<Database> db = HandleTable::Get().Find(handle, &generation);
    if (!db) return d;
    d.blockSize = static_cast<uint32_t>(db->Config().recordSize);
    d.recordSize = static_cast<uint32_t>(db->Config().recordSize);
    d.periodMs = static_cast<uint32_t>(db->Config().periodMs);
    d.keyNoHeader = HandleTable::Key(handle, generation, false);
    d.keyWithHeader = HandleTable::Key(handle, generation, true);
    d.resolver = &Resolve;
    return d;
}

void dbGoToFirstParameter(DbHandle handle) {
    if (std::shared_ptr<Database> db = HandleTable::Get().Find(handle)) db->parameterCursor = 0;
}

int dbGetNextParameter(DbHandle handle, DbParameterInfo* info) {
    std::shared_ptr<Database> db = HandleTable::Get().Find(handle);
    if (!db || !info) return 0;
    const auto& params = db->Cat().Parameters();
    const size_t i = db->parameterCursor.fetch_add(1);
    if (i >= params.size()) {
        db->parameterCursor = params.size();
        return 0;
    }
    *info = params[i];
    return 1;
}

void dbNativeGetData(DbHandle handle, uint16_t day, int32_t time, DbSampleBuffer* buffer, int32_t* width,
                     int32_t* height, uint8_t** data, int32_t) {
    Read(handle, day, time, buffer, width, height, data, false);
}

void dbNativeGetDataBySysTime(DbHandle handle, uint16_t day, int32_t time, DbSampleBuffer* buffer, int32_t* width,
                              int32_t* height, uint8_t** data, int32_t) {
    Read(handle, day, time, buffer, width, height, data, true);
}

void dbGetActualRecTime(DbHandle handle, uint16_t* day, int32_t* time) {
    uint16_t d = 1;
    int32_t t = 0;
    if (std::shared_ptr<Database> db = HandleTable::Get().Find(handle)) {
        const int64_t newest = db->NewestRecorded();
        if (newest != INT64_MIN) dvrdb::EpochMsToLocalInstant(newest, d, t);
    }
    if (day) *day = d;
    if (time) *time = t;
}

void dbAddMsToDateTime(uint16_t* day, int32_t* time, int64_t ms) {
    if (!day || !time) return;
    int64_t total = (static_cast<int64_t>(*day) - 1) * dvrdb::kDayMs + *time + ms;
    int64_t days = total >= 0 ? total / dvrdb::kDayMs : -((-total + dvrdb::kDayMs - 1) / dvrdb::kDayMs);
    int64_t rest = total - days * dvrdb::kDayMs;
    int64_t d = days + 1;
    if (d < 0) d = 0;
    if (d > 0xFFFF) d = 0xFFFF;
    *day = static_cast<uint16_t>(d);
    *time = static_cast<int32_t>(rest);
}

int64_t dbDateTimeToMs(uint16_t day, int32_t time) {
    return (static_cast<int64_t>(day) - 1) * dvrdb::kDayMs + time;
}

void dbConvertDateTimeToUAPformat(DbSystemTime st, uint16_t* day, int32_t* ms) {
    const int64_t days = dvrdb::DaysFromCivil(st.wYear, st.wMonth ? st.wMonth : 1, st.wDay ? st.wDay : 1);
    int64_t d = days - dvrdb::kEpochDayOf2001 + 1;
    if (d < 0) d = 0;
    if (d > 0xFFFF) d = 0xFFFF;
    if (day) *day = static_cast<uint16_t>(d);
    if (ms) *ms = ((st.wHour * 60 + st.wMinute) * 60 + st.wSecond) * 1000 + st.wMilliseconds;
}

int32_t dbGetArhDuration(DbHandle handle) {
    std::shared_ptr<Database> db = HandleTable::Get().Find(handle);
    return db ? db->Config().months : 0;
}

} // extern "C"
