#include <Arcvo.h>
#include <ZorbUtils.h>
#include <cstdio>

int main() {
    char buf[ZorbUtils::MAX_PATH_LENGTH];
    ZorbUtils::CVString::AddLastSlashToPath("a", buf, sizeof buf);
    Arcvo::CZipMemory m;
    int code = m.Zip("abc", 3, Arcvo::CZip::COMPRESSION_FAST);
    std::printf("%s %d\n", buf, code);
    return 0;
}
