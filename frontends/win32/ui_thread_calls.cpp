#include "ui_thread_calls.h"

#include "win32_ui.h"  // DispatchUiMessage

namespace zelvo::win32 {

namespace {

constexpr UINT kServeCalls = WM_APP + 1;
constexpr UINT kServePosted = WM_APP + 2;
constexpr wchar_t kClassName[] = L"ZelvoUiThreadCalls";
// How long the UI thread serves calls before it looks at its messages again,
// and how long it waits for a next call (a clock tick on Windows, where a
// shorter wait lasts one anyway).
constexpr ULONGLONG kServeSliceMs = 20;
constexpr DWORD kLingerMs = 1;

class Locked {
  public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    SRWLOCK& lock_;
};

}  // namespace

UiThreadCalls::UiThreadCalls() : uiThread_(GetCurrentThreadId()) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &UiThreadCalls::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);  // fails harmlessly when a second port registers it again
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

UiThreadCalls::~UiThreadCalls() {
    Shutdown();
    DestroyWindow(window_);
}

bool UiThreadCalls::IsShutDown() {
    Locked locked(lock_);
    return shutDown_;
}

bool UiThreadCalls::Run(const std::function<void()>& work) {
    Call call;
    call.work = &work;
    Locked locked(lock_);
    if (shutDown_) return false;
    queue_.push_back(&call);
    if (lingering_) {
        WakeConditionVariable(&arrived_);
    } else if (!wakeUpPosted_) {
        // One wake-up for all the calls queued until the UI thread gets to them.
        wakeUpPosted_ = PostMessageW(window_, kServeCalls, 0, 0) != FALSE;
        if (!wakeUpPosted_) {
            queue_.pop_back();
            return false;
        }
    }
    while (!call.done && !shutDown_) SleepConditionVariableSRW(&call.ran, &lock_, INFINITE, 0);
    return call.done;
}

void UiThreadCalls::ServeQueued() {
    const ULONGLONG sliceEnd = GetTickCount64() + kServeSliceMs;
    Locked locked(lock_);
    // Calls queued while one of these runs post a wake-up of their own, so
    // that a modal loop run by a call still serves them.
    wakeUpPosted_ = false;
    bool served = false;
    while (!shutDown_) {
        if (queue_.empty()) {
            // Nothing served yet: a wake-up whose calls were served already.
            if (!served || GetTickCount64() >= sliceEnd) break;
            lingering_ = true;
            SleepConditionVariableSRW(&arrived_, &lock_, kLingerMs, 0);
            lingering_ = false;
            if (queue_.empty()) break;
            continue;
        }
        Call* call = queue_.front();
        queue_.pop_front();
        // Its caller waits until done, so the call stays alive meanwhile; a
        // shutdown cannot release it either, since shutting down happens on
        // this thread.
        ReleaseSRWLockExclusive(&lock_);
        (*call->work)();
        AcquireSRWLockExclusive(&lock_);
        call->done = true;
        WakeConditionVariable(&call->ran);
        served = true;
        if (GetTickCount64() >= sliceEnd) break;
    }
    if (queue_.empty() || shutDown_) return;
    // The slice is over with calls still waiting. A posted wake-up would be
    // taken before the user's input, the painting and the timers, so under a
    // steady stream of calls those would never come: they are handled here
    // first. The wake-up goes out before, so that a handler that serves the
    // windows (a sort waiting for the run's lock) serves these calls too.
    if (!wakeUpPosted_) wakeUpPosted_ = PostMessageW(window_, kServeCalls, 0, 0) != FALSE;
    ReleaseSRWLockExclusive(&lock_);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT | PM_QS_PAINT)) {
        DispatchUiMessage(message);
    }
    while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        DispatchUiMessage(message);
    }
    AcquireSRWLockExclusive(&lock_);
}

void UiThreadCalls::Post(std::function<void()> work) {
    {
        Locked locked(lock_);
        if (shutDown_) return;
        posted_.push_back(std::move(work));
    }
    PostMessageW(window_, kServePosted, 0, 0);
}

void UiThreadCalls::ServePosted() {
    std::function<void()> work;
    {
        Locked locked(lock_);
        if (posted_.empty() || shutDown_) return;
        work = std::move(posted_.front());
        posted_.pop_front();
    }
    work();
}

void UiThreadCalls::Shutdown() {
    Locked locked(lock_);
    if (shutDown_) return;
    shutDown_ = true;
    for (Call* call : queue_) WakeConditionVariable(&call->ran);
    queue_.clear();
    posted_.clear();
}

LRESULT CALLBACK UiThreadCalls::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == kServeCalls) {
        if (auto* self = reinterpret_cast<UiThreadCalls*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            self->ServeQueued();
        }
        return 0;
    }
    if (message == kServePosted) {
        if (auto* self = reinterpret_cast<UiThreadCalls*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            self->ServePosted();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace zelvo::win32
