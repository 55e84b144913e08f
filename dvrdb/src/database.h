// The reading side of a database folder.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "dvrdb.h"
#include "platform/platform.h"
#include "prm.h"
#include "store.h"
#include "video.h"

namespace dvrdb {

// The parameters of a database and their value information. Catalogues
// are kept for the life of the process (one per distinct folder and
// Prm.cfg), so that every pointer the library hands out stays valid.
class Catalogue {
public:
    explicit Catalogue(DbConfig config);
    const DbConfig& Config() const { return m_config; }
    const std::vector<DbParameterInfo>& Parameters() const { return m_infos; }
    // Value information of a ProgID, or of "name|bit" for a parameter with
    // an integer value; null for any other name.
    const DbValueInfo* Resolve(const char* name) const;

    static std::shared_ptr<const Catalogue> Intern(const std::string& folder, const std::string& prmText,
                                                   const DbConfig& config);

private:
    DbConfig m_config;
    std::vector<DbParameterInfo> m_infos;
    std::unordered_map<std::string, DbValueInfo> m_values;
    mutable std::mutex m_bitsMutex;
    mutable std::map<std::string, std::unique_ptr<std::pair<std::string, DbValueInfo>>> m_bits;
};

class Database {
public:
    static std::shared_ptr<Database> Open(const std::string& folder);

    const Catalogue& Cat() const { return *m_catalogue; }
    const DbConfig& Config() const { return m_catalogue->Config(); }

    // The record of the slot holding epochMs; false (and out zeroed) when
    // nothing complete was recorded there.
    bool ReadRecord(int64_t epochMs, uint8_t* out);
    // The record of epochMs and the one a period before it.
    void ReadRecordPair(int64_t epochMs, uint8_t* out0, uint8_t* out1, bool& have0, bool& have1);
    bool FindPicture(int64_t epochMs, int64_t& pictureInstant, std::vector<uint8_t>& jpeg);
    // The newest recorded instant, or INT64_MIN when there is none.
    int64_t NewestRecorded();
    // How old a picture may be at the asked instant and still be current.
    int64_t PictureBoundMs() const;

    std::atomic<size_t> parameterCursor{0};

private:
    Database(std::string folder, std::shared_ptr<const Catalogue> catalogue);
    struct MonthFile {
        platform::PositionedFile file;
        MonthFileHeader header;
        bool headerValid = false;
    };
    // The open file of a ring number and its header as last read; with
    // reread, the header is read again (the recorder may have started a
    // new month in it).
    const platform::PositionedFile* Month(int ringNumber, bool reread, MonthFileHeader& header);

    std::string m_folder;
    std::shared_ptr<const Catalogue> m_catalogue;
    std::mutex m_filesMutex;
    std::map<int, std::unique_ptr<MonthFile>> m_files;
    VideoLibrary m_video;
};

} // namespace dvrdb
