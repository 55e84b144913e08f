#include <gtest/gtest.h>

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/platform.h"
#include "tempdir.h"

namespace {

bool NoChildLeft() {
    int status;
    return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

} // namespace

TEST(Process, SplitCommandLine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(platform::SplitCommandLine("a b  c"), (V{"a", "b", "c"}));
    EXPECT_EQ(platform::SplitCommandLine("sh -c \"exit 2\""), (V{"sh", "-c", "exit 2"}));
    EXPECT_EQ(platform::SplitCommandLine("\"/my dir/prog\" \"\" x"), (V{"/my dir/prog", "", "x"}));
    EXPECT_EQ(platform::SplitCommandLine("say \\\"hi\\\""), (V{"say", "\"hi\""}));
    EXPECT_EQ(platform::SplitCommandLine("  "), V{});
    EXPECT_EQ(platform::SplitCommandLine(nullptr), V{});
}

TEST(Process, RunAndWaitReportsExitCodesAndLeavesNoZombie) {
    int code = 99;
    EXPECT_TRUE(platform::RunAndWait("true", code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(platform::RunAndWait("sh -c \"exit 2\"", code));
    EXPECT_EQ(code, 2);
    EXPECT_FALSE(platform::RunAndWait("/nonexistent/program --flag", code));
    EXPECT_EQ(code, -1);
    EXPECT_FALSE(platform::RunAndWait("", code));
    EXPECT_EQ(code, -1);
    EXPECT_TRUE(NoChildLeft());
}

TEST(Process, ChildGetsNoInheritedDescriptors) {
    testsupport::TempDir t;
    const std::string out = t / "fds";
    int code = -1;
    std::string cmd = "sh -c \"ls /proc/self/fd > " + out + "\"";
    ASSERT_TRUE(platform::RunAndWait(cmd.c_str(), code));
    // 0, 1 (redirected), 2 and the descriptor ls opens to read the folder.
    std::string listing = testsupport::ReadFile(out);
    int count = 0;
    for (char c : listing) count += c == '\n';
    EXPECT_LE(count, 4) << listing;
}

TEST(Process, ShellOpenUsesTheOverrideAndFailsWithoutPrograms) {
    testsupport::TempDir t;
    const std::string marker = t / "opened";
    const std::string script = t.Write("viewer.sh", "#!/bin/sh\necho \"$1\" > " + marker + "\n");
    chmod(script.c_str(), 0755);
    setenv("TRAKVUE_HELP_VIEWER", script.c_str(), 1);
    ASSERT_TRUE(platform::ShellOpen(platform::ShellTarget::HelpViewer, "/x/Help.html"));
    for (int i = 0; i < 200 && testsupport::ReadFile(marker).empty(); ++i) platform::SleepMs(10);
    EXPECT_EQ(testsupport::ReadFile(marker), "/x/Help.html\n");
    unsetenv("TRAKVUE_HELP_VIEWER");

    std::string oldPath = platform::GetEnv("PATH");
    setenv("PATH", t.path().c_str(), 1);
    EXPECT_FALSE(platform::ShellOpen(platform::ShellTarget::Spreadsheet, "/x/Export.xls"));
    setenv("PATH", oldPath.c_str(), 1);
}

TEST(Process, ProgramOnPath) {
    EXPECT_TRUE(platform::ProgramOnPath("sh"));
    EXPECT_TRUE(platform::ProgramOnPath("/bin/sh"));
    EXPECT_FALSE(platform::ProgramOnPath("no-such-program-xyz"));
    EXPECT_FALSE(platform::ProgramOnPath(""));
}
