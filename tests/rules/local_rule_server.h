#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "local_servers.h"

namespace zelvo::testing {

// A rule source on 127.0.0.1: answers GET /rules with the current reply, or
// holds the request until released (a source that never answers).
class LocalRuleServer {
  public:
    LocalRuleServer() = default;
    ~LocalRuleServer() { release(); }
    LocalRuleServer(const LocalRuleServer&) = delete;
    LocalRuleServer& operator=(const LocalRuleServer&) = delete;

    std::string address(const char* path = "/rules") const { return server_.url(path); }
    void reply(std::string body) {
        std::lock_guard lock(mutex_);
        reply_ = std::move(body);
    }
    void hold() {
        std::lock_guard lock(mutex_);
        hold_ = true;
    }
    void release() {
        std::lock_guard lock(mutex_);
        hold_ = false;
        released_.notify_all();
    }
    int requests() const { return requests_; }

  private:
    void answer(RawConnection& connection, const std::string& head) {
        if (head.rfind("GET /rules", 0) == 0) {
            ++requests_;
            std::unique_lock lock(mutex_);
            released_.wait_for(lock, std::chrono::seconds(30), [this] { return !hold_; });
            const std::string body = reply_;
            lock.unlock();
            connection.respond(200, body, "Content-Type: text/plain; charset=gbk\r\n");
        } else if (head.rfind("GET /trickle", 0) == 0) {
            // A source that answers a byte at a time, slowly, until released.
            ++requests_;
            if (!connection.send("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n")) return;
            std::unique_lock lock(mutex_);
            while (hold_) {
                released_.wait_for(lock, std::chrono::milliseconds(50));
                if (!connection.send("a")) return;
            }
        } else {
            connection.respond(404, "");
        }
    }

    std::mutex mutex_;
    std::condition_variable released_;
    std::string reply_;
    bool hold_ = false;
    std::atomic<int> requests_{0};
    // Last, so that it stops (and its handlers end) before the state above goes.
    RawServer server_{[this](RawConnection& connection, const std::string& head) {
        answer(connection, head);
    }};
};

}  // namespace zelvo::testing
