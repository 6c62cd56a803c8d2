#include "verification/verification_run.h"

#include <atomic>
#include <condition_variable>

#include "forms/main_window_controls.h"
#include "runtime/convert.h"
#include "runtime/datetime.h"
#include "runtime/locks.h"
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

std::string shownDate(std::string_view time) {
    return TrimText(ToText(DatePart(TextToDateTime(ReplaceText(time, "\r\n")))));
}

std::string shownPlace(std::string_view place) { return TrimText(ReplaceText(place, "\r\n")); }

}  // namespace

// Everything one run uses. Workers hold it through their job, so it outlives
// the run's retirement.
struct VerificationRun::Run {
    UiPort* ui = nullptr;
    std::vector<std::string> numbers;
    std::string courier;
    std::string queryUrlPrefix;
    CourierHosts hosts;

    // runLock: serialises the workers' updates of the windows. Taken by the
    // user-interface thread only to retire the run (see retireCurrent).
    LockHandle lock = NewCriticalSection();
    std::atomic<bool> retired{false};
    std::atomic<bool> stopRequested{false};

    // Read by the user-interface thread while workers write; never held
    // across a window operation.
    mutable std::mutex dataMutex;
    std::string blankNumbers;
    int finished = 0;
};

// Tasks submitted and not yet done, across every run.
struct VerificationRun::Tasks {
    std::mutex mutex;
    std::condition_variable changed;
    long outstanding = 0;

    void add(long count) {
        std::lock_guard lock(mutex);
        outstanding += count;
        changed.notify_all();
    }
};

namespace {

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
    const TrackingResult result = lookUpNumber(run.courier, number, run.queryUrlPrefix, run.hosts);

    UiPort& ui = *run.ui;
    bool runEnded = false;
    EnterCriticalSectionOp(run.lock);
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
            if (!result.found) {
                run.blankNumbers += number;
                run.blankNumbers += "\r\n";
            }
            finished = ++run.finished;
        }
        ui.SetProgressPos(kMain, kResultProgress, finished);
        if (finished == static_cast<int>(run.numbers.size())) {
            // A run that found nothing would otherwise leave 验证定单
            // disabled until 停止验证 is pressed.
            ui.SetEnabled(kMain, kVerifyButton, true);
            runEnded = true;
        }
    }
    LeaveCriticalSectionOp(run.lock);

    // The end message is shown on this worker after the lock is released:
    // the run's other numbers are all done, no later run's worker waits for
    // it, and the user-interface thread never waits for the box.
    if (runEnded) {
        ui.MessageBox(kEndMessage, kIconInformation, "提示");
        EnterCriticalSectionOp(run.lock);
        // A run started while the box was shown keeps its progress.
        if (!run.retired) {
            ui.SetProgressPos(kMain, kResultProgress, 0);
        }
        LeaveCriticalSectionOp(run.lock);
    }
}

// A worker of the run may be inside its update of the windows, waiting for
// this thread to carry out each step. Taking the run's lock while the windows
// keep being served guarantees that the update is either complete or has not
// started.
void lockServingWindows(UiPort& ui, VerificationRun::Run& run) {
    while (!run.lock->try_lock()) {
        ui.Delay(1);
    }
}

}  // namespace

VerificationRun::VerificationRun() : tasks_(std::make_shared<Tasks>()) {}

VerificationRun::~VerificationRun() { retireForExit(); }

void VerificationRun::retireForExit() {
    std::lock_guard lock(mutex_);
    if (current_ != nullptr) {
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
    const std::shared_ptr<Run> old = current();
    if (old == nullptr || old->retired) {
        return;
    }
    lockServingWindows(ui, *old);
    old->retired = true;
    old->lock->unlock();
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
    retireCurrent(ui, pool);
    auto run = std::make_shared<Run>();
    run->ui = &ui;
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
    run->courier = ui.GetText(kMain, kCourierBox);
    if (run->courier.empty()) {
        ui.MessageBox("对不起类型不能为空", kIconInformation, "对不起");
        // Nothing runs, so the user may pick a courier and start again.
        ui.SetEnabled(kMain, kVerifyButton, true);
        return;
    }
    beginRun(ui, pool, run);
}

void VerificationRun::beginRun(UiPort& ui, WorkPool& pool, const std::shared_ptr<Run>& run) {
    run->numbers = SplitText(ui.GetText(kMain, kNumbersBox), "\r\n");
    const int count = static_cast<int>(run->numbers.size());
    const int threads = ToInteger(ui.GetText(kMain, kThreadsBox));

    std::shared_ptr<Tasks> tasks = tasks_;
    const bool started = pool.start(
        [run, tasks](std::int32_t, std::uintptr_t, std::int32_t task) {
            verifyNumber(*run, task);
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
    if (const std::shared_ptr<Run> run = current()) {
        run->stopRequested = true;
    }
    tasks_->add(-static_cast<long>(pool.discardPending()));
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
