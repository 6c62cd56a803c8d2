#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ui.h"
#include "verification/courier_hosts.h"
#include "verification/work_pool.h"

// The verification run: every line of 生成内容 is looked up on the tracking
// page of the courier in 快递类型 by the WorkPool's workers; numbers with a
// record become rows of 超级列表框1, numbers whose page says there is none
// are collected as blank numbers, and numbers whose page could not be
// fetched are failed lookups: the end message says how many and offers to
// look them up again, in the same run. 进度条1 counts every finished number.
// Every number of a run ends as exactly one row, blank number or failed
// lookup.
//
// Each run owns its state (numbers, lock, progress, blank numbers, a cancel
// flag). A stop or a new start retires the earlier run: its tasks that have
// not begun are never fetched, its fetches in flight are abandoned within
// about a second, and nothing of it touches the windows any more.
namespace zelvo {

class VerificationRun {
  public:
    VerificationRun();
    // Retires the current run; tasks still running change nothing.
    ~VerificationRun();
    VerificationRun(const VerificationRun&) = delete;
    VerificationRun& operator=(const VerificationRun&) = delete;

    // The fixed hosts the parsers query (tests point them at a local server).
    void setCourierHosts(CourierHosts hosts);

    // "验证定单": starts a run over the lines of 生成内容 with the query
    // prefix of the rule applied last. A 效验线程 above the maximum and a
    // 快递类型 without a tracking parser (the empty one too) are refused with
    // a message before anything changes. UI thread.
    void startVerification(UiPort& ui, WorkPool& pool, std::string_view queryUrlPrefix);
    // "停止验证": numbers not yet begun are dropped and numbers being fetched
    // are abandoned (neither is counted); rows, blank numbers and the
    // progress stay; no end message follows; 验证定单 is enabled. UI thread.
    void requestStop(UiPort& ui, WorkPool& pool);

    // The numbers of the current run without a record, each followed by
    // "\r\n", in the order the workers finished them. Any thread.
    std::string blankNumbers() const;
    // The numbers whose lookup failed in the current run's last pass.
    std::vector<std::string> failedNumbers() const;
    // The lines of 生成内容 at the start of the current run.
    std::vector<std::string> runNumbers() const;
    bool stopRequested() const;
    // Whether a run has been started since the program began.
    bool started() const;

    // Runs action (a change of the result list from the user-interface
    // thread: sort, clear, import, filter) while no worker of the current run
    // is inside its update of the windows, so a worker never writes a row's
    // cells after the rows have moved under it. UI thread.
    void withoutWorkerUpdates(UiPort& ui, const std::function<void()>& action);

    // At exit: the current run's tasks change nothing more and its fetches
    // are abandoned.
    void retireForExit();

    // Waits until no task of any run is waiting or running; false on
    // time-out. For tests and benchmarks.
    bool waitUntilIdle(int timeoutMs);

    struct Run;
    struct Tasks;

  private:
    void beginRun(UiPort& ui, WorkPool& pool, const std::shared_ptr<Run>& run);
    // Drops the tasks not yet begun and retires the current run; returns once
    // none of its workers is inside an update of the windows.
    void retireCurrent(UiPort& ui, WorkPool& pool);
    std::shared_ptr<Run> current() const;

    mutable std::mutex mutex_;  // guards current_ and hosts_ only
    std::shared_ptr<Run> current_;
    CourierHosts hosts_;
    std::shared_ptr<Tasks> tasks_;
};

}  // namespace zelvo
