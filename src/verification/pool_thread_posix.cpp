#include <pthread.h>

#include <climits>
#include <memory>
#include <type_traits>

#include "verification/pool_thread.h"

namespace zelvo {

static_assert(std::is_integral_v<pthread_t> && sizeof(pthread_t) <= sizeof(std::uintptr_t),
              "pthread_t is used as an integral thread handle");

namespace {

void* RunBody(void* argument) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
    (*body)();
    return nullptr;
}

}  // namespace

std::uintptr_t StartPoolThread(std::size_t stackSize, std::function<void()> body, bool joinable) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return 0;
    bool ready = pthread_attr_setdetachstate(&attributes, joinable ? PTHREAD_CREATE_JOINABLE
                                                                   : PTHREAD_CREATE_DETACHED) == 0;
    if (ready && stackSize != 0) {
        if (stackSize < static_cast<std::size_t>(PTHREAD_STACK_MIN)) stackSize = PTHREAD_STACK_MIN;
        ready = pthread_attr_setstacksize(&attributes, stackSize) == 0;
    }
    auto* argument = new std::function<void()>(std::move(body));
    pthread_t thread{};
    if (ready && pthread_create(&thread, &attributes, RunBody, argument) == 0) {
        pthread_attr_destroy(&attributes);
        return static_cast<std::uintptr_t>(thread);
    }
    pthread_attr_destroy(&attributes);
    delete argument;
    return 0;
}

void JoinPoolThread(std::uintptr_t handle) {
    pthread_join(static_cast<pthread_t>(handle), nullptr);
}

std::uintptr_t CurrentPoolThread() { return static_cast<std::uintptr_t>(pthread_self()); }

}  // namespace zelvo
