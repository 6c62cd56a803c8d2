#include "ui_thread_calls.h"

#include <memory>

namespace zelvo::win32 {

namespace {

constexpr UINT kRunCall = WM_APP + 1;
constexpr wchar_t kClassName[] = L"ZelvoUiThreadCalls";

}  // namespace

// One caller waiting for the UI thread. Shared, so that the message still in
// the queue after a shutdown released its caller points at a live record.
struct UiThreadCalls::Call {
    const std::function<void()>* work = nullptr;
    std::condition_variable cv;
    bool done = false;
};

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
    // Drop calls still queued: their callers were released by Shutdown.
    MSG msg;
    while (PeekMessageW(&msg, window_, kRunCall, kRunCall, PM_REMOVE)) {
        delete reinterpret_cast<std::shared_ptr<Call>*>(msg.lParam);
    }
    DestroyWindow(window_);
}

bool UiThreadCalls::IsShutDown() {
    std::lock_guard lock(mutex_);
    return shutDown_;
}

bool UiThreadCalls::Run(const std::function<void()>& work) {
    auto call = std::make_shared<Call>();
    call->work = &work;
    std::unique_lock lock(mutex_);
    if (shutDown_) return false;
    auto* message = new std::shared_ptr<Call>(call);
    if (!PostMessageW(window_, kRunCall, 0, reinterpret_cast<LPARAM>(message))) {
        delete message;
        return false;
    }
    waiting_.insert(call.get());
    call->cv.wait(lock, [&] { return call->done || shutDown_; });
    waiting_.erase(call.get());
    return call->done;
}

void UiThreadCalls::Serve(Call* call) {
    {
        // A caller released by a shutdown may have returned: its work is gone.
        std::lock_guard lock(mutex_);
        if (shutDown_ || call->done) return;
    }
    (*call->work)();
    std::lock_guard lock(mutex_);
    call->done = true;
    // Each caller has its own condition: waking every waiting worker for
    // each call would cost a context switch apiece.
    call->cv.notify_one();
}

void UiThreadCalls::Shutdown() {
    std::lock_guard lock(mutex_);
    if (shutDown_) return;
    shutDown_ = true;
    for (Call* call : waiting_) call->cv.notify_one();
}

LRESULT CALLBACK UiThreadCalls::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == kRunCall) {
        std::unique_ptr<std::shared_ptr<Call>> call(reinterpret_cast<std::shared_ptr<Call>*>(lParam));
        auto* self = reinterpret_cast<UiThreadCalls*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) self->Serve(call->get());
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace zelvo::win32
