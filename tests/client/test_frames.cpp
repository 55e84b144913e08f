// The frame table and Frames.ini.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frametable.h"
#include "platform/platform.h"
#include "tempdir.h"

namespace {

FrameRecord Trend(const std::string& name, std::vector<std::vector<std::string>> bands) {
    FrameRecord r;
    r.name = name;
    r.kind = FRAME_TREND;
    r.bandCount = static_cast<int>(bands.size());
    for (size_t i = 0; i < bands.size(); ++i) r.bands[i].params = bands[i];
    return r;
}

FrameRecord Table(const std::string& name, std::vector<std::string> params) {
    FrameRecord r;
    r.name = name;
    r.kind = FRAME_TABLE;
    r.tableParams = std::move(params);
    return r;
}

FrameTable Parse(const std::string& text) {
    FrameTable t;
    ParseFrames(text, t);
    return t;
}

} // namespace

TEST(FramesFile, BoilerExampleByteForByte) {
    FrameTable t;
    t.records.push_back(Table("Other", {}));
    t.records.push_back(Trend("Boiler", {{"N1: TE101", "N1: TE102"}, {"N2: PT7"}}));
    const std::string text = FramesText(t);
    const std::string boiler =
        "[Frame 2]\r\n <Boiler>\r\n <FRAME_TREND>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n"
        "   {<N1: TE101><N1: TE102>}\r\n   {<N2: PT7>}\r\n <-->\r\n";
    EXPECT_EQ(text, "[Frame 1]\r\n <Other>\r\n <FRAME_TABLE>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n {}\r\n" + boiler);
    t.records[1].kind = FRAME_TABLE;
    t.records[1].tableParams = {"N1: TE101", "N1: TE102", "N2: PT7"};
    EXPECT_NE(FramesText(t).find(" <DVR>\r\n {<N1: TE101><N1: TE102><N2: PT7>}\r\n"), std::string::npos);

    FrameTable back = Parse(text);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.records[1].name, "Boiler");
    EXPECT_EQ(back.records[1].bandCount, 2);
    EXPECT_EQ(back.records[1].bands[0].params, (std::vector<std::string>{"N1: TE101", "N1: TE102"}));
    EXPECT_EQ(back.records[1].bands[1].params, (std::vector<std::string>{"N2: PT7"}));
    EXPECT_EQ(back.records[1].source, FRAME_SOURCE_DVR);
    EXPECT_TRUE(back.records[0].tableParams.empty());
}

TEST(FramesFile, CasesOfTheReader) {
    struct Case {
        const char* what;
        std::string text;
        int frames;
        std::function<void(const FrameTable&)> check;
    };
    const std::string frame = " <A>\r\n <FRAME_TABLE>\r\n <FRAME_DAY>\r\n <DVR>\r\n {<N1: X>}\r\n";
    const Case cases[] = {
        {"headers say anything", "[Frame 9]\r\n" + frame + "garbage\r\n" + frame, 2,
         [](const FrameTable& t) { EXPECT_EQ(t.records[1].timeRange, FRAME_DAY); }},
        {"name with '>' is cut, '<' and blanks stay", "[F]\r\n <a <b> c>\r\n <FRAME_TABLE>\r\n <FRAME_LONG>\r\n <X>\r\n {}\r\n", 1,
         [](const FrameTable& t) {
             EXPECT_EQ(t.records[0].name, "a <b");
             EXPECT_EQ(t.records[0].source, FRAME_SOURCE_OTHER);
             EXPECT_EQ(t.records[0].timeRange, FRAME_LONG);
         }},
        {"zero bands", "[F]\r\n <Z>\r\n <FRAME_TREND>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n <-->\r\n", 1,
         [](const FrameTable& t) { EXPECT_EQ(t.records[0].bandCount, 0); }},
        {"empty band and table lines", "[F]\r\n <T>\r\n <FRAME_TREND>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n   {}\r\n <-->\r\n[F]\r\n" +
                                           std::string(" <U>\r\n <FRAME_TABLE>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n {}\r\n"), 2,
         [](const FrameTable& t) {
             EXPECT_EQ(t.records[0].bandCount, 1);
             EXPECT_TRUE(t.records[0].bands[0].params.empty());
             EXPECT_TRUE(t.records[1].tableParams.empty());
         }},
        {"trend without <-->", "[F]\r\n <T>\r\n <FRAME_TREND>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n   {<N1: A>}\r\n   {<N1: B>}\r\n", 1,
         [](const FrameTable& t) { EXPECT_EQ(t.records[0].bandCount, 2); }},
        {"ends inside a frame", "[F]\r\n" + frame + "[F]\r\n <B>\r\n <FRAME_TREND>\r\n", 1, nullptr},
        {"value line without '>'", "[F]\r\n <endless\r\n <FRAME_TABLE\r\n <FRAME_DAY\r\n <DVR\r\n {<N1: X\r\n", 1,
         [](const FrameTable& t) {
             EXPECT_EQ(t.records[0].name, "endless");
             EXPECT_EQ(t.records[0].timeRange, FRAME_DAY);
             EXPECT_EQ(t.records[0].tableParams, (std::vector<std::string>{"N1: X"}));
         }},
        {"unknown keywords", "[F]\r\n <K>\r\n <FRAME_PIE>\r\n <FRAME_WEEK>\r\n <DVR>\r\n {<N1: X>}\r\n", 1,
         [](const FrameTable& t) {
             EXPECT_EQ(t.records[0].kind, FRAME_TABLE);
             EXPECT_EQ(t.records[0].timeRange, FRAME_CURRENT);
         }},
        {"LF only", "[F]\n <L>\n <FRAME_TABLE>\n <FRAME_CURRENT>\n <DVR>\n {<N1: X>}\n", 1,
         [](const FrameTable& t) { EXPECT_EQ(t.records[0].name, "L"); }},
        {"empty file", "", 0, nullptr},
    };
    for (const Case& c : cases) {
        FrameTable t = Parse(c.text);
        ASSERT_EQ(t.Count(), c.frames) << c.what;
        if (c.check) c.check(t);
    }
}

TEST(FramesFile, CapacitiesAndNames) {
    std::string text;
    for (int i = 0; i < 520; ++i) text += "[F]\r\n <F" + std::to_string(i) + ">\r\n <FRAME_TABLE>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n {}\r\n";
    FrameTable t = Parse(text);
    EXPECT_EQ(t.Count(), kMaxFrames);
    EXPECT_EQ(t.records.back().name, "F511");

    std::string bands = "[F]\r\n <Many>\r\n <FRAME_TREND>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n";
    for (int b = 0; b < 20; ++b) bands += "   {<N1: P" + std::to_string(b) + ">}\r\n";
    bands += " <-->\r\n[F]\r\n <many>\r\n <FRAME_TABLE>\r\n <FRAME_CURRENT>\r\n <DVR>\r\n {}\r\n";
    t = Parse(bands);
    ASSERT_EQ(t.Count(), 2);  // the frame after the long one is still read
    EXPECT_EQ(t.records[0].bandCount, kMaxBands);
    EXPECT_EQ(t.records[0].bands[14].params[0], "N1: P14");
    EXPECT_EQ(t.Find("Many"), 0);  // names differing in case are different frames
    EXPECT_EQ(t.Find("many"), 1);
    EXPECT_EQ(t.Find("MANY"), -1);
}

TEST(FramesFile, SaveReplacesTheFileInOneStep) {
    testsupport::TempDir dir;
    const std::string folder = dir.path() + "/";
    FrameTable t;
    t.records.push_back(Trend("Boiler", {{"N1: TE101"}}));
    ASSERT_TRUE(SaveFrames(folder, t));
    FrameTable back;
    LoadFrames(folder, back);
    ASSERT_EQ(back.Count(), 1);
    // Removing the only frame leaves an empty file that loads as an empty table.
    t.records.clear();
    ASSERT_TRUE(SaveFrames(folder, t));
    EXPECT_EQ(platform::StatPath((folder + "Frames.ini").c_str()).size, 0u);
    LoadFrames(folder, back);
    EXPECT_EQ(back.Count(), 0);
    // A folder that cannot take the file: the write fails, nothing is left.
    EXPECT_FALSE(SaveFrames(dir.path() + "/missing/", t));
    LoadFrames(dir.path() + "/missing/", back);
    EXPECT_EQ(back.Count(), 0);
}

TEST(FramesFile, ParameterLabels) {
    auto cat = std::make_unique<ParamCatalogue>();
    std::memset(cat->records, 0, sizeof cat->records);
    std::strcpy(cat->records[0].progId, "TE101");
    std::strcpy(cat->records[0].label, "Temperature");
    cat->count = 1;
    EXPECT_EQ(FormatParameterLabel(*cat, "N3: TE101"), "N3: Temperature");
    EXPECT_EQ(FormatParameterLabel(*cat, "N3: TE 101"), "");  // blanks are not removed here
    EXPECT_EQ(FormatParameterLabel(*cat, "N3:TE101"), "");
    EXPECT_EQ(FormatParameterLabel(*cat, "N1: GONE"), "");
}
