#pragma once

#include <functional>

namespace zelvo {

// Starts body on a thread that nobody joins and that releases itself when
// body returns. False when no thread could be made (body is then not run).
// On Windows this is a plain CreateThread: a detached std::thread of
// MinGW's winpthreads corrupts the heap when many end at once.
bool StartDetachedThread(std::function<void()> body);

}  // namespace zelvo
