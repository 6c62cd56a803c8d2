#include <windows.h>

#include <deque>
#include <memory>

#include "runtime/detached_thread.h"

namespace zelvo {

namespace {

// A thread that has run its body waits this long for another before it ends.
// Starting a thread is what a short body costs most: Wine clears nearly a
// megabyte of every new thread's stack, page by page, and each start and end
// takes the loader lock; one per page fetched (and one per connection of the
// test servers) made a lookup cost several milliseconds of CPU.
constexpr DWORD kSpareWaitMs = 5000;

// Bodies handed to waiting threads. Slim locks and condition variables: no
// kernel object, and no server call under Wine, while nobody has to wait.
struct Spares {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE handed = CONDITION_VARIABLE_INIT;
    // Every queued body has a waiting thread of its own: queued.size() <= waiting.
    std::deque<std::function<void()>> queued;
    std::size_t waiting = 0;
};

// Never destroyed: waiting threads may still use it while the process ends.
Spares& TheSpares() {
    static Spares* spares = new Spares;
    return *spares;
}

DWORD WINAPI RunBodies(void* argument) {
    std::unique_ptr<std::function<void()>> first(static_cast<std::function<void()>*>(argument));
    (*first)();
    first.reset();
    Spares& spares = TheSpares();
    for (;;) {
        std::function<void()> body;
        AcquireSRWLockExclusive(&spares.lock);
        ++spares.waiting;
        const ULONGLONG deadline = GetTickCount64() + kSpareWaitMs;
        while (spares.queued.empty()) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline ||
                !SleepConditionVariableSRW(&spares.handed, &spares.lock,
                                           static_cast<DWORD>(deadline - now), 0)) {
                if (spares.queued.empty()) break;
            }
        }
        --spares.waiting;
        if (spares.queued.empty()) {
            ReleaseSRWLockExclusive(&spares.lock);
            return 0;
        }
        body = std::move(spares.queued.front());
        spares.queued.pop_front();
        ReleaseSRWLockExclusive(&spares.lock);
        body();
    }
}

}  // namespace

bool StartDetachedThread(std::function<void()> body) {
    Spares& spares = TheSpares();
    AcquireSRWLockExclusive(&spares.lock);
    if (spares.queued.size() < spares.waiting) {
        spares.queued.push_back(std::move(body));
        ReleaseSRWLockExclusive(&spares.lock);
        WakeConditionVariable(&spares.handed);
        return true;
    }
    ReleaseSRWLockExclusive(&spares.lock);
    auto* argument = new std::function<void()>(std::move(body));
    HANDLE thread = CreateThread(nullptr, 0, RunBodies, argument, 0, nullptr);
    if (thread == nullptr) {
        delete argument;
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace zelvo
