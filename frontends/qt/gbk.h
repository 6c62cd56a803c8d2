#pragma once

#include <QString>
#include <string>
#include <string_view>

// The program's texts are GBK bytes; widgets hold UTF-16. These two are the
// only crossing points.
namespace zelvo::qt {

// Bytes that are not valid GBK show as U+FFFD.
QString FromGbk(std::string_view gbk);
// Characters that GBK cannot hold become "?"; set *lossless to learn of it.
std::string ToGbk(const QString& text, bool* lossless = nullptr);

}  // namespace zelvo::qt
