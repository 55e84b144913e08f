#include "config.h"

#include <cstring>

#include "platform/platform.h"

ClientConfig::ClientConfig() { std::memset(m_block, 0, sizeof m_block); }

std::string ClientConfig::TextAt(size_t offset) const {
    const char* p = reinterpret_cast<const char*>(m_block + offset);
    return std::string(p, strnlen(p, kText - 1));
}

void ClientConfig::SetTextAt(size_t offset, const std::string& text) {
    std::memset(m_block + offset, 0, kText);
    std::memcpy(m_block + offset, text.data(), text.size() < kText ? text.size() : kText - 1);
}

std::string ClientConfig::Path(int camera) const {
    return camera >= 0 && camera < kCameras ? TextAt(PathOffset(camera)) : std::string();
}

void ClientConfig::SetPath(int camera, const std::string& path) {
    if (camera >= 0 && camera < kCameras) SetTextAt(PathOffset(camera), path);
}

int ClientConfig::Count(int camera) const {
    if (camera < 0 || camera >= kCameras) return 0;
    const int n = m_block[CountOffset(camera)];
    return n > kMainViewParams ? kMainViewParams : n;
}

std::string ClientConfig::Reference(int camera, int k) const {
    if (camera < 0 || camera >= kCameras || k < 0 || k >= kMainViewParams) return std::string();
    return TextAt(RefOffset(camera, k));
}

void ClientConfig::SetReferences(int camera, const std::vector<std::string>& refs) {
    if (camera < 0 || camera >= kCameras) return;
    int n = 0;
    for (; n < kMainViewParams && n < static_cast<int>(refs.size()); ++n) SetTextAt(RefOffset(camera, n), refs[static_cast<size_t>(n)]);
    m_block[CountOffset(camera)] = static_cast<uint8_t>(n);
}

std::vector<std::string> ClientConfig::References(int camera) const {
    std::vector<std::string> out;
    for (int k = 0; k < Count(camera); ++k) out.push_back(Reference(camera, k));
    return out;
}

void ClientConfig::Parse(const std::string& bytes) {
    std::memset(m_block, 0, sizeof m_block);
    std::memcpy(m_block, bytes.data(), bytes.size() < kSize ? bytes.size() : kSize);
    // Clean every field: text up to its terminator (or cut to 1,023), the
    // rest zero; counts clamped.
    for (int c = 0; c < kCameras; ++c) {
        SetTextAt(PathOffset(c), TextAt(PathOffset(c)));
        for (int k = 0; k < kMainViewParams; ++k) SetTextAt(RefOffset(c, k), TextAt(RefOffset(c, k)));
        if (m_block[CountOffset(c)] > kMainViewParams) m_block[CountOffset(c)] = kMainViewParams;
    }
}

void LoadConfig(const std::string& programFolder, ClientConfig& config, bool& firstRun) {
    const std::string path = programFolder + "Reg_Client.ini";
    firstRun = false;
    if (!platform::StatPath(path.c_str()).exists) {
        platform::WriteFileAtomic(path, "", 0);
        firstRun = true;
    }
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) firstRun = true;
    else config.Parse(bytes);
    if (firstRun) {
        std::string cam1;
        platform::RegistryReadString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Cam1_DatabasePath", cam1);
        if (cam1.size() > 259) cam1.resize(259);  // read into a 260-byte buffer
        config.SetPath(0, cam1);
        for (int c = 0; c < ClientConfig::kCameras; ++c) config.SetReferences(c, {});
    }
}

bool SaveConfig(const std::string& programFolder, const ClientConfig& config) {
    // Written beside and renamed over, so a failed save keeps the old file.
    return platform::WriteFileAtomic(programFolder + "Reg_Client.ini", config.Bytes(), ClientConfig::kSize);
}
