// Pool threads on CreateThread, which takes the stack size the pool asks for.
#include <windows.h>

#include <memory>

#include "verification/pool_thread.h"

namespace zelvo {

namespace {

struct Start {
    std::function<void()> body;
    HANDLE handle = nullptr;
    bool joinable = false;
};

// The handle StartPoolThread gave for the thread running here.
thread_local HANDLE currentHandle = nullptr;

DWORD WINAPI RunBody(void* argument) {
    std::unique_ptr<Start> start(static_cast<Start*>(argument));
    currentHandle = start->handle;
    start->body();
    // A thread nobody joins releases its own handle.
    if (!start->joinable) CloseHandle(start->handle);
    return 0;
}

}  // namespace

std::uintptr_t StartPoolThread(std::size_t stackSize, std::function<void()> body, bool joinable) {
    auto* start = new Start{std::move(body), nullptr, joinable};
    // Created suspended so the thread finds its own handle in place; the size
    // is the stack's reservation, as the pool means it.
    HANDLE handle = CreateThread(nullptr, stackSize, RunBody, start,
                                 CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (handle == nullptr) {
        delete start;
        return 0;
    }
    start->handle = handle;
    const auto result = reinterpret_cast<std::uintptr_t>(handle);
    ResumeThread(handle);
    return result;
}

void JoinPoolThread(std::uintptr_t handle) {
    auto thread = reinterpret_cast<HANDLE>(handle);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

std::uintptr_t CurrentPoolThread() {
    if (currentHandle != nullptr) return reinterpret_cast<std::uintptr_t>(currentHandle);
    return static_cast<std::uintptr_t>(GetCurrentThreadId());
}

}  // namespace zelvo
