#pragma once

namespace zelvo {

// A zero divisor ends the program with a fatal message.
int IntDivide(int a, int b);
double Remainder(double a, double b);
int Abs(int value);
double Abs(double value);

}  // namespace zelvo
