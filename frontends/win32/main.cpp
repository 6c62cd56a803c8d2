#include <string>
#include <vector>

#include "app/command_line.h"
#include "application.h"
#include "dialogs.h"
#include "gbk_text.h"
#include "win32_api.h"
#include "win32_ui.h"

namespace {

// The arguments after the program's name, in UTF-8 as the parser takes them.
std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return arguments;
    for (int i = 1; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(size > 0 ? size - 1 : 0, '\0');
        if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), size, nullptr, nullptr);
        arguments.push_back(std::move(utf8));
    }
    LocalFree(wide);
    return arguments;
}

// A GUI program has no console of its own: it writes to the one it was
// started from, to a redirected handle as GBK bytes, or else shows the text
// in a message box so that a mistake is never silent.
void Print(DWORD which, const std::string& gbk, UINT boxFlags) {
    if (gbk.empty()) return;
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        AttachConsole(ATTACH_PARENT_PROCESS);
        handle = GetStdHandle(which);
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        if (GetConsoleMode(handle, &mode)) {
            const std::wstring wide = zelvo::win32::FromGbk(gbk);
            WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
            return;
        }
        if (WriteFile(handle, gbk.data(), static_cast<DWORD>(gbk.size()), &written, nullptr)) return;
    }
    zelvo::win32::MessageBoxWithProgramIcon(nullptr, zelvo::win32::FromGbk(gbk).c_str(), L"Zelvo",
                                            boxFlags);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zelvo::CommandLine command = zelvo::parseCommandLine(Arguments());
    if (command.action == zelvo::CommandLine::Action::Exit) {
        Print(STD_OUTPUT_HANDLE, command.standardOutput, MB_ICONINFORMATION);
        Print(STD_ERROR_HANDLE, command.standardError, MB_ICONERROR);
        return command.exitCode;
    }
    zelvo::win32::Win32Ui ui;
    ui.LeaveWindowsAtExit();
    return zelvo::win32::RunProgram(ui, {}, std::move(command.ruleSource));
}
