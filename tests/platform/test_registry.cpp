#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tempdir.h"

TEST(Registry, ReadsWritesAndKeepsOtherValues) {
    testsupport::TempDir t;
    const std::string file = t / "conf/registry.ini";
    setenv("TRAKVUE_REGISTRY", file.c_str(), 1);
    std::string v;
    EXPECT_FALSE(platform::RegistryReadString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Cam1_DatabasePath", v));

    ASSERT_TRUE(platform::RegistryWriteString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Cam1_DatabasePath", "/data/cam1"));
    ASSERT_TRUE(platform::RegistryWriteDword("HKEY_CURRENT_USER",
                                             "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                             "DisableTaskMgr", 0));
    ASSERT_TRUE(platform::RegistryWriteString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Other", "x=y"));
    ASSERT_TRUE(platform::RegistryWriteString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Cam1_DatabasePath", "/data/new"));

    ASSERT_TRUE(platform::RegistryReadString("HKEY_LOCAL_MACHINE", "Software\\DVR", "cam1_databasepath", v));
    EXPECT_EQ(v, "/data/new");
    ASSERT_TRUE(platform::RegistryReadString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Other", v));
    EXPECT_EQ(v, "x=y");
    ASSERT_TRUE(platform::RegistryReadString("HKEY_CURRENT_USER",
                                             "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                             "DisableTaskMgr", v));
    EXPECT_EQ(v, "0");
    EXPECT_FALSE(platform::RegistryWriteString("HKEY_LOCAL_MACHINE", "Software\\DVR", "bad\nname", "v"));
    EXPECT_FALSE(platform::RegistryReadString("HKEY_LOCAL_MACHINE", "Software\\Other", "Cam1_DatabasePath", v));
    unsetenv("TRAKVUE_REGISTRY");
}

TEST(Registry, HandWrittenFileWithCrLf) {
    testsupport::TempDir t;
    const std::string file = t.Write("reg.ini", "; comment\r\n[HKEY_LOCAL_MACHINE\\Software\\DVR]\r\nCam1_DatabasePath=/srv/dvr/cam1\r\n");
    setenv("TRAKVUE_REGISTRY", file.c_str(), 1);
    std::string v;
    ASSERT_TRUE(platform::RegistryReadString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Cam1_DatabasePath", v));
    EXPECT_EQ(v, "/srv/dvr/cam1");
    unsetenv("TRAKVUE_REGISTRY");
}
