// Parses arbitrary Prm.cfg texts; what parses must write back and parse
// to the same configuration.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "prm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    dvrdb::DbConfig c;
    if (!dvrdb::ParsePrm(text, c)) return 0;
    const std::string once = dvrdb::FormatPrm(c);
    dvrdb::DbConfig again;
    if (!dvrdb::ParsePrm(once, again)) abort();
    if (dvrdb::FormatPrm(again) != once) abort();
    for (const dvrdb::ParamDef& p : c.params) {
        if (p.type < 1 || p.type > 15) abort();
        if (p.type != 15 && p.offset + dvrdb::TypeSize(p.type) > c.recordSize) abort();
    }
    return 0;
}
