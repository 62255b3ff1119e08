#pragma once

#include <cstdio> // also defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Large blocks stay with the process between iterations, so a benchmark and its baseline pay the
// same allocator costs: otherwise pugixml's large pages go back to the system at every iteration
// in one of them and not in the other, and the ratio measures the allocator.
inline void keepLargeAllocations()
{
#if defined(__GLIBC__)
    // glibc refuses a threshold above its maximum (32 MiB on 64-bit) and then keeps the sliding
    // default, so ask for exactly that.
    constexpr int largest = 4 * 1024 * 1024 * int(sizeof(long));
    if (!mallopt(M_MMAP_THRESHOLD, largest) || !mallopt(M_TRIM_THRESHOLD, 1 << 30))
        std::fprintf(stderr, "warning: the allocator thresholds could not be set\n");
#endif
}
