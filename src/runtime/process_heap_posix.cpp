#include <cstdlib>

#include "runtime/process_heap.h"

namespace zelvo {

void* ProcessHeapAlloc(std::size_t size) { return std::calloc(1, size); }

void ProcessHeapFree(void* block) { std::free(block); }

}  // namespace zelvo
