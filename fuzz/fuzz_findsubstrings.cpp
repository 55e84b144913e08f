// Splits arbitrary text and checks what every split must satisfy.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ZorbUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // First byte: flags and separator count; then separators, then text.
    const bool keepEmpty = data[0] & 1;
    const bool nullSeparators = data[0] & 2;
    size_t sepCount = (data[0] >> 2) % 4;
    if (sepCount + 1 > size) return 0;
    std::string seps(reinterpret_cast<const char*>(data + 1), sepCount);
    seps = seps.c_str();  // up to the first NUL
    std::string text(reinterpret_cast<const char*>(data + 1 + sepCount), size - 1 - sepCount);
    text = text.c_str();

    char** arr = nullptr;
    unsigned int count = 0;
    bool ok = ZorbUtils::CVString::FindSubstrings(text.c_str(), nullSeparators ? nullptr : seps.c_str(), &arr,
                                                  &count, keepEmpty);
    if (!ok) abort();
    if (nullSeparators) {
        if (count != 1 || text != arr[0]) abort();
    } else {
        size_t contentTotal = 0;
        for (unsigned int i = 0; i < count; ++i) {
            const char* e = arr[i];
            if (!keepEmpty && !*e) abort();  // no empty element without the flag
            for (const char* p = e; *p; ++p) {
                if (!seps.empty() && std::strchr(seps.c_str(), *p)) abort();  // no separator inside
            }
            contentTotal += std::strlen(e);
        }
        if (contentTotal > text.size()) abort();
        if (keepEmpty && count == 0) abort();
    }
    ZorbUtils::CVString::FreeSubstrings(arr, count);
    return 0;
}
