#include <mutex>

#include "runtime/recursive_lock.h"

namespace zelvo {

RecursiveLock::RecursiveLock() : impl_(new std::recursive_mutex) {}

RecursiveLock::~RecursiveLock() { delete static_cast<std::recursive_mutex*>(impl_); }

void RecursiveLock::lock() { static_cast<std::recursive_mutex*>(impl_)->lock(); }

bool RecursiveLock::try_lock() { return static_cast<std::recursive_mutex*>(impl_)->try_lock(); }

void RecursiveLock::unlock() { static_cast<std::recursive_mutex*>(impl_)->unlock(); }

}  // namespace zelvo
