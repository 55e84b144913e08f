// Opens, lists, reads and extracts mutated archives.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "Arcvo.h"
#include "ZorbUtils.h"

namespace {

std::string WorkDir() {
    static std::string dir = [] {
        char tmpl[] = "/tmp/trakvue-fuzz-zip-XXXXXX";
        const char* d = mkdtemp(tmpl);
        return std::string(d ? d : "/tmp");
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string dir = WorkDir();
    const std::string zip = dir + "/in.zip";
    const std::string out = dir + "/out";
    if (FILE* f = std::fopen(zip.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    {
        Arcvo::CZipArchive a(zip.c_str(), Arcvo::CZipArchive::OPEN_MODE_READ);
        if (a.OpenArchive() == 0) {
            for (uint32_t i = 0; i < a.ArchiveObjectsCount() && i < 16; ++i) {
                const char* name = a.ArchiveObjectByIndex(i)->ObjectName();
                if (a.OpenFile(name) == 0) {
                    char buf[4096];
                    uint32_t n = 0;
                    size_t total = 0;
                    while (a.GetData(buf, sizeof buf, &n) == 0 && n > 0 && total < (1u << 24)) total += n;
                    a.CloseFile();
                }
            }
            a.Extract(out.c_str(), nullptr);
        }
    }
    ZorbUtils::CDirectory::DeleteDirWithContent(out.c_str());
    return 0;
}
