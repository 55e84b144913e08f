// The month files "Arh1_NN.pdb": a 64-byte header, then one slot per
// recording period from the first recorded one (base) on, at an offset
// found by arithmetic:
//   slot k at 64 + (k - base) * (16 + record size)
//   slot header: int64 instant (epoch ms, UTC), uint32 checksum of the
//   instant and the record, uint32 marker "DVR1"; then the record.
// A slot that was never written (a hole of the sparse file) or that a
// reader catches half-written fails its marker or checksum and reads as
// not recorded.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace dvrdb {

constexpr int kFileHeaderSize = 64;
constexpr int kSlotHeaderSize = 16;
constexpr uint32_t kSlotMarker = 0x31525644;  // "DVR1"

uint32_t Fnv1a(const void* data, size_t size, uint32_t seed = 2166136261u);

// "Arh1_NN.pdb" of month index m in a ring of D months: NN = m mod D + 1.
int RingNumber(int monthIndex, int ringMonths);
std::string MonthFileName(int ringNumber);

struct MonthFileHeader {
    int32_t monthIndex = -1;
    uint32_t periodMs = 0;
    uint32_t recordSize = 0;
    int64_t baseSlot = 0;  // slot index of the file's first slot
};

bool ReadMonthHeader(const platform::PositionedFile& file, MonthFileHeader& header);
bool WriteMonthHeader(platform::PositionedFile& file, const MonthFileHeader& header);

// Slot index of an instant within its month, and the instant the slot holds.
int64_t SlotIndex(int64_t epochMs, int periodMs);
int64_t SlotInstant(int64_t epochMs, int periodMs);
uint64_t SlotOffset(int64_t slotIndex, int64_t baseSlot, int recordSize);

// Reads the slot of epochMs; true with the record in out (recordSize bytes)
// when a complete slot for exactly that instant is there.
bool ReadSlot(const platform::PositionedFile& file, int64_t baseSlot, int64_t epochMs, int periodMs, int recordSize,
              uint8_t* out);
// Reads the slot of epochMs and the one before it in one positioned read;
// have0/have1 tell which of them is complete (out0/out1 zeroed otherwise).
void ReadSlotPair(const platform::PositionedFile& file, int64_t baseSlot, int64_t epochMs, int periodMs,
                  int recordSize, uint8_t* out0, uint8_t* out1, bool& have0, bool& have1);
// Writes the slot of epochMs in one positioned write; slots before the
// file's base cannot be written.
bool WriteSlot(platform::PositionedFile& file, int64_t baseSlot, int64_t epochMs, int periodMs, int recordSize,
               const uint8_t* record);

} // namespace dvrdb
