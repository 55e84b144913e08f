#include "sample.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kTextSize = sizeof(SampleSection{}.text);

int TypeSize(int type) {
    static const int sizes[] = {0, 1, 1, 2, 2, 4, 4, 8, 8, 4, 8, 1, 2, 4, 8, 0};
    return type >= 0 && type <= 15 ? sizes[type] : 0;
}

DbDescriptor DescriptorOf(const SampleSection& s) {
    DbDescriptor d;
    std::memcpy(&d, s.descriptor, sizeof d);
    return d;
}

int RecordCapacity(const SampleSection& s) { return s.capacity > 16 ? s.capacity - 16 : 0; }

// One printf conversion, split out of a format.
struct Conversion {
    std::string before, spec, after;  // spec: flags, width and precision
    char conv = 0;
};

// Finds the single conversion of a format; false when there is none, more
// than one, or one that is not numeric.
bool SingleNumericConversion(const char* format, Conversion& out) {
    std::string lit;
    int found = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            lit += *p;
            continue;
        }
        if (p[1] == '%') {
            lit += "%%";
            ++p;
            continue;
        }
        ++p;
        std::string spec;
        while (*p && std::strchr("-+ #0'", *p)) spec += *p++;
        while (*p >= '0' && *p <= '9') spec += *p++;
        if (*p == '.') {
            spec += *p++;
            while (*p >= '0' && *p <= '9') spec += *p++;
        }
        while (*p && std::strchr("hlLqjzt", *p)) ++p;  // length modifiers are chosen by the value
        if (!*p || !std::strchr("diouxXfFeEgGaA", *p)) return false;
        if (++found > 1) return false;
        out.before = lit;
        lit.clear();
        out.spec = spec;
        out.conv = *p;
    }
    if (found != 1) return false;
    out.after = lit;
    return true;
}

bool FloatConversion(char c) { return std::strchr("fFeEgGaA", c) != nullptr; }

bool SignedType(int type) { return type == 2 || type == 4 || type == 6 || type == 8; }

int64_t IntegerOf(const DecodedValue& v) {
    const uint8_t* b = v.bytes;
    switch (v.type) {
    case 1: case 11: case 15: return b[0];
    case 2: return static_cast<int8_t>(b[0]);
    case 3: case 12: { uint16_t x; std::memcpy(&x, b, 2); return x; }
    case 4: { int16_t x; std::memcpy(&x, b, 2); return x; }
    case 5: case 13: { uint32_t x; std::memcpy(&x, b, 4); return x; }
    case 6: { int32_t x; std::memcpy(&x, b, 4); return x; }
    case 7: case 8: { int64_t x; std::memcpy(&x, b, 8); return x; }
    default: return 0;
    }
}

double FloatOf(const DecodedValue& v) {
    if (v.type == 9) {
        float f;
        std::memcpy(&f, v.bytes, 4);
        return f;
    }
    if (v.type == 10) {
        double d;
        std::memcpy(&d, v.bytes, 8);
        return d;
    }
    return 0;
}

std::string Printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printed(const char* format, ...) {
    char buf[kTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

// The opaque type's text: the format itself, "%%" read as "%" and any
// conversion left out (there is no argument for it).
std::string LiteralText(const char* format) {
    std::string out;
    for (const char* p = format; *p && out.size() < kTextSize - 1; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            ++p;
            continue;
        }
        ++p;
        while (*p && !std::strchr("diouxXfFeEgGaAcspnm", *p)) ++p;
        if (!*p) break;
    }
    return out;
}

} // namespace

void InitBuffer(SampleBuffer& b) { std::memset(&b, 0, sizeof b); }

void FreeBuffer(SampleBuffer& b) {
    for (SampleSection& s : b.section) delete[] s.data;
    InitBuffer(b);
}

void InitSlice(Slice& slice) {
    for (SampleBuffer& b : slice.buffers) InitBuffer(b);
}

void FreeSlice(Slice& slice) {
    for (SampleBuffer& b : slice.buffers) FreeBuffer(b);
}

void PrepareBuffer(DbHandle handle, SampleBuffer& buffer) {
    const DbDescriptor d = dbGetDBDsr(handle);
    const int32_t size = static_cast<int32_t>(d.recordSize) + 16;
    for (SampleSection& s : buffer.section) {
        std::memcpy(s.descriptor, &d, sizeof d);
        if (s.capacity != size) {
            delete[] s.data;
            s.data = nullptr;
            s.capacity = 0;
        }
        if (!s.data) {
            s.data = new uint8_t[static_cast<size_t>(size)];
            s.capacity = size;
        }
        s.current = s.data;
        std::memset(s.data, 0, static_cast<size_t>(size));
    }
}

void ReadSample(const DataSession& session, DbHandle handle, const Instant& at, SampleBuffer& buffer, int32_t* width,
                int32_t* height, uint8_t** data) {
    PrepareBuffer(handle, buffer);
    if (session.Gmt())
        dbNativeGetDataBySysTime(handle, at.day, at.time, &buffer, width, height, data, 0);
    else
        dbNativeGetData(handle, at.day, at.time, &buffer, width, height, data, 0);
}

void ReadSlice(const DataSession& session, const Instant& at, int database, Slice& slice) {
    if (database < 0 || database > 3) return;
    ReadSample(session, session.Handle(database), at, slice.buffers[database]);
}

uint16_t StatusWord(const SampleBuffer& buffer) {
    const SampleSection& s = buffer.section[0];
    if (!s.current || s.capacity < 2) return 0;
    uint16_t w;
    std::memcpy(&w, s.current, 2);
    return w;
}

DecodedValue ValueByName(const SampleSection& section, const char* progId, std::string* format) {
    DecodedValue v;
    if (format) format->clear();
    if (!section.data || !progId) return v;
    const DbDescriptor d = DescriptorOf(section);
    if (!d.resolver) return v;
    const char* name = progId;
    const DbValueInfo* info = d.resolver(d.keyWithHeader, &name);
    if (!info) return v;
    if (format && info->format) *format = info->format;
    const uint8_t* record = section.data + 16;
    const int capacity = RecordCapacity(section);
    if (info->type == 15) {
        const char* text = info->format;
        const char* bar = text ? std::strchr(text, '|') : nullptr;
        if (!bar || bar == text || bar[1] < '0' || bar[1] > '9') return v;
        char* end = nullptr;
        unsigned long b = std::strtoul(bar + 1, &end, 10);
        if (*end != '\0' || b > 0xFFFF) return v;
        std::string base(text, static_cast<size_t>(bar - text));
        const char* baseName = base.c_str();
        const DbValueInfo* baseInfo = d.resolver(d.keyWithHeader, &baseName);
        if (!baseInfo || baseInfo->offset < 0) return v;
        const long byte = baseInfo->offset + static_cast<long>(b / 8);
        if (byte >= capacity) return v;
        v.type = 15;
        v.bytes[0] = static_cast<uint8_t>((record[byte] >> (b % 8)) & 1);
        return v;
    }
    const int size = TypeSize(info->type);
    if (info->type < 1 || info->type > 14 || size == 0) return v;
    if (info->offset < 0 || info->offset + size > capacity) return v;
    v.type = info->type;
    std::memcpy(v.bytes, record + info->offset, static_cast<size_t>(size));
    return v;
}

std::string FormatValue(const DecodedValue& v, const char* format) {
    if (v.type == 0 || !format) return std::string();
    if (v.type == 15) return Printed("%o", static_cast<unsigned>(v.bytes[0]));
    if (v.type == 14) return LiteralText(format);
    if (v.type > 15) return std::string();
    const bool isFloat = v.type == 9 || v.type == 10;
    Conversion c;
    if (!SingleNumericConversion(format, c)) {
        // Not a format for one number: show the value plainly.
        if (isFloat) return Printed("%g", FloatOf(v));
        return SignedType(v.type) || v.type == 5 || v.type == 13 ? Printed("%lld", static_cast<long long>(IntegerOf(v)))
                                                                 : Printed("%llu", static_cast<unsigned long long>(IntegerOf(v)));
    }
    const std::string head = c.before + "%" + c.spec;
    if (FloatConversion(c.conv)) {
        const double x = isFloat ? FloatOf(v) : static_cast<double>(v.type == 7 ? static_cast<double>(static_cast<uint64_t>(IntegerOf(v))) : IntegerOf(v));
        const std::string f = head + c.conv + c.after;
        return Printed(f.c_str(), x);
    }
    if (isFloat) {
        double x = FloatOf(v);
        if (!(x == x)) x = 0;
        if (x > 9.2e18) x = 9.2e18;
        if (x < -9.2e18) x = -9.2e18;
        const std::string f = head + "ll" + c.conv + c.after;
        return Printed(f.c_str(), static_cast<long long>(x));
    }
    if (v.type == 7 || v.type == 8) {
        const std::string f = head + "ll" + c.conv + c.after;
        return Printed(f.c_str(), static_cast<long long>(IntegerOf(v)));
    }
    // 8-, 16- and 32-bit values go in as an int, as printf expects them.
    const std::string f = head + c.conv + c.after;
    return Printed(f.c_str(), static_cast<int>(static_cast<uint32_t>(IntegerOf(v))));
}

double NumericValue(const DecodedValue& v) {
    switch (v.type) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 8: case 11: case 12: case 13: case 15:
        return static_cast<double>(IntegerOf(v));
    case 9: case 10:
        return FloatOf(v);
    default:
        return 0;  // types 7, 14 and unknown codes have no numeric reading
    }
}

uint16_t ReadValue(Slice& slice, const char* progId, int database, std::string* text, float* number) {
    if (database < 0 || database > 3) return 0;
    SampleBuffer& b = slice.buffers[database];
    if (!b.section[0].current) return 0;
    SampleSection& third = b.section[2];
    DecodedValue v;
    if (third.data) {
        std::string format;
        v = ValueByName(third, progId, &format);
        const std::string s = FormatValue(v, format.c_str());
        std::memset(third.text, 0, sizeof third.text);
        std::memcpy(third.text, s.data(), s.size() < sizeof third.text ? s.size() : sizeof third.text - 1);
    }
    if (text) text->assign(third.text, strnlen(third.text, sizeof third.text));
    if (number) *number = third.data ? static_cast<float>(NumericValue(v)) : 0.0f;
    return StatusWord(b);
}

std::string ReadValueText(const ParamCatalogue& catalogue, const char* reference, Slice& slice, int database,
                          float* number, int* valid, uint16_t* status) {
    const ParamRecord* r = FindCatalogueEntry(catalogue, reference);
    if (!r) return std::string();
    std::string text;
    float n = 0;
    const uint16_t s = ReadValue(slice, r->progId, database, &text, &n);
    if (number) *number = n;
    if (status) *status = s;
    if (valid) *valid = 1;
    return text;
}
