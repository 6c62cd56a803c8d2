#pragma once

#include <memory>

#include "runtime/recursive_lock.h"

namespace zelvo {

// A re-entrant lock that lives as long as anyone holds its handle.
using LockHandle = std::shared_ptr<RecursiveLock>;

LockHandle NewCriticalSection();
void EnterCriticalSectionOp(const LockHandle& lock);
void LeaveCriticalSectionOp(const LockHandle& lock);

}  // namespace zelvo
