#include "application.h"

#include <string>

#include "app/startup.h"
#include "win32_ui.h"

namespace zelvo::win32 {

namespace {

constexpr UINT kWhenShown = WM_APP + 20;

// The current directory is the program file's folder (UTF-16, so any folder
// name works; the long form, so long paths do too).
void EnterProgramFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return;
    path.resize(length);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    path.resize(slash == 2 && path[1] == L':' ? 3 : slash);
    SetCurrentDirectoryW(path.c_str());
}

}  // namespace

int RunProgram(Win32Ui& ui, const std::function<void()>& whenShown, std::string ruleSource) {
    EnterProgramFolder();
    StartOptions options;
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
