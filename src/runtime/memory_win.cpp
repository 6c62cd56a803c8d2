// ReturnFreeMemory on the Windows heaps.
#include <malloc.h>
#include <windows.h>

#include "runtime/memory.h"

namespace zelvo {

void ReturnFreeMemory() {
    // The C runtime's heap first, so the blocks it releases are free in the
    // process heap when that is compacted.
    _heapmin();
    HeapCompact(GetProcessHeap(), 0);
}

}  // namespace zelvo
