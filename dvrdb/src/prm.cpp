#include "prm.h"

#include <cstdio>
#include <cstdlib>
#include <set>

namespace dvrdb {
namespace {

constexpr int kMaxRecordSize = 65536;
constexpr int kMaxPicture = 4096;

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return out;
}

bool ToInt(const std::string& s, long lo, long hi, int& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

bool ToDouble(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return *end == '\0' && out == out;  // rejects NaN
}

std::string Clean(const std::string& s) {
    std::string out;
    for (char c : s) out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
    return out;
}

} // namespace

int TypeSize(int type) {
    static const int sizes[] = {0, 1, 1, 2, 2, 4, 4, 8, 8, 4, 8, 1, 2, 4, 8, 0};
    return type >= 0 && type <= 15 ? sizes[type] : 0;
}

bool ValidRingLength(int months) {
    return months == 1 || months == 2 || months == 3 || months == 4 || months == 6 || months == 12;
}

bool ParsePrm(const std::string& text, DbConfig& config, std::string* error) {
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    config = DbConfig{};
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    if (lines.empty() || lines[0] != "DVRDB 1") return fail("not a database configuration");
    bool haveRecord = false;
    std::set<std::string> ids;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == '#') continue;
        if (line.compare(0, 6, "param\t") == 0) {
            std::vector<std::string> f = SplitTabs(line);
            if (f.size() != 12) continue;
            ParamDef p;
            p.progId = f[1];
            if (!ToInt(f[2], 1, 15, p.type) || !ToInt(f[3], 0, kMaxRecordSize, p.offset)) continue;
            p.name = f[4];
            p.units = f[5];
            p.accuracy = f[6];
            if (!ToDouble(f[7], p.low) || !ToDouble(f[8], p.high)) continue;
            if (!ToInt(f[9], 0, 2, p.view) || !ToInt(f[10], 0, 1, p.status)) continue;
            p.description = f[11];
            if (p.progId.empty() || ids.count(p.progId)) continue;
            ids.insert(p.progId);
            config.params.push_back(p);
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "camera") {
            if (!ToInt(value, 1, 4, config.camera)) return fail("bad camera");
        } else if (key == "period") {
            if (!ToInt(value, 10, 3600000, config.periodMs) || 86400000 % config.periodMs != 0)
                return fail("the period must divide a day");
        } else if (key == "months") {
            if (!ToInt(value, 1, 12, config.months) || !ValidRingLength(config.months))
                return fail("the ring must hold 1, 2, 3, 4, 6 or 12 months");
        } else if (key == "picture") {
            size_t x = value.find('x');
            if (x == std::string::npos || !ToInt(value.substr(0, x), 16, kMaxPicture, config.pictureWidth) ||
                !ToInt(value.substr(x + 1), 16, kMaxPicture, config.pictureHeight))
                return fail("bad picture size");
        } else if (key == "fps") {
            if (!ToDouble(value, config.fps) || config.fps <= 0 || config.fps > 50) return fail("bad fps");
        } else if (key == "record") {
            if (!ToInt(value, 1, kMaxRecordSize, config.recordSize)) return fail("bad record size");
            haveRecord = true;
        }
    }
    if (!haveRecord) return fail("no record size");
    // Values must lie inside the record; bit parameters need their base.
    std::vector<ParamDef> kept;
    for (const ParamDef& p : config.params) {
        if (p.type != 15 && p.offset + TypeSize(p.type) > config.recordSize) continue;
        kept.push_back(p);
    }
    config.params.swap(kept);
    return true;
}

std::string FormatPrm(const DbConfig& c) {
    char buf[256];
    std::string out = "DVRDB 1\n";
    std::snprintf(buf, sizeof buf, "camera=%d\nperiod=%d\nmonths=%d\npicture=%dx%d\nfps=%g\nrecord=%d\n", c.camera,
                  c.periodMs, c.months, c.pictureWidth, c.pictureHeight, c.fps, c.recordSize);
    out += buf;
    out += "# param ProgID type offset name units accuracy low high view status description\n";
    for (const ParamDef& p : c.params) {
        std::snprintf(buf, sizeof buf, "%d\t%d\t", p.type, p.offset);
        out += "param\t" + Clean(p.progId) + "\t" + buf + Clean(p.name) + "\t" + Clean(p.units) + "\t" +
               Clean(p.accuracy) + "\t";
        std::snprintf(buf, sizeof buf, "%.17g\t%.17g\t%d\t%d\t", p.low, p.high, p.view, p.status);
        out += buf + Clean(p.description) + "\n";
    }
    return out;
}

void AssignOffsets(DbConfig& config) {
    int offset = 0;
    for (ParamDef& p : config.params) {
        if (p.type == 15) {
            p.offset = 0;
            continue;
        }
        p.offset = offset;
        offset += TypeSize(p.type);
    }
    config.recordSize = offset > 0 ? offset : 1;
}

} // namespace dvrdb
