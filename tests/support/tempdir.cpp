#include "tempdir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/platform.h"

namespace testsupport {

TempDir::TempDir() {
    std::string tmpl = platform::TempDirectory() + "trakvue-test-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    m_path = buf.data();
}

TempDir::~TempDir() {
    std::string cmd = "chmod -R u+rwx '" + m_path + "' 2>/dev/null; rm -rf '" + m_path + "'";
    if (std::system(cmd.c_str()) != 0) {
    }
}

std::string TempDir::MakeDir(const std::string& relative) const {
    std::string full = m_path;
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        full += "/" + relative.substr(start, end - start);
        platform::MakeDirectory(full.c_str());
        start = end + 1;
    }
    return full;
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
    size_t slash = relative.rfind('/');
    if (slash != std::string::npos) MakeDir(relative.substr(0, slash));
    std::string full = m_path + "/" + relative;
    std::ofstream out(full, std::ios::binary);
    out << content;
    return full;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace testsupport
