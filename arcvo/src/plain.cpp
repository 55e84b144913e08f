// The plain function interface over CZipArchive, with its last-error byte.
#include "Arcvo.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "platform/platform.h"

using Arcvo::CZip;
using Arcvo::CZipArchive;
using Arcvo::CZipObjectInfo;

namespace {

// The one process-wide last result of the plain functions.
uint8_t& LastError() {
    static uint8_t code = 0;
    return code;
}

bool Set(uint8_t code) {
    LastError() = code;
    return code == 0;
}

CZipArchive* ArchiveOf(ArchiveHandle handle) { return static_cast<CZipArchive*>(handle); }

} // namespace

extern "C" {

ArchiveHandle OpenArchive(const char* path, int kind) {
    LastError() = 0;
    if (!path || !*path) {
        Set(2);
        return nullptr;
    }
    CZipArchive::EArchiveOpenMode mode = CZipArchive::OPEN_MODE_NOT_SET;
    switch (kind) {
    case 0: mode = CZipArchive::OPEN_MODE_CREATE; break;
    case 1: mode = CZipArchive::OPEN_MODE_ADD; break;
    case 2: mode = CZipArchive::OPEN_MODE_READ; break;
    default: break;
    }
    CZipArchive* archive = new (std::nothrow) CZipArchive(path, mode);
    if (!archive) {
        Set(9);
        return nullptr;
    }
    Set(archive->OpenArchive());
    return archive;
}

uint8_t AddFileOrDirectoryToArchive(ArchiveHandle handle, const char* path) {
    LastError() = 0;
    if (!handle || !path || !*path) return Set(2);
    char copy[Arcvo::MAX_NAME_LENGTH];
    std::strncpy(copy, path, sizeof copy - 1);
    copy[sizeof copy - 1] = '\0';
    size_t n = std::strlen(copy);
    if (n > 0 && (copy[n - 1] == '/' || copy[n - 1] == '\\')) copy[n - 1] = '\0';
    std::string onDisk(copy);
    for (char& c : onDisk) {
        if (c == '\\') c = '/';
    }
    platform::PathInfo st = platform::StatPath(onDisk.c_str());
    if (!st.exists) return Set(8);
    if (st.isDirectory) return Set(ArchiveOf(handle)->AddDirectory(onDisk.c_str(), CZip::COMPRESSION_FAST, nullptr));
    return Set(ArchiveOf(handle)->AddFile(onDisk.c_str(), CZip::COMPRESSION_FAST, nullptr));
}

uint8_t GetFilesListInArchive(ArchiveHandle handle, ArchiveFilesList** list) {
    LastError() = 0;
    if (!handle || !list) return Set(2);
    ArchiveFilesList* l = static_cast<ArchiveFilesList*>(std::calloc(1, sizeof(ArchiveFilesList)));
    *list = l;
    if (!l) return Set(9);
    CZipArchive* archive = ArchiveOf(handle);
    l->count = archive->ArchiveObjectsCount();
    if (l->count == 0) return Set(0);
    l->items = static_cast<ArchiveFileItem*>(std::calloc(l->count, sizeof(ArchiveFileItem)));
    if (!l->items) {
        l->count = 0;
        return Set(9);
    }
    for (uint32_t i = 0; i < l->count; ++i) {
        const CZipObjectInfo* info = archive->ArchiveObjectByIndex(i);
        char* name = static_cast<char*>(std::calloc(1, Arcvo::MAX_NAME_LENGTH));
        if (!name) return Set(9);
        std::strncpy(name, info->ObjectName(), Arcvo::MAX_NAME_LENGTH - 1);
        l->items[i].name = name;
        l->items[i].isFile = info->ObjectType() == CZipObjectInfo::OBJECT_TYPE_DIRECTORY ? 0 : 1;
    }
    return Set(0);
}

void FreeFilesListInArchive(ArchiveFilesList* list) {
    if (!list) return;
    if (list->items) {
        for (uint32_t i = 0; i < list->count; ++i) std::free(list->items[i].name);
        std::free(list->items);
    }
    std::free(list);
}

uint8_t ExtractFileOrDirectoryFromArchive(ArchiveHandle handle, const char* prefix, const char* target) {
    LastError() = 0;
    if (!handle || !target || !*target) return Set(2);
    return Set(ArchiveOf(handle)->Extract(target, prefix));
}

uint8_t CloseArchive(ArchiveHandle handle) {
    LastError() = 0;
    if (!handle) {
        Set(2);
        return 0;
    }
    CZipArchive* archive = ArchiveOf(handle);
    bool ok = Set(archive->CloseArchive());
    delete archive;
    return ok ? 1 : 0;
}

uint8_t GetLastArchiveError(void) { return LastError(); }

uint8_t IsZIPLibraryLoad(void) { return 1; }

} // extern "C"
