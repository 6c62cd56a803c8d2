#include <system_error>
#include <thread>

#include "runtime/detached_thread.h"

namespace zelvo {

bool StartDetachedThread(std::function<void()> body) {
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace zelvo
