// The compression library is found beside the zip library; when it or one
// of its entry points is missing, every operation answers 3.
#include <gtest/gtest.h>

#include <string>

#include "Arcvo.h"
#include "arcvo_test_util.h"

using arcvotest::Shell;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

std::string ProbeIn(const TempDir& t, const std::string& folder, bool withZlib, const std::string& zlib) {
    const std::string dir = t.MakeDir(folder);
    const std::string bin = ARCVO_PROGRAM_DIR;
    std::string cmd = "cp -L '" + bin + "/libArcvo.so.0' '" + bin + "/libZorbUtils.so.0' '" + bin +
                      "/libTrakvuePlatform.so' '" + std::string(ARCVO_PROBE) + "' '" + dir + "/'";
    EXPECT_EQ(Shell(cmd), 0);
    if (withZlib) {
        EXPECT_EQ(Shell("cp -L '" + zlib + "' '" + dir + "/libZorbZlib.so'"), 0);
    }
    const std::string out = dir + "/out.txt";
    EXPECT_EQ(Shell("cd '" + dir + "' && env -u LD_LIBRARY_PATH ./arcvo_probe '" + dir + "/p.zip' > out.txt"), 0);
    return ReadFile(out);
}

} // namespace

TEST(Binding, MissingLibraryAnswers3) {
    TempDir t;
    EXPECT_EQ(ProbeIn(t, "nolib", false, ""), "3 3 3 3 3\n");
}

TEST(Binding, MissingEntryPointAnswers3) {
    TempDir t;
    EXPECT_EQ(ProbeIn(t, "partial", true, ARCVO_PARTIAL_ZLIB), "3 3 3 3 3\n");
}

TEST(Binding, RealLibraryBesideIt) {
    TempDir t;
    EXPECT_EQ(ProbeIn(t, "real", true, std::string(ARCVO_PROGRAM_DIR) + "/libZorbZlib.so"), "0 0 0 0 0\n");
}
