// The registry file: "[ROOT\Key]" sections of "Name=value" lines.
#include "platform/platform.h"

#include <sys/stat.h>

namespace platform {
namespace {

std::string SectionName(const std::string& root, const std::string& key) {
    return "[" + root + "\\" + key + "]";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

void MakeParents(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '/') ::mkdir(path.substr(0, i).c_str(), 0755);
    }
}

} // namespace

std::string RegistryPath() {
    std::string p = GetEnv("TRAKVUE_REGISTRY");
    if (!p.empty()) return p;
    std::string home = GetEnv("HOME");
    if (home.empty()) home = "/root";
    return home + "/.config/trakvue/registry.ini";
}

bool RegistryReadString(const std::string& root, const std::string& key, const std::string& name,
                        std::string& value) {
    std::string text;
    if (!ReadWholeFile(RegistryPath(), text)) return false;
    const std::string section = SectionName(root, key);
    bool inSection = false;
    for (const std::string& line : Lines(text)) {
        if (!line.empty() && line[0] == '[') {
            inSection = SameName(line, section);
            continue;
        }
        if (!inSection) continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (SameName(line.substr(0, eq), name)) {
            value = line.substr(eq + 1);
            return true;
        }
    }
    return false;
}

bool RegistryWriteString(const std::string& root, const std::string& key, const std::string& name,
                         const std::string& value) {
    if (name.find_first_of("=\r\n") != std::string::npos || value.find_first_of("\r\n") != std::string::npos)
        return false;
    const std::string path = RegistryPath();
    std::string text;
    ReadWholeFile(path, text);
    const std::string section = SectionName(root, key);
    std::vector<std::string> lines = Lines(text);
    bool inSection = false, done = false;
    size_t sectionEnd = std::string::npos;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line[0] == '[') {
            if (inSection) break;
            inSection = SameName(line, section);
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        sectionEnd = i + 1;
        size_t eq = line.find('=');
        if (eq != std::string::npos && SameName(line.substr(0, eq), name)) {
            lines[i] = name + "=" + value;
            done = true;
        }
    }
    if (!done) {
        if (sectionEnd == std::string::npos) {
            lines.push_back(section);
            lines.push_back(name + "=" + value);
        } else {
            lines.insert(lines.begin() + static_cast<long>(sectionEnd), name + "=" + value);
        }
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    MakeParents(path);
    return WriteFileAtomic(path, out.data(), out.size());
}

bool RegistryWriteDword(const std::string& root, const std::string& key, const std::string& name,
                        uint32_t value) {
    return RegistryWriteString(root, key, name, std::to_string(value));
}

} // namespace platform
