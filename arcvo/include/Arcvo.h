// Arcvo: zip archives on disk, compression of memory blocks, and a plain
// function interface over them. Compression comes from libZorbZlib.so,
// which every object loads by name at run time.
//
// Result codes (unsigned 8-bit):
//   0  success
//   1  wrong state: archive not open, wrong mode, already open, entry open/not open
//   2  invalid argument: null or empty name, null buffer, zero length,
//      a file's source path ending in "/"
//   3  compression library or one of its entry points not available
//   4  source file cannot be opened for reading
//   5  read error on the source file
//   6  write error on an extracted file
//   7  target directory cannot be created
//   8  source file or directory not found or not readable
//   9  out of memory (also: compression in memory failed)
//  10  the archive file cannot be opened or created
//  11  the archive cannot be closed, or the open mode is invalid at close
//  12  compressed data are corrupt
//  13  the archive's global information cannot be read
//  14  an entry's information cannot be read, the entry is neither file nor
//      directory, or its name would place it outside the target
//  15  an entry cannot be opened for reading
//  16  reading entry data failed
//  17  stepping through the entries failed, or the named entry does not exist
//  18  an entry cannot be closed after reading (also: its checksum is wrong)
//  19  a new entry cannot be started (also: a file of 4 GiB or more)
//  20  writing entry data failed (also: an entry would reach 4 GiB)
//  21  an entry cannot be closed after writing
#pragma once

#include <cstdint>

#if defined(ARCVO_BUILDING)
#define ARCVO_API __attribute__((visibility("default")))
#else
#define ARCVO_API
#endif

namespace Arcvo {

enum { MAX_NAME_LENGTH = 260 };

class ARCVO_API CZip {
public:
    // Deflate level of a new entry: 1 stored (0), 2 fastest (1), 3 best (9),
    // anything else the library's default (-1).
    enum ECompressionMethod : int {
        COMPRESSION_STORE = 1,
        COMPRESSION_FAST = 2,
        COMPRESSION_BEST = 3,
        COMPRESSION_DEFAULT = 0,
    };
};

class ARCVO_API CZipObjectInfo {
public:
    enum EObjectType : int { OBJECT_TYPE_UNKNOWN = 0, OBJECT_TYPE_DIRECTORY = 1, OBJECT_TYPE_FILE = 2 };

    CZipObjectInfo();
    CZipObjectInfo(const char* name, EObjectType type, uint32_t size);
    CZipObjectInfo(const CZipObjectInfo& other);
    CZipObjectInfo& operator=(const CZipObjectInfo& other);

    const char* ObjectName() const;
    EObjectType ObjectType() const;
    uint32_t ObjectSize() const;

private:
    char m_name[MAX_NAME_LENGTH];
    uint32_t m_size;
    EObjectType m_type;
};

class ARCVO_API CZipArchive {
public:
    enum EArchiveOpenMode : int {
        OPEN_MODE_NOT_SET = 0,
        OPEN_MODE_CREATE = 1,
        OPEN_MODE_ADD = 2,
        OPEN_MODE_READ = 3,
    };

    CZipArchive();
    CZipArchive(const char* name, EArchiveOpenMode mode);
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    void SetArchiveFileName(const char* name);
    void SetArchiveOpenMode(EArchiveOpenMode mode);
    const char* ArchiveFileName() const;
    EArchiveOpenMode ArchiveOpenMode() const;
    uint32_t ArchiveObjectsCount() const;
    const CZipObjectInfo* ArchiveObjectByIndex(uint32_t index) const;

    uint8_t OpenArchive();
    uint8_t AddFile(const char* source, CZip::ECompressionMethod method, const char* folder);
    uint8_t AddDirectory(const char* source, CZip::ECompressionMethod method, const char* folder);
    uint8_t CreateDir(const char* name);
    uint8_t CreateFile(const char* name, CZip::ECompressionMethod method);
    uint8_t AddData(const void* data, uint32_t length);
    uint8_t OpenFile(const char* name);
    uint8_t GetData(void* buffer, uint32_t size, uint32_t* read);
    uint8_t CloseFile();
    // Extracts the entries whose names begin with prefix (all when null or
    // empty) below target. Names that are absolute, carry a drive letter,
    // hold a ".." component or lead through a link are refused with 14.
    uint8_t Extract(const char* target, const char* prefix);
    uint8_t CloseArchive();

private:
    enum ECreatingObject : int { CREATING_DIRECTORY = 1, CREATING_FILE = 2 };
    struct Binding;

    void Init();
    uint8_t CreateObject(ECreatingObject kind, const char* name, const char* source, CZip::ECompressionMethod method);
    uint8_t AddDirectoryToZip(const char* directory, const char* folder, CZip::ECompressionMethod method);
    void ForceCloseArchive();
    void FreeObjects();
    uint8_t ExtractCurrent(const char* target, const char* name, uint32_t attributes, const void* dateInfo,
                           uint32_t declaredSize);
    static CZipObjectInfo::EObjectType ZipObjectInfo(uint32_t attributes, const char* name);

    uint8_t m_ready;
    void* m_library;
    Binding* m_binding;  // the fifteen entry points, in their binding order
    char m_archiveName[MAX_NAME_LENGTH];
    void* m_archive;
    uint8_t m_writing;
    uint8_t m_reading;
    char m_sourceDirectory[MAX_NAME_LENGTH];
    char m_archiveFolder[MAX_NAME_LENGTH];
    uint32_t m_objectCount;
    CZipObjectInfo** m_objects;
    CZipObjectInfo m_emptyObject;
    EArchiveOpenMode m_mode;
    uint64_t m_entryBytes;   // bytes written into the entry open for writing
    uint8_t m_emptyArchive;  // 1 while an archive of 0 entries is open for reading
};

class ARCVO_API CZipMemory {
public:
    CZipMemory();
    ~CZipMemory();
    CZipMemory(const CZipMemory&) = delete;
    CZipMemory& operator=(const CZipMemory&) = delete;

    uint8_t Zip(const void* source, uint32_t length, CZip::ECompressionMethod method);
    uint8_t Unzip(const void* source, uint32_t length, uint32_t expected);
    const void* Data() const;
    uint32_t DataSize() const;

private:
    void Free();

    uint8_t m_ready;
    void* m_library;
    void* m_compress2;
    void* m_compressBound;
    void* m_uncompress;
    void* m_data;
    uint32_t m_size;
};

} // namespace Arcvo

// Plain function interface. A handle is an archive object made by
// OpenArchive and destroyed by CloseArchive, whatever the open result.
extern "C" {

typedef void* ArchiveHandle;

struct ArchiveFileItem {
    char* name;  // 260-byte buffer with the entry name
    int isFile;  // 1 file, 0 directory
};

struct ArchiveFilesList {
    uint32_t count;
    ArchiveFileItem* items;  // null when count is 0
};

// kind: 0 create, 1 add to an existing archive, 2 read.
ARCVO_API ArchiveHandle OpenArchive(const char* path, int kind);
ARCVO_API uint8_t AddFileOrDirectoryToArchive(ArchiveHandle handle, const char* path);
ARCVO_API uint8_t GetFilesListInArchive(ArchiveHandle handle, ArchiveFilesList** list);
ARCVO_API void FreeFilesListInArchive(ArchiveFilesList* list);
ARCVO_API uint8_t ExtractFileOrDirectoryFromArchive(ArchiveHandle handle, const char* prefix, const char* target);
ARCVO_API uint8_t CloseArchive(ArchiveHandle handle);
ARCVO_API uint8_t GetLastArchiveError(void);
ARCVO_API uint8_t IsZIPLibraryLoad(void);

} // extern "C"
