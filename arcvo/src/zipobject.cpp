// CZipObjectInfo: name, size and type of one archive entry.
#include "Arcvo.h"

#include <cstring>

namespace Arcvo {

CZipObjectInfo::CZipObjectInfo() : m_size(0), m_type(OBJECT_TYPE_UNKNOWN) { m_name[0] = '\0'; }

CZipObjectInfo::CZipObjectInfo(const char* name, EObjectType type, uint32_t size) : m_size(size), m_type(type) {
    m_name[0] = '\0';
    if (name) {
        std::strncpy(m_name, name, sizeof m_name - 1);
        m_name[sizeof m_name - 1] = '\0';
    }
}

CZipObjectInfo::CZipObjectInfo(const CZipObjectInfo& other) { *this = other; }

CZipObjectInfo& CZipObjectInfo::operator=(const CZipObjectInfo& other) {
    if (this != &other) {
        std::memcpy(m_name, other.m_name, sizeof m_name);
        m_size = other.m_size;
        m_type = other.m_type;
    }
    return *this;
}

const char* CZipObjectInfo::ObjectName() const { return m_name; }
CZipObjectInfo::EObjectType CZipObjectInfo::ObjectType() const { return m_type; }
uint32_t CZipObjectInfo::ObjectSize() const { return m_size; }

} // namespace Arcvo
