#include "frametable.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

const char* KindKeyword(int kind) { return kind == FRAME_TREND ? "FRAME_TREND" : "FRAME_TABLE"; }

const char* RangeKeyword(int range) {
    switch (range) {
    case FRAME_CURRENT: return "FRAME_CURRENT";
    case FRAME_DAY: return "FRAME_DAY";
    case FRAME_LONG: return "FRAME_LONG";
    default: return "";
    }
}

// A value line: from the third character up to the first '>' at or after
// it (or the end of the line).
std::string Value(const std::string& line) {
    if (line.size() <= 2) return std::string();
    const size_t end = line.find('>', 2);
    return line.substr(2, end == std::string::npos ? std::string::npos : end - 2);
}

std::vector<std::string> ParameterLine(const std::string& line, size_t i) {
    std::vector<std::string> out;
    while (i < line.size()) {
        const size_t end = line.find('>', i);
        if (end == std::string::npos) {
            out.push_back(line.substr(i));
            break;
        }
        out.push_back(line.substr(i, end - i));
        i = end + 2;
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
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
    return lines;
}

// A line feed inside a text would split its line in two.
std::string OneLine(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c == '\n') c = ' ';
    }
    return out;
}

} // namespace

int FrameTable::Find(const std::string& name) const {
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

std::string FormatParameterLabel(const ParamCatalogue& catalogue, const std::string& reference) {
    const size_t blank = reference.find(' ');
    if (blank == std::string::npos) return std::string();
    const std::string progId = reference.substr(blank + 1);
    for (int i = 0; i < catalogue.count; ++i) {
        if (progId == catalogue.records[i].progId) {
            char buf[128];
            std::snprintf(buf, sizeof buf, "N%d: %s", ParameterNumber(reference.c_str()) + 1, catalogue.records[i].label);
            return buf;
        }
    }
    return std::string();
}

std::string FramesText(const FrameTable& table) {
    std::string out;
    auto line = [&](const std::string& s) { out += s + "\r\n"; };
    for (size_t i = 0; i < table.records.size(); ++i) {
        const FrameRecord& r = table.records[i];
        line("[Frame " + std::to_string(i + 1) + "]");
        line(" <" + OneLine(r.name) + ">");
        line(std::string(" <") + KindKeyword(r.kind) + ">");
        line(std::string(" <") + RangeKeyword(r.timeRange) + ">");
        line(" <DVR>");
        auto params = [](const std::vector<std::string>& list) {
            std::string s;
            for (const std::string& p : list) s += "<" + OneLine(p) + ">";
            return s;
        };
        if (r.kind == FRAME_TREND) {
            for (int b = 0; b < r.bandCount && b < kMaxBands; ++b) line("   {" + params(r.bands[b].params) + "}");
            line(" <-->");
        } else {
            line(" {" + params(r.tableParams) + "}");
        }
    }
    return out;
}

void ParseFrames(const std::string& text, FrameTable& table) {
    table.records.clear();
    const std::vector<std::string> lines = SplitLines(text);
    size_t n = 0;
    if (n < lines.size()) ++n;  // the first header
    while (n < lines.size()) {
        if (n + 4 > lines.size()) break;  // cut off inside the frame's header lines
        FrameRecord r;
        r.name = Value(lines[n]);
        r.kind = Value(lines[n + 1]) == "FRAME_TREND" ? FRAME_TREND : FRAME_TABLE;
        const std::string range = Value(lines[n + 2]);
        if (range == "FRAME_CURRENT") r.timeRange = FRAME_CURRENT;
        else if (range == "FRAME_DAY") r.timeRange = FRAME_DAY;
        else if (range == "FRAME_LONG") r.timeRange = FRAME_LONG;
        r.source = Value(lines[n + 3]) == "DVR" ? FRAME_SOURCE_DVR : FRAME_SOURCE_OTHER;
        n += 4;
        if (r.kind == FRAME_TREND) {
            int b = 0;
            while (n < lines.size() && lines[n] != " <-->") {
                if (b < kMaxBands) r.bands[b++].params = ParameterLine(lines[n], 5);
                ++n;
            }
            if (n < lines.size()) ++n;  // the terminator
            r.bandCount = b;
        } else if (n < lines.size()) {
            r.tableParams = ParameterLine(lines[n], 3);
            ++n;
        }
        if (table.Count() < kMaxFrames) table.records.push_back(std::move(r));
        if (n < lines.size()) ++n;  // the next header
    }
}

void LoadFrames(const std::string& programFolder, FrameTable& table) {
    table.records.clear();
    std::string text;
    if (!platform::ReadWholeFile(programFolder + "Frames.ini", text)) return;
    ParseFrames(text, table);
}

bool SaveFrames(const std::string& programFolder, const FrameTable& table) {
    const std::string text = FramesText(table);
    return platform::WriteFileAtomic(programFolder + "Frames.ini", text.data(), text.size());
}
