#include <gtest/gtest.h>

#include <cerrno>
#include <sys/wait.h>

#include "ZorbUtils.h"

using ZorbUtils::CUtils;

TEST(RunApplication, ExitCodes) {
    struct Case { const char* cmd; bool result; int code; };
    const Case cases[] = {
        {"true", true, 0},
        {"sh -c \"exit 2\"", false, 2},
        {"/no/such/program", false, -1},
        {"", false, -1},
    };
    for (const Case& c : cases) {
        int code = 1234;
        EXPECT_EQ(CUtils::RunApplication(c.cmd, &code), c.result) << c.cmd;
        EXPECT_EQ(code, c.code) << c.cmd;
    }
    int code = 5;
    EXPECT_FALSE(CUtils::RunApplication(nullptr, &code));
    EXPECT_EQ(code, -1);
    EXPECT_TRUE(CUtils::RunApplication("true", nullptr));
    int status;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);  // no zombie left
    EXPECT_EQ(errno, ECHILD);
}
