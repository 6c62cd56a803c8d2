// ReturnFreeMemory on the GNU C library's allocator.
#include <malloc.h>

#include "runtime/memory.h"

namespace zelvo {

void ReturnFreeMemory() { malloc_trim(0); }

}  // namespace zelvo
