#include "store.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "calendar.h"

namespace dvrdb {
namespace {

const char kMagic[8] = {'D', 'V', 'R', 'P', 'D', 'B', '1', '\0'};

void Put32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
void Put64(uint8_t* p, int64_t v) { std::memcpy(p, &v, 8); }
uint32_t Get32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
int64_t Get64(const uint8_t* p) {
    int64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

} // namespace

uint32_t Fnv1a(const void* data, size_t size, uint32_t h) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
        h ^= p[i];
        h *= 16777619u;
    }
    return h;
}

int RingNumber(int monthIndex, int ringMonths) {
    if (ringMonths <= 0) return 1;
    int r = monthIndex % ringMonths;
    if (r < 0) r += ringMonths;
    return r + 1;
}

std::string MonthFileName(int ringNumber) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Arh1_%.2d.pdb", ringNumber);
    return buf;
}

bool ReadMonthHeader(const platform::PositionedFile& file, MonthFileHeader& header) {
    uint8_t b[kFileHeaderSize];
    if (file.ReadAt(0, b, sizeof b) != static_cast<long long>(sizeof b)) return false;
    if (std::memcmp(b, kMagic, 8) != 0) return false;
    if (Fnv1a(b, 28) != Get32(b + 28)) return false;
    header.monthIndex = static_cast<int32_t>(Get32(b + 8));
    header.periodMs = Get32(b + 12);
    header.recordSize = Get32(b + 16);
    header.baseSlot = Get64(b + 20);
    return header.baseSlot >= 0 && header.periodMs > 0;
}

bool WriteMonthHeader(platform::PositionedFile& file, const MonthFileHeader& header) {
    uint8_t b[kFileHeaderSize] = {};
    std::memcpy(b, kMagic, 8);
    Put32(b + 8, static_cast<uint32_t>(header.monthIndex));
    Put32(b + 12, header.periodMs);
    Put32(b + 16, header.recordSize);
    Put64(b + 20, header.baseSlot);
    Put32(b + 28, Fnv1a(b, 28));
    return file.WriteAt(0, b, sizeof b);
}

int64_t SlotIndex(int64_t epochMs, int periodMs) {
    const int64_t start = MonthStartEpochMs(MonthIndexOf(epochMs));
    return (epochMs - start) / periodMs;
}

int64_t SlotInstant(int64_t epochMs, int periodMs) {
    const int64_t start = MonthStartEpochMs(MonthIndexOf(epochMs));
    return start + (epochMs - start) / periodMs * periodMs;
}

uint64_t SlotOffset(int64_t slotIndex, int64_t baseSlot, int recordSize) {
    return kFileHeaderSize +
           static_cast<uint64_t>(slotIndex - baseSlot) * static_cast<uint64_t>(kSlotHeaderSize + recordSize);
}

bool ReadSlot(const platform::PositionedFile& file, int64_t baseSlot, int64_t epochMs, int periodMs, int recordSize,
              uint8_t* out) {
    const int64_t instant = SlotInstant(epochMs, periodMs);
    const int64_t slot = SlotIndex(epochMs, periodMs);
    if (slot < baseSlot) return false;
    const size_t slotSize = static_cast<size_t>(kSlotHeaderSize + recordSize);
    uint8_t stackBuf[1024];
    std::vector<uint8_t> heap;
    uint8_t* buf = stackBuf;
    if (slotSize > sizeof stackBuf) {
        heap.resize(slotSize);
        buf = heap.data();
    }
    if (file.ReadAt(SlotOffset(slot, baseSlot, recordSize), buf, slotSize) !=
        static_cast<long long>(slotSize))
        return false;
    if (Get32(buf + 12) != kSlotMarker || Get64(buf) != instant) return false;
    uint32_t sum = Fnv1a(buf + kSlotHeaderSize, static_cast<size_t>(recordSize), Fnv1a(buf, 8));
    if (sum != Get32(buf + 8)) return false;
    std::memcpy(out, buf + kSlotHeaderSize, static_cast<size_t>(recordSize));
    return true;
}

namespace {

bool CheckSlot(const uint8_t* buf, int64_t instant, int recordSize) {
    if (Get32(buf + 12) != kSlotMarker || Get64(buf) != instant) return false;
    return Fnv1a(buf + kSlotHeaderSize, static_cast<size_t>(recordSize), Fnv1a(buf, 8)) == Get32(buf + 8);
}

} // namespace

void ReadSlotPair(const platform::PositionedFile& file, int64_t baseSlot, int64_t epochMs, int periodMs,
                  int recordSize, uint8_t* out0, uint8_t* out1, bool& have0, bool& have1) {
    have0 = have1 = false;
    const int64_t slot = SlotIndex(epochMs, periodMs);
    const int64_t instant = SlotInstant(epochMs, periodMs);
    const size_t slotSize = static_cast<size_t>(kSlotHeaderSize + recordSize);
    const int64_t first = slot - 1 >= baseSlot ? slot - 1 : slot;
    if (slot >= baseSlot) {
        thread_local std::vector<uint8_t> buf;
        const size_t count = static_cast<size_t>(slot - first + 1);
        buf.resize(slotSize * count);
        long long n = file.ReadAt(SlotOffset(first, baseSlot, recordSize), buf.data(), buf.size());
        if (n > 0) {
            const uint8_t* last = buf.data() + slotSize * (count - 1);
            if (static_cast<size_t>(n) == buf.size() && CheckSlot(last, instant, recordSize)) {
                std::memcpy(out0, last + kSlotHeaderSize, static_cast<size_t>(recordSize));
                have0 = true;
            }
            if (count == 2 && static_cast<size_t>(n) >= slotSize && CheckSlot(buf.data(), instant - periodMs, recordSize)) {
                std::memcpy(out1, buf.data() + kSlotHeaderSize, static_cast<size_t>(recordSize));
                have1 = true;
            }
        }
    }
    if (!have0) std::memset(out0, 0, static_cast<size_t>(recordSize));
    if (!have1) std::memset(out1, 0, static_cast<size_t>(recordSize));
}

bool WriteSlot(platform::PositionedFile& file, int64_t baseSlot, int64_t epochMs, int periodMs, int recordSize,
               const uint8_t* record) {
    const int64_t instant = SlotInstant(epochMs, periodMs);
    const int64_t slot = SlotIndex(epochMs, periodMs);
    if (slot < baseSlot) return false;
    std::vector<uint8_t> buf(static_cast<size_t>(kSlotHeaderSize + recordSize));
    Put64(buf.data(), instant);
    std::memcpy(buf.data() + kSlotHeaderSize, record, static_cast<size_t>(recordSize));
    Put32(buf.data() + 8, Fnv1a(buf.data() + kSlotHeaderSize, static_cast<size_t>(recordSize), Fnv1a(buf.data(), 8)));
    Put32(buf.data() + 12, kSlotMarker);
    return file.WriteAt(SlotOffset(slot, baseSlot, recordSize), buf.data(), buf.size());
}

} // namespace dvrdb
