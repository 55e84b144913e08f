#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/platform.h"
#include "tempdir.h"

namespace {

class Named : public ::testing::Test {
protected:
    void SetUp() override { setenv("TRAKVUE_RUNTIME_DIR", dir.path().c_str(), 1); }
    void TearDown() override { unsetenv("TRAKVUE_RUNTIME_DIR"); }
    testsupport::TempDir dir;
};

} // namespace

TEST_F(Named, LockIsHeldOnceAndFreedWithItsHolder) {
    const std::string name = "REG_CLIENT-088FA840-B10D-11D3-BC36-006067709674";
    platform::NamedLock first, second;
    ASSERT_TRUE(first.TryAcquire(name));
    EXPECT_FALSE(second.TryAcquire(name));

    // Another process sees it held as well.
    pid_t pid = fork();
    if (pid == 0) {
        platform::NamedLock other;
        _exit(other.TryAcquire(name) ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    first.Release();
    EXPECT_TRUE(second.TryAcquire(name));
}

TEST_F(Named, SharedByteIsSeenByAnotherProcess) {
    const std::string name = "TrakvueTest_" + std::to_string(getpid());
    platform::SharedByte byte;
    ASSERT_TRUE(byte.Open(name));
    byte.Set(0);
    pid_t pid = fork();
    if (pid == 0) {
        platform::SharedByte other;
        if (!other.Open(name)) _exit(2);
        other.Set(7);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(byte.Get(), 7);
    byte.Close();
    EXPECT_EQ(byte.Get(), 0);
    EXPECT_TRUE(platform::SharedByte::Unlink(name));
}
