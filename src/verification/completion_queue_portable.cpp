// Portable completion queue: a mutex, a condition variable and a FIFO.
#include "verification/completion_queue.h"

#include <condition_variable>  // brings std::chrono; <chrono> itself does not build with GBK literals
#include <deque>
#include <mutex>

namespace zelvo {

struct CompletionQueue::State {
    mutable std::mutex mutex;
    std::condition_variable ready;
    std::deque<CompletionPacket> packets;
    bool closed = false;
};

CompletionQueue::CompletionQueue() : state_(std::make_unique<State>()) {}

CompletionQueue::~CompletionQueue() = default;

bool CompletionQueue::post(std::uint32_t byteCount, std::uintptr_t key, void* overlapped) {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed) return false;
        state_->packets.push_back({byteCount, key, overlapped});
    }
    state_->ready.notify_one();
    return true;
}

QueueWait CompletionQueue::wait(CompletionPacket& packet, std::int64_t timeoutMs) {
    std::unique_lock lock(state_->mutex);
    auto available = [this] { return state_->closed || !state_->packets.empty(); };
    if (timeoutMs < 0) {
        state_->ready.wait(lock, available);
    } else if (!state_->ready.wait_for(lock, std::chrono::milliseconds(timeoutMs), available)) {
        return QueueWait::TimedOut;
    }
    if (state_->closed) return QueueWait::Closed;
    packet = state_->packets.front();
    state_->packets.pop_front();
    return QueueWait::Packet;
}

void CompletionQueue::close() {
    {
        std::lock_guard lock(state_->mutex);
        state_->closed = true;
        state_->packets.clear();
    }
    state_->ready.notify_all();
}

bool CompletionQueue::isClosed() const {
    std::lock_guard lock(state_->mutex);
    return state_->closed;
}

}  // namespace zelvo
