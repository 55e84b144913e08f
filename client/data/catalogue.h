// The parameter catalogue: every recorded parameter of the four camera
// databases, found by ProgID.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dvrdb.h"

struct ParamRecord {
    char progId[64];
    char name[64];
    char label[64];
    char units[16];
    char lowBound[32];
    char highBound[32];
    int32_t view;
    char accuracy[32];
    char description[256];
    int32_t status;
    int32_t type;
    int32_t database;
};

constexpr int kMaxCatalogue = 1024;

struct ParamCatalogue {
    ParamRecord records[kMaxCatalogue];
    int count = 0;
};

// Builds a catalogue from the four databases (handles of 0xFFFF deliver
// nothing). Texts longer than their fields are cut; past 1,024 parameters
// the rest are left out.
std::unique_ptr<ParamCatalogue> BuildCatalogue(const DbHandle handles[4]);

// The record of a parameter reference ("N%d: %s"): blanks removed, the text
// after the first ':' compared exactly with each ProgID in order.
const ParamRecord* FindCatalogueEntry(const ParamCatalogue& catalogue, const char* reference);
// The 0-based database number of a reference: the digits after its first
// character, minus one (-1 when there are none).
int ParameterNumber(const char* reference);
std::string ScaleKey(const ParamRecord& record);
int CountScales(const ParamCatalogue& catalogue, const std::vector<std::string>& references);
bool HasNoScale(const ParamRecord& record);

// "N%d: %s" of a 1-based database number and a ProgID.
std::string MakeParameterRef(int database1, const char* progId);
