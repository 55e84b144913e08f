// Reads pictures through a damaged index, or a damaged AVI, of the input.
#include "dvrdb_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string pristine = fuzzdb::Folder();
    static const std::string work = [] {
        std::string w = pristine + "-video";
        std::system(("rm -rf '" + w + "' && cp -r '" + pristine + "' '" + w + "'").c_str());
        return w;
    }();
    if (size < 1) return 0;
    platform::DirSearch s;
    platform::DirEntry e;
    if (!s.First((pristine + "/video/*.avi").c_str(), e)) return 0;
    const std::string name = "/video/" + e.name + ((data[0] & 1) ? ".idx" : "");
    fuzzdb::Patch(pristine + name, work + name, data + 1, size - 1);
    // Without the index file the AVI's own entries are read.
    const std::string idx = work + "/video/" + e.name + ".idx";
    if (data[0] & 2) platform::RemoveFile(idx.c_str());
    fuzzdb::ReadAll(work);
    if (data[0] & 2) fuzzdb::Patch(pristine + "/video/" + e.name + ".idx", idx, nullptr, 0);
    // Restore, so the next input damages one file only.
    fuzzdb::Patch(pristine + name, work + name, nullptr, 0);
    return 0;
}
