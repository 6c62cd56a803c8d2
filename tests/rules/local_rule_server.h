#pragma once

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace zelvo::testing {

// A rule source on 127.0.0.1: answers GET /rules with the current reply, or
// holds the request until released (a source that never answers).
class LocalRuleServer {
  public:
    LocalRuleServer() {
        server_.Get("/rules", [this](const httplib::Request&, httplib::Response& response) {
            ++requests_;
            std::unique_lock lock(mutex_);
            if (hold_) {
                released_.wait_for(lock, std::chrono::seconds(30), [this] { return !hold_; });
            }
            response.set_content(reply_, "text/plain; charset=gbk");
        });
        // A source that answers a byte at a time, slowly, until released.
        server_.Get("/trickle", [this](const httplib::Request&, httplib::Response& response) {
            ++requests_;
            response.set_chunked_content_provider(
                "text/plain", [this](size_t, httplib::DataSink& sink) {
                    std::unique_lock lock(mutex_);
                    if (!hold_) {
                        sink.done();
                        return true;
                    }
                    released_.wait_for(lock, std::chrono::milliseconds(50));
                    return sink.write("a", 1);
                });
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LocalRuleServer() {
        release();
        server_.stop();
        thread_.join();
    }

    std::string address(const char* path = "/rules") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
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
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable released_;
    std::string reply_;
    bool hold_ = false;
    std::atomic<int> requests_{0};
};

}  // namespace zelvo::testing
