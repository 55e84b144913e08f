// Reads a database whose month file is damaged by the input.
#include "dvrdb_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string pristine = fuzzdb::Folder();
    static const std::string work = [] {
        std::string w = pristine + "-month";
        std::system(("rm -rf '" + w + "' && cp -r '" + pristine + "' '" + w + "'").c_str());
        return w;
    }();
    fuzzdb::Patch(pristine + "/Arh1_12.pdb", work + "/Arh1_12.pdb", data, size);
    fuzzdb::ReadAll(work);
    return 0;
}
