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

// Multi-line text: the program's lines end in CR LF, a text box's in LF.
// Each CR LF becomes LF (a lone CR or LF stays as it is) ...
QString FromGbkLines(std::string_view gbk);
// ... and each LF becomes CR LF. Both take time linear in the text: a
// generation run hands over a million lines at once.
std::string ToGbkLines(const QString& text);

}  // namespace zelvo::qt
