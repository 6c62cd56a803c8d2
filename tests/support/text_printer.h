#pragma once

#include <ostream>
#include <string>
#include <string_view>

// GoogleTest shows texts (GBK byte strings) as their hex bytes and their
// Unicode form, so a failing comparison of Chinese texts can be read.
namespace zelvo::testing {

// The text decoded from GBK to UTF-8; bytes that do not decode show as \xNN.
std::string GbkToUtf8ForDisplay(std::string_view gbk);
void PrintText(std::string_view text, std::ostream* os);

}  // namespace zelvo::testing

#include <gtest/gtest-printers.h>

// GoogleTest's own printer for std::string would show escaped bytes.
namespace testing::internal {
template <>
class UniversalPrinter<std::string> {
public:
    static void Print(const std::string& text, std::ostream* os) {
        zelvo::testing::PrintText(text, os);
    }
};
}  // namespace testing::internal
