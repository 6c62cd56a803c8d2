#include <windows.h>

#include <new>

#include "runtime/recursive_lock.h"

namespace zelvo {

RecursiveLock::RecursiveLock()
    : impl_(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CRITICAL_SECTION))) {
    if (impl_ == nullptr) throw std::bad_alloc();
    InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(impl_));
}

RecursiveLock::~RecursiveLock() {
    DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(impl_));
    HeapFree(GetProcessHeap(), 0, impl_);
}

void RecursiveLock::lock() { EnterCriticalSection(static_cast<CRITICAL_SECTION*>(impl_)); }

bool RecursiveLock::try_lock() {
    return TryEnterCriticalSection(static_cast<CRITICAL_SECTION*>(impl_)) != 0;
}

void RecursiveLock::unlock() { LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(impl_)); }

}  // namespace zelvo
