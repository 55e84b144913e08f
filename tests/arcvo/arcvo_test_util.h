// Helpers for the zip library's tests.
#pragma once

#include <cstdlib>
#include <sys/wait.h>
#include <string>

#include "tempdir.h"

namespace arcvotest {

inline int Shell(const std::string& cmd) {
    int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

inline std::string Fixture(const std::string& name) {
    return std::string(ARCVO_FIXTURE_DIR) + "/" + name;
}

} // namespace arcvotest
