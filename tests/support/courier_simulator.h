#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "runtime/bytes.h"
#include "sockets.h"
#include "verification/courier_hosts.h"

// A local stand-in for the couriers' tracking sites: a small HTTP/1.0 server
// on 127.0.0.1, one thread per connection (written here rather than taken
// from a library so that ThreadSanitizer sees all of its synchronisation). Each
// courier of the table has its own query address; the railway endpoint keeps
// its own path. A number that has a page registered gets that page, any
// other number (the empty one too) the courier's no-record page. Starts with
// every fixture's record number registered.
namespace zelvo::testing {

// The ways a busy courier site fails an answer: broken off after the whole
// page was sent (reset, fewer bytes than announced, a chunk cut short, a
// stall), or an error status carrying the page.
enum class SimulatedFault {
    None,
    Reset,
    ShortBody,
    BrokenChunks,
    Stall,
    Status500,
    Status503,
    Status429
};

class CourierSimulator {
  public:
    CourierSimulator();
    ~CourierSimulator();
    CourierSimulator(const CourierSimulator&) = delete;
    CourierSimulator& operator=(const CourierSimulator&) = delete;

    int port() const { return port_; }
    // The rule's query prefix that points the courier at this server.
    std::string queryUrlPrefix(std::string_view courier) const { return QueryUrlPrefixAt(port_, courier); }
    // Fixed hosts pointed at this server.
    CourierHosts hosts() const { return HostsAt(port_); }
    // The same for a simulator listening on port of 127.0.0.1 in another
    // process.
    static std::string QueryUrlPrefixAt(int port, std::string_view courier);
    static CourierHosts HostsAt(int port);

    // Serves the courier fixture's record page for the number.
    void addRecord(std::string_view courier, std::string_view number);
    void setPage(std::string_view courier, std::string_view number, Bytes page);
    // Added before every answer.
    void setDelayMs(int delayMs);

    // While held, requests wait before answering until release().
    void hold();
    void release();
    // Waits until that many requests are waiting in hold; false on time-out.
    bool waitForHeld(int count, int timeoutMs = 20000);

    // From now on the first answer for a number is faulty with this share,
    // drawn at random from seed, each fault equally likely; a number asked
    // again is answered well.
    void setFaultShare(double share, unsigned seed);
    // The first answer for the number (any courier) fails so.
    void spoilFirstAnswer(std::string_view number, SimulatedFault fault);
    // The simulator's own log: each number whose answer it spoilt, and how.
    std::map<std::string, SimulatedFault> faults() const;

    int requestCount() const;
    // Numbers asked for, in arrival order.
    std::vector<std::string> requestedNumbers() const;

  private:
    Bytes answer(int courierIndex, const std::string& number, SimulatedFault& fault);
    void acceptLoop();
    void serve(Socket connection);
    // The page for a request target ("/track/3?no=1"); false: not found.
    bool route(const std::string& target, Bytes& page, SimulatedFault& fault);

    Socket listener_ = kNoSocket;
    std::atomic<bool> stopping_{false};
    int port_ = 0;
    std::thread acceptor_;
    // Shared with the serving threads, so that a thread still leaving the
    // lock after the destructor has seen the count reach zero touches
    // nothing freed.
    struct Connections {
        std::mutex mutex;
        std::condition_variable done;
        int active = 0;
    };
    std::shared_ptr<Connections> connections_ = std::make_shared<Connections>();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::pair<int, std::string>, Bytes> pages_;
    int delayMs_ = 0;
    bool held_ = false;
    int waiting_ = 0;
    std::vector<std::string> requested_;
    double faultShare_ = 0;
    std::mt19937 random_;
    std::set<std::pair<int, std::string>> answered_;
    std::map<std::string, SimulatedFault> faults_;
    std::map<std::string, SimulatedFault> planned_;
};

}  // namespace zelvo::testing
