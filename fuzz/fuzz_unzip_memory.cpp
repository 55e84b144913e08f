// Inflates mutated blocks in memory: the first four bytes give the expected size.
#include <cstdint>
#include <cstring>

#include "Arcvo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    uint32_t expected;
    std::memcpy(&expected, data, 4);
    expected %= (1u << 20);
    Arcvo::CZipMemory m;
    uint8_t code = m.Unzip(data + 4, static_cast<uint32_t>(size - 4), expected);
    if (code == 0 && (m.Data() == nullptr || m.DataSize() > expected)) __builtin_trap();
    if (code != 0 && (m.Data() != nullptr || m.DataSize() != 0)) __builtin_trap();
    if (code == 0) {
        Arcvo::CZipMemory again;
        if (again.Zip(m.Data(), m.DataSize(), Arcvo::CZip::COMPRESSION_FAST) != 0 && m.DataSize() > 0) __builtin_trap();
    }
    return 0;
}
