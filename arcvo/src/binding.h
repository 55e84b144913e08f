// Loading libZorbZlib.so and binding its entry points by name.
#pragma once

namespace Arcvo {
namespace detail {

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
