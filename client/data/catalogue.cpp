#include "catalogue.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace {

template <size_t N>
void CopyField(char (&field)[N], const char* text) {
    std::memset(field, 0, N);
    if (!text) return;
    size_t n = strnlen(text, N - 1);
    std::memcpy(field, text, n);
}

template <size_t N>
void PrintBound(char (&field)[N], double v) {
    std::snprintf(field, N, "%f", v);
}

} // namespace

std::unique_ptr<ParamCatalogue> BuildCatalogue(const DbHandle handles[4]) {
    auto cat = std::make_unique<ParamCatalogue>();
    cat->count = 0;
    for (int d = 0; d < 4; ++d) {
        dbGoToFirstParameter(handles[d]);
        DbParameterInfo info{};
        info.progId = nullptr;
        while (dbGetNextParameter(handles[d], &info)) {
            if (cat->count >= kMaxCatalogue) continue;  // drain the iteration, keep the first 1,024
            ParamRecord& r = cat->records[cat->count];
            std::memset(&r, 0, sizeof r);
            r.type = info.type;
            CopyField(r.progId, info.progId);
            CopyField(r.name, info.name);
            CopyField(r.label, info.name);
            CopyField(r.units, info.units);
            CopyField(r.accuracy, info.accuracy);
            CopyField(r.description, info.description);
            PrintBound(r.lowBound, info.lowBound);
            PrintBound(r.highBound, info.highBound);
            r.view = info.view;
            r.status = info.status;
            r.database = d;
            ++cat->count;
        }
    }
    return cat;
}

const ParamRecord* FindCatalogueEntry(const ParamCatalogue& catalogue, const char* reference) {
    if (!reference) return nullptr;
    std::string text;
    for (const char* p = reference; *p; ++p) {
        if (*p != ' ') text += *p;
    }
    const size_t colon = text.find(':');
    const std::string id = colon == std::string::npos ? text : text.substr(colon + 1);
    for (int i = 0; i < catalogue.count; ++i) {
        if (id == catalogue.records[i].progId) return &catalogue.records[i];
    }
    return nullptr;
}

int ParameterNumber(const char* reference) {
    if (!reference || !reference[0]) return -1;
    int n = 0;
    const char* p = reference + 1;
    while (*p >= '0' && *p <= '9' && n < 100000000) n = n * 10 + (*p++ - '0');
    return n - 1;
}

std::string ScaleKey(const ParamRecord& r) {
    return std::string(r.units) + ": " + r.lowBound + "-" + r.highBound;
}

int CountScales(const ParamCatalogue& catalogue, const std::vector<std::string>& references) {
    std::set<std::string> seen;
    for (const std::string& ref : references) {
        const ParamRecord* r = FindCatalogueEntry(catalogue, ref.c_str());
        if (!r || HasNoScale(*r)) continue;
        seen.insert(ScaleKey(*r));
    }
    return static_cast<int>(seen.size());
}

bool HasNoScale(const ParamRecord& record) { return record.type == 15; }

std::string MakeParameterRef(int database1, const char* progId) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "N%d: %s", database1, progId ? progId : "");
    return buf;
}
