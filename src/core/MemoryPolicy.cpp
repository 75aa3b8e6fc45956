#include "core/MemoryPolicy.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace corvane {

namespace {
#ifdef __GLIBC__
constexpr int mappedBlock = 256 * 1024;
constexpr int defaultTrim = 128 * 1024;
int printRuns = 0; // nested runs (a preview printing) share one setting
#endif
}

void useMemoryPolicy()
{
#ifdef __GLIBC__
    static const bool set = mallopt(M_MMAP_THRESHOLD, mappedBlock) == 1;
    (void)set;
#endif
}

PrintRunMemory::PrintRunMemory()
{
#ifdef __GLIBC__
    if (printRuns++ == 0) {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024); // the largest the allocator takes
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    }
#endif
}

PrintRunMemory::~PrintRunMemory()
{
#ifdef __GLIBC__
    if (--printRuns == 0) {
        mallopt(M_MMAP_THRESHOLD, mappedBlock);
        mallopt(M_TRIM_THRESHOLD, defaultTrim);
        malloc_trim(0);
    }
#endif
}

}
