/* libZorbZlib.so: the compression library that Arcvo loads at run time.
   It carries Debian's minizip and zlib as its dependencies, so that looking
   up the minizip and zlib entry points on its handle finds them. */
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

/* References to both libraries, so that each is recorded as needed. */
__attribute__((visibility("default"))) const char* ZorbZlibVersion(void) {
    static void* const keep[] = {(void*)&zipOpen, (void*)&unzOpen};
    (void)keep;
    return zlibVersion();
}
