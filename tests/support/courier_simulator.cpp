#include "courier_simulator.h"

#include <httplib.h>

#include <cstdlib>

#include "courier_fixtures.h"
#include "verification/courier_table.h"

namespace zelvo::testing {
namespace {

constexpr std::string_view kRailwayPath = "/creweb/cms/web/Fhwcxselect.jsp";

int courierIndex(std::string_view courier) {
    const auto table = courierTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].name == courier) {
            return static_cast<int>(i);
        }
    }
    std::abort();
}

// Enough threads that every worker of a run is answered at once.
constexpr int kServerThreads = 64;

}  // namespace

CourierSimulator::CourierSimulator() : server_(std::make_unique<httplib::Server>()) {
    server_->new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
    server_->Get(R"(/track/(\d+))",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     const int index = std::atoi(request.matches[1].str().c_str());
                     const Bytes page = answer(index, request.get_param_value("no"));
                     response.set_content(std::string(page.begin(), page.end()), "text/html");
                 });
    server_->Get(std::string(kRailwayPath), [this](const httplib::Request& request,
                                                   httplib::Response& response) {
        const Bytes page = answer(courierIndex("中铁快运"), request.get_param_value("sheet_no"));
        response.set_content(std::string(page.begin(), page.end()), "text/html");
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (const CourierFixture& fixture : courierFixtures()) {
        addRecord(fixture.courier, fixture.number);
    }
}

CourierSimulator::~CourierSimulator() {
    release();
    server_->stop();
    thread_.join();
}

std::string CourierSimulator::queryUrlPrefix(std::string_view courier) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/track/" +
           std::to_string(courierIndex(courier)) + "?no=";
}

CourierHosts CourierSimulator::hosts() const {
    CourierHosts hosts;
    hosts.railwayQueryPrefix =
        "http://127.0.0.1:" + std::to_string(port_) + std::string(kRailwayPath) + "?sheet_no=";
    return hosts;
}

void CourierSimulator::addRecord(std::string_view courier, std::string_view number) {
    setPage(courier, number, courierFixture(courier).recordPage);
}

void CourierSimulator::setPage(std::string_view courier, std::string_view number, Bytes page) {
    std::lock_guard lock(mutex_);
    pages_[{courierIndex(courier), std::string(number)}] = std::move(page);
}

void CourierSimulator::setDelayMs(int delayMs) {
    std::lock_guard lock(mutex_);
    delayMs_ = delayMs;
}

void CourierSimulator::hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
}

void CourierSimulator::release() {
    std::lock_guard lock(mutex_);
    held_ = false;
    changed_.notify_all();
}

bool CourierSimulator::waitForHeld(int count, int timeoutMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return waiting_ >= count; });
}

int CourierSimulator::requestCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(requested_.size());
}

std::vector<std::string> CourierSimulator::requestedNumbers() const {
    std::lock_guard lock(mutex_);
    return requested_;
}

Bytes CourierSimulator::answer(int courierIndex, const std::string& number) {
    int delayMs = 0;
    Bytes page;
    {
        std::unique_lock lock(mutex_);
        requested_.push_back(number);
        ++waiting_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !held_; });
        --waiting_;
        delayMs = delayMs_;
        const auto found = pages_.find({courierIndex, number});
        if (found != pages_.end()) {
            page = found->second;
        } else {
            const auto table = courierTable();
            page = courierFixture(table[static_cast<std::size_t>(courierIndex)].name).noRecordPage;
        }
    }
    if (delayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    }
    return page;
}

}  // namespace zelvo::testing
