#include "runtime/locks.h"

namespace zelvo {

LockHandle NewCriticalSection() { return std::make_shared<RecursiveLock>(); }

// An empty handle is a lock that was never created: there is nothing to hold.
void EnterCriticalSectionOp(const LockHandle& lock) {
    if (lock) lock->lock();
}

void LeaveCriticalSectionOp(const LockHandle& lock) {
    if (lock) lock->unlock();
}

}  // namespace zelvo
