#pragma once

#include <random>
#include <string>
#include <vector>

// One result row as a long verification run leaves it: a 13-digit number,
// departure times spread over a year, two departure places, one receipt.
namespace zelvo::bench {

inline std::vector<std::string> randomRow(std::mt19937& random, int ordinal) {
    std::uniform_int_distribution<int> day(1, 28);
    std::uniform_int_distribution<int> hour(0, 23);
    std::uniform_int_distribution<long long> number(1000000000000LL, 1000000999999LL);
    const std::string departure = "2011-" + std::to_string(1 + ordinal % 12) + "-" +
                                  std::to_string(day(random)) + " " + std::to_string(hour(random)) +
                                  ":30";
    return {std::to_string(ordinal),
            std::to_string(number(random)),
            departure,
            ordinal % 2 ? "北京市朝阳区" : "上海市浦东新区",
            "2011-12-31 10:00",
            "广州市"};
}

}  // namespace zelvo::bench
