#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>

#include "win32_api.h"

// Calls from worker threads, carried out on the user-interface thread. A
// hidden message-only window of the UI thread receives each call as a posted
// message; the caller waits until it has run. Any message loop of the UI
// thread serves them, modal ones (message boxes, the folder browser, a modal
// window) included.
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
    // From now on Run returns false at once, and callers already waiting are
    // released. Called on the UI thread when the main window goes, so that
    // the exit clean-up can stop workers that wait for it.
    void Shutdown();
    bool IsShutDown();

  private:
    struct Call;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Serve(Call* call);

    DWORD uiThread_;
    HWND window_ = nullptr;
    std::mutex mutex_;
    bool shutDown_ = false;
    std::set<Call*> waiting_;
};

}  // namespace zelvo::win32
