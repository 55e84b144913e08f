// Reads arbitrary Frames.ini texts; saving what was read and reading it
// again gives the same frames (the source keyword is always written "DVR").
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frametable.h"

namespace {

bool Same(const FrameRecord& a, const FrameRecord& b) {
    if (a.kind != b.kind || a.timeRange != b.timeRange || a.name != b.name) return false;
    if (a.kind == FRAME_TABLE) return a.tableParams == b.tableParams;
    if (a.bandCount != b.bandCount) return false;
    for (int i = 0; i < a.bandCount; ++i)
        if (!(a.bands[i] == b.bands[i])) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FrameTable t;
    ParseFrames(std::string(reinterpret_cast<const char*>(data), size), t);
    if (t.Count() > kMaxFrames) abort();
    for (const FrameRecord& r : t.records)
        if (r.bandCount < 0 || r.bandCount > kMaxBands) abort();
    FrameTable again;
    ParseFrames(FramesText(t), again);
    if (again.Count() != t.Count()) abort();
    for (int i = 0; i < t.Count(); ++i)
        if (!Same(t.records[static_cast<size_t>(i)], again.records[static_cast<size_t>(i)])) abort();
    return 0;
}
