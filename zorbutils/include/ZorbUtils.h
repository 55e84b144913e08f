// ZorbUtils: strings, paths, directories, files, a log file, an in-process
// lock and running programs. All texts are 8-bit and zero-terminated; path
// buffers hold 260 characters including the terminator, and functions that
// write into a buffer never write past the size they are given.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#if defined(ZORBUTILS_BUILDING)
#define ZORBUTILS_API __attribute__((visibility("default")))
#else
#define ZORBUTILS_API
#endif

namespace ZorbUtils {

enum { MAX_PATH_LENGTH = 260 };

// An owned copy of a text; an empty text is never stored, so String()
// returns null for an empty string.
class ZORBUTILS_API CVString {
public:
    CVString();
    CVString(const char* text, unsigned int maximum);
    CVString(const CVString& other);
    explicit CVString(const CVString* other);
    ~CVString();

    CVString& operator=(const CVString& other);

    // Copies the first maximum characters of text (all of it when maximum
    // is 0 or not smaller than its length); null or "" empties the string.
    void SetString(const char* text, unsigned int maximum = 0);
    const char* String() const;

    // Byte order of unsigned characters; empty sorts before anything else.
    bool operator<(const CVString& other) const;
    bool operator>(const CVString& other) const;
    bool operator==(const CVString& other) const;
    bool operator!=(const CVString& other) const;

    // Path helpers. Null arguments do nothing; outputs are cut to size.
    static void FixPathSlashes(char* path);
    static void DeletePathLastSlash(char* path);
    static void AddLastSlashToPath(const char* path, char* buffer, size_t size);
    static void PathFromFilePath(const char* path, char* buffer, size_t size);
    static void FileNameFromFilePath(const char* path, char* buffer, size_t size);

    // Splits text at any character of separators into new heap strings.
    // With keepEmpty, empty elements are kept and CR/LF are skipped.
    static bool FindSubstrings(const char* text, const char* separators, char*** array,
                               unsigned int* count, bool keepEmpty);
    static void FreeSubstrings(char** array, unsigned int count);

private:
    char* m_text;
};

class ZORBUTILS_API CDirectoryNode {
public:
    enum ENodeType : int { NODE_TYPE_UNKNOWN = 0, NODE_TYPE_DIRECTORY = 1, NODE_TYPE_FILE = 2 };

    CDirectoryNode();
    CDirectoryNode(ENodeType type, const char* name, uint32_t size, const char* linkName);
    CDirectoryNode& operator=(const CDirectoryNode& other);
    CDirectoryNode(const CDirectoryNode& other);

    const char* DirectoryNodeName() const;
    const char* DirectoryNodeNameBySymLink() const;
    uint32_t DirectoryNodeSize() const;
    ENodeType DirectoryNodeType() const;

private:
    char m_name[MAX_PATH_LENGTH];
    char m_linkName[MAX_PATH_LENGTH];
    uint32_t m_size;
    ENodeType m_type;
};

class ZORBUTILS_API CDirectory {
public:
    enum EReadFilter : int { READ_ALL = 0, READ_DIRECTORIES = 1, READ_FILES = 2 };

    CDirectory();
    explicit CDirectory(const char* path);
    ~CDirectory();
    CDirectory(const CDirectory&) = delete;
    CDirectory& operator=(const CDirectory&) = delete;

    void setDirectoryPath(const char* path);
    const char* DirectoryPath() const;

    // Lists the folder: mask null means "*". True when the pattern matched
    // any entry ("." and ".." included), even if none was taken.
    bool Read(const char* mask = nullptr, EReadFilter filter = READ_ALL);
    unsigned int Count() const;
    // The i-th node, or an empty node when i >= Count().
    const CDirectoryNode& DirectoryNodeByIndex(unsigned int index) const;

    static bool IsDirectoryExists(const char* path);
    static bool MakeDir(const char* path);
    static bool MakeDirSequence(const char* base, const char* relative);
    static bool DeleteDir(const char* path);
    static bool DeleteDirWithContent(const char* path);

private:
    void FreeNodes();

    char m_path[MAX_PATH_LENGTH];
    unsigned int m_count;
    CDirectoryNode** m_nodes;
    CDirectoryNode m_emptyNode;
};

class ZORBUTILS_API CFile {
public:
    static bool IsFileExists(const char* path);
    static bool CopyFileTo(const char* source, const char* target);
};

class ZORBUTILS_API CLogFile {
public:
    enum ELogFileMode : int { LOG_FILE_MODE_REWRITE = 0, LOG_FILE_MODE_APPEND = 1 };

    CLogFile();
    CLogFile(const char* name, ELogFileMode mode);
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    void SetLogFileName(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void SetLogFileMode(ELogFileMode mode);
    const char* LogFileName() const { return m_name; }
    ELogFileMode LogFileMode() const { return m_mode; }

    bool OpenLogFile();
    bool CloseLogFile();
    // Writes one formatted text, with the local time stamp
    // "dd.mm.yyyy hh:mm:ss.mmm " before it when timeFlag is set.
    bool AddLogString(bool timeFlag, const char* format, ...) __attribute__((format(printf, 3, 4)));

private:
    void Close();

    char m_name[MAX_PATH_LENGTH];
    FILE* m_file;
    ELogFileMode m_mode;
};

// A recursive in-process lock.
class ZORBUTILS_API CLocalMutex {
public:
    CLocalMutex();
    ~CLocalMutex();
    CLocalMutex(const CLocalMutex&) = delete;
    CLocalMutex& operator=(const CLocalMutex&) = delete;

    void Lock();
    bool TryLock();
    void Unlock();

private:
    struct Impl;
    Impl* m_impl;
};

class ZORBUTILS_API CUtils {
public:
    // Runs the command line, waits for it and reports its exit code (-1 when
    // it could not be started); true exactly when the code is 0.
    static bool RunApplication(const char* commandLine, int* exitCode);
};

} // namespace ZorbUtils
