// A temporary folder that lives for one test and is removed afterwards.
#pragma once

#include <string>

namespace testsupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a final '/'.
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Writes a file below the folder, creating missing parents.
    std::string Write(const std::string& relative, const std::string& content) const;
    std::string MakeDir(const std::string& relative) const;

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);

} // namespace testsupport
