// The courier simulator of the tests as a process of its own, for the
// benchmarks of both builds to verify against (bench/with_courier_server.sh):
// one simulator for each delay given, each with the records of the simulated
// numbers. Prints "<delay ms>=<port>,..." on one line, then serves until it is
// killed or its standard input closes.
//   bench_courier_server <numbers with records> <delay ms>...
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "simulator_site.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_courier_server <numbers> <delay ms>...\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    std::vector<std::unique_ptr<zelvo::testing::CourierSimulator>> simulators;
    std::string ports;
    for (int a = 2; a < argc; ++a) {
        auto simulator = std::make_unique<zelvo::testing::CourierSimulator>();
        simulator->setDelayMs(std::atoi(argv[a]));
        for (int i = 0; i < count; i += zelvo::bench::kRecordEvery)
            simulator->addRecord("中通快递", zelvo::bench::SimulatedNumber(i));
        ports += (ports.empty() ? "" : ",") + std::string(argv[a]) + "=" + std::to_string(simulator->port());
        simulators.push_back(std::move(simulator));
    }
    std::printf("%s\n", ports.c_str());
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
