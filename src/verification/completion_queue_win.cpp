// Completion queue on a Windows I/O completion port with no file attached.
#include "verification/completion_queue.h"

#include <windows.h>

#include <atomic>

namespace zelvo {

// Closing does not close the port: a thread may be inside
// GetQueuedCompletionStatus on it, and a closed handle's number can be given
// to another object. Instead one closing packet circulates: every waiter
// that takes it puts it back and reports Closed, so all waiters wake. The
// port is closed with the queue.
struct CompletionQueue::State {
    HANDLE port = nullptr;
    std::atomic<bool> closed{false};
};

namespace {

// The key of the closing packet; the pool's keys are worker numbers.
constexpr ULONG_PTR kClosingKey = ~ULONG_PTR{0};

}  // namespace

CompletionQueue::CompletionQueue() : state_(std::make_unique<State>()) {
    state_->port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    if (state_->port == nullptr) state_->closed = true;
}

CompletionQueue::~CompletionQueue() {
    if (state_->port != nullptr) CloseHandle(state_->port);
}

bool CompletionQueue::post(std::uint32_t byteCount, std::uintptr_t key, void* overlapped) {
    if (state_->closed) return false;
    return PostQueuedCompletionStatus(state_->port, byteCount, key,
                                      static_cast<OVERLAPPED*>(overlapped)) != 0;
}

QueueWait CompletionQueue::wait(CompletionPacket& packet, std::int64_t timeoutMs) {
    if (state_->closed || state_->port == nullptr) return QueueWait::Closed;
    const DWORD wait = timeoutMs < 0 ? INFINITE
                       : timeoutMs >= static_cast<std::int64_t>(INFINITE)
                           ? INFINITE - 1
                           : static_cast<DWORD>(timeoutMs);
    DWORD byteCount = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* overlapped = nullptr;
    const BOOL taken = GetQueuedCompletionStatus(state_->port, &byteCount, &key, &overlapped, wait);
    if (!taken && overlapped == nullptr) {
        if (GetLastError() == WAIT_TIMEOUT && !state_->closed) return QueueWait::TimedOut;
        return QueueWait::Closed;
    }
    if (state_->closed) {
        // Packets still queued at closing are dropped; the closing packet
        // goes on to the next waiter.
        if (key == kClosingKey && overlapped == reinterpret_cast<OVERLAPPED*>(state_.get())) {
            PostQueuedCompletionStatus(state_->port, 0, kClosingKey, overlapped);
        }
        return QueueWait::Closed;
    }
    packet = {byteCount, key, overlapped};
    return QueueWait::Packet;
}

void CompletionQueue::close() {
    if (state_->closed.exchange(true) || state_->port == nullptr) return;
    PostQueuedCompletionStatus(state_->port, 0, kClosingKey,
                               reinterpret_cast<OVERLAPPED*>(state_.get()));
}

bool CompletionQueue::isClosed() const { return state_->closed; }

}  // namespace zelvo
