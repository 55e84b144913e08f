// CVString: the owned string, path helpers and the splitter.
#include "ZorbUtils.h"
#include "text.h"

#include <cstdlib>
#include <cstring>

namespace ZorbUtils {
namespace {

int Compare(const char* a, const char* b) {
    if (!a) return b ? -1 : 0;
    if (!b) return 1;
    return std::strcmp(a, b);  // strcmp compares as unsigned char
}

// Splits a path as the C library's path splitter does: an optional drive
// ("X:"), the folder part with its final separator, and the file part.
void SplitPath(const char* path, const char*& dirStart, const char*& fileStart) {
    const char* p = path;
    if (p[0] && p[1] == ':') p += 2;
    dirStart = p;
    fileStart = p;
    for (const char* q = p; *q; ++q) {
        if (*q == '/' || *q == '\\') fileStart = q + 1;
    }
}

bool IsSeparator(char c, const char* separators) {
    return c != '\0' && std::strchr(separators, c) != nullptr;
}

// Appends one element; false when memory ran out (count becomes 0 when the
// array itself could not grow).
bool Emit(const char* begin, size_t length, char*** array, unsigned int* count) {
    char** grown = static_cast<char**>(std::realloc(*array, sizeof(char*) * (*count + 1)));
    if (!grown) {
        *count = 0;
        return false;
    }
    *array = grown;
    char* s = static_cast<char*>(std::malloc(length + 1));
    if (!s) return false;
    if (length) std::memcpy(s, begin, length);
    s[length] = '\0';
    (*array)[(*count)++] = s;
    return true;
}

} // namespace

CVString::CVString() : m_text(nullptr) {}

CVString::CVString(const char* text, unsigned int maximum) : m_text(nullptr) { SetString(text, maximum); }

CVString::CVString(const CVString& other) : m_text(nullptr) { SetString(other.m_text, 0); }

CVString::CVString(const CVString* other) : m_text(nullptr) {
    if (other) SetString(other->m_text, 0);
}

CVString::~CVString() { std::free(m_text); }

CVString& CVString::operator=(const CVString& other) {
    if (this != &other) SetString(other.m_text, 0);
    return *this;
}

void CVString::SetString(const char* text, unsigned int maximum) {
    if (text && text == m_text) return;
    std::free(m_text);
    m_text = nullptr;
    if (!text || !*text) return;
    size_t n = std::strlen(text);
    if (maximum != 0 && maximum < n) n = maximum;
    m_text = static_cast<char*>(std::malloc(n + 1));
    if (!m_text) return;
    std::memcpy(m_text, text, n);
    m_text[n] = '\0';
}

const char* CVString::String() const { return m_text; }

bool CVString::operator<(const CVString& o) const { return Compare(m_text, o.m_text) < 0; }
bool CVString::operator>(const CVString& o) const { return Compare(m_text, o.m_text) > 0; }
bool CVString::operator==(const CVString& o) const { return Compare(m_text, o.m_text) == 0; }
bool CVString::operator!=(const CVString& o) const { return Compare(m_text, o.m_text) != 0; }

void CVString::FixPathSlashes(char* path) {
    if (!path) return;
    for (char* p = path; *p; ++p) {
        if (*p == '\\') *p = '/';
    }
}

void CVString::DeletePathLastSlash(char* path) {
    if (!path) return;
    size_t n = std::strlen(path);
    if (n > 0 && (path[n - 1] == '/' || path[n - 1] == '\\')) path[n - 1] = '\0';
}

void CVString::AddLastSlashToPath(const char* path, char* buffer, size_t size) {
    if (!path || !buffer || size == 0) return;
    std::memset(buffer, 0, size);
    if (!*path) return;
    detail::CopyBounded(buffer, size, path);
    if (!detail::EndsWithSlash(path)) detail::AppendBounded(buffer, size, "/");
}

void CVString::PathFromFilePath(const char* path, char* buffer, size_t size) {
    if (!path || !buffer || size == 0) return;
    std::memset(buffer, 0, size);
    const char* dirStart;
    const char* fileStart;
    SplitPath(path, dirStart, fileStart);
    size_t n = static_cast<size_t>(fileStart - path);
    if (n > size - 1) n = size - 1;
    std::memcpy(buffer, path, n);
}

void CVString::FileNameFromFilePath(const char* path, char* buffer, size_t size) {
    if (!path || !buffer || size == 0) return;
    std::memset(buffer, 0, size);
    const char* dirStart;
    const char* fileStart;
    SplitPath(path, dirStart, fileStart);
    detail::CopyBounded(buffer, size, fileStart);
}

bool CVString::FindSubstrings(const char* text, const char* separators, char*** array, unsigned int* count,
                              bool keepEmpty) {
    if (!text || !array || !count) return false;
    *array = nullptr;
    *count = 0;
    if (!separators) return Emit(text, std::strlen(text), array, count);

    // start: where the pending element begins (the text start for the first
    // element, else its first content character); last: its last content
    // character. CR/LF with keepEmpty are neither content nor separators.
    const char* start = text;
    const char* last = nullptr;
    bool afterSeparator = false;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (IsSeparator(c, separators)) {
            if (last) {
                if (!Emit(start, static_cast<size_t>(last - start + 1), array, count)) return false;
            } else if (keepEmpty) {
                if (!Emit("", 0, array, count)) return false;
            }
            last = nullptr;
            start = nullptr;
            afterSeparator = true;
        } else if (keepEmpty && (c == '\r' || c == '\n')) {
            continue;
        } else {
            if (!start) start = p;
            last = p;
            afterSeparator = false;
        }
    }
    if (last) return Emit(start, static_cast<size_t>(last - start + 1), array, count);
    if (keepEmpty && (afterSeparator || *count == 0)) return Emit("", 0, array, count);
    return true;
}

void CVString::FreeSubstrings(char** array, unsigned int count) {
    if (!array) return;
    for (unsigned int i = 0; i < count; ++i) std::free(array[i]);
    std::free(array);
}

} // namespace ZorbUtils
