// The frame table: the trend and table frames of the workstation, and
// their file Frames.ini.
#pragma once

#include <string>
#include <vector>

#include "catalogue.h"

enum FrameKind { FRAME_TREND = 0, FRAME_TABLE = 1 };
enum FrameTimeRange { FRAME_CURRENT = 0, FRAME_DAY = 1, FRAME_LONG = 2 };
enum FrameSource { FRAME_SOURCE_NEW = 0, FRAME_SOURCE_DVR = 1, FRAME_SOURCE_OTHER = 2 };

constexpr int kMaxFrames = 512;
constexpr int kMaxBands = 15;

struct FrameBand {
    std::vector<std::string> params;  // ParameterRef texts
    bool operator==(const FrameBand& o) const { return params == o.params; }
};

struct FrameRecord {
    int source = FRAME_SOURCE_NEW;
    int kind = FRAME_TREND;
    int timeRange = FRAME_CURRENT;
    std::string name;
    std::vector<std::string> tableParams;
    int bandCount = 0;
    FrameBand bands[kMaxBands];
};

struct FrameTable {
    std::vector<FrameRecord> records;  // at most kMaxFrames, in file order
    int Count() const { return static_cast<int>(records.size()); }
    // Index of the first record of that exact name, or -1.
    int Find(const std::string& name) const;
};

// "N%d: %s" of the reference's number and the catalogue label of the
// ProgID after its first blank; empty when the parameter is not found.
std::string FormatParameterLabel(const ParamCatalogue& catalogue, const std::string& reference);

// The file's text (CR LF lines) of the whole table.
std::string FramesText(const FrameTable& table);
// Reads the frames of a file's text. Reading stops at the end of every
// line and of the text; past 512 frames or 15 bands of a frame the rest is
// left out; a frame whose header lines are cut off by the end is dropped.
void ParseFrames(const std::string& text, FrameTable& table);

// Frames.ini of the program folder. A missing or unreadable file leaves
// the table empty.
void LoadFrames(const std::string& programFolder, FrameTable& table);
// Writes a new file beside the old one and renames it over, so a failed or
// interrupted write keeps the old file; false when nothing was written.
bool SaveFrames(const std::string& programFolder, const FrameTable& table);
