#include "verification/verification_run.h"

#include <atomic>
#include <condition_variable>

#include "forms/main_window_controls.h"
#include "runtime/convert.h"
#include "runtime/datetime.h"
#include "runtime/locks.h"
#include "runtime/memory.h"
#include "runtime/text.h"
#include "verification/courier_table.h"

namespace zelvo {

namespace {

constexpr WindowId kMain = WindowId::Main;
using main_window::kCourierBox;
using main_window::kNumbersBox;
using main_window::kResultList;
using main_window::kResultProgress;
using main_window::kThreadsBox;
using main_window::kVerifyButton;

constexpr std::string_view kEndMessage =
    "全部效验完毕,如果还没有找到你想要的单号,请百度或者朋友要个最新的单号进行模拟!";

// The line the end message gains when lookups failed.
std::string failedLookupsLine(int failed) {
    return "另有" + ToText(failed) +
           "个单号查询失败(查询网页没有打开),既不在结果列表中,也不在空白定单中。";
}

// The end message of a pass, and whether it asks to look the failed numbers
// up again.
std::string endMessage(int failed) {
    std::string message(kEndMessage);
    if (failed > 0) {
        message += "\r\n";
        message += failedLookupsLine(failed);
        message += "\r\n是否重新查询这" + ToText(failed) + "个单号?(已有的结果和空白定单都保留)";
    }
    return message;
}

// 效验线程 above this is refused. Thirty (the default) already keeps a
// courier site busy; no site answers one client faster for hundreds more,
// while each worker holds a thread, a connection and up to a few pages'
// memory: 200 stays far below the thread limits a user may have (a few
// thousand), and even if every page hit the page cap below, well under a
// gigabyte.
constexpr int kMaxThreads = 200;
constexpr std::string_view kTooManyThreadsText = "效验线程不能超过200个,请改小后再验证。";

// Every CR LF removed, also those that a removal brings together
// ("\r\r\n\n" holds two): a cell with a line break in it would split its
// row in a saved result file.
std::string withoutLineBreaks(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        // CR and LF never occur inside a two-byte character.
        if (c == '\n' && !kept.empty() && kept.back() == '\r') {
            kept.pop_back();
        } else {
            kept.push_back(c);
        }
    }
    return kept;
}

std::string shownDate(std::string_view time) {
    return TrimText(ToText(DatePart(TextToDateTime(withoutLineBreaks(time)))));
}

std::string shownPlace(std::string_view place) { return TrimText(withoutLineBreaks(place)); }

}  // namespace

// Everything one run uses. Workers hold it through their job, so it outlives
// the run's retirement.
struct VerificationRun::Run {
    UiPort* ui = nullptr;
    // The pool and task count the run was started with: a pass that looks
    // the failed numbers up again submits them there.
    WorkPool* pool = nullptr;
    std::shared_ptr<Tasks> tasks;
    std::vector<std::string> numbers;
    std::string courier;
    std::string queryUrlPrefix;
    CourierHosts hosts;

    // runLock: serialises the workers' updates of the windows. Taken by the
    // user-interface thread only to retire the run (see retire) and around
    // its own changes of the result list (withoutWorkerUpdates).
    LockHandle lock = NewCriticalSection();
    // Set by a stop, a later start or the exit: the run's jobs change
    // nothing more.
    std::atomic<bool> retired{false};
    std::atomic<bool> stopRequested{false};
    // Set with retired: fetches in flight are abandoned.
    std::atomic<bool> cancelled{false};
    std::atomic<bool> allFinished{false};
    std::atomic<int> jobsInside{0};
    // The user-interface thread waits for runLock (a sort, a stop): workers
    // that have not yet asked for it hold back until it has had its turn.
    // Without this, thirty workers hand the lock on among themselves and the
    // waiting thread gets it only when the run ends.
    std::atomic<int> uiWaiting{0};

    // Read by the user-interface thread while workers write; never held
    // across a window operation.
    mutable std::mutex dataMutex;
    std::string blankNumbers;
    // Numbers settled (rows and blank numbers) plus those that failed in
    // the current pass: what the progress shows.
    int finished = 0;
    int failed = 0;                         // lookups of the current pass that got no page
    std::vector<std::int32_t> failedTasks;  // their task values
};

// Tasks submitted and not yet done, across every run.
struct VerificationRun::Tasks {
    std::mutex mutex;
    std::condition_variable changed;
    long outstanding = 0;

    void add(long count) {
        std::lock_guard lock(mutex);
        outstanding += count;
        // Waiters wait for zero alone; waking them for every number done
        // costs a kernel call each (a server call under Wine).
        if (outstanding <= 0) changed.notify_all();
    }
};

namespace {

// runLock for a worker, after any turn the user-interface thread waits for.
void enterAsWorker(VerificationRun::Run& run) {
    for (int waiting = run.uiWaiting.load(); waiting > 0; waiting = run.uiWaiting.load()) {
        run.uiWaiting.wait(waiting);
    }
    EnterCriticalSectionOp(run.lock);
}

// Asked for on the end message: the run goes on with its failed numbers
// alone. Rows and blank numbers stay; the progress stands at the numbers
// settled and counts the failed ones again. Under the run's lock, so that a
// later start or a stop (which retire the run under it) never sees these
// tasks submitted for a run it has retired.
void lookUpFailedAgain(VerificationRun::Run& run) {
    std::vector<std::int32_t> again;
    int settled = 0;
    {
        std::lock_guard data(run.dataMutex);
        again.swap(run.failedTasks);
        run.finished -= static_cast<int>(again.size());
        run.failed = 0;
        settled = run.finished;
    }
    run.allFinished = false;
    UiPort& ui = *run.ui;
    ui.SetEnabled(kMain, kVerifyButton, false);
    ui.SetProgressPos(kMain, kResultProgress, settled);
    run.tasks->add(static_cast<long>(again.size()));
    for (const std::int32_t task : again) {
        run.pool->submit(task);
    }
}

// The job of one task: task is the 1-based index of the run's number.
void verifyNumber(VerificationRun::Run& run, std::int32_t task) {
    if (run.retired || run.stopRequested) {
        return;
    }
    if (task < 1 || static_cast<std::size_t>(task) > run.numbers.size()) {
        return;
    }
    const std::string& number = run.numbers[static_cast<std::size_t>(task - 1)];
    // The slow part, without any lock: one HTTP request.
    const TrackingResult result =
        lookUpNumber(run.courier, number, run.queryUrlPrefix, run.hosts, run.cancelled);

    UiPort& ui = *run.ui;
    bool runEnded = false;
    int failed = 0;
    enterAsWorker(run);
    if (!run.retired) {
        if (result.found) {
            const int row = ui.ListInsert(kMain, kResultList);
            ui.ListSetText(kMain, kResultList, row, 0, ToText(row + 1));
            ui.ListSetText(kMain, kResultList, row, 1, number);
            ui.ListSetText(kMain, kResultList, row, 2, shownDate(result.departureTime));
            ui.ListSetText(kMain, kResultList, row, 3, shownPlace(result.departurePlace));
            ui.ListSetText(kMain, kResultList, row, 4, shownDate(result.receiptTime));
            ui.ListSetText(kMain, kResultList, row, 5, shownPlace(result.receiptPlace));
            ui.SetEnabled(kMain, kVerifyButton, true);
        }
        int finished = 0;
        {
            std::lock_guard data(run.dataMutex);
            // Only a page that said "no record" makes a blank number: the
            // blank file tells the user the number exists nowhere.
            if (result.fetchFailed) {
                ++run.failed;
                run.failedTasks.push_back(task);
            } else if (!result.found) {
                run.blankNumbers += number;
                run.blankNumbers += "\r\n";
            }
            finished = ++run.finished;
            failed = run.failed;
        }
        ui.SetProgressPos(kMain, kResultProgress, finished);
        if (finished == static_cast<int>(run.numbers.size())) {
            // A run that found nothing would otherwise leave 验证定单
            // disabled until 停止验证 is pressed.
            ui.SetEnabled(kMain, kVerifyButton, true);
            run.allFinished = true;
            runEnded = true;
        }
    }
    LeaveCriticalSectionOp(run.lock);

    // The end message is shown on this worker after the lock is released:
    // the run's other numbers are all done, no later run's worker waits for
    // it, and the user-interface thread never waits for the box.
    if (runEnded) {
        const int answer = ui.MessageBox(
            endMessage(failed), failed > 0 ? kIconInformation | kYesNo : kIconInformation, "提示");
        enterAsWorker(run);
        // A run started or stopped while the box was shown keeps its progress.
        if (!run.retired) {
            if (failed > 0 && answer == kResultYes) {
                lookUpFailedAgain(run);
            } else {
                ui.SetProgressPos(kMain, kResultProgress, 0);
            }
        }
        LeaveCriticalSectionOp(run.lock);
    }
}

// The job of one task. Once the run is over and its last job has let go of
// its page, the memory the run's pages took goes back to the system.
void runJob(VerificationRun::Run& run, std::int32_t task) {
    ++run.jobsInside;
    verifyNumber(run, task);
    if (--run.jobsInside == 0 && (run.allFinished || run.retired)) {
        ReturnFreeMemory();
    }
}

// A worker of the run may be inside its update of the windows, waiting for
// this thread to carry out each step. Taking the run's lock while the windows
// keep being served guarantees that the update is either complete or has not
// started. Workers that have not asked for the lock yet wait meanwhile, so
// the wait ends once the updates already under way are done.
void lockServingWindows(UiPort& ui, VerificationRun::Run& run) {
    ++run.uiWaiting;
    while (!run.lock->try_lock()) {
        ui.Delay(1);
    }
    if (--run.uiWaiting == 0) {
        run.uiWaiting.notify_all();
    }
}

// Makes the run change nothing more; returns once none of its workers is
// inside an update of the windows. Its fetches in flight are abandoned.
void retire(UiPort& ui, VerificationRun::Run& run) {
    run.cancelled = true;
    if (run.retired) {
        return;
    }
    lockServingWindows(ui, run);
    run.retired = true;
    run.lock->unlock();
}

}  // namespace

VerificationRun::VerificationRun() : tasks_(std::make_shared<Tasks>()) {}

VerificationRun::~VerificationRun() { retireForExit(); }

void VerificationRun::retireForExit() {
    std::lock_guard lock(mutex_);
    if (current_ != nullptr) {
        current_->cancelled = true;
        current_->retired = true;
    }
}

void VerificationRun::setCourierHosts(CourierHosts hosts) {
    std::lock_guard lock(mutex_);
    hosts_ = std::move(hosts);
}

std::shared_ptr<VerificationRun::Run> VerificationRun::current() const {
    std::lock_guard lock(mutex_);
    return current_;
}

void VerificationRun::retireCurrent(UiPort& ui, WorkPool& pool) {
    // Tasks not yet handed to a worker belong to the current run alone.
    tasks_->add(-static_cast<long>(pool.discardPending()));
    if (const std::shared_ptr<Run> old = current()) {
        retire(ui, *old);
        // Failed numbers submitted again just before the run was retired.
        tasks_->add(-static_cast<long>(pool.discardPending()));
    }
}

void VerificationRun::withoutWorkerUpdates(UiPort& ui, const std::function<void()>& action) {
    const std::shared_ptr<Run> run = current();
    if (run == nullptr) {
        action();
        return;
    }
    lockServingWindows(ui, *run);
    action();
    run->lock->unlock();
}

void VerificationRun::startVerification(UiPort& ui, WorkPool& pool,
                                        std::string_view queryUrlPrefix) {
    // Before anything changes: the current run, the list and the progress
    // stay as they are. ToInteger wraps around at 32 bits, so the number as
    // typed is checked too.
    const std::string threads = ui.GetText(kMain, kThreadsBox);
    if (ToInteger(threads) > kMaxThreads || ToNumber(threads) > kMaxThreads) {
        ui.MessageBox(kTooManyThreadsText, kIconInformation, "对不起");
        return;
    }
    // A courier without a tracking parser would make every number blank
    // without reading a single page.
    const std::string courier = ui.GetText(kMain, kCourierBox);
    if (findTrackingParser(courier) == nullptr) {
        ui.MessageBox(unknownCourierText(courier), kIconInformation, "对不起");
        return;
    }
    retireCurrent(ui, pool);
    auto run = std::make_shared<Run>();
    run->ui = &ui;
    run->pool = &pool;
    run->tasks = tasks_;
    run->queryUrlPrefix = std::string(queryUrlPrefix);
    {
        std::lock_guard lock(mutex_);
        run->hosts = hosts_;
        current_ = run;
    }
    ui.SetEnabled(kMain, kVerifyButton, false);
    ui.SetProgressPos(kMain, kResultProgress, 0);
    // The run keeps the courier and the query prefix it started with, so a
    // rule applied during the run cannot pair one courier's parser with
    // another's address, and workers read no state the user-interface thread
    // writes.
    run->courier = courier;
    beginRun(ui, pool, run);
}

void VerificationRun::beginRun(UiPort& ui, WorkPool& pool, const std::shared_ptr<Run>& run) {
    run->numbers = SplitText(ui.GetText(kMain, kNumbersBox), "\r\n");
    const int count = static_cast<int>(run->numbers.size());
    const int threads = ToInteger(ui.GetText(kMain, kThreadsBox));

    // Before the first page as well: what was left free since the last run
    // goes back, and an allocator that needs preparing for giving memory back
    // is prepared before the pages come.
    ReturnFreeMemory();

    std::shared_ptr<Tasks> tasks = tasks_;
    const bool started = pool.start(
        [run, tasks](std::int32_t, std::uintptr_t, std::int32_t task) {
            runJob(*run, task);
            tasks->add(-1);
        },
        threads);
    ui.SetProgressMax(kMain, kResultProgress, count);
    ui.ListClear(kMain, kResultList);
    if (count == 0 || !started) {
        // Nothing to verify, or no worker to verify it: the run has ended.
        ui.SetEnabled(kMain, kVerifyButton, true);
        return;
    }
    tasks_->add(count);
    for (int i = 1; i <= count; ++i) {
        pool.submit(i);
    }
}

void VerificationRun::requestStop(UiPort& ui, WorkPool& pool) {
    tasks_->add(-static_cast<long>(pool.discardPending()));
    if (const std::shared_ptr<Run> run = current()) {
        run->stopRequested = true;
        // What was done stays: rows, blank numbers and the progress. A
        // stopped run announces no end.
        retire(ui, *run);
    }
    ui.SetEnabled(kMain, kVerifyButton, true);
}

std::string VerificationRun::blankNumbers() const {
    const std::shared_ptr<Run> run = current();
    if (run == nullptr) {
        return {};
    }
    std::lock_guard data(run->dataMutex);
    return run->blankNumbers;
}

std::vector<std::string> VerificationRun::failedNumbers() const {
    const std::shared_ptr<Run> run = current();
    if (run == nullptr) {
        return {};
    }
    std::lock_guard data(run->dataMutex);
    std::vector<std::string> numbers;
    for (const std::int32_t task : run->failedTasks) {
        numbers.push_back(run->numbers[static_cast<std::size_t>(task - 1)]);
    }
    return numbers;
}

std::vector<std::string> VerificationRun::runNumbers() const {
    const std::shared_ptr<Run> run = current();
    return run == nullptr ? std::vector<std::string>{} : run->numbers;
}

bool VerificationRun::stopRequested() const {
    const std::shared_ptr<Run> run = current();
    return run != nullptr && run->stopRequested;
}

bool VerificationRun::started() const { return current() != nullptr; }

bool VerificationRun::waitUntilIdle(int timeoutMs) {
    std::unique_lock lock(tasks_->mutex);
    return tasks_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [this] { return tasks_->outstanding <= 0; });
}

}  // namespace zelvo
