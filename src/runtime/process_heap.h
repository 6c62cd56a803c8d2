#pragma once

#include <cstddef>

// Zero-filled memory from the process heap on Windows (the C library's heap
// elsewhere), for small structures that stay off the program's general
// allocator. Nothing when there is no memory.
namespace zelvo {

void* ProcessHeapAlloc(std::size_t size);
void ProcessHeapFree(void* block);

}  // namespace zelvo
