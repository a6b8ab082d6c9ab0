#pragma once

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace AllocatorTuning {

// A picture's request is one block of its size. The allocator would map
// and unmap the first on its own before it keeps such blocks for reuse;
// starting where it would end up spares each run a request's worth of
// fresh pages, which cost more to take than to send.
inline void Apply()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

}
