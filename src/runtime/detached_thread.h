#pragma once

#include <functional>

namespace zelvo {

// Starts body on a thread that nobody joins and that releases itself when
// body returns. False when no thread could be made (body is then not run).
// On Windows the threads are plain CreateThread ones (a detached std::thread
// of MinGW's winpthreads corrupts the heap when many end at once), and one
// whose body has returned waits a few seconds for the next body before it
// ends, so that many short bodies do not each pay for a new thread.
bool StartDetachedThread(std::function<void()> body);

}  // namespace zelvo
