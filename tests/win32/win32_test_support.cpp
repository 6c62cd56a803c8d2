#include "win32_test_support.h"

#include <algorithm>
#include <utility>

#include "gbk_text.h"

namespace zelvo::testing {

namespace {

DialogAnswerer* active = nullptr;

void SendMouse(DWORD flags, POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

struct Found {
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16];
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0) {
        reinterpret_cast<Found*>(found)->boxes.push_back(window);
    }
    return TRUE;
}

}  // namespace

bool ServeUntil(const std::function<bool()>& done, int limitMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done();
            }
            win32::DispatchUiMessage(message);
        }
        if (done()) return true;
        if (GetTickCount64() - start > static_cast<ULONGLONG>(limitMs)) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void ClickAt(POINT screen, bool twice) {
    SendMouse(MOUSEEVENTF_MOVE, screen);
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
        SendMouse(MOUSEEVENTF_LEFTUP, screen);
    }
    // Let the window system hand the clicks over before the caller looks.
    ServeUntil([] { return false; }, 30);
}

void RaiseWindowOf(HWND control) {
    HWND top = GetAncestor(control, GA_ROOT);
    if (!top || !IsWindowEnabled(top)) return;
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(top);
    ServeUntil([] { return false; }, 20);
}

void ClickControl(HWND control) {
    RaiseWindowOf(control);
    RECT r;
    GetWindowRect(control, &r);
    ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void TypeInto(HWND box, std::string_view text) {
    HWND top = GetAncestor(box, GA_ROOT);
    if (!IsWindowEnabled(top) || !IsWindowEnabled(box)) return;
    SetForegroundWindow(top);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    std::vector<INPUT> keys;
    for (char c : text) {
        for (DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)}) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
            key.ki.dwFlags = KEYEVENTF_UNICODE | up;
            keys.push_back(key);
        }
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    ServeUntil([] { return false; }, 30);
}

std::vector<HWND> FindDialogs() {
    Found found;
    EnumWindows(&CollectBoxes, reinterpret_cast<LPARAM>(&found));
    return found.boxes;
}

void CloseByUser(HWND window) {
    if (window && IsWindowEnabled(window)) PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

DialogAnswerer::DialogAnswerer(win32::Win32Ui& ui) : ui_(ui) {
    active = this;
    timer_ = SetTimer(nullptr, 0, 5, &DialogAnswerer::OnTimer);
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    active = nullptr;
}

void CALLBACK DialogAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (active) active->Poll();
}

void DialogAnswerer::Queue(Answer answer, std::function<void()> whileShown) {
    answers_.push_back({answer, std::move(whileShown)});
}

void DialogAnswerer::WhenModal(WindowId window, std::function<void()> inside) {
    modal_ = window;
    inside_ = std::move(inside);
}

void DialogAnswerer::Poll() {
    if (polling_) return;
    polling_ = true;
    if (inside_) {
        HWND window = ui_.Window(modal_);
        HWND main = ui_.Window(WindowId::Main);
        if (window && IsWindowVisible(window) && (!main || main == window || !IsWindowEnabled(main))) {
            std::function<void()> inside = std::exchange(inside_, nullptr);
            polling_ = false;  // inside serves the windows, and boxes may come up
            inside();
            return;
        }
    }
    for (HWND box : FindDialogs()) {
        if (std::find(seen_.begin(), seen_.end(), box) == seen_.end()) {
            seen_.push_back(box);
            shown_.push_back({win32::ToGbk(TextOf(GetDlgItem(box, 0xFFFF))), win32::ToGbk(TextOf(box))});
        }
        if (answers_.empty() || std::find(answered_.begin(), answered_.end(), box) != answered_.end()) {
            continue;
        }
        answered_.push_back(box);
        Queued next = std::move(answers_.front());
        answers_.pop_front();
        if (next.whileShown) next.whileShown();
        if (next.answer == Answer::CloseBox) {
            PostMessageW(box, WM_CLOSE, 0, 0);
        } else {
            const int id = next.answer == Answer::Ok    ? IDOK
                           : next.answer == Answer::Yes ? IDYES
                           : next.answer == Answer::No  ? IDNO
                                                        : IDCANCEL;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
        }
    }
    polling_ = false;
}

}  // namespace zelvo::testing
