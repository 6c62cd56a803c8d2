#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "courier_simulator.h"

namespace zelvo::bench {

// The numbers a benchmark verifies: count consecutive ones from here, every
// tenth with a record.
constexpr int kFirstSimulatedNumber = 500000000;
constexpr int kRecordEvery = 10;

inline std::string SimulatedNumber(int i) { return std::to_string(kFirstSimulatedNumber + i); }

// The simulated numbers as the lines of 生成内容.
inline std::string SimulatedNumberLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += SimulatedNumber(i) + "\r\n";
    return lines;
}

// The courier site a benchmark verifies against. When
// bench/with_courier_server.sh started the native simulator
// (ZELVO_BENCH_COURIER_SERVER="<delay ms>=<port>,..."), that one: both
// builds then verify against one and the same server, and a run under Wine
// measures the program rather than a simulator under Wine beside it.
// Otherwise a simulator in this process.
class SimulatorSite {
  public:
    // Pages answered after delayMs; the first count simulated numbers have
    // their records.
    SimulatorSite(int delayMs, int count) {
        port_ = SharedPort(delayMs);
        if (port_ != 0) return;
        local_ = std::make_unique<testing::CourierSimulator>();
        local_->setDelayMs(delayMs);
        for (int i = 0; i < count; i += kRecordEvery) local_->addRecord("中通快递", SimulatedNumber(i));
        port_ = local_->port();
    }

    std::string queryUrlPrefix(std::string_view courier) const {
        return testing::CourierSimulator::QueryUrlPrefixAt(port_, courier);
    }
    CourierHosts hosts() const { return testing::CourierSimulator::HostsAt(port_); }
    // "shared" or "in-process", for the benchmark's label.
    const char* kind() const { return local_ ? "in-process" : "shared"; }

  private:
    static int SharedPort(int delayMs) {
        const char* list = std::getenv("ZELVO_BENCH_COURIER_SERVER");
        const std::string wanted = std::to_string(delayMs) + "=";
        for (std::string_view rest = list ? list : ""; !rest.empty();) {
            const std::size_t comma = rest.find(',');
            const std::string_view entry = rest.substr(0, comma);
            if (entry.substr(0, wanted.size()) == wanted)
                return std::atoi(std::string(entry.substr(wanted.size())).c_str());
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
        return 0;
    }

    std::unique_ptr<testing::CourierSimulator> local_;
    int port_ = 0;
};

}  // namespace zelvo::bench
