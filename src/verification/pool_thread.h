#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace zelvo {

// Threads of the WorkPool, with the stack size the pool asks for (the
// standard library offers no way to choose it).

// Starts body on a new thread with a stack of stackSize bytes (0: the
// platform's default; sizes below the platform's minimum are raised to it).
// A joinable thread must be passed to JoinPoolThread once; any other thread
// releases itself when body returns. Gives the thread's handle, or 0 when
// the thread could not be created.
std::uintptr_t StartPoolThread(std::size_t stackSize, std::function<void()> body, bool joinable);
void JoinPoolThread(std::uintptr_t handle);
// The handle of the calling thread, as StartPoolThread gave it.
std::uintptr_t CurrentPoolThread();

}  // namespace zelvo
