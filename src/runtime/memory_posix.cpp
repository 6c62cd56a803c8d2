// ReturnFreeMemory on the GNU C library's allocator.
#include <malloc.h>

#include <mutex>

#include "runtime/memory.h"

namespace zelvo {

namespace {

// glibc raises its mmap threshold each time a large block is freed, after
// which page-sized buffers come from the per-thread arenas; malloc_trim never
// shrinks the top of such an arena, so each keeps what its last page left
// there. Fixed thresholds turn that off: every block of 128 KiB or more has
// a mapping of its own, given back when it is freed.
void FixThresholds() {
    constexpr int kOwnMapping = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kOwnMapping);
    mallopt(M_TRIM_THRESHOLD, kOwnMapping);
}

}  // namespace

void ReturnFreeMemory() {
    static std::once_flag fixed;
    std::call_once(fixed, FixThresholds);
    malloc_trim(0);
}

}  // namespace zelvo
