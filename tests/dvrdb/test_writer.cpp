// The ring of month files and reads around daylight-saving changes, on
// small databases written directly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "calendar.h"
#include "dvrdb.h"
#include "platform/platform.h"
#include "prm.h"
#include "signals.h"
#include "store.h"
#include "tempdir.h"
#include "video.h"
#include "writer.h"

namespace {

dvrdb::DbConfig SmallConfig(int months) {
    dvrdb::DbConfig c;
    c.periodMs = 1000;
    c.months = months;
    c.pictureWidth = 32;
    c.pictureHeight = 32;
    dvrdb::ParamDef p;
    p.type = 6;
    p.progId = "N";
    p.name = "Number";
    p.accuracy = "%d";
    c.params.push_back(p);
    dvrdb::AssignOffsets(c);
    return c;
}

void Record(dvrdb::Writer& w, int64_t t, int32_t v) {
    uint8_t rec[4];
    std::memcpy(rec, &v, 4);
    ASSERT_TRUE(w.WriteRecord(t, rec));
}

// The one 4-byte value of the small databases at an instant, UTC or local.
int32_t ReadValue(DbHandle h, uint16_t day, int32_t time, bool utc, uint16_t& status) {
    DbSampleBuffer b{};
    std::vector<uint8_t> blocks[3];
    for (int i = 0; i < 3; ++i) {
        blocks[i].assign(20, 0);
        b.section[i].data = blocks[i].data();
        b.section[i].capacity = 20;
        b.section[i].current = b.section[i].data;
    }
    if (utc) dbNativeGetDataBySysTime(h, day, time, &b, nullptr, nullptr, nullptr, 0);
    else dbNativeGetData(h, day, time, &b, nullptr, nullptr, nullptr, 0);
    std::memcpy(&status, blocks[0].data(), 2);
    int32_t v;
    std::memcpy(&v, blocks[2].data() + 16, 4);
    return v;
}

int32_t ReadUtc(DbHandle h, int64_t t, uint16_t& status) {
    uint16_t day;
    int32_t time;
    dvrdb::EpochMsToUtcInstant(t, day, time);
    return ReadValue(h, day, time, true, status);
}

} // namespace

TEST(Ring, ANewCycleReplacesTheOldMonthAndItsVideos) {
    testsupport::TempDir t;
    const std::string db = t.path() + "/db";
    dvrdb::Writer w;
    std::string error;
    ASSERT_TRUE(w.Create(db, SmallConfig(2), &error)) << error;
    const int64_t jan = dvrdb::MonthStartEpochMs(12 * 25);  // January 2026, ring file 1
    const int64_t feb = dvrdb::MonthStartEpochMs(12 * 25 + 1);
    const int64_t mar = dvrdb::MonthStartEpochMs(12 * 25 + 2);  // file 1 again
    Record(w, jan + 5000, 11);
    Record(w, feb + 5000, 22);
    std::vector<uint8_t> jpeg, rgb(32 * 32 * 3, 100);
    ASSERT_TRUE(dvrdb::EncodeJpeg(rgb.data(), 32, 32, 80, jpeg));
    ASSERT_TRUE(w.WritePicture(jan + 5000, jpeg.data(), jpeg.size()));
    ASSERT_TRUE(w.WritePicture(feb + 5000, jpeg.data(), jpeg.size()));
    const std::string janVideo = db + "/video/" + dvrdb::FormatVideoFileName(jan + 5000, 1);
    EXPECT_TRUE(platform::StatPath(janVideo.c_str()).exists);

    DbHandle h = dbOpenDatabase(db.c_str(), 1, 1);
    uint16_t status;
    EXPECT_EQ(ReadUtc(h, jan + 5300, status), 11);
    EXPECT_EQ(status, DB_STATUS_CURRENT);

    Record(w, mar + 7000, 33);
    w.Close();
    EXPECT_FALSE(platform::StatPath(janVideo.c_str()).exists);
    EXPECT_FALSE(platform::StatPath((janVideo + ".idx").c_str()).exists);
    ReadUtc(h, jan + 5300, status);  // the same handle sees the new cycle
    EXPECT_EQ(status, DB_STATUS_NOT_RECORDED);
    EXPECT_EQ(ReadUtc(h, mar + 7000, status), 33);
    EXPECT_EQ(status, DB_STATUS_CURRENT);
    EXPECT_EQ(ReadUtc(h, feb + 5000, status), 22);
    // The month file starts at its first record: its size follows the
    // recorded time, not the calendar.
    EXPECT_LT(platform::StatPath((db + "/Arh1_01.pdb").c_str()).size, 1000u);
    dbCloseDatabase(h);
}

TEST(Ring, LocalReadsAcrossDaylightSaving) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    testsupport::TempDir t;
    const std::string db = t.path() + "/db";
    dvrdb::Writer w;
    ASSERT_TRUE(w.Create(db, SmallConfig(12), nullptr));
    // 29 March 2026, 00:00 to 02:00 UTC: the local clock skips 02:00-03:00.
    const int64_t from = dvrdb::DaysFromCivil(2026, 3, 29) * dvrdb::kDayMs;
    for (int64_t s = 0; s < 7200; ++s) Record(w, from + s * 1000, static_cast<int32_t>(s));
    w.Close();
    DbHandle h = dbOpenDatabase(db.c_str(), 1, 1);
    auto readLocal = [&](int hour, int minute, uint16_t& status) {
        DbSystemTime st{};
        st.wYear = 2026;
        st.wMonth = 3;
        st.wDay = 29;
        st.wHour = static_cast<uint16_t>(hour);
        st.wMinute = static_cast<uint16_t>(minute);
        uint16_t day;
        int32_t time;
        dbConvertDateTimeToUAPformat(st, &day, &time);
        return ReadValue(h, day, time, false, status);
    };
    uint16_t status;
    EXPECT_EQ(readLocal(1, 30, status), 1800);  // 00:30 UTC
    EXPECT_EQ(status, DB_STATUS_CURRENT);
    EXPECT_EQ(readLocal(3, 30, status), 5400);  // 01:30 UTC, summer time
    EXPECT_EQ(readLocal(2, 30, status), 5400);  // the skipped hour reads as 03:30
    unsetenv("TZ");
    tzset();
    dbCloseDatabase(h);
}

TEST(Formats, VideoNamesAndPrmRoundTrip) {
    const int64_t t = dvrdb::DaysFromCivil(2026, 3, 5) * dvrdb::kDayMs + (13 * 3600 + 4 * 60 + 9) * 1000LL;
    const std::string name = dvrdb::FormatVideoFileName(t, 3);
    EXPECT_EQ(name, "Arh1_20260305_03_130409.avi");
    EXPECT_TRUE(platform::MatchMask("Arh1_*_03_*.avi", name.c_str()));
    EXPECT_FALSE(platform::MatchMask("Arh1_*_05_*.avi", name.c_str()));
    dvrdb::VideoFileName v;
    ASSERT_TRUE(dvrdb::ParseVideoFileName(name, v));
    EXPECT_EQ(v.startEpochMs, t);
    EXPECT_EQ(v.ringNumber, 3);
    for (const char* bad : {"Arh1_20260305_03_130409.avi.idx", "Arh1_2026030_03_130409.avi", "Arh1_20261305_03_130409.avi",
                            "Arh1_20260305_13_130409.avi", "x"})
        EXPECT_FALSE(dvrdb::ParseVideoFileName(bad, v)) << bad;

    dvrdb::DbConfig c = station::MakeConfig(3, 200, 6, 320, 240, 2.5);
    dvrdb::DbConfig back;
    ASSERT_TRUE(dvrdb::ParsePrm(dvrdb::FormatPrm(c), back));
    EXPECT_EQ(back.params.size(), c.params.size());
    EXPECT_EQ(back.recordSize, c.recordSize);
    EXPECT_EQ(back.months, 6);
    EXPECT_EQ(back.fps, 2.5);
    EXPECT_EQ(back.params[0].units, c.params[0].units);
    // Lines that do not fit are dropped; the rest stays.
    std::string text = dvrdb::FormatPrm(c) + "param\tX\t6\t99999\tx\t\t%d\t0\t1\t0\t1\t\nparam\tbroken\n";
    ASSERT_TRUE(dvrdb::ParsePrm(text, back));
    EXPECT_EQ(back.params.size(), c.params.size());
    std::string error;
    EXPECT_FALSE(dvrdb::ParsePrm("DVRDB 1\nmonths=5\nrecord=4\n", back, &error));
    EXPECT_FALSE(error.empty());
}

TEST(Video, AnAviWithoutItsIndexFileKeepsItsPictures) {
    testsupport::TempDir t;
    const std::string db = t.path() + "/db";
    dvrdb::Writer w;
    ASSERT_TRUE(w.Create(db, SmallConfig(12), nullptr));
    std::vector<uint8_t> jpeg, rgb(32 * 32 * 3, 90);
    ASSERT_TRUE(dvrdb::EncodeJpeg(rgb.data(), 32, 32, 80, jpeg));
    const int64_t start = dvrdb::MonthStartEpochMs(311) + 3600000;
    // Irregular instants, as a stalling camera gives them.
    const std::vector<int64_t> at = {start, start + 1000, start + 2000, start + 9000, start + 9500};
    for (int64_t a : at) ASSERT_TRUE(w.WritePicture(a, jpeg.data(), jpeg.size()));
    w.Close();

    auto find = [&](int64_t when) {
        dvrdb::VideoLibrary lib(db + "/video");
        int64_t got = -1;
        std::vector<uint8_t> bytes;
        if (!lib.FindPicture(when, 3600000, got, bytes) || bytes != jpeg) return int64_t(-1);
        return got;
    };
    const std::vector<int64_t> asked = {start + 500, start + 8000, start + 9200, start + 20000};
    std::vector<int64_t> withIndex;
    for (int64_t a : asked) withIndex.push_back(find(a));
    EXPECT_EQ(withIndex, (std::vector<int64_t>{start, start + 2000, start + 9000, start + 9500}));
    platform::DirSearch s;
    platform::DirEntry e;
    ASSERT_TRUE(s.First((db + "/video/*.idx").c_str(), e));
    ASSERT_TRUE(platform::RemoveFile((db + "/video/" + e.name).c_str()));
    for (size_t i = 0; i < asked.size(); ++i) EXPECT_EQ(find(asked[i]), withIndex[i]);
}
