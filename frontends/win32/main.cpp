#include "application.h"
#include "win32_ui.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zelvo::win32::Win32Ui ui;
    return zelvo::win32::RunProgram(ui);
}
