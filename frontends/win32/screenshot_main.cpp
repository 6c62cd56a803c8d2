// Starts the program as zelvo.exe does, saves a picture of the main window
// (its frame and title included, as the screen shows it) to the PNG file
// named on the command line, then closes the main window the way a user
// would. The exit code is the program's.
#include <cstdio>
#include <string>
#include <vector>

#include "application.h"
#include "png_file.h"
#include "win32_ui.h"

namespace {

using zelvo::win32::Win32Ui;

// The screen's pixels under the window.
bool SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgb[i * 3] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4];
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return zelvo::win32::WritePng(path, width, height, rgb);
}

Win32Ui* port = nullptr;
std::wstring target;
bool saved = false;

void CALLBACK TakePicture(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND main = port->Window(zelvo::WindowId::Main);
    if (!main) {
        PostQuitMessage(3);
        return;
    }
    saved = SaveWindowPicture(main, target);
    PostMessageW(main, WM_CLOSE, 0, 0);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) {
        std::fprintf(stderr, "usage: zelvo_screenshot <picture.png>\n");
        return 2;
    }
    wchar_t full[MAX_PATH];
    target = GetFullPathNameW(argv[1], MAX_PATH, full, nullptr) ? full : argv[1];
    LocalFree(argv);
    Win32Ui ui;
    port = &ui;
    const int exitCode = zelvo::win32::RunProgram(ui, [] {
        // Time for the window to be laid out and painted before the picture.
        SetTimer(nullptr, 0, 700, &TakePicture);
    });
    if (!saved) {
        std::fprintf(stderr, "could not save the picture\n");
        return exitCode != 0 ? exitCode : 1;
    }
    std::printf("%ls\n", target.c_str());
    return exitCode;
}
