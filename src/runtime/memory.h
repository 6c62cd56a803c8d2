#pragma once

namespace zelvo {

// Hands heap memory that is free again back to the system, so that a run
// which briefly needed much does not keep the program large afterwards.
void ReturnFreeMemory();

}  // namespace zelvo
