// Camera video: MJPEG AVI files under video/, one per recording hour,
// named "Arh1_<YYYYMMDD>_<NN>_<HHMMSS>.avi" after the UTC instant of their
// first picture and the ring number NN of its month, each with an index
// "<name>.idx" of 24-byte entries:
//   int64 instant (epoch ms, UTC), uint64 offset of the JPEG bytes in the
//   AVI, uint32 size, uint32 checksum of the first 20 bytes.
// The recorder writes a picture's bytes before its index entry, so a reader
// that finds a complete entry finds the complete picture. A completed AVI
// also carries the same entries in a "dvix" chunk after its idx1, so a copy
// of the AVI alone (from an archive zip) still has its pictures' instants.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace dvrdb {

struct VideoFileName {
    int64_t startEpochMs = 0;  // whole second
    int ringNumber = 0;
};

std::string FormatVideoFileName(int64_t startEpochMs, int ringNumber);
bool ParseVideoFileName(const std::string& name, VideoFileName& out);

struct IndexEntry {
    int64_t instant;
    uint64_t offset;
    uint32_t size;
};

constexpr int kIndexEntrySize = 24;
void EncodeIndexEntry(const IndexEntry& e, uint8_t* out);
bool DecodeIndexEntry(const uint8_t* in, IndexEntry& e);

// Writes one MJPEG AVI that ordinary players open; the header sizes and
// the idx1 index are completed by Finish.
class AviWriter {
public:
    AviWriter() = default;
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    bool Create(const std::string& path, int width, int height, double fps);
    // Appends one JPEG picture of the instant; offset receives the position
    // of its bytes.
    bool AddFrame(int64_t instant, const uint8_t* jpeg, size_t size, uint64_t& offset);
    bool Finish();
    bool IsOpen() const { return m_file.IsOpen(); }
    uint32_t Frames() const { return static_cast<uint32_t>(m_frames.size()); }

private:
    bool WriteHeaders(uint32_t frames, uint32_t moviSize, uint32_t riffSize);

    platform::PositionedFile m_file;
    int m_width = 0, m_height = 0;
    double m_fps = 1;
    uint32_t m_maxFrame = 0;
    std::vector<std::pair<uint32_t, uint32_t>> m_frames;  // offset from "movi", size
    std::vector<IndexEntry> m_entries;
};

// Pictures of one database folder, found through the file names and the
// indexes; safe for concurrent readers.
class VideoLibrary {
public:
    explicit VideoLibrary(std::string videoFolder) : m_folder(std::move(videoFolder)) {}

    // The newest picture at or before instant, looking back at most lookBackMs.
    // Fills jpeg with its bytes; false when there is none.
    bool FindPicture(int64_t instant, int64_t lookBackMs, int64_t& pictureInstant, std::vector<uint8_t>& jpeg);

private:
    struct IndexCache {
        std::string name;
        std::vector<IndexEntry> entries;
        uint64_t bytesRead = 0;
        bool embeddedTried = false;
    };
    struct Listing {
        std::vector<std::pair<int64_t, std::string>> files;  // by start instant
        int64_t listedAt = -1;
    };

    void Relist(int64_t nowMono);
    std::shared_ptr<IndexCache> IndexOf(const std::string& name, bool newest);

    std::string m_folder;
    std::mutex m_mutex;
    Listing m_listing;
    std::vector<std::shared_ptr<IndexCache>> m_indexes;  // most recent first
};

// The entries of a completed AVI's "dvix" chunk; empty when it has none.
std::vector<IndexEntry> ReadEmbeddedIndex(const std::string& aviPath);

// JPEG through libjpeg-turbo.
bool EncodeJpeg(const uint8_t* rgb, int width, int height, int quality, std::vector<uint8_t>& out);
// Decodes to RGB; false for data that is not a JPEG of at most 4096 x 4096.
bool DecodeJpeg(const uint8_t* data, size_t size, std::vector<uint8_t>& rgb, int& width, int& height);

} // namespace dvrdb
