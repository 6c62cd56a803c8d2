#include <windows.h>

#include <memory>

#include "runtime/detached_thread.h"

namespace zelvo {

namespace {

DWORD WINAPI RunBody(void* argument) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
    (*body)();
    return 0;
}

}  // namespace

bool StartDetachedThread(std::function<void()> body) {
    auto* argument = new std::function<void()>(std::move(body));
    HANDLE thread = CreateThread(nullptr, 0, RunBody, argument, 0, nullptr);
    if (thread == nullptr) {
        delete argument;
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace zelvo
