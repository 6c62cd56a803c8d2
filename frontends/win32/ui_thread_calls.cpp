#include "ui_thread_calls.h"

namespace zelvo::win32 {

namespace {

constexpr UINT kServeCalls = WM_APP + 1;
constexpr UINT kServePosted = WM_APP + 2;
constexpr wchar_t kClassName[] = L"ZelvoUiThreadCalls";

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
    // One wake-up for all the calls queued until the UI thread gets to them.
    if (!wakeUpPosted_) {
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
    size_t batch = 0;
    {
        Locked locked(lock_);
        batch = queue_.size();
        // Calls queued from now on post a wake-up of their own, so that a
        // modal loop run by one of these calls still serves them.
        wakeUpPosted_ = false;
    }
    for (; batch > 0; --batch) {
        Call* call = nullptr;
        {
            Locked locked(lock_);
            // Calls left behind by a shutdown were released with it.
            if (queue_.empty() || shutDown_) return;
            call = queue_.front();
            queue_.pop_front();
        }
        // Its caller waits until done, so the call stays alive meanwhile; a
        // shutdown cannot release it either, since shutting down happens on
        // this thread.
        (*call->work)();
        Locked locked(lock_);
        call->done = true;
        WakeConditionVariable(&call->ran);
    }
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
