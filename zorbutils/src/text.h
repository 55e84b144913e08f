// Bounded text copies used by every part of the library.
#pragma once

#include <cstddef>
#include <cstring>

namespace ZorbUtils {
namespace detail {

// Copies up to size - 1 bytes of text and terminates; nothing when size is 0.
inline void CopyBounded(char* buffer, size_t size, const char* text) {
    if (!buffer || size == 0) return;
    size_t n = text ? std::strlen(text) : 0;
    if (n > size - 1) n = size - 1;
    if (n) std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

// Appends text to a terminated buffer of size bytes, cutting at the end.
inline void AppendBounded(char* buffer, size_t size, const char* text) {
    if (!buffer || size == 0 || !text) return;
    size_t used = strnlen(buffer, size);
    if (used >= size) return;
    CopyBounded(buffer + used, size - used, text);
}

inline bool EndsWithSlash(const char* text) {
    size_t n = text ? std::strlen(text) : 0;
    return n > 0 && (text[n - 1] == '/' || text[n - 1] == '\\');
}

} // namespace detail
} // namespace ZorbUtils
