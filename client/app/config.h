// The client's configuration block: exactly the 20,484 bytes of
// Reg_Client.ini.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ClientConfig {
public:
    static constexpr size_t kSize = 20484;
    static constexpr size_t kText = 1024;
    static constexpr int kCameras = 4;
    static constexpr int kMainViewParams = 4;

    ClientConfig();

    std::string Path(int camera) const;
    void SetPath(int camera, const std::string& path);
    int Count(int camera) const;
    std::string Reference(int camera, int k) const;
    // Stores the first four references and their number.
    void SetReferences(int camera, const std::vector<std::string>& refs);
    std::vector<std::string> References(int camera) const;

    // Reads a block of any length: a short file leaves the rest zero, a
    // long one is cut; texts without a terminator are cut to their field
    // and counts above 4 read as 4, so the next save writes a clean block.
    void Parse(const std::string& bytes);
    const uint8_t* Bytes() const { return m_block; }

private:
    size_t PathOffset(int camera) const { return kText * static_cast<size_t>(camera); }
    size_t RefOffset(int camera, int k) const { return 4096 + 4097 * static_cast<size_t>(camera) + kText * static_cast<size_t>(k); }
    size_t CountOffset(int camera) const { return 4096 + 4097 * static_cast<size_t>(camera) + 4096; }
    std::string TextAt(size_t offset) const;
    void SetTextAt(size_t offset, const std::string& text);

    uint8_t m_block[kSize];
};

// Loads Reg_Client.ini of the folder; firstRun is set when it did not exist
// or could not be read, and camera 1's path then comes from the registry.
// A missing file is created empty.
void LoadConfig(const std::string& programFolder, ClientConfig& config, bool& firstRun);
// Writes the 20,484 bytes; false when the file could not be written.
bool SaveConfig(const std::string& programFolder, const ClientConfig& config);
