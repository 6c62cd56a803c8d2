#include "runtime/fatal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "runtime/gbk_utf8.h"

namespace zelvo {

namespace {

void WriteToStandardError(std::string_view message) {
    // The terminal expects UTF-8; raw GBK is better than nothing.
    std::string shown = GbkToUtf8(message).value_or(std::string(message));
    std::fprintf(stderr, "%s\n", shown.c_str());
}

std::atomic<FatalHandler> handler{nullptr};

}  // namespace

FatalHandler SetFatalHandler(FatalHandler next) {
    FatalHandler previous = handler.exchange(next);
    return previous ? previous : &WriteToStandardError;
}

void Fatal(std::string_view message) {
    FatalHandler show = handler.load();
    (show ? show : &WriteToStandardError)(message);
    std::fflush(nullptr);
    // Other threads may hold locks that exit handlers or destructors need, so
    // the process ends without running them.
    std::_Exit(EXIT_FAILURE);
}

}  // namespace zelvo
