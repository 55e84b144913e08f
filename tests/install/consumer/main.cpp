#include <ZorbUtils.h>
#include <cstdio>

int main() {
    char buf[ZorbUtils::MAX_PATH_LENGTH];
    ZorbUtils::CVString::AddLastSlashToPath("a", buf, sizeof buf);
    std::puts(buf);
    return 0;
}
