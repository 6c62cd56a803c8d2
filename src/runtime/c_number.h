#pragma once

// Text-to-double in the "C" locale whatever locale a frontend has set, so a
// decimal point is always "."; otherwise strtod.
namespace zelvo {

double StrToDoubleC(const char* text, char** end);

}  // namespace zelvo
