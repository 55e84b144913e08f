// Reading one sample of a database and looking values up in it.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue.h"
#include "dvrdb.h"
#include "instant.h"
#include "session.h"

using SampleSection = DbSampleSection;
using SampleBuffer = DbSampleBuffer;

// One SampleBuffer per database 0..3.
struct Slice {
    SampleBuffer buffers[4];
};

void InitBuffer(SampleBuffer& buffer);
void FreeBuffer(SampleBuffer& buffer);
void InitSlice(Slice& slice);
void FreeSlice(Slice& slice);

// Makes the three sections fit the database's descriptor; allocates only
// when the record size changed.
void PrepareBuffer(DbHandle handle, SampleBuffer& buffer);
void ReadSample(const DataSession& session, DbHandle handle, const Instant& at, SampleBuffer& buffer,
                int32_t* width = nullptr, int32_t* height = nullptr, uint8_t** data = nullptr);
void ReadSlice(const DataSession& session, const Instant& at, int database, Slice& slice);

uint16_t StatusWord(const SampleBuffer& buffer);

struct DecodedValue {
    int type = 0;  // 0 = no value
    uint8_t bytes[8] = {};
};

DecodedValue ValueByName(const SampleSection& section, const char* progId, std::string* format);
// The value printed with the format; conversions that do not fit the value
// are printed as the value's type needs, and a format that is not a single
// numeric conversion falls back to a plain one, so no format can read an
// argument that is not there.
std::string FormatValue(const DecodedValue& value, const char* format);
double NumericValue(const DecodedValue& value);

uint16_t ReadValue(Slice& slice, const char* progId, int database, std::string* text, float* number);
std::string ReadValueText(const ParamCatalogue& catalogue, const char* reference, Slice& slice, int database,
                          float* number, int* valid, uint16_t* status);
