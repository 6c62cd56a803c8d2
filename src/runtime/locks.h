#pragma once

#include <memory>
#include <mutex>

namespace zelvo {

// A re-entrant lock that lives as long as anyone holds its handle.
using LockHandle = std::shared_ptr<std::recursive_mutex>;

LockHandle NewCriticalSection();
void EnterCriticalSectionOp(const LockHandle& lock);
void LeaveCriticalSectionOp(const LockHandle& lock);

}  // namespace zelvo
