#pragma once

#include <string>

#include "courier_simulator.h"

namespace zelvo::bench {

// count consecutive numbers, every tenth with a record at the simulator, as
// the lines of 生成内容.
inline std::string SimulatedNumbers(testing::CourierSimulator& simulator, int count) {
    std::string numbers;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(500000000 + i);
        if (i % 10 == 0) simulator.addRecord("中通快递", number);
        numbers += number + "\r\n";
    }
    return numbers;
}

}  // namespace zelvo::bench
