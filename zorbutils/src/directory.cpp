// CDirectoryNode, CDirectory and CFile.
#include "ZorbUtils.h"
#include "text.h"

#include "platform/platform.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace ZorbUtils {
namespace {

// Entry type from the search's attributes: directory when 0x10 is set,
// file when they are 0 or hold read-only, hidden, system or archive.
CDirectoryNode::ENodeType TypeFromAttributes(uint32_t attributes) {
    if (attributes & platform::kAttrDirectory) return CDirectoryNode::NODE_TYPE_DIRECTORY;
    if (attributes == 0 || (attributes & 0x27u)) return CDirectoryNode::NODE_TYPE_FILE;
    return CDirectoryNode::NODE_TYPE_UNKNOWN;
}

std::string WithoutLastSlash(const char* path) {
    std::string p(path);
    if (!p.empty() && (p.back() == '/' || p.back() == '\\')) p.pop_back();
    return p;
}

} // namespace

// ------------------------------------------------------------ CDirectoryNode

CDirectoryNode::CDirectoryNode() : m_size(0), m_type(NODE_TYPE_UNKNOWN) {
    m_name[0] = '\0';
    m_linkName[0] = '\0';
}

CDirectoryNode::CDirectoryNode(ENodeType type, const char* name, uint32_t size, const char* linkName)
    : m_size(size), m_type(type) {
    detail::CopyBounded(m_name, sizeof m_name, name);
    detail::CopyBounded(m_linkName, sizeof m_linkName, linkName);
}

CDirectoryNode::CDirectoryNode(const CDirectoryNode& other) { *this = other; }

CDirectoryNode& CDirectoryNode::operator=(const CDirectoryNode& other) {
    if (this != &other) {
        std::memcpy(m_name, other.m_name, sizeof m_name);
        std::memcpy(m_linkName, other.m_linkName, sizeof m_linkName);
        m_size = other.m_size;
        m_type = other.m_type;
    }
    return *this;
}

const char* CDirectoryNode::DirectoryNodeName() const { return m_name; }
const char* CDirectoryNode::DirectoryNodeNameBySymLink() const { return m_linkName; }
uint32_t CDirectoryNode::DirectoryNodeSize() const { return m_size; }
CDirectoryNode::ENodeType CDirectoryNode::DirectoryNodeType() const { return m_type; }

// ---------------------------------------------------------------- CDirectory

CDirectory::CDirectory() : m_count(0), m_nodes(nullptr) { setDirectoryPath(nullptr); }

CDirectory::CDirectory(const char* path) : m_count(0), m_nodes(nullptr) { setDirectoryPath(path); }

CDirectory::~CDirectory() { FreeNodes(); }

void CDirectory::FreeNodes() {
    for (unsigned int i = 0; i < m_count; ++i) delete m_nodes[i];
    std::free(m_nodes);
    m_nodes = nullptr;
    m_count = 0;
}

void CDirectory::setDirectoryPath(const char* path) {
    FreeNodes();
    std::memset(m_path, 0, sizeof m_path);
    if (path && *path) {
        CVString::AddLastSlashToPath(path, m_path, sizeof m_path);
    } else {
        detail::CopyBounded(m_path, sizeof m_path, "./");
    }
}

const char* CDirectory::DirectoryPath() const { return m_path; }

bool CDirectory::Read(const char* mask, EReadFilter filter) {
    FreeNodes();
    std::string pattern = std::string(m_path) + (mask ? mask : "*");
    for (char& c : pattern) {
        if (c == '\\') c = '/';
    }
    platform::DirSearch search;
    platform::DirEntry entry;
    if (!search.First(pattern.c_str(), entry)) return false;
    do {
        if (entry.name == "." || entry.name == "..") continue;
        CDirectoryNode::ENodeType type = TypeFromAttributes(entry.attributes);
        bool take = (type == CDirectoryNode::NODE_TYPE_DIRECTORY && (filter == READ_ALL || filter == READ_DIRECTORIES)) ||
                    (type == CDirectoryNode::NODE_TYPE_FILE && (filter == READ_ALL || filter == READ_FILES));
        if (!take) continue;
        uint32_t size = entry.size > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(entry.size);
        CDirectoryNode* node = new (std::nothrow) CDirectoryNode(type, entry.name.c_str(), size, "");
        CDirectoryNode** grown =
            node ? static_cast<CDirectoryNode**>(std::realloc(m_nodes, sizeof(CDirectoryNode*) * (m_count + 1)))
                 : nullptr;
        if (!grown) {
            delete node;
            FreeNodes();
            continue;
        }
        m_nodes = grown;
        m_nodes[m_count++] = node;
    } while (search.Next(entry));
    return true;
}

unsigned int CDirectory::Count() const { return m_count; }

const CDirectoryNode& CDirectory::DirectoryNodeByIndex(unsigned int index) const {
    if (index >= m_count || !m_nodes) return m_emptyNode;
    return *m_nodes[index];
}

bool CDirectory::IsDirectoryExists(const char* path) {
    if (!path) return false;
    std::string p = WithoutLastSlash(path);
    if (p.empty()) p = "/";
    return platform::StatPath(p.c_str()).isDirectory;
}

bool CDirectory::MakeDir(const char* path) {
    if (!path) return false;
    return platform::MakeDirectory(path) != platform::MakeDirResult::Failed;
}

bool CDirectory::MakeDirSequence(const char* base, const char* relative) {
    if (!base || !relative) return false;
    char current[MAX_PATH_LENGTH];
    std::memset(current, 0, sizeof current);
    if (*base) {
        CVString::AddLastSlashToPath(base, current, sizeof current);
    }
    char** parts = nullptr;
    unsigned int count = 0;
    if (!CVString::FindSubstrings(relative, "\\/", &parts, &count, false)) {
        CVString::FreeSubstrings(parts, count);
        return false;
    }
    bool ok = true;
    for (unsigned int i = 0; i < count && ok; ++i) {
        char next[MAX_PATH_LENGTH];
        detail::CopyBounded(next, sizeof next, current);
        detail::AppendBounded(next, sizeof next, parts[i]);
        ok = MakeDir(next);
        if (ok) {
            detail::CopyBounded(current, sizeof current, next);
            detail::AppendBounded(current, sizeof current, "/");
        }
    }
    CVString::FreeSubstrings(parts, count);
    return ok;
}

bool CDirectory::DeleteDir(const char* path) {
    if (!path) return false;
    std::string p = WithoutLastSlash(path);
    return platform::RemoveDirectory(p.c_str());
}

bool CDirectory::DeleteDirWithContent(const char* path) {
    if (!path) return false;
    CDirectory dir(path);
    if (!dir.Read(nullptr, READ_ALL)) return false;
    std::string base = dir.DirectoryPath();
    for (unsigned int i = 0; i < dir.Count(); ++i) {
        const CDirectoryNode& node = dir.DirectoryNodeByIndex(i);
        std::string child = base + node.DirectoryNodeName();
        if (node.DirectoryNodeType() == CDirectoryNode::NODE_TYPE_DIRECTORY) {
            if (!DeleteDirWithContent(child.c_str())) return false;
        } else {
            platform::SetWritable(child.c_str(), true);
            if (!platform::RemoveFile(child.c_str())) return false;
        }
    }
    return DeleteDir(path);
}

// --------------------------------------------------------------------- CFile

bool CFile::IsFileExists(const char* path) {
    return path && platform::StatPath(path).isRegular;
}

bool CFile::CopyFileTo(const char* source, const char* target) {
    if (!source || !target) return false;
    return platform::CopyFileOverwrite(source, target);
}

} // namespace ZorbUtils
