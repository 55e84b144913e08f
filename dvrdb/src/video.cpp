#include "video.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "calendar.h"
#include "store.h"

namespace dvrdb {
namespace {

constexpr int kMaxDimension = 4096;
constexpr size_t kMaxPictureBytes = 16u << 20;
constexpr int64_t kRelistEveryUs = 1000000;  // new files show up within a second
constexpr size_t kCachedIndexes = 8;

void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutFcc(std::vector<uint8_t>& b, const char* f) { b.insert(b.end(), f, f + 4); }

// Header layout: everything before the first movi chunk has a fixed size.
constexpr uint32_t kHdrlListSize = 4 + (8 + 56) + (12 + (8 + 56) + (8 + 40));
constexpr uint32_t kMoviListPos = 12 + 8 + kHdrlListSize;  // "LIST" of movi
constexpr uint32_t kFirstChunkPos = kMoviListPos + 12;

class TjHandle {
public:
    explicit TjHandle(bool compress) : h(compress ? tjInitCompress() : tjInitDecompress()) {}
    ~TjHandle() {
        if (h) tjDestroy(h);
    }
    tjhandle h;
};

} // namespace

std::string FormatVideoFileName(int64_t startEpochMs, int ringNumber) {
    int64_t days = startEpochMs >= 0 ? startEpochMs / kDayMs : (startEpochMs - kDayMs + 1) / kDayMs;
    int64_t ms = startEpochMs - days * kDayMs;
    int y, m, d;
    CivilFromDays(days, y, m, d);
    char buf[64];
    std::snprintf(buf, sizeof buf, "Arh1_%04d%02d%02d_%.2d_%02d%02d%02d.avi", y, m, d, ringNumber,
                  static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60));
    return buf;
}

bool ParseVideoFileName(const std::string& name, VideoFileName& out) {
    // Arh1_YYYYMMDD_NN_HHMMSS.avi
    if (name.size() != 27 || name.compare(0, 5, "Arh1_") != 0 || name.compare(23, 4, ".avi") != 0 || name[13] != '_' ||
        name[16] != '_')
        return false;
    auto digits = [&](size_t pos, size_t n, int& v) {
        v = 0;
        for (size_t i = pos; i < pos + n; ++i) {
            if (name[i] < '0' || name[i] > '9') return false;
            v = v * 10 + (name[i] - '0');
        }
        return true;
    };
    int y, mo, d, nn, h, mi, s;
    if (!digits(5, 4, y) || !digits(9, 2, mo) || !digits(11, 2, d) || !digits(14, 2, nn) || !digits(17, 2, h) ||
        !digits(19, 2, mi) || !digits(21, 2, s))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59 || nn < 1 || nn > 12) return false;
    out.startEpochMs = DaysFromCivil(y, mo, d) * kDayMs + ((h * 60 + mi) * 60 + s) * 1000LL;
    out.ringNumber = nn;
    return true;
}

void EncodeIndexEntry(const IndexEntry& e, uint8_t* out) {
    std::memcpy(out, &e.instant, 8);
    std::memcpy(out + 8, &e.offset, 8);
    std::memcpy(out + 16, &e.size, 4);
    uint32_t sum = Fnv1a(out, 20);
    std::memcpy(out + 20, &sum, 4);
}

bool DecodeIndexEntry(const uint8_t* in, IndexEntry& e) {
    uint32_t sum;
    std::memcpy(&sum, in + 20, 4);
    if (Fnv1a(in, 20) != sum) return false;
    std::memcpy(&e.instant, in, 8);
    std::memcpy(&e.offset, in + 8, 8);
    std::memcpy(&e.size, in + 16, 4);
    return e.size > 0 && e.size <= kMaxPictureBytes;
}

// ---------------------------------------------------------------- AviWriter

AviWriter::~AviWriter() { Finish(); }

bool AviWriter::WriteHeaders(uint32_t frames, uint32_t moviSize, uint32_t riffSize) {
    std::vector<uint8_t> b;
    const uint32_t usPerFrame = static_cast<uint32_t>(1000000.0 / m_fps);
    PutFcc(b, "RIFF");
    Put32(b, riffSize);
    PutFcc(b, "AVI ");
    PutFcc(b, "LIST");
    Put32(b, kHdrlListSize);
    PutFcc(b, "hdrl");
    PutFcc(b, "avih");
    Put32(b, 56);
    Put32(b, usPerFrame);
    Put32(b, m_maxFrame * static_cast<uint32_t>(m_fps + 1));
    Put32(b, 0);
    Put32(b, 0x10);  // has an index
    Put32(b, frames);
    Put32(b, 0);
    Put32(b, 1);
    Put32(b, m_maxFrame);
    Put32(b, static_cast<uint32_t>(m_width));
    Put32(b, static_cast<uint32_t>(m_height));
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    PutFcc(b, "LIST");
    Put32(b, 4 + (8 + 56) + (8 + 40));
    PutFcc(b, "strl");
    PutFcc(b, "strh");
    Put32(b, 56);
    PutFcc(b, "vids");
    PutFcc(b, "MJPG");
    Put32(b, 0);
    Put16(b, 0);
    Put16(b, 0);
    Put32(b, 0);
    Put32(b, 1000);                                        // scale
    Put32(b, static_cast<uint32_t>(m_fps * 1000 + 0.5));   // rate
    Put32(b, 0);
    Put32(b, frames);
    Put32(b, m_maxFrame);
    Put32(b, 0xFFFFFFFFu);
    Put32(b, 0);
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, static_cast<uint16_t>(m_width));
    Put16(b, static_cast<uint16_t>(m_height));
    PutFcc(b, "strf");
    Put32(b, 40);
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(m_width));
    Put32(b, static_cast<uint32_t>(m_height));
    Put16(b, 1);
    Put16(b, 24);
    PutFcc(b, "MJPG");
    Put32(b, static_cast<uint32_t>(m_width * m_height * 3));
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    PutFcc(b, "LIST");
    Put32(b, moviSize);
    PutFcc(b, "movi");
    return b.size() == kFirstChunkPos && m_file.WriteAt(0, b.data(), b.size());
}

bool AviWriter::Create(const std::string& path, int width, int height, double fps) {
    Finish();
    if (!m_file.OpenWrite(path) || !m_file.Truncate(0)) return false;
    m_width = width;
    m_height = height;
    m_fps = fps > 0 ? fps : 1;
    m_maxFrame = 0;
    m_frames.clear();
    m_entries.clear();
    // Sizes that cover "to the end of the file" until Finish sets them.
    return WriteHeaders(0, 4, 0xFFFFFFF0u);
}

bool AviWriter::AddFrame(int64_t instant, const uint8_t* jpeg, size_t size, uint64_t& offset) {
    if (!m_file.IsOpen() || size == 0 || size > kMaxPictureBytes) return false;
    long long end = m_file.Size();
    if (end < kFirstChunkPos) return false;
    std::vector<uint8_t> chunk;
    chunk.reserve(size + 9);
    PutFcc(chunk, "00dc");
    Put32(chunk, static_cast<uint32_t>(size));
    chunk.insert(chunk.end(), jpeg, jpeg + size);
    if (size & 1) chunk.push_back(0);
    if (!m_file.WriteAt(static_cast<uint64_t>(end), chunk.data(), chunk.size())) return false;
    offset = static_cast<uint64_t>(end) + 8;
    m_frames.emplace_back(static_cast<uint32_t>(end - (kMoviListPos + 8)), static_cast<uint32_t>(size));
    m_entries.push_back(IndexEntry{instant, offset, static_cast<uint32_t>(size)});
    m_maxFrame = std::max(m_maxFrame, static_cast<uint32_t>(size));
    return true;
}

bool AviWriter::Finish() {
    if (!m_file.IsOpen()) return true;
    long long end = m_file.Size();
    bool ok = end >= kFirstChunkPos;
    if (ok) {
        std::vector<uint8_t> idx;
        PutFcc(idx, "idx1");
        Put32(idx, static_cast<uint32_t>(m_frames.size() * 16));
        for (const auto& f : m_frames) {
            PutFcc(idx, "00dc");
            Put32(idx, 0x10);
            Put32(idx, f.first);
            Put32(idx, f.second);
        }
        PutFcc(idx, "dvix");
        Put32(idx, static_cast<uint32_t>(m_entries.size() * kIndexEntrySize));
        for (const IndexEntry& e : m_entries) {
            uint8_t b[kIndexEntrySize];
            EncodeIndexEntry(e, b);
            idx.insert(idx.end(), b, b + kIndexEntrySize);
        }
        ok = m_file.WriteAt(static_cast<uint64_t>(end), idx.data(), idx.size());
        const uint32_t moviSize = static_cast<uint32_t>(end - (kMoviListPos + 8));
        const uint32_t riffSize = static_cast<uint32_t>(end + static_cast<long long>(idx.size()) - 8);
        ok = ok && WriteHeaders(static_cast<uint32_t>(m_frames.size()), moviSize, riffSize);
    }
    m_file.Close();
    m_frames.clear();
    m_entries.clear();
    return ok;
}

std::vector<IndexEntry> ReadEmbeddedIndex(const std::string& aviPath) {
    std::vector<IndexEntry> out;
    platform::PositionedFile f;
    if (!f.OpenRead(aviPath)) return out;
    const long long size = f.Size();
    uint8_t head[12];
    if (size < 12 || f.ReadAt(0, head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "AVI ", 4) != 0)
        return out;
    // Walk the top-level chunks; a file that was never completed has no
    // usable sizes, so the walk gives up after a few chunks.
    uint64_t pos = 12;
    for (int chunks = 0; chunks < 16 && pos + 8 <= static_cast<uint64_t>(size); ++chunks) {
        uint8_t ck[8];
        if (f.ReadAt(pos, ck, 8) != 8) break;
        uint32_t len;
        std::memcpy(&len, ck + 4, 4);
        if (std::memcmp(ck, "dvix", 4) == 0) {
            if (len % kIndexEntrySize != 0 || pos + 8 + len > static_cast<uint64_t>(size)) break;
            std::vector<uint8_t> buf(len);
            if (f.ReadAt(pos + 8, buf.data(), len) != static_cast<long long>(len)) break;
            for (size_t i = 0; i < buf.size(); i += kIndexEntrySize) {
                IndexEntry e;
                if (!DecodeIndexEntry(buf.data() + i, e)) break;
                if (!out.empty() && e.instant < out.back().instant) break;
                out.push_back(e);
            }
            break;
        }
        pos += 8 + static_cast<uint64_t>(len) + (len & 1);
    }
    return out;
}

// ------------------------------------------------------------- VideoLibrary

void VideoLibrary::Relist(int64_t nowMono) {
    m_listing.files.clear();
    m_listing.listedAt = nowMono;
    platform::DirSearch search;
    platform::DirEntry e;
    for (bool ok = search.First((m_folder + "/Arh1_*.avi").c_str(), e); ok; ok = search.Next(e)) {
        VideoFileName v;
        if ((e.attributes & platform::kAttrArchive) && ParseVideoFileName(e.name, v))
            m_listing.files.emplace_back(v.startEpochMs, e.name);
    }
    std::sort(m_listing.files.begin(), m_listing.files.end());
}

std::shared_ptr<VideoLibrary::IndexCache> VideoLibrary::IndexOf(const std::string& name, bool newest) {
    std::shared_ptr<IndexCache> cache;
    for (size_t i = 0; i < m_indexes.size(); ++i) {
        if (m_indexes[i]->name == name) {
            cache = m_indexes[i];
            m_indexes.erase(m_indexes.begin() + static_cast<long>(i));
            break;
        }
    }
    if (!cache) {
        cache = std::make_shared<IndexCache>();
        cache->name = name;
    }
    m_indexes.insert(m_indexes.begin(), cache);
    if (m_indexes.size() > kCachedIndexes) m_indexes.pop_back();

    // The newest file still grows: read what was appended since last time.
    if (cache->bytesRead == 0 || newest) {
        platform::PositionedFile f;
        if (!f.OpenRead(m_folder + "/" + name + ".idx")) {
            // No index beside it (a copy of the AVI alone): its own entries.
            if (!cache->embeddedTried && cache->entries.empty()) {
                cache->embeddedTried = true;
                cache->entries = ReadEmbeddedIndex(m_folder + "/" + name);
            }
        } else {
            long long size = f.Size();
            if (size >= 0 && static_cast<uint64_t>(size) < cache->bytesRead) {  // rewritten: start over
                cache->entries.clear();
                cache->bytesRead = 0;
            }
            if (size > 0 && static_cast<uint64_t>(size) > cache->bytesRead) {
                uint64_t whole = static_cast<uint64_t>(size) / kIndexEntrySize * kIndexEntrySize;
                std::vector<uint8_t> buf(whole - cache->bytesRead);
                long long n = f.ReadAt(cache->bytesRead, buf.data(), buf.size());
                if (n == static_cast<long long>(buf.size())) {
                    for (size_t i = 0; i + kIndexEntrySize <= buf.size(); i += kIndexEntrySize) {
                        IndexEntry e;
                        // A damaged entry or one out of order ends what is usable.
                        if (!DecodeIndexEntry(buf.data() + i, e)) break;
                        if (!cache->entries.empty() && e.instant < cache->entries.back().instant) break;
                        cache->entries.push_back(e);
                        cache->bytesRead += kIndexEntrySize;
                    }
                }
            }
        }
    }
    return cache;
}

bool VideoLibrary::FindPicture(int64_t instant, int64_t lookBackMs, int64_t& pictureInstant,
                               std::vector<uint8_t>& jpeg) {
    IndexEntry found{};
    std::string file;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int64_t now = platform::MonotonicMicros();
        if (m_listing.listedAt < 0 || now - m_listing.listedAt >= kRelistEveryUs) Relist(now);
        auto& files = m_listing.files;
        // The last file that starts at or before the instant, then older ones.
        auto it = std::upper_bound(files.begin(), files.end(), std::make_pair(instant, std::string("\x7f")));
        bool have = false;
        while (it != files.begin() && !have) {
            --it;
            if (it->first < instant - lookBackMs - 3600000) break;
            const bool newest = (it + 1 == files.end());
            std::shared_ptr<IndexCache> idx = IndexOf(it->second, newest);
            auto e = std::upper_bound(idx->entries.begin(), idx->entries.end(), instant,
                                      [](int64_t t, const IndexEntry& x) { return t < x.instant; });
            if (e != idx->entries.begin()) {
                found = *(e - 1);
                file = it->second;
                have = true;
            }
        }
        if (!have || instant - found.instant > lookBackMs) return false;
    }
    platform::PositionedFile avi;
    if (!avi.OpenRead(m_folder + "/" + file)) return false;
    jpeg.resize(found.size);
    if (avi.ReadAt(found.offset, jpeg.data(), found.size) != static_cast<long long>(found.size)) return false;
    pictureInstant = found.instant;
    return true;
}

// --------------------------------------------------------------------- JPEG

bool EncodeJpeg(const uint8_t* rgb, int width, int height, int quality, std::vector<uint8_t>& out) {
    thread_local TjHandle tj(true);
    if (!tj.h) return false;
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    if (tjCompress2(tj.h, rgb, width, 0, height, TJPF_RGB, &buf, &size, TJSAMP_420, quality, TJFLAG_FASTDCT) != 0) {
        if (buf) tjFree(buf);
        return false;
    }
    out.assign(buf, buf + size);
    tjFree(buf);
    return true;
}

bool DecodeJpeg(const uint8_t* data, size_t size, std::vector<uint8_t>& rgb, int& width, int& height) {
    thread_local TjHandle tj(false);
    if (!tj.h || !data || size < 4 || size > kMaxPictureBytes) return false;
    int w = 0, h = 0, sub = 0, cs = 0;
    if (tjDecompressHeader3(tj.h, data, static_cast<unsigned long>(size), &w, &h, &sub, &cs) != 0) return false;
    if (w <= 0 || h <= 0 || w > kMaxDimension || h > kMaxDimension) return false;
    rgb.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    if (tjDecompress2(tj.h, data, static_cast<unsigned long>(size), rgb.data(), w, 0, h, TJPF_RGB, TJFLAG_FASTDCT) != 0 &&
        tjGetErrorCode(tj.h) != TJERR_WARNING)
        return false;  // a warning still leaves a usable, partly grey picture
    width = w;
    height = h;
    return true;
}

} // namespace dvrdb
