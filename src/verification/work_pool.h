#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "verification/locked_list.h"

namespace zelvo {

// The routine a pool runs once per task: the worker number (1-based), the
// handle of that worker's thread (any idle thread of the pool may serve a
// worker number, so it need not be the calling thread) and the task value.
// It runs outside every pool lock; whatever it throws is swallowed and the
// worker goes idle again.
using WorkJob =
    std::function<void(std::int32_t workerNumber, std::uintptr_t threadHandle, std::int32_t task)>;

// Runs a job on a fixed number of worker threads, one call per submitted
// task. A dispatcher thread hands the oldest pending task to the longest-idle
// worker through a completion queue. It sleeps on its own queue without a
// time-out while there is work about, is woken by a packet when a task is
// submitted or a worker goes idle, and then hands out every pair it can: how
// fast tasks start never depends on the clock tick (15.6 ms on a stock
// Windows, where a shorter wait lasts one or two ticks).
//
// Each start opens a new crew (dispatcher, workers, queues, idle list). A
// start on a pool that is already running first retires the previous crew:
// its dispatcher is stopped and joined, so only one dispatcher ever takes
// tasks; its workers finish the job they are running (with the job of their
// own start), never go idle again and end. Tasks that are still pending
// stay pending and are run by the new crew with the new job, in submission
// order; a caller whose tasks must not outlive its run drops them with
// discardPending() before starting again.
//
// A crew whose workers are all idle, with no task pending, for the idle time
// retires itself (the only wait with a time-out, and nothing is lost there if
// the tick is coarse): its workers and dispatcher end, so a large crew does not
// hold its threads after its work is done. A task submitted afterwards
// brings up a new crew like the last one (same job, thread count and stack
// size); a stopped pool stays stopped.
//
// Threads never touch the pool object itself: everything they use is shared
// with them, so a pool may be destroyed while a job is still running.
class WorkPool {
  public:
    static constexpr std::int32_t kDefaultThreadCount = 5;
    static constexpr std::int32_t kDefaultStackSize = 0x100000;
    // Only this byte count means stop; every other packet is a wake-up.
    static constexpr std::uint32_t kStopByteCount = 0xFFFFFFFF;
    static constexpr std::uint32_t kWakeByteCount = 1;
    // Long beside the moments between two tasks of one run, short beside the
    // time a user spends on the results before starting the next run.
    static constexpr std::int64_t kDefaultIdleTimeMs = 5000;

    // Creates the queues; no thread exists until start.
    WorkPool();
    // Stops the pool, then waits a short while for its threads to end; a
    // thread still inside a job after that is left to finish on its own.
    virtual ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // threadCount below 1 becomes 1; stackSize of 0 or below becomes 1 MiB.
    // False when nothing could be started (no queue, no dispatcher or no
    // worker thread).
    virtual bool start(WorkJob job, std::int32_t threadCount = kDefaultThreadCount,
                       std::int32_t stackSize = kDefaultStackSize);
    // Posts one stop packet to the dispatcher and one per worker slot, then
    // closes both queues. Does not wait for the threads. A task handed to a
    // worker that has not begun it is dropped; pending tasks stay pending
    // for a later start.
    virtual void stop();
    // Never blocks; the task waits until a dispatcher hands it out. Wakes
    // the dispatcher, and brings back a crew that retired for being idle.
    // Always true.
    virtual bool submit(std::int32_t task);

    // How long a crew started afterwards stays with nothing to do before it
    // retires (tests shorten it).
    void setIdleTime(std::int64_t ms);
    // Makes every time-out of crews started afterwards last a whole number of
    // ticks of this length, as on a system whose clock ticks that seldom (0:
    // to the millisecond). Benchmarks stand in for a stock Windows with 16.
    void setClockTick(std::int64_t ms);

    // Drops every task not yet handed to a worker; gives how many.
    std::int32_t discardPending();

    // Observers.
    std::int32_t threadCount() const;
    std::int32_t stackSize() const;
    std::int32_t pendingCount() const;
    // Workers of the current crew waiting for a task.
    std::int32_t idleWorkerCount() const;
    // Stop packets posted since construction by stop and by retiring starts
    // (not by crews retiring themselves).
    std::uint64_t stopPacketCount() const;

    struct Crew;
    struct Tally;

  private:
    static void workerLoop(const std::shared_ptr<Crew>& crew);
    static void dispatcherLoop(const std::shared_ptr<Crew>& crew);
    static bool retireIdleCrew(Crew& crew);
    static void wakeDispatcher(Crew& crew);
    static void handOut(Crew& crew);

    void retireCrew();
    bool startCrew();

    mutable std::mutex control_;  // start, stop, the destructor and reviving submits
    WorkJob job_;
    std::int32_t threadCount_ = 0;
    std::int32_t stackSize_ = 0;
    std::int64_t idleTimeMs_ = kDefaultIdleTimeMs;
    std::int64_t clockTickMs_ = 0;
    std::shared_ptr<LockedList> pendingTasks_;
    std::shared_ptr<Crew> crew_;
    std::shared_ptr<Tally> tally_;
    std::uint64_t stopPackets_ = 0;
};

}  // namespace zelvo
