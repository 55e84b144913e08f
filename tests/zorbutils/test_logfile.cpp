#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "ZorbUtils.h"
#include "platform/platform.h"
#include "tempdir.h"

using ZorbUtils::CLogFile;

TEST(LogFile, WritesNothingBeforeOpening) {
    testsupport::TempDir t;
    CLogFile log((t / "x.log").c_str(), CLogFile::LOG_FILE_MODE_REWRITE);
    EXPECT_FALSE(log.AddLogString(false, "line\n"));
    EXPECT_FALSE(log.CloseLogFile());
    EXPECT_TRUE(testsupport::ReadFile(t / "x.log").empty());
}

TEST(LogFile, TimeStampAtASetClock) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    platform::CalendarTime at;
    at.year = 2012; at.month = 2; at.day = 1; at.hour = 9; at.minute = 5; at.second = 3; at.millisecond = 7;
    const int64_t ms = platform::EpochMsFromLocal(at);
    platform::SetClock([ms] { return ms; });

    testsupport::TempDir t;
    CLogFile log;
    log.SetLogFileName("%s/work_%d.log", t.path().c_str(), 3);
    EXPECT_EQ(std::string(log.LogFileName()), t / "work_3.log");
    ASSERT_TRUE(log.OpenLogFile());
    EXPECT_TRUE(log.AddLogString(true, "started %s\n", "ok"));
    EXPECT_TRUE(log.AddLogString(false, "%d%%\n", 50));
    EXPECT_FALSE(log.AddLogString(false, nullptr));
    EXPECT_FALSE(log.AddLogString(false, "%s", ""));  // nothing printed
    ASSERT_TRUE(log.CloseLogFile());
    EXPECT_EQ(testsupport::ReadFile(t / "work_3.log"), "01.02.2012 09:05:03.007 started ok\n50%\n");
    platform::SetClock(nullptr);
}

TEST(LogFile, ModesRewriteAndAppend) {
    testsupport::TempDir t;
    const std::string path = t.Write("m.log", "old\n");
    CLogFile log(path.c_str(), CLogFile::LOG_FILE_MODE_APPEND);
    ASSERT_TRUE(log.OpenLogFile());
    log.AddLogString(false, "new\n");
    log.CloseLogFile();
    EXPECT_EQ(testsupport::ReadFile(path), "old\nnew\n");

    log.SetLogFileMode(CLogFile::LOG_FILE_MODE_REWRITE);
    ASSERT_TRUE(log.OpenLogFile());
    EXPECT_TRUE(testsupport::ReadFile(path).empty());
    log.AddLogString(false, "only\n");
    // Changing the name closes the open stream; the line is on disk.
    log.SetLogFileName("%s", (t / "other.log").c_str());
    EXPECT_FALSE(log.CloseLogFile());
    EXPECT_EQ(testsupport::ReadFile(path), "only\n");

    log.SetLogFileMode(static_cast<CLogFile::ELogFileMode>(7));
    EXPECT_FALSE(log.OpenLogFile());
    log.SetLogFileName(nullptr);
    EXPECT_STREQ(log.LogFileName(), "");
    CLogFile bad((t / "missing/dir.log").c_str(), CLogFile::LOG_FILE_MODE_REWRITE);
    EXPECT_FALSE(bad.OpenLogFile());
}

TEST(LogFile, LongNamesAndFormatsAreCut) {
    testsupport::TempDir t;
    std::string longName(400, 'n');
    CLogFile log(longName.c_str(), CLogFile::LOG_FILE_MODE_REWRITE);
    EXPECT_EQ(std::string(log.LogFileName()).size(), 259u);
    log.SetLogFileName("%s", longName.c_str());
    EXPECT_EQ(std::string(log.LogFileName()).size(), 259u);

    // A format cut inside a conversion must not read a missing argument.
    log.SetLogFileName("%s/long.log", t.path().c_str());
    ASSERT_TRUE(log.OpenLogFile());
    std::string fmt(1022, 'a');
    fmt += "%s";
    EXPECT_TRUE(log.AddLogString(false, fmt.c_str(), "tail"));
    log.CloseLogFile();
    EXPECT_EQ(testsupport::ReadFile(t / "long.log"), std::string(1022, 'a'));
}
