#include "verification/work_pool.h"

#include <atomic>
#include <condition_variable>
#include <new>
#include <vector>

#include "verification/completion_queue.h"
#include "verification/pool_thread.h"

namespace zelvo {

namespace {

// The overlapped pointer of a packet points at one of these; no receiver
// ever reads it.
struct OverlappedBlock {
    std::uint8_t bytes[32] = {};
};

struct WorkerSlot {
    OverlappedBlock wakeBlock;
    std::int32_t number = 0;
    std::uintptr_t thread = 0;
    WorkJob job;
    std::int32_t task = 0;
};

// How long the destructor waits for workers still inside a job. At exit a
// job may be waiting for the user-interface thread that is running the
// destructor, so the wait must end; a second covers an idle or quick pool.
constexpr auto kExitGrace = std::chrono::milliseconds(1000);

// A wait of at least remaining, in whole milliseconds, then in whole ticks.
std::int64_t WaitMs(std::chrono::steady_clock::duration remaining, std::int64_t tickMs) {
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    if (ms < 1) ms = 1;
    if (tickMs > 1) ms = (ms + tickMs - 1) / tickMs * tickMs;
    return ms;
}

}  // namespace

// Counts the worker threads that have not ended yet, across every crew.
struct WorkPool::Tally {
    std::mutex mutex;
    std::condition_variable changed;
    int live = 0;

    void enter() {
        std::lock_guard lock(mutex);
        ++live;
    }
    void leave() {
        std::lock_guard lock(mutex);
        --live;
        changed.notify_all();
    }
    void waitForNone(std::chrono::milliseconds grace) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, grace, [this] { return live == 0; });
    }
};

// The threads of one start and everything they use. Shared with those
// threads, so it lives until the last of them ends.
struct WorkPool::Crew {
    CompletionQueue workerQueue;
    CompletionQueue dispatcherQueue;
    std::vector<WorkerSlot> workers;
    std::size_t threadSlots = 0;  // the first slots, whose worker thread exists
    // Set once every worker of the start exists; until then the dispatcher
    // neither reads threadSlots nor retires the crew.
    std::atomic<bool> settled{false};
    LockedList idleWorkers;
    std::shared_ptr<LockedList> pendingTasks;
    OverlappedBlock stopBlock;
    OverlappedBlock wakeBlock;
    // True while a wake-up packet waits in dispatcherQueue: one is enough.
    std::atomic<bool> wakeQueued{false};
    std::uintptr_t dispatcher = 0;  // joinable; joined when the crew is retired
    bool started = false;
    bool stopped = false;
    std::int64_t idleTimeMs = WorkPool::kDefaultIdleTimeMs;
    std::int64_t clockTickMs = 0;
    // Taken by the dispatcher to retire an idle crew and by submit to see
    // whether it did, so that no task is submitted unseen in between.
    std::mutex idleMutex;
    bool idleRetired = false;
};

WorkPool::WorkPool()
    : pendingTasks_(std::make_shared<LockedList>()), tally_(std::make_shared<Tally>()) {
    crew_ = std::make_shared<Crew>();
    crew_->pendingTasks = pendingTasks_;
}

WorkPool::~WorkPool() {
    stop();
    std::lock_guard lock(control_);
    retireCrew();
    tally_->waitForNone(kExitGrace);
}

bool WorkPool::start(WorkJob job, std::int32_t threadCount, std::int32_t stackSize) {
    std::lock_guard lock(control_);
    job_ = std::move(job);
    threadCount_ = threadCount < 1 ? 1 : threadCount;
    stackSize_ = stackSize <= 0 ? kDefaultStackSize : stackSize;
    if (crew_ != nullptr && (crew_->started || crew_->stopped)) retireCrew();
    return startCrew();
}

// Called with control_ held and no started crew.
bool WorkPool::startCrew() {
    std::shared_ptr<Crew> crew;
    try {
        if (crew_ == nullptr) {
            crew_ = std::make_shared<Crew>();
            crew_->pendingTasks = pendingTasks_;
        }
        crew = crew_;
        crew->workers.resize(static_cast<std::size_t>(threadCount_));
    } catch (const std::bad_alloc&) {
        crew_.reset();
        return false;
    }
    crew->started = true;
    crew->idleTimeMs = idleTimeMs_;
    crew->clockTickMs = clockTickMs_;

    crew->dispatcher = StartPoolThread(
        0, [crew] { dispatcherLoop(crew); }, true);

    int workersStarted = 0;
    for (std::int32_t k = 1; k <= threadCount_; ++k) {
        WorkerSlot& slot = crew->workers[static_cast<std::size_t>(k - 1)];
        slot.number = k;
        slot.job = job_;
        tally_->enter();
        std::shared_ptr<Tally> tally = tally_;
        slot.thread = StartPoolThread(
            static_cast<std::size_t>(stackSize_),
            [crew, tally]() mutable {
                workerLoop(crew);
                crew.reset();
                tally->leave();
            },
            false);
        if (slot.thread == 0) {
            // The system has no thread to give: asking again for each of a
            // huge typed count would only stall the window. Slots without a
            // thread are never handed a task nor sent a stop packet.
            tally_->leave();
            break;
        }
        ++workersStarted;
        crew->threadSlots = static_cast<std::size_t>(k);
        crew->idleWorkers.lockedPushBack(k);
        // Tasks submitted before the start need not wait for the whole crew.
        wakeDispatcher(*crew);
    }
    crew->settled = true;
    // The crew may be idle from the start, which begins its idle time.
    wakeDispatcher(*crew);
    return crew->dispatcher != 0 && workersStarted > 0;
}

void WorkPool::stop() {
    std::lock_guard lock(control_);
    if (crew_ == nullptr) return;
    Crew& crew = *crew_;
    if (crew.dispatcherQueue.post(kStopByteCount, 0, &crew.stopBlock)) ++stopPackets_;
    for (std::size_t k = 0; k < crew.threadSlots; ++k) {
        if (crew.workerQueue.post(kStopByteCount, 0, &crew.stopBlock)) ++stopPackets_;
    }
    crew.workerQueue.close();
    crew.dispatcherQueue.close();
    crew.stopped = true;
}

bool WorkPool::submit(std::int32_t task) {
    pendingTasks_->lockedPushBack(task);
    std::lock_guard lock(control_);
    if (crew_ == nullptr || !crew_->started || crew_->stopped) return true;
    bool idleRetired = false;
    {
        std::lock_guard idle(crew_->idleMutex);
        idleRetired = crew_->idleRetired;
    }
    if (idleRetired) {
        retireCrew();
        startCrew();
    }
    if (crew_ != nullptr) wakeDispatcher(*crew_);
    return true;
}

void WorkPool::setIdleTime(std::int64_t ms) {
    std::lock_guard lock(control_);
    idleTimeMs_ = ms;
}

void WorkPool::setClockTick(std::int64_t ms) {
    std::lock_guard lock(control_);
    clockTickMs_ = ms;
}

std::int32_t WorkPool::discardPending() {
    std::int32_t dropped = 0;
    std::int32_t task = 0;
    while (pendingTasks_->takeFirst(task)) ++dropped;
    return dropped;
}

std::int32_t WorkPool::threadCount() const {
    std::lock_guard lock(control_);
    return threadCount_;
}

std::int32_t WorkPool::stackSize() const {
    std::lock_guard lock(control_);
    return stackSize_;
}

std::int32_t WorkPool::pendingCount() const { return pendingTasks_->lockedCount(); }

std::int32_t WorkPool::idleWorkerCount() const {
    std::lock_guard lock(control_);
    return crew_ != nullptr ? crew_->idleWorkers.lockedCount() : 0;
}

std::uint64_t WorkPool::stopPacketCount() const {
    std::lock_guard lock(control_);
    return stopPackets_;
}

// Called with control_ held. Ends the current crew's dispatcher before its
// workers are told to stop, so that every wake-up it posted is queued ahead
// of their stop packets and runs; the workers end once they have drained
// their queue. Afterwards no crew is current.
void WorkPool::retireCrew() {
    if (crew_ == nullptr) return;
    Crew& crew = *crew_;
    if (crew.started) {
        if (!crew.stopped && crew.dispatcherQueue.post(kStopByteCount, 0, &crew.stopBlock)) {
            ++stopPackets_;
        }
        if (crew.dispatcher != 0) JoinPoolThread(crew.dispatcher);
        crew.dispatcher = 0;
        bool idleRetired = false;
        {
            std::lock_guard idle(crew.idleMutex);
            idleRetired = crew.idleRetired;
        }
        // A crew that retired itself has already told its workers to stop.
        if (!crew.stopped && !idleRetired) {
            for (std::size_t k = 0; k < crew.threadSlots; ++k) {
                if (crew.workerQueue.post(kStopByteCount, 0, &crew.stopBlock)) ++stopPackets_;
            }
            crew.stopped = true;
        }
    }
    crew_.reset();
}

void WorkPool::workerLoop(const std::shared_ptr<Crew>& crew) {
    for (;;) {
        CompletionPacket packet;
        // A closed queue ends the thread just as its stop packet would.
        if (crew->workerQueue.wait(packet, CompletionQueue::kInfinite) != QueueWait::Packet) return;
        if (packet.byteCount == kStopByteCount) return;
        // Serve the slot the packet names, whichever thread was created for it.
        const auto w = static_cast<std::int32_t>(packet.key);
        if (w < 1 || static_cast<std::size_t>(w) > crew->workers.size()) continue;
        WorkerSlot& slot = crew->workers[static_cast<std::size_t>(w - 1)];
        try {
            slot.job(slot.number, slot.thread, slot.task);
        } catch (...) {
            // The job's failure is its own business; the worker stays available.
        }
        crew->idleWorkers.lockedPushBack(w);
        wakeDispatcher(*crew);
    }
}

// The dispatcher clears wakeQueued before it looks at the lists, so a change
// made after the clearing either finds the flag clear and posts a packet, or
// finds it set by a packet still to come; a change whose poster found the
// flag set before the clearing is seen by the look (both sides exchange, so
// the clearing acquires what the poster released).
void WorkPool::wakeDispatcher(Crew& crew) {
    if (!crew.wakeQueued.exchange(true, std::memory_order_acq_rel)) {
        crew.dispatcherQueue.post(kWakeByteCount, 0, &crew.wakeBlock);
    }
}

// Hands out every pair of a pending task and an idle worker there is.
void WorkPool::handOut(Crew& crew) {
    for (;;) {
        // Only this thread takes idle workers, so a worker counted here is
        // still idle below. The task is taken first: discardPending may empty
        // the list at any time.
        if (crew.idleWorkers.lockedCount() == 0) return;
        std::int32_t task = 0;
        std::int32_t w = 0;
        if (!crew.pendingTasks->takeFirst(task)) return;
        crew.idleWorkers.takeFirst(w);
        WorkerSlot& slot = crew.workers[static_cast<std::size_t>(w - 1)];
        slot.task = task;
        // Fails only once the pool is stopped. The task may have been
        // submitted after the stop, for the next start: it goes back first.
        if (!crew.workerQueue.post(kWakeByteCount, static_cast<std::uintptr_t>(w),
                                   &slot.wakeBlock)) {
            crew.pendingTasks->lockedPushFront(task);
            return;
        }
    }
}

// Called by the dispatcher once every worker has been idle, with nothing
// pending, for the idle time. False when a task has come in meanwhile.
bool WorkPool::retireIdleCrew(Crew& crew) {
    std::lock_guard idle(crew.idleMutex);
    if (crew.pendingTasks->lockedCount() != 0) return false;
    crew.idleRetired = true;
    // Every worker is idle, so each one takes exactly one of these.
    for (std::size_t k = 0; k < crew.threadSlots; ++k) {
        crew.workerQueue.post(kStopByteCount, 0, &crew.stopBlock);
    }
    return true;
}

// Sleeps without a time-out while tasks are pending or workers are busy:
// every change it must act on posts a packet (a start posts one for each
// worker it brings). Only a crew that is wholly idle waits with a time-out,
// for the end of its idle time. It looks at the lists only after a wait, so a
// stop that came first always ends it before it hands anything out.
void WorkPool::dispatcherLoop(const std::shared_ptr<Crew>& crew) {
    using Clock = std::chrono::steady_clock;
    const auto idleTime = std::chrono::milliseconds(crew->idleTimeMs);
    bool idle = false;  // the crew was wholly idle at the last look and since
    Clock::time_point idleSince;
    std::int64_t timeout = CompletionQueue::kInfinite;
    for (;;) {
        CompletionPacket packet;
        const QueueWait result = crew->dispatcherQueue.wait(packet, timeout);
        if (result == QueueWait::Closed) return;
        if (result == QueueWait::Packet) {
            if (packet.byteCount == kStopByteCount) return;
            // A submit or a worker back from a job: the crew was not idle
            // all along, whatever the next look finds.
            crew->wakeQueued.exchange(false, std::memory_order_acq_rel);
            idle = false;
        }
        handOut(*crew);
        timeout = CompletionQueue::kInfinite;
        if (crew->settled && crew->pendingTasks->lockedCount() == 0 &&
            static_cast<std::size_t>(crew->idleWorkers.lockedCount()) == crew->threadSlots) {
            const auto now = Clock::now();
            if (!idle) idleSince = now;
            idle = true;
            if (now - idleSince >= idleTime && retireIdleCrew(*crew)) return;
            timeout = WaitMs(idleSince + idleTime - now, crew->clockTickMs);
        } else {
            idle = false;
        }
    }
}

}  // namespace zelvo
