/* dvrdb: the archive database of a recording station, read through twelve
   plain functions. One database folder per camera; see docs/dvrdb-format.md
   for what the folder holds.

   Instants are a day number (1 = 1 January 2001) and a time of day in ms.
   dbNativeGetData takes local time, dbNativeGetDataBySysTime UTC.

   Every function may be called from several threads on the same handle. */
#ifndef DVRDB_H
#define DVRDB_H

#include <stdint.h>

#if defined(DVRDB_BUILDING)
#define DVRDB_API __attribute__((visibility("default")))
#else
#define DVRDB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint16_t DbHandle;
#define DB_INVALID_HANDLE ((DbHandle)0xFFFF)

/* Status word of a read sample (first 16-bit word of the first section's
   header). */
#define DB_STATUS_CURRENT 0xFFFFu     /* recorded at the asked instant */
#define DB_STATUS_EXPIRED_PICTURE 0u  /* recorded, but the newest picture is too old */
#define DB_STATUS_NOT_RECORDED 1u     /* nothing recorded there; the record is zeroed */

/* Value type codes. */
enum {
    DB_TYPE_U8 = 1, DB_TYPE_S8 = 2, DB_TYPE_U16 = 3, DB_TYPE_S16 = 4, DB_TYPE_U32 = 5, DB_TYPE_S32 = 6,
    DB_TYPE_U64_HALVES = 7, DB_TYPE_S64 = 8, DB_TYPE_FLOAT = 9, DB_TYPE_DOUBLE = 10, DB_TYPE_U8_B = 11,
    DB_TYPE_U16_B = 12, DB_TYPE_U32_B = 13, DB_TYPE_OPAQUE = 14, DB_TYPE_BIT = 15
};

/* What the resolver answers for a parameter name. */
typedef struct DbValueInfo {
    int32_t type;        /* value type code */
    const char* format;  /* printf format of the value; for DB_TYPE_BIT "name|bit" */
    int32_t offset;      /* offset of the value in the record (after the 16-byte header) */
} DbValueInfo;

/* Resolver: the value information of *name for a key of the descriptor, or
   null for an unknown name, a stale key or a closed database. The answer
   stays valid for the life of the process. */
typedef const DbValueInfo* (*DbResolver)(uint32_t key, const char** name);

/* Descriptor: six words in this order. */
typedef struct DbDescriptor {
    uint32_t blockSize;      /* 0: block to allocate without a header (record size) */
    uint32_t recordSize;     /* 1: record size without header */
    uint32_t periodMs;       /* 2: recording period (not read by the client) */
    uint32_t keyNoHeader;    /* 3: resolver key for a record without header */
    uint32_t keyWithHeader;  /* 4: resolver key for a record with its 16-byte header */
    DbResolver resolver;     /* 5: the resolver, of native pointer width */
} DbDescriptor;

/* Parameter information delivered by dbGetNextParameter. The texts belong
   to the library and stay valid while the database is open. */
typedef struct DbParameterInfo {
    int32_t type;
    const char* progId;
    const char* name;
    const char* units;
    const char* accuracy;
    const char* description;
    double lowBound;
    double highBound;
    int32_t view;    /* 0 table, 1 trend, 2 table and trend */
    int32_t status;  /* 0 not used, 1 parameter for archive */
} DbParameterInfo;

/* Windows' SYSTEMTIME, used by dbConvertDateTimeToUAPformat. */
typedef struct DbSystemTime {
    uint16_t wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
} DbSystemTime;

/* One section of a sample buffer. dbNativeGetData writes at `current` a
   16-byte header and then the record, when `capacity` holds both:
     header bytes 0-1  status word (DB_STATUS_*)
     header bytes 2-3  0
     header bytes 4-5  day of the record's instant (the clock of the call)
     header bytes 6-7  0
     header bytes 8-11 time of day of the record's instant in ms
     header bytes 12-15 0
   The three sections hold:
     first   the record at or before the asked instant (within one period),
             its status word deciding the sample's status;
     second  the record one period earlier, with its own status;
     third   the same record as the first; the client looks values up here. */
typedef struct DbSampleSection {
    uint8_t descriptor[sizeof(DbDescriptor)];
    char text[128];
    uint8_t* data;
    int32_t capacity;
    uint8_t* current;
} DbSampleSection;

typedef struct DbSampleBuffer {
    DbSampleSection section[3];
} DbSampleBuffer;

/* Opens the database folder; DB_INVALID_HANDLE for an empty path, a missing
   folder or one that holds no valid Prm.cfg. The two flags are accepted
   as 1. */
DVRDB_API DbHandle dbOpenDatabase(const char* folder, int readOnly, int shared);
DVRDB_API void dbCloseDatabase(DbHandle handle);
/* The descriptor; all zero for a handle that is not open. */
DVRDB_API DbDescriptor dbGetDBDsr(DbHandle handle);
DVRDB_API void dbGoToFirstParameter(DbHandle handle);
/* 1 while a record was delivered. */
DVRDB_API int dbGetNextParameter(DbHandle handle, DbParameterInfo* info);
/* Reads the sample at the local instant into buffer, and with the three
   picture pointers given, the newest picture at or before it: RGB, width x
   height x 3 bytes, owned by the library and valid until the next read of
   the same thread on that handle; *data is null when there is none. */
DVRDB_API void dbNativeGetData(DbHandle handle, uint16_t day, int32_t time, DbSampleBuffer* buffer, int32_t* width,
                               int32_t* height, uint8_t** data, int32_t flags);
DVRDB_API void dbNativeGetDataBySysTime(DbHandle handle, uint16_t day, int32_t time, DbSampleBuffer* buffer,
                                        int32_t* width, int32_t* height, uint8_t** data, int32_t flags);
/* The newest recorded instant in local time; day 1 and time 0 when none. */
DVRDB_API void dbGetActualRecTime(DbHandle handle, uint16_t* day, int32_t* time);
/* Moves the instant by ms, normalising the time of day. */
DVRDB_API void dbAddMsToDateTime(uint16_t* day, int32_t* time, int64_t ms);
/* The instant as a signed ms count, to compare and subtract instants. */
DVRDB_API int64_t dbDateTimeToMs(uint16_t day, int32_t time);
/* A local calendar time to an instant. */
DVRDB_API void dbConvertDateTimeToUAPformat(DbSystemTime time, uint16_t* day, int32_t* ms);
/* The number of months in the database's ring; 0 when not open. */
DVRDB_API int32_t dbGetArhDuration(DbHandle handle);

#ifdef __cplusplus
}
#endif

#endif
