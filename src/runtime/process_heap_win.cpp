#include <windows.h>

#include "runtime/process_heap.h"

namespace zelvo {

void* ProcessHeapAlloc(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void ProcessHeapFree(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace zelvo
