// CUtils::RunApplication.
#include "ZorbUtils.h"

#include "platform/platform.h"

namespace ZorbUtils {

bool CUtils::RunApplication(const char* commandLine, int* exitCode) {
    if (exitCode) *exitCode = -1;
    if (!commandLine) return false;
    int code = -1;
    bool ran = platform::RunAndWait(commandLine, code);
    if (exitCode) *exitCode = code;
    return ran && code == 0;
}

} // namespace ZorbUtils
