// CZipArchive: zip archives on disk through the run-time bound minizip.
#include "Arcvo.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "ZorbUtils.h"
#include "binding.h"
#include "platform/platform.h"

using ZorbUtils::CDirectory;
using ZorbUtils::CDirectoryNode;
using ZorbUtils::CVString;

namespace Arcvo {

// The fifteen minizip entry points, in the order they are bound.
struct CZipArchive::Binding {
    decltype(&::zipOpen) zipOpen = nullptr;
    decltype(&::unzOpen) unzOpen = nullptr;
    decltype(&::zipClose) zipClose = nullptr;
    decltype(&::unzClose) unzClose = nullptr;
    decltype(&::unzGetCurrentFileInfo) unzGetCurrentFileInfo = nullptr;
    decltype(&::unzOpenCurrentFile) unzOpenCurrentFile = nullptr;
    decltype(&::unzReadCurrentFile) unzReadCurrentFile = nullptr;
    decltype(&::unzCloseCurrentFile) unzCloseCurrentFile = nullptr;
    decltype(&::zipOpenNewFileInZip) zipOpenNewFileInZip = nullptr;
    decltype(&::zipWriteInFileInZip) zipWriteInFileInZip = nullptr;
    decltype(&::zipCloseFileInZip) zipCloseFileInZip = nullptr;
    decltype(&::unzGetGlobalInfo) unzGetGlobalInfo = nullptr;
    decltype(&::unzGoToFirstFile) unzGoToFirstFile = nullptr;
    decltype(&::unzGoToNextFile) unzGoToNextFile = nullptr;
    decltype(&::unzLocateFile) unzLocateFile = nullptr;
};

namespace {

constexpr size_t kChunk = 0x300000;         // 3 MiB copy chunks
constexpr size_t kMinExtractBuffer = 0x10000;
constexpr uint64_t kZip32Limit = 0xFFFFFFFFull;  // sizes from here on need Zip64

uint8_t Fail(uint8_t code) { return code; }


void CopyName(char* dst, const char* src) {
    std::strncpy(dst, src ? src : "", MAX_NAME_LENGTH - 1);
    dst[MAX_NAME_LENGTH - 1] = '\0';
}

// An archive of nothing but its end record (and comment): 0 entries.
bool IsEmptyArchiveFile(const char* path) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes) || bytes.size() < 22 || bytes.size() > 22 + 0xFFFF) return false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (p[0] != 'P' || p[1] != 'K' || p[2] != 5 || p[3] != 6) return false;
    for (int i = 4; i < 20; ++i) {
        if (p[i] != 0) return false;  // disks, counts, sizes, offset all zero
    }
    const size_t comment = p[20] | (p[21] << 8);
    return bytes.size() == 22 + comment;
}

bool EndsWithSlash(const std::string& s) { return !s.empty() && (s.back() == '/' || s.back() == '\\'); }

void FillDate(tm_zip& date, int64_t epochSec) {
    platform::CalendarTime t = platform::LocalFromEpochMs(epochSec * 1000);
    date.tm_sec = static_cast<uInt>(t.second);
    date.tm_min = static_cast<uInt>(t.minute);
    date.tm_hour = static_cast<uInt>(t.hour);
    date.tm_mday = static_cast<uInt>(t.day);
    date.tm_mon = static_cast<uInt>(t.month - 1);
    date.tm_year = static_cast<uInt>(t.year);
}

// An entry name that may be written below a target: relative, no drive
// letter, no ".." component (either separator counts).
bool SafeEntryName(const char* name) {
    if (!name || !*name) return false;
    if (name[0] == '/' || name[0] == '\\') return false;
    if (((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) && name[1] == ':') return false;
    const char* part = name;
    for (const char* p = name;; ++p) {
        if (*p == '/' || *p == '\\' || *p == '\0') {
            if (p - part == 2 && part[0] == '.' && part[1] == '.') return false;
            if (*p == '\0') break;
            part = p + 1;
        }
    }
    return true;
}

std::string Slashed(const char* name) {
    std::string s(name);
    for (char& c : s) {
        if (c == '\\') c = '/';
    }
    return s;
}

} // namespace

// ------------------------------------------------------------ construction

CZipArchive::CZipArchive() : m_binding(nullptr) {
    Init();
}

CZipArchive::CZipArchive(const char* name, EArchiveOpenMode mode) : m_binding(nullptr) {
    Init();
    CopyName(m_archiveName, name);
    m_mode = mode;
}

CZipArchive::~CZipArchive() {
    CloseArchive();
    ForceCloseArchive();
    delete m_binding;
    detail::UnloadZlib(m_library);
}

void CZipArchive::Init() {
    m_ready = 0;
    m_library = nullptr;
    m_archiveName[0] = '\0';
    m_archive = nullptr;
    m_writing = 0;
    m_reading = 0;
    m_sourceDirectory[0] = '\0';
    m_archiveFolder[0] = '\0';
    m_objectCount = 0;
    m_objects = nullptr;
    m_mode = OPEN_MODE_NOT_SET;
    m_entryBytes = 0;
    m_emptyArchive = 0;

    m_binding = new (std::nothrow) Binding;
    m_library = detail::LoadZlib();
    if (!m_binding || !m_library) return;
    Binding& b = *m_binding;
    // Bound in order; the first missing entry point stops the binding.
    const bool all = detail::Bind(m_library, "zipOpen", b.zipOpen) && detail::Bind(m_library, "unzOpen", b.unzOpen) &&
                     detail::Bind(m_library, "zipClose", b.zipClose) && detail::Bind(m_library, "unzClose", b.unzClose) &&
                     detail::Bind(m_library, "unzGetCurrentFileInfo", b.unzGetCurrentFileInfo) &&
                     detail::Bind(m_library, "unzOpenCurrentFile", b.unzOpenCurrentFile) &&
                     detail::Bind(m_library, "unzReadCurrentFile", b.unzReadCurrentFile) &&
                     detail::Bind(m_library, "unzCloseCurrentFile", b.unzCloseCurrentFile) &&
                     detail::Bind(m_library, "zipOpenNewFileInZip", b.zipOpenNewFileInZip) &&
                     detail::Bind(m_library, "zipWriteInFileInZip", b.zipWriteInFileInZip) &&
                     detail::Bind(m_library, "zipCloseFileInZip", b.zipCloseFileInZip) &&
                     detail::Bind(m_library, "unzGetGlobalInfo", b.unzGetGlobalInfo) &&
                     detail::Bind(m_library, "unzGoToFirstFile", b.unzGoToFirstFile) &&
                     detail::Bind(m_library, "unzGoToNextFile", b.unzGoToNextFile) &&
                     detail::Bind(m_library, "unzLocateFile", b.unzLocateFile);
    m_ready = all ? 1 : 0;
}

// ------------------------------------------------------------- accessors

void CZipArchive::SetArchiveFileName(const char* name) {
    ForceCloseArchive();
    CopyName(m_archiveName, name);
}

void CZipArchive::SetArchiveOpenMode(EArchiveOpenMode mode) {
    ForceCloseArchive();
    m_mode = mode;
}

const char* CZipArchive::ArchiveFileName() const { return m_archiveName; }
CZipArchive::EArchiveOpenMode CZipArchive::ArchiveOpenMode() const { return m_mode; }
uint32_t CZipArchive::ArchiveObjectsCount() const { return m_objectCount; }

const CZipObjectInfo* CZipArchive::ArchiveObjectByIndex(uint32_t index) const {
    if (index >= m_objectCount || !m_objects) return &m_emptyObject;
    return m_objects[index];
}

void CZipArchive::FreeObjects() {
    for (uint32_t i = 0; i < m_objectCount; ++i) delete m_objects[i];
    std::free(m_objects);
    m_objects = nullptr;
    m_objectCount = 0;
}

CZipObjectInfo::EObjectType CZipArchive::ZipObjectInfo(uint32_t attributes, const char* name) {
    const bool slash = name && *name && name[std::strlen(name) - 1] == '/';
    if ((attributes & 0x80000000u) || (attributes & 0x20u) || (attributes & 0x07u) || attributes == 0)
        return slash ? CZipObjectInfo::OBJECT_TYPE_DIRECTORY : CZipObjectInfo::OBJECT_TYPE_FILE;
    if ((attributes & 0x10u) || (attributes & 0x40000000u)) return CZipObjectInfo::OBJECT_TYPE_DIRECTORY;
    if (slash) return CZipObjectInfo::OBJECT_TYPE_DIRECTORY;
    // Permissions without a file type in the Unix half (as some archivers
    // write for data added from memory) describe a plain file.
    if ((attributes & 0xFFFF0000u) != 0 && (attributes & 0xF0000000u) == 0) return CZipObjectInfo::OBJECT_TYPE_FILE;
    return CZipObjectInfo::OBJECT_TYPE_UNKNOWN;
}

// ------------------------------------------------------------ open, close

uint8_t CZipArchive::OpenArchive() {
    if (!m_archiveName[0] || m_mode == OPEN_MODE_NOT_SET) return Fail(2);
    if (!m_ready) return Fail(3);
    if (m_archive) return Fail(1);
    const Binding& b = *m_binding;
    switch (m_mode) {
    case OPEN_MODE_CREATE:
        m_archive = b.zipOpen(m_archiveName, APPEND_STATUS_CREATE);
        return m_archive ? 0 : Fail(10);
    case OPEN_MODE_ADD:
        m_archive = b.zipOpen(m_archiveName, APPEND_STATUS_ADDINZIP);
        return m_archive ? 0 : Fail(10);
    case OPEN_MODE_READ:
        break;
    default:
        return Fail(2);
    }
    m_archive = b.unzOpen(m_archiveName);
    if (!m_archive) {
        // minizip cannot open an archive whose end record is all it holds;
        // such an archive is valid and simply empty.
        if (!IsEmptyArchiveFile(m_archiveName)) return Fail(10);
        m_archive = &m_emptyArchive;
        m_emptyArchive = 1;
        return 0;
    }

    uint8_t code = 0;
    unz_global_info global{};
    if (b.unzGetGlobalInfo(m_archive, &global) != UNZ_OK) {
        code = 13;
    } else if (global.number_entry > 0) {
        // The list grows with the entries actually found, so a count that
        // the archive overstates allocates nothing in advance.
        uint32_t capacity = 0;
        int rc = b.unzGoToFirstFile(m_archive);
        while (rc == UNZ_OK && code == 0) {
            unz_file_info info{};
            char name[MAX_NAME_LENGTH];
            if (b.unzGetCurrentFileInfo(m_archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) {
                code = 14;
                break;
            }
            if (info.size_filename >= sizeof name) {  // would be listed under a cut name
                code = 14;
                break;
            }
            CZipObjectInfo::EObjectType type = ZipObjectInfo(static_cast<uint32_t>(info.external_fa), name);
            if (type == CZipObjectInfo::OBJECT_TYPE_UNKNOWN) {
                code = 14;
                break;
            }
            if (m_objectCount == capacity) {
                uint32_t grow = capacity ? capacity * 2 : 64;
                auto* list = static_cast<CZipObjectInfo**>(std::realloc(m_objects, sizeof(CZipObjectInfo*) * grow));
                if (!list) {
                    code = 9;
                    break;
                }
                m_objects = list;
                capacity = grow;
            }
            uint32_t size = info.uncompressed_size > kZip32Limit ? 0xFFFFFFFFu : static_cast<uint32_t>(info.uncompressed_size);
            CZipObjectInfo* obj = new (std::nothrow) CZipObjectInfo(name, type, size);
            if (!obj) {
                code = 9;
                break;
            }
            m_objects[m_objectCount++] = obj;
            rc = b.unzGoToNextFile(m_archive);
        }
        if (code == 0 && rc != UNZ_END_OF_LIST_OF_FILE) code = 17;
    }
    if (code != 0) {
        FreeObjects();
        b.unzClose(m_archive);
        m_archive = nullptr;
    }
    return code;
}

uint8_t CZipArchive::CloseArchive() {
    if (!m_ready) return Fail(3);
    if (!m_archive) return Fail(1);
    const Binding& b = *m_binding;
    if (m_mode == OPEN_MODE_CREATE || m_mode == OPEN_MODE_ADD) {
        if (m_writing) {
            if (b.zipCloseFileInZip(m_archive) != ZIP_OK) return Fail(21);
            m_writing = 0;
        }
        if (b.zipClose(m_archive, nullptr) != ZIP_OK) return Fail(11);
    } else if (m_mode == OPEN_MODE_READ) {
        if (m_emptyArchive) {
            m_emptyArchive = 0;
            m_archive = nullptr;
            return 0;
        }
        if (m_reading) {
            if (b.unzCloseCurrentFile(m_archive) != UNZ_OK) return Fail(18);
            m_reading = 0;
        }
        if (b.unzClose(m_archive) != UNZ_OK) return Fail(11);
        FreeObjects();
    } else {
        return Fail(11);
    }
    m_archive = nullptr;
    return 0;
}

void CZipArchive::ForceCloseArchive() {
    CloseArchive();
    if (m_archive && m_ready && !m_emptyArchive) {
        // CloseArchive failed part-way: release the handle all the same, so
        // that nothing stays open behind a cleared pointer.
        if (m_mode == OPEN_MODE_READ) {
            m_binding->unzClose(m_archive);
        } else if (m_mode == OPEN_MODE_CREATE || m_mode == OPEN_MODE_ADD) {
            m_binding->zipClose(m_archive, nullptr);
        }
    }
    m_writing = 0;
    m_reading = 0;
    m_emptyArchive = 0;
    FreeObjects();
    m_archive = nullptr;
}

// ---------------------------------------------------------------- writing

uint8_t CZipArchive::CreateObject(ECreatingObject kind, const char* name, const char* source,
                                  CZip::ECompressionMethod method) {
    if ((kind != CREATING_DIRECTORY && kind != CREATING_FILE) || !name || !*name) return Fail(2);
    if (!m_ready) return Fail(3);
    if (!m_archive || (m_mode != OPEN_MODE_CREATE && m_mode != OPEN_MODE_ADD)) return Fail(1);
    // A name that does not fit would be stored cut, as another entry.
    if (std::strlen(name) >= MAX_NAME_LENGTH - 1) return Fail(2);
    std::string entry = Slashed(name);
    const Binding& b = *m_binding;

    zip_fileinfo zi{};
    uint64_t size = 0;
    std::string src;
    if (source) {
        src = source;
        if (kind == CREATING_DIRECTORY) {
            if (EndsWithSlash(src)) src.pop_back();
        } else if (EndsWithSlash(src)) {
            return Fail(2);
        }
        platform::PathInfo st = platform::StatPath(src.c_str());
        if (!st.exists) return Fail(8);
        size = st.size;
        uint32_t winAttr = st.isDirectory ? 0x10u : 0x20u;
        if (!st.writable) winAttr |= 0x01u;
        zi.external_fa = (static_cast<uLong>(st.mode) << 16) | (winAttr & 0x37u);
        FillDate(zi.tmz_date, st.modifiedEpochSec);
        // Without Zip64 the sizes would wrap: refuse before writing anything.
        if (kind == CREATING_FILE && size >= kZip32Limit) return Fail(19);
    } else {
        zi.external_fa = kind == CREATING_DIRECTORY ? 0x10u : 0x20u;
        FillDate(zi.tmz_date, platform::NowEpochMs() / 1000);
    }
    zi.dosDate = 0;
    zi.internal_fa = 0;

    // The source is opened before its entry is started, so that a source
    // that cannot be read leaves no empty entry of its name behind.
    std::FILE* in = nullptr;
    if (source && kind == CREATING_FILE) {
        if (platform::StatPath(src.c_str()).isDirectory) return Fail(4);
        in = std::fopen(src.c_str(), "rb");
        if (!in) return Fail(4);
    }

    std::string stored = entry;
    if (kind == CREATING_DIRECTORY && stored.back() != '/') stored += '/';
    const int compression = kind == CREATING_DIRECTORY ? 0 : Z_DEFLATED;
    if (b.zipOpenNewFileInZip(m_archive, stored.c_str(), &zi, nullptr, 0, nullptr, 0, nullptr, compression,
                              detail::LevelOf(method)) != ZIP_OK) {
        if (in) std::fclose(in);
        return Fail(19);
    }

    if (kind == CREATING_DIRECTORY) {
        return b.zipCloseFileInZip(m_archive) == ZIP_OK ? 0 : Fail(21);
    }
    if (!in) {
        m_writing = 1;
        m_entryBytes = 0;
        return 0;
    }

    uint8_t code = 0;
    if (size > 0) {
        size_t chunk = size < kChunk ? static_cast<size_t>(size) : kChunk;
        char* buffer = static_cast<char*>(std::malloc(chunk));
        if (!buffer) {
            code = 9;
        } else {
            uint64_t total = 0;
            for (;;) {
                size_t n = std::fread(buffer, 1, chunk, in);
                if (n > 0) {
                    total += n;
                    if (total >= kZip32Limit) {  // the file grew while being read
                        code = 20;
                        break;
                    }
                    if (b.zipWriteInFileInZip(m_archive, buffer, static_cast<unsigned>(n)) != ZIP_OK) {
                        code = 20;
                        break;
                    }
                }
                if (n < chunk) {
                    if (std::ferror(in)) code = 5;
                    break;
                }
            }
            std::free(buffer);
        }
    }
    std::fclose(in);
    if (b.zipCloseFileInZip(m_archive) != ZIP_OK) return Fail(21);
    return code;
}

uint8_t CZipArchive::AddFile(const char* source, CZip::ECompressionMethod method, const char* folder) {
    if (!source || !*source) return Fail(2);
    if (!m_ready) return Fail(3);
    if (!m_archive) return Fail(1);
    if ((m_mode != OPEN_MODE_CREATE && m_mode != OPEN_MODE_ADD) || m_writing) return Fail(1);
    char fileName[MAX_NAME_LENGTH];
    CVString::FileNameFromFilePath(source, fileName, sizeof fileName);
    if (!fileName[0]) return Fail(2);
    std::string entry;
    if (folder && *folder) {
        entry = Slashed(folder);
        if (entry.back() != '/') entry += '/';
        entry += fileName;
    } else {
        entry = fileName;
    }
    return CreateObject(CREATING_FILE, entry.c_str(), source, method);
}

uint8_t CZipArchive::AddDirectory(const char* source, CZip::ECompressionMethod method, const char* folder) {
    if (!source || !*source) return Fail(2);
    if (!m_ready) return Fail(3);
    if (!m_archive) return Fail(1);
    if ((m_mode != OPEN_MODE_CREATE && m_mode != OPEN_MODE_ADD) || m_writing) return Fail(1);
    std::memset(m_sourceDirectory, 0, sizeof m_sourceDirectory);
    std::memset(m_archiveFolder, 0, sizeof m_archiveFolder);
    CVString::AddLastSlashToPath(source, m_sourceDirectory, sizeof m_sourceDirectory);
    if (folder && *folder) CVString::AddLastSlashToPath(folder, m_archiveFolder, sizeof m_archiveFolder);
    CVString::FixPathSlashes(m_archiveFolder);
    return AddDirectoryToZip(m_sourceDirectory, m_archiveFolder, method);
}

uint8_t CZipArchive::AddDirectoryToZip(const char* directory, const char* folder, CZip::ECompressionMethod method) {
    CDirectory dir(directory);
    if (!dir.Read(nullptr, CDirectory::READ_ALL)) return Fail(8);
    for (unsigned int i = 0; i < dir.Count(); ++i) {
        const CDirectoryNode& node = dir.DirectoryNodeByIndex(i);
        const std::string name = node.DirectoryNodeName();
        uint8_t code;
        if (node.DirectoryNodeType() == CDirectoryNode::NODE_TYPE_DIRECTORY) {
            const std::string entry = std::string(folder) + name + "/";
            const std::string path = std::string(directory) + name + "/";
            code = CreateObject(CREATING_DIRECTORY, entry.c_str(), path.c_str(), method);
            if (code == 0) code = AddDirectoryToZip(path.c_str(), entry.c_str(), method);
        } else if (node.DirectoryNodeType() == CDirectoryNode::NODE_TYPE_FILE) {
            const std::string entry = std::string(folder) + name;
            const std::string path = std::string(directory) + name;
            code = CreateObject(CREATING_FILE, entry.c_str(), path.c_str(), method);
        } else {
            code = 2;
        }
        if (code != 0) return code;
    }
    return 0;
}

uint8_t CZipArchive::CreateDir(const char* name) {
    return CreateObject(CREATING_DIRECTORY, name, nullptr, CZip::COMPRESSION_STORE);
}

uint8_t CZipArchive::CreateFile(const char* name, CZip::ECompressionMethod method) {
    return CreateObject(CREATING_FILE, name, nullptr, method);
}

uint8_t CZipArchive::AddData(const void* data, uint32_t length) {
    if (!data || length == 0) return Fail(2);
    if (!m_ready) return Fail(3);
    if (!m_writing || !m_archive) return Fail(1);
    if (m_entryBytes + length >= kZip32Limit) return Fail(20);
    if (m_binding->zipWriteInFileInZip(m_archive, data, length) != ZIP_OK) return Fail(20);
    m_entryBytes += length;
    return 0;
}

// ---------------------------------------------------------------- reading

uint8_t CZipArchive::OpenFile(const char* name) {
    if (!name || !*name) return Fail(2);
    if (!m_ready) return Fail(3);
    if (!m_archive || m_mode != OPEN_MODE_READ || m_reading) return Fail(1);
    if (m_emptyArchive) return Fail(17);
    if (m_binding->unzLocateFile(m_archive, name, 1) != UNZ_OK) return Fail(17);
    if (m_binding->unzOpenCurrentFile(m_archive) != UNZ_OK) return Fail(15);
    m_reading = 1;
    return 0;
}

uint8_t CZipArchive::GetData(void* buffer, uint32_t size, uint32_t* read) {
    if (read) *read = 0;
    if (!buffer || size == 0 || !read) return Fail(2);
    if (!m_ready) return Fail(3);
    if (!m_reading || !m_archive) return Fail(1);
    unsigned want = size > 0x7FFFFFFFu ? 0x7FFFFFFFu : size;
    int n = m_binding->unzReadCurrentFile(m_archive, buffer, want);
    if (n < 0) return Fail(16);
    *read = static_cast<uint32_t>(n);
    return 0;
}

uint8_t CZipArchive::CloseFile() {
    if (!m_ready) return Fail(3);
    if (m_writing) {
        if (m_binding->zipCloseFileInZip(m_archive) != ZIP_OK) return Fail(21);
        m_writing = 0;
    } else if (!m_reading) {
        return Fail(1);
    }
    if (m_reading) {
        const int rc = m_binding->unzCloseCurrentFile(m_archive);
        m_reading = 0;
        if (rc != UNZ_OK) return Fail(18);
    }
    return 0;
}

uint8_t CZipArchive::ExtractCurrent(const char* target, const char* name, uint32_t attributes, const void* dateInfo,
                                    uint32_t declaredSize) {
    const Binding& b = *m_binding;
    const std::string rel = Slashed(name);
    const std::string base(target);
    CZipObjectInfo::EObjectType type = ZipObjectInfo(attributes, name);
    if (type == CZipObjectInfo::OBJECT_TYPE_UNKNOWN) return Fail(14);
    if (platform::HasLinkBelow(base, rel)) return Fail(14);

    if (type == CZipObjectInfo::OBJECT_TYPE_DIRECTORY) {
        return CDirectory::MakeDirSequence(base.c_str(), rel.c_str()) ? 0 : Fail(7);
    }
    char dirPart[MAX_NAME_LENGTH];
    CVString::PathFromFilePath(rel.c_str(), dirPart, sizeof dirPart);
    if (!CDirectory::MakeDirSequence(base.c_str(), dirPart)) return Fail(7);
    if (b.unzOpenCurrentFile(m_archive) != UNZ_OK) return Fail(15);

    const std::string path = base + rel;
    std::FILE* out = platform::OpenForWritingNoFollow(path.c_str());
    if (!out) {
        // A file that cannot be created is skipped, as before.
        b.unzCloseCurrentFile(m_archive);
        return 0;
    }
    uint8_t code = 0;
    // The declared size only sizes the buffer; the copy runs until the
    // data actually end.
    size_t bufSize = declaredSize < kMinExtractBuffer ? kMinExtractBuffer : declaredSize;
    if (bufSize > kChunk) bufSize = kChunk;
    char* buffer = static_cast<char*>(std::malloc(bufSize));
    if (!buffer) code = 9;
    while (code == 0) {
        int n = b.unzReadCurrentFile(m_archive, buffer, static_cast<unsigned>(bufSize));
        if (n < 0) {
            code = 16;
            break;
        }
        if (n == 0) break;
        if (std::fwrite(buffer, 1, static_cast<size_t>(n), out) != static_cast<size_t>(n)) code = 6;
    }
    std::free(buffer);
    if (std::fclose(out) != 0 && code == 0) code = 6;
    const int closeRc = b.unzCloseCurrentFile(m_archive);
    if (closeRc != UNZ_OK && code == 0) code = 18;  // also a checksum mismatch
    if (code != 0) {
        platform::RemoveFile(path.c_str());
        return code;
    }
    const tm_unz& d = *static_cast<const tm_unz*>(dateInfo);
    platform::CalendarTime t;
    t.year = static_cast<int>(d.tm_year >= 1901 ? d.tm_year : d.tm_year + 1900);
    t.month = static_cast<int>(d.tm_mon) + 1;
    t.day = static_cast<int>(d.tm_mday);
    t.hour = static_cast<int>(d.tm_hour);
    t.minute = static_cast<int>(d.tm_min);
    t.second = static_cast<int>(d.tm_sec);
    platform::SetFileTimes(path.c_str(), platform::EpochMsFromLocal(t) / 1000);
    platform::SetWritable(path.c_str(), (attributes & 0x01u) == 0);
    return 0;
}

uint8_t CZipArchive::Extract(const char* target, const char* prefix) {
    if (!target || !*target) return Fail(2);
    if (!m_ready) return Fail(3);
    if (!m_archive || m_mode != OPEN_MODE_READ || m_reading) return Fail(1);
    const Binding& b = *m_binding;

    if (m_emptyArchive) return 0;
    char base[MAX_NAME_LENGTH];
    CVString::AddLastSlashToPath(target, base, sizeof base);
    CVString::FixPathSlashes(base);
    std::string pre = prefix ? Slashed(prefix) : std::string();
    // The target itself is created when missing.
    if (!CDirectory::IsDirectoryExists(base) && !CDirectory::MakeDirSequence(base[0] == '/' ? "/" : "", base))
        return Fail(7);

    unz_global_info global{};
    if (b.unzGetGlobalInfo(m_archive, &global) != UNZ_OK) return Fail(13);
    if (global.number_entry == 0) return 0;

    // Two walks: the first refuses the archive if any selected name is
    // unsafe, so that nothing of such an archive is written; the second
    // extracts.
    for (int pass = 0; pass < 2; ++pass) {
        int rc = b.unzGoToFirstFile(m_archive);
        while (rc == UNZ_OK) {
            unz_file_info info{};
            char name[MAX_NAME_LENGTH];
            if (b.unzGetCurrentFileInfo(m_archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
                return Fail(14);
            if (info.size_filename >= sizeof name) return Fail(14);  // never write under a cut name
            if (pre.empty() || std::strncmp(name, pre.c_str(), pre.size()) == 0) {
                if (pass == 0) {
                    if (!SafeEntryName(name)) return Fail(14);
                } else {
                    uint32_t declared = info.uncompressed_size > 0xFFFFFFFFul ? 0xFFFFFFFFu
                                                                              : static_cast<uint32_t>(info.uncompressed_size);
                    uint8_t code = ExtractCurrent(base, name, static_cast<uint32_t>(info.external_fa), &info.tmu_date,
                                                  declared);
                    if (code != 0) return code;
                }
            }
            rc = b.unzGoToNextFile(m_archive);
        }
        if (rc != UNZ_END_OF_LIST_OF_FILE) return Fail(17);
    }
    return 0;
}

} // namespace Arcvo
