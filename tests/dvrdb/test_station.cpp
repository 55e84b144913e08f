// The twelve functions on a station made by dvrstation.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <set>
#include <thread>
#include <vector>

#include "calendar.h"
#include "dvrdb.h"
#include "platform/platform.h"
#include "scene.h"
#include "signals.h"
#include "tempdir.h"

namespace {

constexpr uint32_t kSeed = 7;
constexpr int kPeriod = 200;

struct History {
    int64_t start = 0, end = 0, pauseFrom = 0, pauseTo = 0, stallFrom = 0, stallTo = 0;
    int stallCamera = 0;
};

// A sample buffer prepared as the client prepares it.
struct Buffer {
    explicit Buffer(DbHandle h) {
        DbDescriptor d = dbGetDBDsr(h);
        size = static_cast<int>(d.recordSize) + 16;
        std::memset(&b, 0, sizeof b);
        for (auto& s : b.section) {
            std::memcpy(s.descriptor, &d, sizeof d);
            blocks.emplace_back(static_cast<size_t>(size), 0xAB);
            s.data = blocks.back().data();
            s.capacity = size;
            s.current = s.data;
        }
    }
    uint16_t Status(int section = 0) const {
        uint16_t s;
        std::memcpy(&s, b.section[section].current, 2);
        return s;
    }
    const uint8_t* Record(int section = 2) const { return b.section[section].current + 16; }
    DbSampleBuffer b;
    int size;
    std::vector<std::vector<uint8_t>> blocks;
};

class Station : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new testsupport::TempDir;
        const std::string out = dir->path() + "/create.txt";
        const std::string cmd = std::string(DVRSTATION) + " create '" + dir->path() +
                                "/st' --cameras 2 --hours 0.1 --seed 7 --period 200 --picture 320x240 --fps 2 > '" +
                                out + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        std::ifstream in(out);
        std::string line;
        while (std::getline(in, line)) {
            long long a, b;
            int cam;
            if (std::sscanf(line.c_str(), "history %lld .. %lld", &a, &b) == 2) { history.start = a; history.end = b; }
            if (std::sscanf(line.c_str(), "pause %lld .. %lld", &a, &b) == 2) { history.pauseFrom = a; history.pauseTo = b; }
            if (std::sscanf(line.c_str(), "stall camera %d %lld .. %lld", &cam, &a, &b) == 3) {
                history.stallCamera = cam;
                history.stallFrom = a;
                history.stallTo = b;
            }
        }
        ASSERT_GT(history.end, history.start);
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }

    static std::string Cam(int n) { return dir->path() + "/st/cam" + std::to_string(n); }

    static void Utc(int64_t epochMs, uint16_t& day, int32_t& time) { dvrdb::EpochMsToUtcInstant(epochMs, day, time); }

    static const DbValueInfo* Info(DbHandle h, const char* name) {
        DbDescriptor d = dbGetDBDsr(h);
        const char* n = name;
        return d.resolver ? d.resolver(d.keyWithHeader, &n) : nullptr;
    }

    static testsupport::TempDir* dir;
    static History history;
};

testsupport::TempDir* Station::dir = nullptr;
History Station::history;

float FloatAt(const uint8_t* rec, int offset) {
    float f;
    std::memcpy(&f, rec + offset, 4);
    return f;
}

} // namespace

TEST_F(Station, OpenRefusesWhatIsNotADatabase) {
    EXPECT_EQ(dbOpenDatabase("", 1, 1), DB_INVALID_HANDLE);
    EXPECT_EQ(dbOpenDatabase(nullptr, 1, 1), DB_INVALID_HANDLE);
    EXPECT_EQ(dbOpenDatabase((dir->path() + "/missing").c_str(), 1, 1), DB_INVALID_HANDLE);
    EXPECT_EQ(dbOpenDatabase(dir->path().c_str(), 1, 1), DB_INVALID_HANDLE);  // no Prm.cfg
    testsupport::TempDir t;
    t.Write("bad/Prm.cfg", std::string("\x7f" "ELF garbage\0\1\2", 16));
    EXPECT_EQ(dbOpenDatabase((t.path() + "/bad").c_str(), 1, 1), DB_INVALID_HANDLE);
    t.Write("noperiod/Prm.cfg", "DVRDB 1\nperiod=7\nrecord=4\n");
    EXPECT_EQ(dbOpenDatabase((t.path() + "/noperiod").c_str(), 1, 1), DB_INVALID_HANDLE);
    EXPECT_EQ(dbGetArhDuration(DB_INVALID_HANDLE), 0);
    DbDescriptor d = dbGetDBDsr(DB_INVALID_HANDLE);
    EXPECT_EQ(d.recordSize, 0u);
    EXPECT_EQ(d.resolver, nullptr);
}

TEST_F(Station, CatalogueCoversEveryTypeAndTheResolverEveryName) {
    DbHandle h = dbOpenDatabase((Cam(1) + "/").c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    EXPECT_EQ(dbGetArhDuration(h), 12);
    std::set<int> types;
    std::vector<std::string> ids;
    DbParameterInfo info;
    dbGoToFirstParameter(h);
    while (dbGetNextParameter(h, &info)) {
        types.insert(info.type);
        ids.push_back(info.progId);
        ASSERT_NE(Info(h, info.progId), nullptr) << info.progId;
        EXPECT_EQ(Info(h, info.progId)->type, info.type);
        if (std::string(info.progId) == "DN115") {
            EXPECT_STREQ(info.units, "kg/m3");
        }
        if (std::string(info.progId) == "SP118") {
            EXPECT_EQ(info.status, 0);
        }
    }
    for (int t = 1; t <= 15; ++t) EXPECT_TRUE(types.count(t)) << t;
    EXPECT_EQ(ids.front(), "TP101");
    // The iteration restarts.
    dbGoToFirstParameter(h);
    ASSERT_TRUE(dbGetNextParameter(h, &info));
    EXPECT_STREQ(info.progId, "TP101");

    const DbValueInfo* bit = Info(h, "DU116");
    ASSERT_NE(bit, nullptr);
    EXPECT_EQ(bit->type, DB_TYPE_BIT);
    EXPECT_STREQ(bit->format, "ConfigUPO|5");
    const DbValueInfo* direct = Info(h, "ConfigUPO|5");
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(direct->type, DB_TYPE_BIT);
    EXPECT_EQ(direct->offset, Info(h, "ConfigUPO")->offset);
    EXPECT_EQ(Info(h, "ConfigUPO|5"), direct);  // stable answer
    for (const char* bad : {"", "nope", "|5", "ConfigUPO|", "ConfigUPO|16", "ConfigUPO|x", "TP101|1", "ID114|0"})
        EXPECT_EQ(Info(h, bad), nullptr) << bad;

    // A stale key, and a closed database, resolve nothing and crash nothing.
    DbDescriptor d = dbGetDBDsr(h);
    dbCloseDatabase(h);
    const char* n = "TP101";
    EXPECT_EQ(d.resolver(d.keyWithHeader, &n), nullptr);
    DbHandle again = dbOpenDatabase(Cam(1).c_str(), 1, 1);
    EXPECT_EQ(d.resolver(d.keyWithHeader, &n), nullptr);
    EXPECT_EQ(d.resolver(12345678, &n), nullptr);
    EXPECT_EQ(d.resolver(d.keyWithHeader, nullptr), nullptr);
    EXPECT_FALSE(dbGetNextParameter(h == again ? DB_INVALID_HANDLE : h, &info));
    dbCloseDatabase(again);
}

TEST_F(Station, ValuesAtKnownInstants) {
    DbHandle h = dbOpenDatabase(Cam(2).c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    Buffer buf(h);
    const int tp = Info(h, "TP101")->offset;
    const int cfg = Info(h, "ConfigUPO")->offset;
    const int en = Info(h, "EN109")->offset;
    for (int64_t t = history.start + 1234; t < history.end; t += 97 * kPeriod) {
        if (t >= history.pauseFrom - kPeriod && t < history.pauseTo + kPeriod) continue;
        uint16_t day;
        int32_t time;
        Utc(t, day, time);
        dbNativeGetDataBySysTime(h, day, time, &buf.b, nullptr, nullptr, nullptr, 0);
        ASSERT_EQ(buf.Status(), DB_STATUS_CURRENT) << t;
        const int64_t slot = t / kPeriod * kPeriod;
        EXPECT_FLOAT_EQ(FloatAt(buf.Record(), tp), static_cast<float>(station::Temperature(kSeed, 2, slot)));
        uint16_t word;
        std::memcpy(&word, buf.Record() + cfg, 2);
        EXPECT_EQ((word & 0x20) != 0, (slot / 1000 / 1200) % 2 == 0);
        uint64_t energy;
        std::memcpy(&energy, buf.Record() + en, 8);
        EXPECT_EQ(energy, static_cast<uint64_t>(slot / 1000) * 1000 + 5000000000ull);
        // Header: the slot's instant; second section one period earlier.
        int32_t hdrTime;
        std::memcpy(&hdrTime, buf.b.section[0].current + 8, 4);
        EXPECT_EQ(hdrTime, time - time % kPeriod);
        std::memcpy(&hdrTime, buf.b.section[1].current + 8, 4);
        EXPECT_EQ(hdrTime, time - time % kPeriod - kPeriod);
        EXPECT_EQ(std::memcmp(buf.Record(0), buf.Record(2), static_cast<size_t>(buf.size - 16)), 0);
    }
    dbCloseDatabase(h);
}

TEST_F(Station, GapsAndMissingMonthsReadAsNotRecorded) {
    DbHandle h = dbOpenDatabase(Cam(1).c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    Buffer buf(h);
    const std::vector<int64_t> missing = {
        history.pauseFrom + 1000,               // the recording pause
        history.start - 5 * kPeriod,            // before the first record
        history.end + 60000,                    // after the last
        history.start - 40LL * 86400000,        // a month that is not in the ring
        history.start + 365LL * 86400000,       // the same ring file a year on
    };
    for (int64_t t : missing) {
        uint16_t day;
        int32_t time;
        Utc(t, day, time);
        dbNativeGetDataBySysTime(h, day, time, &buf.b, nullptr, nullptr, nullptr, 0);
        EXPECT_EQ(buf.Status(), DB_STATUS_NOT_RECORDED) << t;
        for (int i = 0; i < buf.size - 16; ++i) ASSERT_EQ(buf.Record()[i], 0) << t;
    }
    // A section too small for the record is left alone, never overrun.
    buf.b.section[1].capacity = 8;
    uint16_t day;
    int32_t time;
    Utc(history.start + 60000, day, time);
    buf.blocks[1].assign(buf.blocks[1].size(), 0xCD);
    dbNativeGetDataBySysTime(h, day, time, &buf.b, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(buf.blocks[1][0], 0xCD);
    EXPECT_EQ(buf.Status(), DB_STATUS_CURRENT);
    dbCloseDatabase(h);
    // A closed handle: not recorded, no picture.
    uint8_t* data = reinterpret_cast<uint8_t*>(1);
    int32_t w = 5, hh = 5;
    dbNativeGetDataBySysTime(h, day, time, &buf.b, &w, &hh, &data, 0);
    EXPECT_EQ(buf.Status(), DB_STATUS_NOT_RECORDED);
    EXPECT_EQ(data, nullptr);
}

TEST_F(Station, PicturesShowTheirInstantAndExpire) {
    DbHandle h = dbOpenDatabase(Cam(1).c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    Buffer buf(h);
    uint16_t day;
    int32_t time;
    // Half a second after a picture (fps 2): that picture, current.
    const int64_t at = (history.start + 120000) / 500 * 500 + 250;
    Utc(at, day, time);
    int32_t w = 0, hgt = 0;
    uint8_t* rgb = nullptr;
    dbNativeGetDataBySysTime(h, day, time, &buf.b, &w, &hgt, &rgb, 0);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(hgt, 240);
    EXPECT_EQ(buf.Status(), DB_STATUS_CURRENT);
    // The burned-in caption: a lit stroke of its first letter and the black
    // box around the text.
    auto px = [&](int x, int y) { return rgb + (static_cast<size_t>(y) * 320 + x) * 3; };
    int litX = -1, litY = -1;
    for (int row = 0; row < station::kGlyphH && litX < 0; ++row)
        for (int col = 0; col < station::kGlyphW && litX < 0; ++col)
            if (station::GlyphPixel('C', col, row)) {
                litX = station::kTextX + col * station::kTextScale + 1;
                litY = station::kTextY + row * station::kTextScale + 1;
            }
    EXPECT_GT(px(litX, litY)[0], 170);
    EXPECT_LT(px(station::kTextX - 2, station::kTextY - 2)[1], 60);
    // Pixels of a caption digit differ between two pictures a minute apart.
    const std::string caption = station::Caption(1, at - 250);
    EXPECT_EQ(caption.substr(0, 6), "CAM 1 ");

    // Camera 1 is fine during camera 2's stall; camera 2's picture expires.
    DbHandle h2 = dbOpenDatabase(Cam(history.stallCamera).c_str(), 1, 1);
    Buffer buf2(h2);
    Utc(history.stallFrom + 10000, day, time);
    dbNativeGetDataBySysTime(h2, day, time, &buf2.b, &w, &hgt, &rgb, 0);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(buf2.Status(), DB_STATUS_EXPIRED_PICTURE);
    // Without picture pointers the same sample is current.
    dbNativeGetDataBySysTime(h2, day, time, &buf2.b, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(buf2.Status(), DB_STATUS_CURRENT);

    // Before the first picture: none at all.
    Utc(history.start - 1000, day, time);
    rgb = reinterpret_cast<uint8_t*>(1);
    dbNativeGetDataBySysTime(h, day, time, &buf.b, &w, &hgt, &rgb, 0);
    EXPECT_EQ(rgb, nullptr);
    dbCloseDatabase(h);
    dbCloseDatabase(h2);
}

TEST_F(Station, LocalAndUtcReadsAgreeAndTheNewestInstant) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    DbHandle h = dbOpenDatabase(Cam(1).c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    Buffer a(h), b(h);
    const int64_t t = history.start + 77777;
    uint16_t ud, ld;
    int32_t ut, lt;
    dvrdb::EpochMsToUtcInstant(t, ud, ut);
    dvrdb::EpochMsToLocalInstant(t, ld, lt);
    EXPECT_NE(ut, lt);
    dbNativeGetDataBySysTime(h, ud, ut, &a.b, nullptr, nullptr, nullptr, 0);
    dbNativeGetData(h, ld, lt, &b.b, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(a.Status(), DB_STATUS_CURRENT);
    EXPECT_EQ(std::memcmp(a.Record(), b.Record(), static_cast<size_t>(a.size - 16)), 0);

    uint16_t nd;
    int32_t nt;
    dbGetActualRecTime(h, &nd, &nt);
    uint16_t ed;
    int32_t et;
    dvrdb::EpochMsToLocalInstant(history.end - kPeriod, ed, et);
    EXPECT_EQ(nd, ed);
    EXPECT_EQ(nt, et);
    dbGetActualRecTime(DB_INVALID_HANDLE, &nd, &nt);
    EXPECT_EQ(nd, 1);
    EXPECT_EQ(nt, 0);
    dbCloseDatabase(h);
}

TEST_F(Station, ThreadsReadOneHandle) {
    DbHandle h = dbOpenDatabase(Cam(1).c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    const int tp = Info(h, "TP101")->offset;
    std::atomic<int> bad{0};
    std::vector<std::thread> threads;
    for (int k = 0; k < 4; ++k) {
        threads.emplace_back([&, k] {
            Buffer buf(h);
            for (int i = 0; i < 300; ++i) {
                const int64_t t = history.start + 1000 + (k * 7919 + i * 1013) % 300000;
                if (t >= history.pauseFrom - kPeriod && t < history.pauseTo + kPeriod) continue;
                uint16_t day;
                int32_t time;
                dvrdb::EpochMsToUtcInstant(t, day, time);
                int32_t w, hh;
                uint8_t* rgb = nullptr;
                dbNativeGetDataBySysTime(h, day, time, &buf.b, &w, &hh, i % 3 == 0 ? &rgb : nullptr, 0);
                const float expect = static_cast<float>(station::Temperature(kSeed, 1, t / kPeriod * kPeriod));
                if (buf.Status() == DB_STATUS_NOT_RECORDED || FloatAt(buf.Record(), tp) != expect) ++bad;
                if (i % 3 == 0 && (!rgb || w != 320)) ++bad;
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(bad, 0);
    dbCloseDatabase(h);
}

TEST_F(Station, DamagedFilesReadAsMissingData) {
    testsupport::TempDir t;
    ASSERT_EQ(std::system(("cp -r '" + Cam(1) + "' '" + t.path() + "/db'").c_str()), 0);
    const std::string db = t.path() + "/db";
    // Cut the month file in half, scribble over the picture index and the AVI.
    std::string pdb;
    platform::DirSearch s;
    platform::DirEntry e;
    ASSERT_TRUE(s.First((db + "/Arh1_*.pdb").c_str(), e));
    pdb = db + "/" + e.name;
    ASSERT_EQ(truncate(pdb.c_str(), static_cast<off_t>(e.size / 2)), 0);
    ASSERT_TRUE(s.First((db + "/video/*.idx").c_str(), e));
    {
        std::fstream f(db + "/video/" + e.name, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(24 * 100);
        f << std::string(48, 'X');
    }
    ASSERT_TRUE(s.First((db + "/video/*.avi").c_str(), e));
    {
        std::fstream f(db + "/video/" + e.name, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(e.size / 3));
        f << std::string(100000, '\0');
    }
    DbHandle h = dbOpenDatabase(db.c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    Buffer buf(h);
    int recorded = 0, missing = 0, pictures = 0;
    for (int64_t at = history.start; at < history.end; at += 1700) {
        uint16_t day;
        int32_t time;
        dvrdb::EpochMsToUtcInstant(at, day, time);
        int32_t w, hh;
        uint8_t* rgb = nullptr;
        dbNativeGetDataBySysTime(h, day, time, &buf.b, &w, &hh, &rgb, 0);
        (buf.Status() == DB_STATUS_NOT_RECORDED ? missing : recorded)++;
        pictures += rgb != nullptr;
    }
    EXPECT_GT(recorded, 0);
    EXPECT_GT(missing, 0);  // the cut half
    EXPECT_GT(pictures, 0);
    uint16_t nd;
    int32_t nt;
    dbGetActualRecTime(h, &nd, &nt);  // no crash on the cut file
    dbCloseDatabase(h);
}

TEST_F(Station, RecorderWritesWhileAnotherProcessReads) {
    testsupport::TempDir t;
    const std::string root = t.path() + "/live";
    ASSERT_EQ(std::system((std::string(DVRSTATION) + " create '" + root +
                           "' --cameras 1 --hours 0.01 --seed 7 --period 200 --picture 160x120 --fps 5 > /dev/null")
                              .c_str()),
              0);
    pid_t pid = fork();
    if (pid == 0) {
        execl(DVRSTATION, DVRSTATION, "record", root.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    DbHandle h = dbOpenDatabase((root + "/cam1").c_str(), 1, 1);
    ASSERT_NE(h, DB_INVALID_HANDLE);
    Buffer buf(h);
    const int tp = Info(h, "TP101")->offset;
    int current = 0, inconsistent = 0, pictures = 0;
    const int64_t until = platform::NowEpochMs() + 3000;
    while (platform::NowEpochMs() < until) {
        // Ask for the moment just past: visible within a second.
        const int64_t at = platform::NowEpochMs() - 900;
        uint16_t day;
        int32_t time;
        dvrdb::EpochMsToUtcInstant(at, day, time);
        int32_t w, hh;
        uint8_t* rgb = nullptr;
        dbNativeGetDataBySysTime(h, day, time, &buf.b, &w, &hh, &rgb, 0);
        if (buf.Status() == DB_STATUS_CURRENT) {
            ++current;
            if (FloatAt(buf.Record(), tp) != static_cast<float>(station::Temperature(kSeed, 1, at / kPeriod * kPeriod)))
                ++inconsistent;
        }
        if (rgb) {
            ++pictures;
            if (w != 160 || hh != 120) ++inconsistent;
        }
        platform::SleepMs(5);
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(current, 100);
    EXPECT_GT(pictures, 100);
    EXPECT_EQ(inconsistent, 0);
    // Stopped cleanly: every AVI is complete (RIFF size = file size - 8).
    platform::DirSearch s;
    platform::DirEntry e;
    int avis = 0;
    for (bool ok = s.First((root + "/cam1/video/*.avi").c_str(), e); ok; ok = s.Next(e)) {
        std::ifstream f(root + "/cam1/video/" + e.name, std::ios::binary);
        char head[8];
        f.read(head, 8);
        uint32_t riff;
        std::memcpy(&riff, head + 4, 4);
        EXPECT_EQ(std::string(head, 4), "RIFF");
        EXPECT_EQ(riff + 8ull, e.size) << e.name;
        ++avis;
    }
    EXPECT_GE(avis, 1);
    dbCloseDatabase(h);
}
