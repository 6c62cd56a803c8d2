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

}  // namespace
