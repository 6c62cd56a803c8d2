#pragma once

#include <cstdint>
#include <memory>

namespace zelvo {

// One completion packet: the three values a poster hands to a waiter.
struct CompletionPacket {
    std::uint32_t byteCount = 0;
    std::uintptr_t key = 0;
    void* overlapped = nullptr;
};

enum class QueueWait {
    Packet,    // a packet was taken
    TimedOut,  // the time-out passed without a packet
    Closed,    // the queue is closed; no packet will ever come again
};

// A wake-up queue with the semantics of an I/O completion port used without
// any file: packets are taken first in, first out, each by exactly one
// waiter. Closing wakes every waiter at once; packets still queued are
// dropped, and every later wait and post fails at once.
class CompletionQueue {
  public:
    static constexpr std::int64_t kInfinite = -1;

    CompletionQueue();
    ~CompletionQueue();
    CompletionQueue(const CompletionQueue&) = delete;
    CompletionQueue& operator=(const CompletionQueue&) = delete;

    // False when the queue is closed.
    bool post(std::uint32_t byteCount, std::uintptr_t key, void* overlapped);
    // timeoutMs < 0 waits without limit.
    QueueWait wait(CompletionPacket& packet, std::int64_t timeoutMs);
    void close();
    bool isClosed() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace zelvo
