#include "verification/work_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "platform_probe.h"

namespace zelvo {
namespace {

using namespace std::chrono_literals;

using testing::OwnStackSize;
using testing::ThreadsOfProcess;

// The threads of the process while no pool exists: the main thread and
// whatever the sanitizer runs (ThreadSanitizer starts its helper thread with
// the first thread the program creates). On Windows GoogleTest watches each
// thread that uses its per-thread state (a trace) with a thread of its own.
int QuietThreads() {
    std::thread([] {}).join();
    { SCOPED_TRACE("quiet"); }
    return ThreadsOfProcess();
}
const int kQuietThreads = QuietThreads();

// Polls a condition that must come true; the limit only guards against a hang.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Lets a test hold jobs inside the pool until it opens the gate.
class Gate {
  public:
    void pass() {
        std::unique_lock lock(mutex_);
        ++inside_;
        maxInside_ = std::max(maxInside_, inside_);
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
        --inside_;
    }
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int inside() {
        std::lock_guard lock(mutex_);
        return inside_;
    }
    int maxInside() {
        std::lock_guard lock(mutex_);
        return maxInside_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    int inside_ = 0;
    int maxInside_ = 0;
};

// Records what the jobs saw.
class Journal {
  public:
    void add(std::int32_t worker, std::int32_t task) {
        std::lock_guard lock(mutex_);
        tasks_.push_back(task);
        workers_.push_back(worker);
    }
    std::vector<std::int32_t> tasks() {
        std::lock_guard lock(mutex_);
        return tasks_;
    }
    std::vector<std::int32_t> workers() {
        std::lock_guard lock(mutex_);
        return workers_;
    }
    std::size_t size() {
        std::lock_guard lock(mutex_);
        return tasks_.size();
    }

  private:
    std::mutex mutex_;
    std::vector<std::int32_t> tasks_;
    std::vector<std::int32_t> workers_;
};

class WorkPoolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Threads of earlier tests may still be on their way out.
        ASSERT_TRUE(Eventually([] { return ThreadsOfProcess() == kQuietThreads; }));
        baseline_ = kQuietThreads;
    }
    int baseline_ = 0;
};

struct ThreadCountCase {
    std::optional<std::int32_t> requested;
    std::int32_t expected;
};

TEST_F(WorkPoolTest, ThreadCountDefaultsAndFloor) {
    for (const ThreadCountCase& c : {ThreadCountCase{std::nullopt, 5}, ThreadCountCase{0, 1},
                                     ThreadCountCase{-4, 1}, ThreadCountCase{3, 3}}) {
        SCOPED_TRACE(c.requested ? std::to_string(*c.requested) : "omitted");
        ASSERT_TRUE(Eventually([] { return ThreadsOfProcess() == kQuietThreads; }));
        Gate gate;
        WorkPool pool;
        auto job = [&gate](std::int32_t, std::uintptr_t, std::int32_t) { gate.pass(); };
        ASSERT_TRUE(c.requested ? pool.start(job, *c.requested) : pool.start(job));
        EXPECT_EQ(pool.threadCount(), c.expected);
        constexpr int kTasks = 8;
        for (int t = 1; t <= kTasks; ++t) pool.submit(t);
        // Every worker takes a task and stays in the gate; no idle worker is
        // left, so the rest must stay pending.
        ASSERT_TRUE(Eventually([&] { return gate.inside() == c.expected; }));
        EXPECT_EQ(pool.pendingCount(), kTasks - c.expected);
        // One dispatcher and the workers.
        EXPECT_EQ(ThreadsOfProcess(), kQuietThreads + 1 + c.expected);
        gate.open();
        ASSERT_TRUE(Eventually([&] { return pool.pendingCount() == 0 && gate.inside() == 0; }));
        EXPECT_EQ(gate.maxInside(), c.expected);
    }
}

TEST_F(WorkPoolTest, WorkersGetTheStackSizeAskedFor) {
    struct Case {
        std::optional<std::int32_t> requested;
        std::size_t expected;
    };
    for (const Case& c : {Case{std::nullopt, 0x100000}, Case{0, 0x100000}, Case{-1, 0x100000},
                          Case{0x200000, 0x200000}, Case{0x400000, 0x400000}}) {
        // (Sizes below 1 MiB are not asked for here: the sanitizers raise small stacks.)
        SCOPED_TRACE(c.requested ? std::to_string(*c.requested) : "omitted");
        std::atomic<std::size_t> seen{0};
        WorkPool pool;
        auto job = [&seen](std::int32_t, std::uintptr_t, std::int32_t) { seen = OwnStackSize(); };
        ASSERT_TRUE(c.requested ? pool.start(job, 2, *c.requested) : pool.start(job, 2));
        pool.submit(1);
        ASSERT_TRUE(Eventually([&] { return seen.load() != 0; }));
        EXPECT_EQ(seen.load(), c.expected);
        EXPECT_EQ(static_cast<std::size_t>(pool.stackSize()), c.expected);
    }
}

TEST_F(WorkPoolTest, TasksSubmittedBeforeStartRunAfterItInOrder) {
    Journal journal;
    WorkPool pool;
    for (int t = 1; t <= 20; ++t) pool.submit(t);
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(journal.size(), 0u);
    EXPECT_EQ(pool.pendingCount(), 20);
    pool.start([&journal](std::int32_t w, std::uintptr_t, std::int32_t t) { journal.add(w, t); },
               1);
    ASSERT_TRUE(Eventually([&] { return journal.size() == 20; }));
    std::vector<std::int32_t> expected;
    for (int t = 1; t <= 20; ++t) expected.push_back(t);
    EXPECT_EQ(journal.tasks(), expected);
}

TEST_F(WorkPoolTest, ThreeWorkersTenTasksEachOnceAtMostThreeAtATime) {
    std::mutex mutex;
    int running = 0;
    int maxRunning = 0;
    std::set<std::int32_t> busyWorkers;
    bool workerReused = false;
    std::map<std::int32_t, int> runs;
    std::set<std::uintptr_t> handles;
    WorkPool pool;
    pool.start(
        [&](std::int32_t w, std::uintptr_t thread, std::int32_t t) {
            {
                std::lock_guard lock(mutex);
                maxRunning = std::max(maxRunning, ++running);
                workerReused |= !busyWorkers.insert(w).second;
                ++runs[t];
                handles.insert(thread);
            }
            std::this_thread::sleep_for(3ms);
            std::lock_guard lock(mutex);
            --running;
            busyWorkers.erase(w);
        },
        3);
    for (int t = 1; t <= 10; ++t) pool.submit(t);
    ASSERT_TRUE(Eventually([&] {
        std::lock_guard lock(mutex);
        int total = 0;
        for (auto& [task, count] : runs) total += count;
        return total == 10 && running == 0;
    }));
    std::lock_guard lock(mutex);
    EXPECT_LE(maxRunning, 3);
    EXPECT_FALSE(workerReused) << "one worker number ran two jobs at once";
    ASSERT_EQ(runs.size(), 10u);
    for (auto& [task, count] : runs) EXPECT_EQ(count, 1) << "task " << task;
    EXPECT_LE(handles.size(), 3u);
    EXPECT_EQ(handles.count(0), 0u);
}

TEST_F(WorkPoolTest, IdleWorkersAreReusedOldestFirst) {
    Journal journal;
    WorkPool pool;
    pool.start([&journal](std::int32_t w, std::uintptr_t, std::int32_t t) { journal.add(w, t); },
               3);
    for (int t = 1; t <= 7; ++t) {
        // The last worker is idle again (at the back of the list), not just
        // done with its job.
        ASSERT_TRUE(Eventually([&] { return pool.idleWorkerCount() == 3; }));
        pool.submit(t);
        ASSERT_TRUE(Eventually([&] { return journal.size() == static_cast<std::size_t>(t); }));
    }
    EXPECT_EQ(journal.workers(), (std::vector<std::int32_t>{1, 2, 3, 1, 2, 3, 1}));
}

// The dispatcher sleeps until a submit or a worker going idle wakes it, and
// several of those may share one wake-up: each wake must hand out every task
// an idle worker can take, and lose no wake-up that comes in meanwhile.
TEST_F(WorkPoolTest, EveryTaskThatCanStartStartsWithoutALaterWake) {
    struct Case {
        const char* name;
        std::int32_t workers;
        int tasks;
        bool held;  // jobs wait in a gate, so no worker goes idle to wake it
    };
    for (const Case& c : {Case{"as many tasks as idle workers, all held", 30, 30, true},
                          Case{"more tasks than workers, all held", 4, 10, true},
                          Case{"one worker, start order", 1, 500, false},
                          Case{"workers going idle while tasks are handed out", 3, 3000, false}}) {
        SCOPED_TRACE(c.name);
        Gate gate;
        Journal journal;
        std::mutex mutex;
        std::set<std::int32_t> busy;
        bool overlap = false;
        WorkPool pool;
        ASSERT_TRUE(pool.start(
            [&](std::int32_t w, std::uintptr_t, std::int32_t t) {
                {
                    std::lock_guard lock(mutex);
                    overlap |= !busy.insert(w).second;
                }
                journal.add(w, t);
                if (c.held) gate.pass();
                std::lock_guard lock(mutex);
                busy.erase(w);
            },
            c.workers));
        for (int t = 1; t <= c.tasks; ++t) pool.submit(t);
        if (c.held) {
            const int started = std::min(c.workers, c.tasks);
            ASSERT_TRUE(Eventually([&] { return gate.inside() == started; }));
            EXPECT_EQ(pool.pendingCount(), c.tasks - started);
            // Oldest idle worker, oldest task: worker k has task k.
            const auto workers = journal.workers();
            const auto tasks = journal.tasks();
            for (std::size_t k = 0; k < workers.size(); ++k) EXPECT_EQ(workers[k], tasks[k]);
            gate.open();
        }
        ASSERT_TRUE(Eventually([&] { return journal.size() == static_cast<std::size_t>(c.tasks); }))
            << journal.size() << " of " << c.tasks << " tasks started";
        std::vector<std::int32_t> tasks = journal.tasks();
        if (c.workers == 1) {
            for (int t = 1; t <= c.tasks; ++t) ASSERT_EQ(tasks[t - 1], t);
        }
        std::sort(tasks.begin(), tasks.end());
        EXPECT_EQ(std::adjacent_find(tasks.begin(), tasks.end()), tasks.end()) << "a task ran twice";
        std::lock_guard lock(mutex);
        EXPECT_FALSE(overlap) << "one worker number ran two jobs at once";
    }
}

TEST_F(WorkPoolTest, ARestartWhileTasksArePendingHandsThemToTheNewCrewAndAStopDropsThem) {
    Gate firstGate;
    Gate secondGate;
    Journal journal;
    WorkPool pool;
    pool.start([&](std::int32_t, std::uintptr_t, std::int32_t) { firstGate.pass(); }, 2);
    for (int t = 1; t <= 6; ++t) pool.submit(t);
    ASSERT_TRUE(Eventually([&] { return firstGate.inside() == 2; }));
    EXPECT_EQ(pool.pendingCount(), 4);

    // The first crew's workers stay busy; the new crew's idle workers take
    // the pending tasks at once, with the new job.
    pool.start(
        [&](std::int32_t w, std::uintptr_t, std::int32_t t) {
            journal.add(w, t);
            secondGate.pass();
        },
        3);
    ASSERT_TRUE(Eventually([&] { return secondGate.inside() == 3; }));
    EXPECT_EQ(pool.pendingCount(), 1);
    std::vector<std::int32_t> tasks = journal.tasks();
    std::sort(tasks.begin(), tasks.end());
    EXPECT_EQ(tasks, (std::vector<std::int32_t>{3, 4, 5}));

    // A stop with a task pending, as a stopped run does: the caller drops it
    // and the next start runs only what is submitted afterwards.
    pool.stop();
    EXPECT_EQ(pool.discardPending(), 1);
    pool.start([&](std::int32_t w, std::uintptr_t, std::int32_t t) { journal.add(w, t); }, 2);
    pool.submit(9);
    ASSERT_TRUE(Eventually([&] { return journal.size() == 4; }));
    EXPECT_EQ(journal.tasks().back(), 9);
    firstGate.open();
    secondGate.open();
    // The earlier crews end without taking another task.
    EXPECT_TRUE(Eventually([&] { return ThreadsOfProcess() == baseline_ + 1 + 2; }));
    EXPECT_EQ(journal.size(), 4u);
}

TEST_F(WorkPoolTest, StopPostsOneStopPacketPerSlotPlusTheDispatchers) {
    WorkPool idle;
    idle.stop();
    EXPECT_EQ(idle.stopPacketCount(), 1u);

    WorkPool pool;
    pool.start([](std::int32_t, std::uintptr_t, std::int32_t) {}, 4);
    const auto before = pool.stopPacketCount();
    pool.stop();
    EXPECT_EQ(pool.stopPacketCount() - before, 5u);
    // A second stop finds both queues closed and posts nothing.
    pool.stop();
    EXPECT_EQ(pool.stopPacketCount() - before, 5u);
}

TEST_F(WorkPoolTest, ThreadsWhoseQueuesAreClosedEnd) {
    WorkPool pool;
    pool.start([](std::int32_t, std::uintptr_t, std::int32_t) {}, 6);
    EXPECT_EQ(ThreadsOfProcess(), baseline_ + 7);
    pool.stop();
    EXPECT_TRUE(Eventually([&] { return ThreadsOfProcess() == baseline_; }));
}

TEST_F(WorkPoolTest, AnIdleCrewEndsItsThreadsAndATaskBringsItBack) {
    constexpr int kWorkers = 40;
    Journal journal;
    WorkPool pool;
    pool.setIdleTime(100);
    pool.start([&journal](std::int32_t w, std::uintptr_t, std::int32_t t) { journal.add(w, t); },
               kWorkers);
    for (int t = 1; t <= 10; ++t) pool.submit(t);
    ASSERT_TRUE(Eventually([&] { return journal.size() == 10; }));
    EXPECT_TRUE(Eventually([&] { return ThreadsOfProcess() == baseline_; }))
        << ThreadsOfProcess() - baseline_ << " threads left";
    pool.submit(11);
    ASSERT_TRUE(Eventually([&] { return journal.size() == 11; }));
    EXPECT_EQ(pool.threadCount(), kWorkers);

    // Tasks that arrive about when the crew retires are never stranded.
    pool.setIdleTime(5);
    pool.start([&journal](std::int32_t w, std::uintptr_t, std::int32_t t) { journal.add(w, t); },
               2);
    for (int round = 0; round < 40; ++round) {
        std::this_thread::sleep_for(std::chrono::milliseconds(round % 8));
        pool.submit(100 + round);
        ASSERT_TRUE(Eventually([&] { return journal.size() == 12u + round; })) << round;
    }
    // A stopped pool stays stopped.
    pool.stop();
    pool.submit(999);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(pool.pendingCount(), 1);
}

TEST_F(WorkPoolTest, TasksKeptAcrossStopRunAtTheNextStart) {
    Journal journal;
    auto job = [&journal](std::int32_t w, std::uintptr_t, std::int32_t t) { journal.add(w, t); };
    WorkPool pool;
    pool.start(job, 2);
    pool.stop();
    for (int t = 1; t <= 3; ++t) pool.submit(t);
    pool.start(job, 1);
    ASSERT_TRUE(Eventually([&] { return journal.size() == 3; }));
    EXPECT_EQ(journal.tasks(), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(WorkPoolTest, RepeatedStartsLoseNoTaskRunNoneTwiceAndDoNotGrowThreads) {
    constexpr int kRuns = 100;
    constexpr int kTasksPerRun = 5;
    constexpr int kWorkers = 3;
    std::mutex mutex;
    std::map<std::int32_t, int> runsOfTask;
    std::set<std::pair<int, std::int32_t>> busy;  // (start, worker number)
    bool overlap = false;
    WorkPool pool;
    for (int run = 0; run < kRuns; ++run) {
        pool.start(
            [&, run](std::int32_t w, std::uintptr_t, std::int32_t t) {
                {
                    std::lock_guard lock(mutex);
                    overlap |= !busy.insert({run, w}).second;
                    ++runsOfTask[t];
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                std::lock_guard lock(mutex);
                busy.erase({run, w});
            },
            kWorkers);
        for (int k = 0; k < kTasksPerRun; ++k) pool.submit(run * kTasksPerRun + k);
    }
    ASSERT_TRUE(Eventually([&] {
        std::lock_guard lock(mutex);
        return runsOfTask.size() == kRuns * kTasksPerRun && busy.empty();
    }));
    EXPECT_EQ(pool.pendingCount(), 0);
    {
        std::lock_guard lock(mutex);
        EXPECT_FALSE(overlap) << "a worker number of one start ran two jobs at once";
        for (auto& [task, count] : runsOfTask) ASSERT_EQ(count, 1) << "task " << task;
    }
    // Only the last start's dispatcher and workers remain.
    EXPECT_TRUE(Eventually([&] { return ThreadsOfProcess() == baseline_ + 1 + kWorkers; }))
        << ThreadsOfProcess() - baseline_ << " threads left";
}

TEST_F(WorkPoolTest, DiscardPendingDropsTasksNotYetHandedOut) {
    Gate gate;
    Journal journal;
    WorkPool pool;
    pool.start(
        [&](std::int32_t w, std::uintptr_t, std::int32_t t) {
            journal.add(w, t);
            gate.pass();
        },
        1);
    for (int t = 1; t <= 5; ++t) pool.submit(t);
    ASSERT_TRUE(Eventually([&] { return gate.inside() == 1; }));
    EXPECT_EQ(pool.discardPending(), 4);
    gate.open();
    pool.submit(9);
    ASSERT_TRUE(Eventually([&] { return journal.size() == 2; }));
    EXPECT_EQ(journal.tasks(), (std::vector<std::int32_t>{1, 9}));
}

TEST_F(WorkPoolTest, AThrowingJobLeavesItsWorkerAvailable) {
    std::atomic<int> calls{0};
    WorkPool pool;
    pool.start(
        [&calls](std::int32_t, std::uintptr_t, std::int32_t) {
            ++calls;
            throw std::runtime_error("job failed");
        },
        1);
    for (int t = 1; t <= 3; ++t) pool.submit(t);
    EXPECT_TRUE(Eventually([&] { return calls == 3; }));
}

TEST_F(WorkPoolTest, DestroyingThePoolWhileAJobRunsIsSafe) {
    auto gate = std::make_shared<Gate>();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    {
        WorkPool pool;
        pool.start(
            [gate, finished](std::int32_t, std::uintptr_t, std::int32_t) {
                gate->pass();
                *finished = true;
            },
            2);
        pool.submit(1);
        pool.submit(2);
        ASSERT_TRUE(Eventually([&] { return gate->inside() == 2; }));
    }  // gives up waiting after its grace period and leaves the jobs running
    EXPECT_FALSE(*finished);
    gate->open();
    EXPECT_TRUE(Eventually([&] { return ThreadsOfProcess() == baseline_; }));
    EXPECT_TRUE(*finished);
}

}  // namespace
}  // namespace zelvo
