#pragma once

#include <string_view>

namespace zelvo {

// Shows a fatal message (GBK text). A frontend installs one that puts up a
// message box; the process ends once it returns.
using FatalHandler = void (*)(std::string_view message);

// Installs the handler; nullptr restores the default, which writes the
// message to standard error. Returns the handler that was installed before.
FatalHandler SetFatalHandler(FatalHandler handler);

// Shows the message through the handler, then ends the process with a
// non-zero exit code.
[[noreturn]] void Fatal(std::string_view message);

}  // namespace zelvo
