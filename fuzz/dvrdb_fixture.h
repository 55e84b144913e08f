// A small valid database made once per fuzzing process; each input is a
// list of patches (offset, length, bytes) applied to one of its files.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "calendar.h"
#include "database.h"
#include "platform/platform.h"
#include "prm.h"
#include "video.h"
#include "writer.h"

namespace fuzzdb {

constexpr int64_t kStart = 1796083200000;  // 2026-12-01 00:00:00 UTC

inline const std::string& Folder() {
    static std::string folder = [] {
        char tmpl[] = "/tmp/trakvue-fuzz-db-XXXXXX";
        std::string dir = mkdtemp(tmpl) ? tmpl : "/tmp";
        dvrdb::DbConfig c;
        c.periodMs = 1000;
        c.pictureWidth = 32;
        c.pictureHeight = 16;
        dvrdb::ParamDef p;
        p.type = 6;
        p.progId = "N";
        p.accuracy = "%d";
        c.params.push_back(p);
        dvrdb::AssignOffsets(c);
        dvrdb::Writer w;
        w.Create(dir + "/db", c, nullptr);
        std::vector<uint8_t> rgb(32 * 16 * 3), jpeg;
        for (int i = 0; i < 40; ++i) {
            int32_t v = i * 3;
            w.WriteRecord(kStart + i * 1000, reinterpret_cast<uint8_t*>(&v));
            for (size_t k = 0; k < rgb.size(); ++k) rgb[k] = static_cast<uint8_t>(k * i);
            dvrdb::EncodeJpeg(rgb.data(), 32, 16, 70, jpeg);
            if (i % 2 == 0) w.WritePicture(kStart + i * 1000, jpeg.data(), jpeg.size());
        }
        w.Close();
        return dir + "/db";
    }();
    return folder;
}

// Copies the pristine file, then applies the patches of the input to it.
inline void Patch(const std::string& pristine, const std::string& target, const uint8_t* data, size_t size) {
    std::string bytes;
    platform::ReadWholeFile(pristine, bytes);
    size_t i = 0;
    while (i + 3 <= size) {
        uint32_t offset = (static_cast<uint32_t>(data[i]) << 8 | data[i + 1]) * 7;
        size_t len = data[i + 2] % 32;
        i += 3;
        if (len == 31) {  // cut the file here
            if (offset < bytes.size()) bytes.resize(offset);
            continue;
        }
        for (size_t k = 0; k < len && i < size; ++k, ++i) {
            if (offset + k < bytes.size()) bytes[offset + k] = static_cast<char>(data[i]);
            else bytes.push_back(static_cast<char>(data[i]));
        }
    }
    platform::WriteFileAtomic(target, bytes.data(), bytes.size());
}

// Reads every second of the recorded minute, with pictures.
inline void ReadAll(const std::string& folder) {
    std::shared_ptr<dvrdb::Database> db = dvrdb::Database::Open(folder);
    if (!db) return;
    std::vector<uint8_t> rec(static_cast<size_t>(db->Config().recordSize)), jpeg, rgb;
    for (int64_t t = kStart - 2000; t < kStart + 45000; t += 1000) {
        db->ReadRecord(t, rec.data());
        int64_t at;
        int w, h;
        if (db->FindPicture(t, at, jpeg)) dvrdb::DecodeJpeg(jpeg.data(), jpeg.size(), rgb, w, h);
    }
    db->NewestRecorded();
}

} // namespace fuzzdb
