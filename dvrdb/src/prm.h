// Prm.cfg: the parameter catalogue and recording settings of a database.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dvrdb {

struct ParamDef {
    int type = 0;
    std::string progId, name, units, accuracy, description;
    double low = 0, high = 0;
    int view = 0, status = 1;
    int offset = 0;  // in the record; unused for bit parameters
};

struct DbConfig {
    int camera = 1;
    int periodMs = 200;
    int months = 12;
    int pictureWidth = 640, pictureHeight = 480;
    double fps = 1.0;
    int recordSize = 0;
    std::vector<ParamDef> params;
};

// Bytes a value of the type occupies in a record (0 for 15 and unknown codes).
int TypeSize(int type);

// Months per ring that keep the ring aligned with the calendar year.
bool ValidRingLength(int months);

// Parses Prm.cfg. False, with a reason, when the text is not a database's
// configuration; a malformed parameter line is dropped, not fatal.
bool ParsePrm(const std::string& text, DbConfig& config, std::string* error = nullptr);
std::string FormatPrm(const DbConfig& config);

// Lays out the values of params one after another from offset 0, and sets
// the record size.
void AssignOffsets(DbConfig& config);

} // namespace dvrdb
