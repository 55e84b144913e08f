// Archive database reads against the bare work they contain: a sample read
// against a pread of the same record bytes, a read with picture against
// decoding the same JPEG bytes, the recorder against bare pwrites.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "calendar.h"
#include "database.h"
#include "dvrdb.h"
#include "platform/platform.h"
#include "ratio_reporter.h"
#include "signals.h"
#include "store.h"
#include "video.h"
#include "writer.h"

namespace {

struct Fixture {
    std::string root, db;
    int64_t start = 0, end = 0;
    DbHandle handle = DB_INVALID_HANDLE;
    std::vector<int64_t> instants;
    std::vector<std::vector<uint8_t>> jpegs;
    int recordSize = 0;
    Fixture() {
        root = platform::TempDirectory() + "trakvue-bench-dvrdb";
        std::system(("rm -rf '" + root + "'").c_str());
        const std::string cmd = std::string(DVRSTATION) + " create '" + root +
                                "' --cameras 1 --hours 0.1 --picture 640x480 --fps 2 > '" + root + ".txt'";
        if (std::system(cmd.c_str()) != 0) std::abort();
        db = root + "/cam1";
        end = platform::NowEpochMs() / 200 * 200;
        start = end - 360000;
        handle = dbOpenDatabase(db.c_str(), 1, 1);
        recordSize = static_cast<int>(dbGetDBDsr(handle).recordSize);
        std::mt19937_64 rng(42);
        // Instants in the first third of the history: clear of the pause
        // and the stall.
        for (int i = 0; i < 4096; ++i) instants.push_back(start + 2000 + static_cast<int64_t>(rng() % 100000));
        auto database = dvrdb::Database::Open(db);
        for (int i = 0; i < 64; ++i) {
            int64_t at;
            std::vector<uint8_t> j;
            if (database->FindPicture(instants[static_cast<size_t>(i)], at, j)) jpegs.push_back(j);
        }
    }
    ~Fixture() { std::system(("rm -rf '" + root + "' '" + root + ".txt'").c_str()); }
};

Fixture& F() {
    static Fixture f;
    return f;
}

struct Buffer {
    explicit Buffer(DbHandle h, int recordSize) {
        std::memset(&b, 0, sizeof b);
        for (int i = 0; i < 3; ++i) {
            blocks[i].assign(static_cast<size_t>(recordSize + 16), 0);
            b.section[i].data = blocks[i].data();
            b.section[i].capacity = recordSize + 16;
            b.section[i].current = b.section[i].data;
        }
        (void)h;
    }
    DbSampleBuffer b;
    std::vector<uint8_t> blocks[3];
};

void BM_ReadSample(benchmark::State& state) {
    Fixture& f = F();
    Buffer buf(f.handle, f.recordSize);
    size_t i = 0;
    for (auto _ : state) {
        uint16_t day;
        int32_t time;
        dvrdb::EpochMsToUtcInstant(f.instants[i++ % f.instants.size()], day, time);
        dbNativeGetDataBySysTime(f.handle, day, time, &buf.b, nullptr, nullptr, nullptr, 0);
        benchmark::DoNotOptimize(buf.blocks[0][0]);
    }
}

void BM_BarePread(benchmark::State& state) {
    Fixture& f = F();
    platform::PositionedFile file;
    const int nn = dvrdb::RingNumber(dvrdb::MonthIndexOf(f.start), 12);
    file.OpenRead(f.db + "/" + dvrdb::MonthFileName(nn));
    dvrdb::MonthFileHeader h;
    dvrdb::ReadMonthHeader(file, h);
    std::vector<uint8_t> buf(static_cast<size_t>(f.recordSize + 16));
    size_t i = 0;
    for (auto _ : state) {
        const int64_t t = f.instants[i++ % f.instants.size()];
        file.ReadAt(dvrdb::SlotOffset(dvrdb::SlotIndex(t, 200), h.baseSlot, f.recordSize), buf.data(), buf.size());
        benchmark::DoNotOptimize(buf[0]);
    }
}

void BM_ReadWithPicture(benchmark::State& state) {
    Fixture& f = F();
    Buffer buf(f.handle, f.recordSize);
    size_t i = 0;
    for (auto _ : state) {
        uint16_t day;
        int32_t time;
        dvrdb::EpochMsToUtcInstant(f.instants[i++ % 64], day, time);
        int32_t w, h;
        uint8_t* rgb = nullptr;
        dbNativeGetDataBySysTime(f.handle, day, time, &buf.b, &w, &h, &rgb, 0);
        benchmark::DoNotOptimize(rgb);
    }
}

void BM_BareDecode(benchmark::State& state) {
    Fixture& f = F();
    std::vector<uint8_t> rgb;
    size_t i = 0;
    for (auto _ : state) {
        const auto& j = f.jpegs[i++ % f.jpegs.size()];
        int w, h;
        dvrdb::DecodeJpeg(j.data(), j.size(), rgb, w, h);
        benchmark::DoNotOptimize(rgb.data());
    }
}

void BM_RecorderRecords(benchmark::State& state) {
    const std::string dir = platform::TempDirectory() + "trakvue-bench-writer";
    std::system(("rm -rf '" + dir + "'").c_str());
    dvrdb::Writer w;
    w.Create(dir, station::MakeConfig(1, 200, 12, 640, 480, 1), nullptr);
    std::vector<uint8_t> record;
    station::FillRecord(w.Config(), 1, 0, record);
    int64_t t = dvrdb::MonthStartEpochMs(311);
    for (auto _ : state) {
        w.WriteRecord(t, record.data());
        t += 200;
    }
    w.Close();
    std::system(("rm -rf '" + dir + "'").c_str());
}

void BM_BarePwrite(benchmark::State& state) {
    const std::string path = platform::TempDirectory() + "trakvue-bench-pwrite";
    platform::PositionedFile file;
    file.OpenWrite(path);
    file.Truncate(0);
    std::vector<uint8_t> slot(static_cast<size_t>(station::MakeConfig(1, 200, 12, 640, 480, 1).recordSize + 16), 7);
    uint64_t offset = 64;
    for (auto _ : state) {
        file.WriteAt(offset, slot.data(), slot.size());
        offset += slot.size();
    }
    file.Close();
    platform::RemoveFile(path.c_str());
}

BENCHMARK(BM_ReadSample)->Repetitions(5);
BENCHMARK(BM_BarePread)->Repetitions(5);
BENCHMARK(BM_ReadWithPicture)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareDecode)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecorderRecords)->Repetitions(5);
BENCHMARK(BM_BarePwrite)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::RunWithRatios(argc, argv, {
        {"sample read / bare pread (time, goal <= 3)", "BM_ReadSample/repeats:5", "BM_BarePread/repeats:5", false},
        {"read with picture / bare decode (goal <= 1.2)", "BM_ReadWithPicture/repeats:5", "BM_BareDecode/repeats:5", false},
        {"recorder record / bare pwrite (time)", "BM_RecorderRecords/repeats:5", "BM_BarePwrite/repeats:5", false},
    });
}
