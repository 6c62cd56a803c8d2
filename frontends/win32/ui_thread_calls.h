#pragma once

#include <deque>
#include <functional>

#include "win32_api.h"

// Calls from worker threads, carried out on the user-interface thread. The
// callers queue their calls; a hidden message-only window of the UI thread
// is woken by one posted message for however many calls are waiting, runs
// them in order, and each caller waits until its own has run. Any message
// loop of the UI thread serves them, modal ones (message boxes, the folder
// browser, a modal window) included.
//
// The waiting uses the system's slim locks and condition variables, which
// need no kernel call while nobody waits: a verification run makes hundreds
// of thousands of these calls. Workers make them one after the other, so
// the UI thread, once woken, keeps serving for a short slice and waits a
// moment for the next call on the condition variable rather than going back
// to its message loop each time: a wake-up message and the message loop cost
// server calls under Wine (kernel calls on Windows) for every call.
namespace zelvo::win32 {

class UiThreadCalls {
  public:
    // On the user-interface thread.
    UiThreadCalls();
    ~UiThreadCalls();
    UiThreadCalls(const UiThreadCalls&) = delete;
    UiThreadCalls& operator=(const UiThreadCalls&) = delete;

    bool OnUiThread() const { return GetCurrentThreadId() == uiThread_; }
    // Runs work on the UI thread and waits for it; false (work not run) once
    // the calls have been shut down.
    bool Run(const std::function<void()>& work);
    // Runs work on the UI thread later, from its message loop, without
    // waiting for it; dropped once the calls have been shut down.
    void Post(std::function<void()> work);
    // From now on Run returns false at once, and callers already waiting are
    // released. Called on the UI thread when the main window goes, so that
    // the exit clean-up can stop workers that wait for it.
    void Shutdown();
    bool IsShutDown();

  private:
    struct Call {
        const std::function<void()>* work = nullptr;
        CONDITION_VARIABLE ran = CONDITION_VARIABLE_INIT;
        bool done = false;
    };
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ServeQueued();
    void ServePosted();

    DWORD uiThread_;
    HWND window_ = nullptr;
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE arrived_ = CONDITION_VARIABLE_INIT;
    bool shutDown_ = false;
    bool wakeUpPosted_ = false;
    // The UI thread waits on arrived_ for the next call.
    bool lingering_ = false;
    // Calls not yet started; their callers wait on their stacks.
    std::deque<Call*> queue_;
    std::deque<std::function<void()>> posted_;
};

}  // namespace zelvo::win32
