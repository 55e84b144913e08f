// Operating-system services behind a neutral interface of free functions
// and small classes. Nothing in this header includes a system header, so
// the code above it stays portable; the sources under platform/src are the
// only ones that talk to POSIX and Linux.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#if defined(TRAKVUE_PLATFORM_BUILDING)
#define PLATFORM_API __attribute__((visibility("default")))
#else
#define PLATFORM_API
#endif

namespace platform {

// ---------------------------------------------------------------- clock --

// Broken-down time, as the rest of the system wants it (month 1..12,
// day of week 0 = Sunday).
struct CalendarTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int dayOfWeek = 0;
};

// Milliseconds since 1970-01-01 00:00:00 UTC. Every reading of the wall
// clock in the system goes through this one function.
PLATFORM_API int64_t NowEpochMs();

// Replaces the wall clock (tests); an empty function restores the real one.
PLATFORM_API void SetClock(std::function<int64_t()> clock);

PLATFORM_API CalendarTime LocalFromEpochMs(int64_t epochMs);
PLATFORM_API CalendarTime UtcFromEpochMs(int64_t epochMs);
// Local calendar time to epoch ms, as mktime resolves it (a time in a
// skipped hour moves forward, a repeated hour takes its first occurrence).
PLATFORM_API int64_t EpochMsFromLocal(const CalendarTime& t);
PLATFORM_API int64_t EpochMsFromUtc(const CalendarTime& t);

inline CalendarTime LocalNow() { return LocalFromEpochMs(NowEpochMs()); }
inline CalendarTime UtcNow() { return UtcFromEpochMs(NowEpochMs()); }

// Monotonic clock for measuring intervals, in microseconds.
PLATFORM_API int64_t MonotonicMicros();
PLATFORM_API void SleepMs(int ms);

// ---------------------------------------------------------------- files --

struct PathInfo {
    bool exists = false;
    bool isDirectory = false;
    bool isRegular = false;
    bool isLink = false;
    bool writable = false;   // owner write bit
    uint64_t size = 0;
    int64_t modifiedEpochSec = 0;
    uint32_t mode = 0;       // st_mode
};

// Follows links (stat).
PLATFORM_API PathInfo StatPath(const char* path);
// Does not follow links (lstat).
PLATFORM_API PathInfo LstatPath(const char* path);

enum class MakeDirResult { Created, AlreadyExists, Failed };
PLATFORM_API MakeDirResult MakeDirectory(const char* path);
PLATFORM_API bool RemoveDirectory(const char* path);
PLATFORM_API bool RemoveFile(const char* path);
PLATFORM_API bool SetWritable(const char* path, bool writable);
PLATFORM_API bool SetFileTimes(const char* path, int64_t epochSec);
// Copies a regular file's bytes and permissions onto target, replacing it.
// Copying a file onto itself fails rather than truncating it.
PLATFORM_API bool CopyFileOverwrite(const char* source, const char* target);
// Writes data to a new file beside path and renames it over path, so
// readers see the old or the new content, never a part.
PLATFORM_API bool WriteFileAtomic(const std::string& path, const void* data, size_t size);
PLATFORM_API bool ReadWholeFile(const std::string& path, std::string& out);

// The folder for temporary files, ending in '/'.
PLATFORM_API std::string TempDirectory();
// The folder of the running executable, ending in '/'.
PLATFORM_API std::string ExecutableDirectory();
PLATFORM_API std::string GetEnv(const char* name);

// ----------------------------------------------------- directory search --

// Windows-style entry attributes, as a directory search reports them.
enum : uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrDevice = 0x40,        // fifo, socket, device
    kAttrReparsePoint = 0x400, // symbolic link
};

struct DirEntry {
    std::string name;
    uint64_t size = 0;
    uint32_t attributes = 0;
};

// Matches a name against a Windows-style mask: '*' any run, '?' one
// character, ASCII letters compared without case; "*.*" matches every name.
PLATFORM_API bool MatchMask(const char* mask, const char* name);

// Find-first/find-next over one folder. The pattern is a folder path and a
// mask in its last component ("/data/cam1/Arh1_*_03_*.avi", "dir/*");
// "." and ".." are reported like every other entry when they match.
// Entries come in name order (letters without case first, then bytes), so
// listings are the same on every run and file system.
class PLATFORM_API DirSearch {
public:
    DirSearch() = default;
    ~DirSearch();
    DirSearch(const DirSearch&) = delete;
    DirSearch& operator=(const DirSearch&) = delete;

    bool First(const char* pattern, DirEntry& entry);
    bool Next(DirEntry& entry);
    void Close();

private:
    std::vector<DirEntry> m_entries;
    size_t m_next = 0;
};

// ------------------------------------------------------------- processes --

// Splits a command line into arguments: blanks separate, double quotes
// group, a backslash before a quote makes it literal.
PLATFORM_API std::vector<std::string> SplitCommandLine(const char* commandLine);

// Starts the program of the command line (searched on PATH) with the
// caller's environment and folder, waits for it and reports its exit code.
// Returns false when it cannot be started. No child is left unreaped.
PLATFORM_API bool RunAndWait(const char* commandLine, int& exitCode);

// Starts a program without waiting; it is reaped in the background.
PLATFORM_API bool StartDetached(const std::vector<std::string>& argv);

// True when a program of that name is found on PATH.
PLATFORM_API bool ProgramOnPath(const std::string& name);

enum class ShellTarget { Spreadsheet, TextEditor, HelpViewer };
// Opens a document with the desktop program for its kind, trying each
// known program in turn; false when none could be started.
PLATFORM_API bool ShellOpen(ShellTarget kind, const std::string& document);

PLATFORM_API bool SetLowPriority(int niceValue);

// --------------------------------------------------- named OS resources --

// Folder for lock files and other runtime state, ending in '/'.
// TRAKVUE_RUNTIME_DIR overrides it.
PLATFORM_API std::string RuntimeDirectory();

// A lock named system-wide: the first holder wins, later tries fail while
// it is held; the lock disappears with its holder.
class PLATFORM_API NamedLock {
public:
    NamedLock() = default;
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    // True when this object now holds the lock named name.
    bool TryAcquire(const std::string& name);
    void Release();
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// A one-byte block of shared memory that any process can open by name.
class PLATFORM_API SharedByte {
public:
    SharedByte() = default;
    ~SharedByte();
    SharedByte(const SharedByte&) = delete;
    SharedByte& operator=(const SharedByte&) = delete;

    bool Open(const std::string& name);
    void Close();
    bool IsOpen() const { return m_ptr != nullptr; }
    uint8_t Get() const;
    void Set(uint8_t value);
    static bool Unlink(const std::string& name);

private:
    void* m_ptr = nullptr;
};

// ------------------------------------------------------------- registry --

// A small key/value file standing in for the system registry: sections
// named "[ROOT\Key\Path]" with "Name=value" lines. TRAKVUE_REGISTRY names
// the file; the default is ~/.config/trakvue/registry.ini.
PLATFORM_API std::string RegistryPath();
PLATFORM_API bool RegistryReadString(const std::string& root, const std::string& key,
                        const std::string& name, std::string& value);
PLATFORM_API bool RegistryWriteString(const std::string& root, const std::string& key,
                         const std::string& name, const std::string& value);
PLATFORM_API bool RegistryWriteDword(const std::string& root, const std::string& key,
                        const std::string& name, uint32_t value);

} // namespace platform

namespace platform {

// ------------------------------------------------------ shared libraries --

// Loads a shared library by file name from the folder of the object that
// holds addressInCaller, falling back to the usual search; null on failure.
PLATFORM_API void* LoadLibraryBeside(const void* addressInCaller, const char* fileName);
PLATFORM_API void* LibrarySymbol(void* library, const char* name);
PLATFORM_API void FreeLibrary(void* library);

// ------------------------------------------------------- safe file output --

// Opens a file for binary writing (created or emptied) without following a
// link at its last component; null when it cannot be opened.
PLATFORM_API std::FILE* OpenForWritingNoFollow(const char* path);
// True when a component of relative, below base, exists as a symbolic link.
PLATFORM_API bool HasLinkBelow(const std::string& base, const std::string& relative);

} // namespace platform

namespace platform {

// ------------------------------------------------------ positioned files --

// A file read and written at explicit offsets; safe to share between
// threads (every call is positioned, nothing keeps a cursor).
class PLATFORM_API PositionedFile {
public:
    PositionedFile() = default;
    ~PositionedFile();
    PositionedFile(const PositionedFile&) = delete;
    PositionedFile& operator=(const PositionedFile&) = delete;

    bool OpenRead(const std::string& path);
    // Opens for reading and writing, creating the file when missing.
    bool OpenWrite(const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // Bytes read (short at the end of the file), or -1 on error.
    long long ReadAt(uint64_t offset, void* buffer, size_t size) const;
    bool WriteAt(uint64_t offset, const void* data, size_t size);
    bool Append(const void* data, size_t size);
    bool Truncate(uint64_t size);
    long long Size() const;
    bool Sync();

private:
    int m_fd = -1;
};

// Lets SIGINT and SIGTERM set *flag instead of ending the process.
PLATFORM_API void InstallStopSignals(volatile int* flag);

} // namespace platform
