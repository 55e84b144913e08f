// The client's data access without a window.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "catalogue.h"
#include "instant.h"
#include "sample.h"
#include "session.h"
#include "tempdir.h"

namespace {

Instant I(uint16_t day, int32_t time) {
    Instant i;
    i.day = day;
    i.time = time;
    return i;
}

// A resolver over a fixed table, for sections made by hand.
std::map<std::string, DbValueInfo>& Table() {
    static std::map<std::string, DbValueInfo> t;
    return t;
}
const DbValueInfo* FakeResolver(uint32_t key, const char** name) {
    if (key != 77 || !name || !*name) return nullptr;
    auto it = Table().find(*name);
    return it == Table().end() ? nullptr : &it->second;
}

struct FakeSection {
    FakeSection() {
        std::memset(&s, 0, sizeof s);
        DbDescriptor d{};
        d.recordSize = 40;
        d.keyWithHeader = 77;
        d.resolver = &FakeResolver;
        std::memcpy(s.descriptor, &d, sizeof d);
        block.assign(56, 0);
        s.data = block.data();
        s.capacity = 56;
        s.current = s.data;
    }
    template <typename T>
    void Put(int offset, T v) { std::memcpy(block.data() + 16 + offset, &v, sizeof v); }
    SampleSection s;
    std::vector<uint8_t> block;
};

std::string Text(FakeSection& f, const char* id) {
    std::string format;
    DecodedValue v = ValueByName(f.s, id, &format);
    return FormatValue(v, format.c_str());
}

double Number(FakeSection& f, const char* id) { return NumericValue(ValueByName(f.s, id, nullptr)); }

ParamRecord Rec(const char* id, int type, int db, const char* units = "", const char* lo = "0.000000",
                const char* hi = "1.000000") {
    ParamRecord r;
    std::memset(&r, 0, sizeof r);
    std::strcpy(r.progId, id);
    std::strcpy(r.units, units);
    std::strcpy(r.lowBound, lo);
    std::strcpy(r.highBound, hi);
    r.type = type;
    r.database = db;
    return r;
}

} // namespace

TEST(Calendar, DayNumberAndDecompose) {
    EXPECT_EQ(DayNumber(1, 1, 2001), 1);
    EXPECT_EQ(DayNumber(1, 1, 2004), 1096);
    EXPECT_EQ(DayNumber(1, 3, 2004), 1156);
    EXPECT_EQ(DayNumber(29, 2, 2004), 1155);
    EXPECT_EQ(DayNumber(1, 3, 2003), 790);
    EXPECT_EQ(DayNumber(5, 6, 1999), DayNumber(5, 6, 2001));
    EXPECT_EQ(DayNumber(0, 0, 2005), DayNumber(1, 1, 2005));
    EXPECT_EQ(DayNumber(1, 13, 2005), DayNumber(1, 12, 2005));
    EXPECT_EQ(DayNumber(11, 12, 2026), 9476);

    struct Case { Instant at; int y, mo, d, h, mi, s, ms; };
    const Case cases[] = {
        {I(365, 0), 2001, 12, 31, 0, 0, 0, 0},
        {I(1461, 0), 2004, 12, 31, 0, 0, 0, 0},
        {I(1096, 86400000), 2004, 1, 2, 0, 0, 0, 0},
        {I(1096, -1), 2003, 12, 31, 23, 59, 59, 999},
        {I(1, 0), 2001, 1, 1, 0, 0, 0, 0},
        {I(1155, 45296789), 2004, 2, 29, 12, 34, 56, 789},
        {I(1156, 0), 2004, 3, 1, 0, 0, 0, 0},
        {I(790, 0), 2003, 3, 1, 0, 0, 0, 0},
        {I(9476, 49507250), 2026, 12, 11, 13, 45, 7, 250},
    };
    for (const Case& c : cases) {
        DateParts p = Decompose(c.at);
        EXPECT_EQ(p.year, c.y) << c.at.day << " " << c.at.time;
        EXPECT_EQ(p.month, c.mo) << c.at.day;
        EXPECT_EQ(p.day, c.d) << c.at.day;
        EXPECT_EQ(p.hour, c.h);
        EXPECT_EQ(p.minute, c.mi);
        EXPECT_EQ(p.second, c.s);
        EXPECT_EQ(p.ms, c.ms);
    }
    // Every day of 2001..2030 decomposes back to its own day number.
    for (uint16_t day = 1; day < 11000; ++day) {
        DateParts p = Decompose(I(day, 0));
        ASSERT_EQ(DayNumber(p.day, p.month, p.year), day) << day;
    }
    DbSystemTime st{};
    st.wYear = 2004;
    st.wMonth = 3;
    st.wDay = 1;
    st.wHour = 1;
    st.wMinute = 2;
    st.wSecond = 3;
    st.wMilliseconds = 4;
    Instant i = InstantFromLocalTime(st);
    EXPECT_EQ(i.day, 1156);
    EXPECT_EQ(i.time, 3723004);
}

TEST(Calendar, PeriodForScreenEveryIndex) {
    const int64_t archive1000[13] = {2678400, 604800, 86400, 57600, 28800, 3600, 1800, 10000, 5000, 1000, 250, 100, 40};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(PeriodForScreen(i, 1000, false, -1), archive1000[i]) << i;
    for (int i = 0; i < 9; ++i) EXPECT_EQ(PeriodForScreen(i, 1000, true, -1), archive1000[i + 4]) << i;
    EXPECT_EQ(PeriodForScreen(0, 7000, false, -1), 357120);  // 8 x 44,640
    EXPECT_EQ(PeriodForScreen(6, 7, false, -1), 257142);      // floating point, truncated
    EXPECT_EQ(PeriodForScreen(13, 100, false, 55), 55);
    EXPECT_EQ(PeriodForScreen(9, 100, true, 55), 55);
    EXPECT_EQ(PeriodForScreen(-1, 100, true, 55), 55);
}

TEST(Calendar, SteppingAtMidnight) {
    // Forwards from 23:59:59.000 with 1 s: exactly 86,400,000 on the same day,
    // shown as the next day's midnight; the next step: next day, time 0.
    Instant a = StepForward(I(100, 86399000), 1000);
    EXPECT_EQ(a.day, 100);
    EXPECT_EQ(a.time, 86400000);
    DateParts p = Decompose(a);
    EXPECT_EQ(DayNumber(p.day, p.month, p.year), 101);
    EXPECT_EQ(p.hour, 0);
    a = StepForward(a, 1000);
    EXPECT_EQ(a.day, 101);
    EXPECT_EQ(a.time, 0);
    // From 23:59:59.500 the remainder is not carried.
    a = StepForward(I(100, 86399500), 1000);
    EXPECT_EQ(a.day, 101);
    EXPECT_EQ(a.time, 0);
    // Back from 00:00:00.500: 23:59:59.500 of the day before.
    a = StepBack(I(100, 500), 1000);
    EXPECT_EQ(a.day, 99);
    EXPECT_EQ(a.time, 86399500);
}

TEST(Catalogue, FindNumberAndScales) {
    auto cat = std::make_unique<ParamCatalogue>();
    cat->records[0] = Rec("TP101", 9, 0, "C", "0.000000", "400.000000");
    cat->records[1] = Rec("TP101", 9, 1, "C", "0.000000", "400.000000");  // same ProgID, second database
    cat->records[2] = Rec("PT 102", 10, 0, "MPa");                        // a blank: never found
    cat->records[3] = Rec("FLAG", 15, 0);
    cat->records[4] = Rec("LT104", 4, 2, "C", "0.000000", "400.000000");
    cat->records[5] = Rec("FT103", 6, 2, "t/h");
    cat->count = 6;
    EXPECT_EQ(FindCatalogueEntry(*cat, "N3: TP 101"), &cat->records[0]);
    EXPECT_EQ(FindCatalogueEntry(*cat, "N2: TP101"), &cat->records[0]);  // the lower position wins
    EXPECT_EQ(FindCatalogueEntry(*cat, "TP101"), &cat->records[0]);      // no ':' compares the whole
    EXPECT_EQ(FindCatalogueEntry(*cat, "N1: PT 102"), nullptr);
    EXPECT_EQ(FindCatalogueEntry(*cat, "N1: tp101"), nullptr);
    EXPECT_EQ(FindCatalogueEntry(*cat, "N1:"), nullptr);
    EXPECT_EQ(FindCatalogueEntry(*cat, nullptr), nullptr);
    EXPECT_EQ(FindCatalogueEntry(*cat, " N 1 : F T1 03 "), &cat->records[5]);

    EXPECT_EQ(ParameterNumber("N12: X"), 11);
    EXPECT_EQ(ParameterNumber("N1: X"), 0);
    EXPECT_EQ(ParameterNumber("N: X"), -1);
    EXPECT_EQ(ParameterNumber("Nx3: X"), -1);
    EXPECT_EQ(ParameterNumber(""), -1);

    EXPECT_EQ(ScaleKey(cat->records[0]), "C: 0.000000-400.000000");
    EXPECT_TRUE(HasNoScale(cat->records[3]));
    // TP101 and LT104 share a scale; FLAG has none; unknown references skip.
    EXPECT_EQ(CountScales(*cat, {"N1: TP101", "N3: LT104", "N1: FLAG", "N9: NONE", "N3: FT103", "N1: TP101"}), 2);
    EXPECT_EQ(CountScales(*cat, {}), 0);
    EXPECT_EQ(MakeParameterRef(3, "TP101"), "N3: TP101");
}

TEST(Values, EveryTypeByName) {
    FakeSection f;
    Table() = {
        {"U8", {1, "%d", 0}},   {"S8", {2, "%d", 1}},    {"U16", {3, "%d", 2}},   {"S16", {4, "%d", 4}},
        {"U32", {5, "%d", 6}},  {"S32", {6, "%d", 10}},  {"H64", {7, "%llu", 14}}, {"S64", {8, "%lld", 22}},
        {"F32", {9, "%.1f", 30}}, {"U8B", {11, "%x", 0}}, {"U16B", {12, "%u", 2}}, {"U32B", {13, "%u", 6}},
        {"TXT", {14, "OK 100%%", 0}}, {"BIT5", {15, "U16|5", 0}}, {"BIT9", {15, "U16|9", 0}},
        {"NOBAR", {15, "U16", 0}}, {"LEAD", {15, "|3", 0}}, {"FAR", {15, "U16|400", 0}},
        {"F64", {10, "%.2f", 32}}, {"OUT", {6, "%d", 38}}, {"EVIL", {6, "%s%s%n", 10}}, {"INTF", {6, "%.2f", 10}},
        {"FLTD", {9, "%05d", 30}}, {"TWO", {6, "%d %d", 10}},
    };
    f.Put<uint8_t>(0, 250);
    f.Put<int8_t>(1, -5);
    f.Put<uint16_t>(2, 0x0220);  // bit 5 set, bit 9 set
    f.Put<int16_t>(4, -300);
    f.Put<uint32_t>(6, 0xFFFFFFFFu);
    f.Put<int32_t>(10, -123456);
    f.Put<uint64_t>(14, 5000000000ull);
    f.Put<int64_t>(22, -7);
    f.Put<float>(30, 12.25f);
    struct Case { const char* id; const char* text; double number; };
    const Case cases[] = {
        {"U8", "250", 250},       {"S8", "-5", -5},          {"U16", "544", 544},       {"S16", "-300", -300},
        {"U32", "-1", 4294967295.0}, {"S32", "-123456", -123456}, {"H64", "5000000000", 0}, {"S64", "-7", -7},
        {"U8B", "fa", 250},       {"U16B", "544", 544},      {"U32B", "4294967295", 4294967295.0},
        {"TXT", "OK 100%", 0},    {"BIT5", "1", 1},          {"BIT9", "1", 1},
        {"NOBAR", "", 0},         {"LEAD", "", 0},           {"FAR", "", 0},            {"OUT", "", 0},
        {"MISSING", "", 0},       {"EVIL", "-123456", -123456}, {"INTF", "-123456.00", -123456},
        {"TWO", "-123456", -123456},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(f, c.id), c.text) << c.id;
        EXPECT_DOUBLE_EQ(Number(f, c.id), c.number) << c.id;
    }
    // Floats: "F32" overlaps "F64" here, so read them one at a time.
    EXPECT_EQ(Text(f, "F32"), "12.2");
    EXPECT_FLOAT_EQ(static_cast<float>(Number(f, "F32")), 12.25f);
    EXPECT_EQ(Text(f, "FLTD"), "00012");
    f.Put<double>(32, -1.5);
    EXPECT_EQ(Text(f, "F64"), "-1.50");
    f.Put<uint16_t>(2, 0x0000);
    EXPECT_EQ(Text(f, "BIT5"), "0");
    // A section without a data block has no value.
    SampleSection empty;
    std::memset(&empty, 0, sizeof empty);
    EXPECT_EQ(ValueByName(empty, "U8", nullptr).type, 0);
}

TEST(Values, ReadValueAndReadValueText) {
    FakeSection f;
    Table() = {{"S32", {6, "%d", 10}}};
    f.Put<int32_t>(10, 42);
    uint16_t status = 0xFFFF;
    std::memcpy(f.block.data(), &status, 2);
    Slice slice;
    InitSlice(slice);
    // A buffer never read: status 0 and the outputs untouched.
    std::string text = "keep";
    float number = 9;
    EXPECT_EQ(ReadValue(slice, "S32", 1, &text, &number), 0);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(number, 9);
    for (SampleSection& s : slice.buffers[1].section) s = f.s;
    EXPECT_EQ(ReadValue(slice, "S32", 1, &text, &number), 0xFFFF);
    EXPECT_EQ(text, "42");
    EXPECT_EQ(number, 42);
    EXPECT_STREQ(slice.buffers[1].section[2].text, "42");
    // An unknown ProgID: empty text, 0, the sample's status.
    EXPECT_EQ(ReadValue(slice, "NONE", 1, &text, &number), 0xFFFF);
    EXPECT_EQ(text, "");
    EXPECT_EQ(number, 0);

    auto cat = std::make_unique<ParamCatalogue>();
    cat->records[0] = Rec("S32", 6, 1);
    cat->count = 1;
    int valid = 0;
    uint16_t st = 0;
    number = 0;
    EXPECT_EQ(ReadValueText(*cat, "N2: S32", slice, 1, &number, &valid, &st), "42");
    EXPECT_EQ(valid, 1);
    EXPECT_EQ(st, 0xFFFF);
    valid = 5;
    EXPECT_EQ(ReadValueText(*cat, "N2: NONE", slice, 1, &number, &valid, &st), "");
    EXPECT_EQ(valid, 5);
}

TEST(Values, CatalogueAndSamplesFromAStation) {
    testsupport::TempDir t;
    ASSERT_EQ(std::system((std::string(DVRSTATION) + " create '" + t.path() +
                           "/st' --cameras 2 --hours 0.01 --picture 64x48 > /dev/null").c_str()),
              0);
    // A third database of 1,100 parameters: the catalogue keeps 1,024.
    std::string prm = "DVRDB 1\nrecord=4\n";
    for (int i = 0; i < 1100; ++i)
        prm += "param\tP" + std::to_string(i) + "\t1\t0\tVery long name " + std::string(80, 'x') + "\t" +
               std::string(40, 'u') + "\t%d\t-1.5\t2\t2\t1\t" + std::string(300, 'd') + "\n";
    t.Write("big/Prm.cfg", prm);
    DataSession session;
    const std::string a = t.path() + "/st/cam1", b = t.path() + "/st/cam2", c = t.path() + "/big";
    const char* paths[4] = {a.c_str(), b.c_str(), c.c_str(), ""};
    session.Reconnect(paths);
    std::shared_ptr<const ParamCatalogue> cat = session.Catalogue();
    ASSERT_EQ(cat->count, kMaxCatalogue);
    EXPECT_STREQ(cat->records[0].progId, "TP101");
    EXPECT_EQ(cat->records[0].database, 0);
    EXPECT_STREQ(cat->records[18].progId, "TP101");
    EXPECT_EQ(cat->records[18].database, 1);
    EXPECT_STREQ(cat->records[0].label, cat->records[0].name);
    EXPECT_STREQ(cat->records[0].lowBound, "0.000000");
    const ParamRecord& big = cat->records[36];
    EXPECT_EQ(big.database, 2);
    EXPECT_EQ(std::strlen(big.name), 63u);
    EXPECT_EQ(std::strlen(big.units), 15u);
    EXPECT_EQ(std::strlen(big.description), 255u);
    EXPECT_STREQ(big.lowBound, "-1.500000");

    // A sample of camera 2 a minute ago (local time, then GMT).
    uint16_t day;
    int32_t time;
    dbGetActualRecTime(session.Handle(1), &day, &time);
    ASSERT_NE(day, 1);
    Slice slice;
    InitSlice(slice);
    Instant at = I(day, time);
    ReadSlice(session, at, 1, slice);
    EXPECT_EQ(StatusWord(slice.buffers[1]), 0xFFFF);
    std::string text;
    float number = 0;
    EXPECT_EQ(ReadValue(slice, "ConfigUPO", 1, &text, &number), 0xFFFF);
    EXPECT_FALSE(text.empty());
    const uint8_t* first = slice.buffers[1].section[0].data;
    ReadSlice(session, at, 1, slice);
    EXPECT_EQ(slice.buffers[1].section[0].data, first);  // same size: nothing reallocated
    FreeSlice(slice);
    session.CloseAllDatabases();
    EXPECT_EQ(session.Handle(0), DB_INVALID_HANDLE);
}
