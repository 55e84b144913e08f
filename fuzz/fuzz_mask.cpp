// Compares the mask matcher with a plain recursive reference.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace {

bool Reference(const char* m, const char* n, int depth) {
    if (depth > 200) return false;
    if (!*m) return !*n;
    if (*m == '*') return Reference(m + 1, n, depth + 1) || (*n && Reference(m, n + 1, depth + 1));
    if (!*n) return false;
    if (*m == '?' || std::tolower(static_cast<unsigned char>(*m)) == std::tolower(static_cast<unsigned char>(*n)))
        return Reference(m + 1, n + 1, depth + 1);
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\0');
    if (split == std::string::npos) return 0;
    std::string mask = input.substr(0, split);
    std::string name = input.substr(split + 1);
    name = name.c_str();
    bool got = platform::MatchMask(mask.c_str(), name.c_str());
    if (mask == "*.*") {
        if (!got) abort();
        return 0;
    }
    // The reference is exponential; compare only where it stays cheap.
    int stars = 0;
    for (char c : mask) stars += c == '*';
    if (stars <= 4 && mask.size() <= 32 && name.size() <= 32) {
        for (char c : mask + name) {
            if (static_cast<unsigned char>(c) >= 0x80) return 0;  // the reference's tolower is ASCII only here
        }
        if (got != Reference(mask.c_str(), name.c_str(), 0)) abort();
    }
    return 0;
}
