// Prints the zip library's answers in whatever folder it is copied to, so
// that a test can run it beside a missing or partial compression library.
#include <cstdio>

#include "Arcvo.h"

int main(int argc, char** argv) {
    const char* zip = argc > 1 ? argv[1] : "probe.zip";
    Arcvo::CZipArchive a(zip, Arcvo::CZipArchive::OPEN_MODE_CREATE);
    int open = a.OpenArchive();
    int add = a.AddFile(argv[0], Arcvo::CZip::COMPRESSION_FAST, nullptr);
    int close = a.CloseArchive();
    Arcvo::CZipMemory m;
    int zipped = m.Zip("abc", 3, Arcvo::CZip::COMPRESSION_FAST);
    ArchiveHandle h = OpenArchive(zip, 0);
    int last = GetLastArchiveError();
    CloseArchive(h);
    std::printf("%d %d %d %d %d\n", open, add, close, zipped, last);
    return 0;
}
