// CZipMemory: one memory block compressed or inflated in zlib format, and
// the loading of the compression library shared by every object.
#include "Arcvo.h"

#include <zlib.h>

#include <cstdlib>

#include "binding.h"
#include "platform/platform.h"

namespace Arcvo {
namespace detail {

void* LoadZlib() {
    static const int anchor = 0;  // an address inside this library
    return platform::LoadLibraryBeside(&anchor, "libZorbZlib.so");
}

void UnloadZlib(void* library) { platform::FreeLibrary(library); }

void* Symbol(void* library, const char* name) { return platform::LibrarySymbol(library, name); }

} // namespace detail

namespace {

using Compress2Fn = decltype(&::compress2);
using CompressBoundFn = decltype(&::compressBound);
using UncompressFn = decltype(&::uncompress);


} // namespace

CZipMemory::CZipMemory()
    : m_ready(0), m_library(nullptr), m_compress2(nullptr), m_compressBound(nullptr), m_uncompress(nullptr),
      m_data(nullptr), m_size(0) {
    m_library = detail::LoadZlib();
    if (!m_library) return;
    m_compress2 = detail::Symbol(m_library, "compress2");
    if (m_compress2) m_compressBound = detail::Symbol(m_library, "compressBound");
    if (m_compressBound) m_uncompress = detail::Symbol(m_library, "uncompress");
    m_ready = m_uncompress ? 1 : 0;
}

CZipMemory::~CZipMemory() {
    Free();
    detail::UnloadZlib(m_library);
}

void CZipMemory::Free() {
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

uint8_t CZipMemory::Zip(const void* source, uint32_t length, CZip::ECompressionMethod method) {
    Free();
    if (!source || length == 0) return 2;
    if (!m_ready) return 3;
    uLong bound = reinterpret_cast<CompressBoundFn>(m_compressBound)(length);
    if (bound == 0 || bound > 0xFFFFFFFFul) return 9;
    void* out = std::malloc(bound);
    if (!out) return 9;
    uLongf outSize = bound;
    int rc = reinterpret_cast<Compress2Fn>(m_compress2)(static_cast<Bytef*>(out), &outSize,
                                                        static_cast<const Bytef*>(source), length, detail::LevelOf(method));
    if (rc != Z_OK) {
        std::free(out);
        return 9;
    }
    m_data = out;
    m_size = static_cast<uint32_t>(outSize);
    return 0;
}

uint8_t CZipMemory::Unzip(const void* source, uint32_t length, uint32_t expected) {
    Free();
    if (!source || length == 0 || expected == 0) return 2;
    if (!m_ready) return 3;
    void* out = std::malloc(expected);
    if (!out) return 9;
    m_data = out;
    m_size = expected;
    uLongf outSize = expected;
    int rc = reinterpret_cast<UncompressFn>(m_uncompress)(static_cast<Bytef*>(out), &outSize,
                                                         static_cast<const Bytef*>(source), length);
    if (rc == Z_OK) {
        m_size = static_cast<uint32_t>(outSize);
        return 0;
    }
    Free();
    if (rc == Z_BUF_ERROR) return 9;  // the expected size is too small
    if (rc == Z_DATA_ERROR) return 12;
    return 9;  // out of memory inside zlib, or another failure: never success
}

const void* CZipMemory::Data() const { return m_data; }
uint32_t CZipMemory::DataSize() const { return m_size; }

} // namespace Arcvo
