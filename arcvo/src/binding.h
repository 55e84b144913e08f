// Loading libZorbZlib.so and binding its entry points by name.
#pragma once

#include "Arcvo.h"

namespace Arcvo {
namespace detail {

// The deflate level of a compression method.
inline int LevelOf(CZip::ECompressionMethod method) {
    switch (method) {
    case CZip::COMPRESSION_STORE: return 0;
    case CZip::COMPRESSION_FAST: return 1;
    case CZip::COMPRESSION_BEST: return 9;
    default: return -1;
    }
}

// Loads libZorbZlib.so from Arcvo's own folder first; null when missing.
void* LoadZlib();
void UnloadZlib(void* library);
void* Symbol(void* library, const char* name);

// Binds one entry point; false when it is missing.
template <typename Fn>
bool Bind(void* library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(Symbol(library, name));
    return fn != nullptr;
}

} // namespace detail
} // namespace Arcvo
