#pragma once

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Benchmarks and their baselines run in one allocator regime: large blocks stay with the
// process instead of going back to the system at every iteration of one side only.
inline void keepLargeAllocations()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
#endif
}
