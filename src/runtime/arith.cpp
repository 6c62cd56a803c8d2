#include "runtime/arith.h"

#include <climits>
#include <cmath>

#include "runtime/fatal.h"

namespace zelvo {

int IntDivide(int a, int b) {
    if (b == 0) Fatal("不能整除于零");
    // The one quotient that does not fit wraps around as 32-bit hardware would.
    if (a == INT_MIN && b == -1) return INT_MIN;
    return a / b;
}

double Remainder(double a, double b) {
    if (b == 0) Fatal("不能求余数于零");
    return std::fmod(a, b);
}

int Abs(int value) {
    // INT_MIN has no positive counterpart and stays as it is.
    return value < 0 ? static_cast<int>(0u - static_cast<unsigned>(value)) : value;
}

double Abs(double value) { return std::fabs(value); }

}  // namespace zelvo
