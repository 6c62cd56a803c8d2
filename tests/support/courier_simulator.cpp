#include "courier_simulator.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "courier_fixtures.h"
#include "runtime/detached_thread.h"
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

}  // namespace

CourierSimulator::CourierSimulator() {
    listener_ = NewTcpSocket();
    port_ = BindLoopback(listener_, 0);
    if (port_ == 0 || !Listen(listener_, 256)) std::abort();
    acceptor_ = std::thread([this] { acceptLoop(); });
    for (const CourierFixture& fixture : courierFixtures()) {
        addRecord(fixture.courier, fixture.number);
    }
}

CourierSimulator::~CourierSimulator() {
    release();
    stopping_ = true;
    acceptor_.join();
    CloseSocket(listener_);
    std::unique_lock lock(connections_->mutex);
    connections_->done.wait(lock, [this] { return connections_->active == 0; });
}

void CourierSimulator::acceptLoop() {
    // Polls rather than blocks in accept, so that stopping needs no signal.
    while (!stopping_) {
        if (WaitReadable(listener_, 20) <= 0) continue;
        const Socket connection = AcceptConnection(listener_);
        if (connection == kNoSocket) continue;
        {
            std::lock_guard lock(connections_->mutex);
            ++connections_->active;
        }
        // Detached, so that a long run does not keep thousands of ended
        // threads; the destructor waits until every one has finished.
        const bool started = StartDetachedThread([this, connection, connections = connections_] {
            serve(connection);
            std::lock_guard lock(connections->mutex);
            --connections->active;
            connections->done.notify_all();
        });
        if (!started) {
            CloseSocket(connection);
            std::lock_guard lock(connections_->mutex);
            --connections_->active;
        }
    }
}

namespace {

std::string percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out.push_back(
                static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16)));
            i += 2;
        } else if (text[i] == '+') {
            out.push_back(' ');
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The value of one query parameter; empty when absent.
std::string queryValue(std::string_view query, std::string_view name) {
    std::size_t pos = 0;
    while (pos <= query.size()) {
        const std::size_t end = std::min(query.find('&', pos), query.size());
        const std::string_view pair = query.substr(pos, end - pos);
        const std::size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name) {
            return equals == std::string_view::npos ? std::string()
                                                    : percentDecoded(pair.substr(equals + 1));
        }
        pos = end + 1;
    }
    return {};
}

bool sendAll(Socket connection, std::string_view data) {
    while (!data.empty()) {
        const std::ptrdiff_t sent = SendSome(connection, data.data(), data.size());
        if (sent <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

}  // namespace

bool CourierSimulator::route(const std::string& target, Bytes& page, SimulatedFault& fault) {
    const std::size_t question = target.find('?');
    const std::string path = target.substr(0, question);
    const std::string query =
        question == std::string::npos ? std::string() : target.substr(question + 1);
    constexpr std::string_view kTrack = "/track/";
    if (path.compare(0, kTrack.size(), kTrack) == 0) {
        const std::string index = path.substr(kTrack.size());
        if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const int courier = std::atoi(index.c_str());
        if (courier < 0 || static_cast<std::size_t>(courier) >= courierTable().size()) return false;
        page = answer(courier, queryValue(query, "no"), fault);
        return true;
    }
    if (path == kRailwayPath) {
        page = answer(courierIndex("中铁快运"), queryValue(query, "sheet_no"), fault);
        return true;
    }
    return false;
}

void CourierSimulator::serve(Socket connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const std::ptrdiff_t received = Receive(connection, buffer, sizeof buffer);
        if (received <= 0) break;
        request.append(buffer, static_cast<std::size_t>(received));
    }
    // "GET <target> HTTP/1.x"
    const std::size_t first = request.find(' ');
    const std::size_t second = first == std::string::npos ? first : request.find(' ', first + 1);
    Bytes page;
    SimulatedFault fault = SimulatedFault::None;
    std::string head;
    if (second != std::string::npos && request.compare(0, first, "GET") == 0 &&
        route(request.substr(first + 1, second - first - 1), page, fault)) {
        head = fault == SimulatedFault::Status500   ? "HTTP/1.0 500 Internal Server Error\r\n"
               : fault == SimulatedFault::Status503 ? "HTTP/1.0 503 Service Unavailable\r\n"
               : fault == SimulatedFault::Status429 ? "HTTP/1.0 429 Too Many Requests\r\n"
                                                    : "HTTP/1.0 200 OK\r\n";
    } else {
        head = "HTTP/1.0 404 Not Found\r\n";
    }
    const std::string_view body(reinterpret_cast<const char*>(page.data()), page.size());
    // A broken answer carries the whole page, and promises more.
    const bool broken = fault == SimulatedFault::Reset || fault == SimulatedFault::ShortBody ||
                        fault == SimulatedFault::Stall;
    if (fault == SimulatedFault::BrokenChunks) {
        head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", page.size() + 100);
        head += size;
    } else {
        head += "Content-Type: text/html\r\nContent-Length: " +
                std::to_string(page.size() + (broken ? 100 : 0)) + "\r\nConnection: close\r\n\r\n";
    }
    if (sendAll(connection, head)) {
        sendAll(connection, body);
    }
    if (fault == SimulatedFault::Reset) {
        ResetAndClose(connection);
        return;
    }
    if (fault == SimulatedFault::Stall) {
        // Silent until the client gives up.
        while (!stopping_) {
            const int readable = WaitReadable(connection, 20);
            if (readable < 0 || (readable > 0 && Receive(connection, buffer, sizeof buffer) <= 0))
                break;
        }
    }
    ShutdownSending(connection);
    // Let the client read to the end before the socket goes.
    while (Receive(connection, buffer, sizeof buffer) > 0) {
    }
    CloseSocket(connection);
}

std::string CourierSimulator::QueryUrlPrefixAt(int port, std::string_view courier) {
    return "http://127.0.0.1:" + std::to_string(port) + "/track/" +
           std::to_string(courierIndex(courier)) + "?no=";
}

CourierHosts CourierSimulator::HostsAt(int port) {
    CourierHosts hosts;
    hosts.railwayQueryPrefix =
        "http://127.0.0.1:" + std::to_string(port) + std::string(kRailwayPath) + "?sheet_no=";
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

void CourierSimulator::setFaultShare(double share, unsigned seed) {
    std::lock_guard lock(mutex_);
    faultShare_ = share;
    random_.seed(seed);
}

void CourierSimulator::spoilFirstAnswer(std::string_view number, SimulatedFault fault) {
    std::lock_guard lock(mutex_);
    planned_[std::string(number)] = fault;
}

std::map<std::string, SimulatedFault> CourierSimulator::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

Bytes CourierSimulator::answer(int courierIndex, const std::string& number, SimulatedFault& fault) {
    int delayMs = 0;
    Bytes page;
    {
        std::unique_lock lock(mutex_);
        requested_.push_back(number);
        const bool first = answered_.insert({courierIndex, number}).second;
        if (const auto plan = planned_.find(number); first && plan != planned_.end()) {
            fault = plan->second;
            faults_[number] = fault;
        } else if (first && faultShare_ > 0 &&
                   std::uniform_real_distribution<double>(0, 1)(random_) < faultShare_) {
            fault = static_cast<SimulatedFault>(std::uniform_int_distribution<int>(
                static_cast<int>(SimulatedFault::Reset),
                static_cast<int>(SimulatedFault::Status429))(random_));
            faults_[number] = fault;
        }
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
