#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/bytes.h"
#include "runtime/datetime.h"

// Conversions never fail loudly: text to integer or number gives 0, text to
// date-time gives kNoDate.
namespace zelvo {

// Full-width digits, letters, signs and blanks become their ASCII forms.
std::string NormalizeFullWidth(std::string_view text);

int ToInteger(std::string_view text);
double ToNumber(std::string_view text);
double ToNumber(int value);

std::string ToText(int value);
std::string ToText(std::int64_t value);
std::string ToText(double value);
std::string ToText(bool value);
std::string ToText(DateTime value);
std::string ToText(BytesView bytes);           // up to the first NUL byte
std::string ToText(const char*) = delete;      // would silently become a logical

Bytes ToBytes(std::string_view text);
DateTime TextToDateTime(std::string_view text);

}  // namespace zelvo
