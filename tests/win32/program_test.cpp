// zelvo.exe as a child process: it shows its main window with the title and
// ends with exit code 0 when that window is closed.
#include <gtest/gtest.h>

#include <string>

#include "gbk_text.h"
#include "win32_api.h"

namespace {

// The build gives the program's path as the host sees it; under Wine the
// host's root is drive Z:.
std::wstring ProgramPath() {
    std::wstring path = zelvo::win32::FromGbk(ZELVO_PROGRAM);
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path) {
            if (c == L'/') c = L'\\';
        }
        path = L"Z:" + path;
    }
    return path;
}

struct Search {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<Search*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[256] = L"";
    GetWindowTextW(window, title, 256);
    if (process == s->process && IsWindowVisible(window) &&
        std::wstring(title).rfind(L"Zelvo快递单号生成器V4.30版 http://", 0) == 0) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(Win32Program, ShowsTheMainWindowAndEndsWithCodeZeroWhenItIsClosed) {
    std::wstring command = L"\"" + ProgramPath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &child));
    Search search{child.dwProcessId};
    for (int i = 0; i < 600 && !search.found; ++i) {
        EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    EXPECT_NE(search.found, nullptr) << "no main window appeared";
    if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(child.hProcess, search.found ? 30000 : 0);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program did not end";
    EXPECT_EQ(code, 0u);
}

// A mistake on the command line ends the program with code 2 and one line
// on standard error, before any window opens. The pipe is read only after
// the child has ended (or been ended), so a child that opens a window
// instead fails the test rather than hanging it.
TEST(Win32Program, AMissingRulesFileEndsWithCodeTwoAndOneLineOnStandardError) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 16));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring command = L"\"" + ProgramPath() + L"\" --rules Z:\\no\\such\\file";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &child);
    CloseHandle(writeEnd);
    if (!started) CloseHandle(readEnd);
    ASSERT_TRUE(started);
    const DWORD waited = WaitForSingleObject(child.hProcess, 30000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    std::string output;
    char buffer[512];
    DWORD available = 0;
    DWORD got = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        output.append(buffer, got);
    }
    CloseHandle(readEnd);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program did not end";
    EXPECT_EQ(code, 2u);
    EXPECT_EQ(output.rfind("zelvo: ", 0), 0u) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
}

}  // namespace
