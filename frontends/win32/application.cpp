#include "application.h"

#include <string>

#include "app/startup.h"
#include "runtime/working_folder.h"
#include "win32_ui.h"

namespace zelvo::win32 {

namespace {

constexpr UINT kWhenShown = WM_APP + 20;

}  // namespace

int RunProgram(Win32Ui& ui, const std::function<void()>& whenShown, std::string ruleSource) {
    StartOptions options;
    options.programFolder = ProgramFolder();
    options.userFolder = UserFolder();
    options.ruleSource = std::move(ruleSource);
    options.onExit = [](int exitCode) { PostQuitMessage(exitCode); };
    std::unique_ptr<Program> program = startProgram(ui, std::move(options));
    if (whenShown) PostThreadMessageW(GetCurrentThreadId(), kWhenShown, 0, 0);
    int exitCode = 0;
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) break;
        if (!message.hwnd && message.message == kWhenShown) {
            whenShown();
            continue;
        }
        DispatchUiMessage(message);
    }
    program.reset();
    return exitCode;
}

}  // namespace zelvo::win32
