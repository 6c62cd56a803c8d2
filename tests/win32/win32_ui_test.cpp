// What is particular to the Win32 port: each described control is the
// native control of its kind with the described style, the result list is a
// virtual list, windows have a fixed frame of the described outer size, and
// texts reach the controls as UTF-16 through code page 936; message boxes
// carry the program's icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "forms/form.h"
#include "centred_edit.h"
#include "gbk_text.h"
#include "text_printer.h"
#include "text_view.h"
#include "win32_test_support.h"

namespace zelvo::testing {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

const wchar_t* NativeClass(const ControlDesc& d) {
    switch (d.kind) {
        case ControlKind::EditBox:
            // Boxes one types many lines into are the program's own text view;
            // single-line boxes an edit class of ours that centres the text.
            if (!d.multiLine) return win32::kCentredEditClass;
            return d.readOnly ? L"Edit" : win32::kTextViewClass;
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::GroupBox:
            return L"Button";
        case ControlKind::ProgressBar:
            return PROGRESS_CLASSW;
        case ControlKind::DatePicker:
            return DATETIMEPICK_CLASSW;
        case ControlKind::ListView:
            return WC_LISTVIEWW;
        case ControlKind::TabControl:
            return WC_TABCONTROLW;
        default:
            return L"Static";
    }
}

class Win32UiTest : public ::testing::TestWithParam<WindowId> {
  protected:
    ~Win32UiTest() override { ui_.Shutdown(); }
    win32::Win32Ui ui_;
};

TEST_P(Win32UiTest, EveryControlIsTheNativeOneWithTheDescribedStyle) {
    const WindowDesc& form = FormOf(GetParam());
    ASSERT_TRUE(ui_.LoadWindow(GetParam(), false));
    HWND window = ui_.Window(GetParam());
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "fixed border";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, form.minimizeBox);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, form.width);
    EXPECT_EQ(outer.bottom - outer.top, form.height);

    for (const ControlDesc& d : form.controls) {
        SCOPED_TRACE(GbkToUtf8ForDisplay(d.name));
        HWND c = ui_.ControlWindow(GetParam(), d.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(lstrcmpiW(ClassOf(c).c_str(), NativeClass(d)), 0);
        const LONG s = GetWindowLongW(c, GWL_STYLE);
        if (d.kind == ControlKind::EditBox) {
            EXPECT_EQ((s & ES_READONLY) != 0, d.readOnly);
            if (!d.multiLine || d.readOnly) {
                EXPECT_EQ((s & ES_MULTILINE) != 0, d.multiLine);
            }
            EXPECT_EQ((s & WS_VSCROLL) != 0, d.verticalScroll);
        }
        if (d.kind == ControlKind::ListView) {
            // Virtual: the control keeps no texts and asks for painted rows.
            EXPECT_TRUE(s & LVS_OWNERDATA);
            EXPECT_TRUE(s & LVS_SINGLESEL);
            EXPECT_EQ(s & LVS_TYPEMASK, LVS_REPORT);
            EXPECT_TRUE(ListView_GetExtendedListViewStyle(c) & LVS_EX_FULLROWSELECT);
            EXPECT_FALSE(ListView_GetExtendedListViewStyle(c) & LVS_EX_GRIDLINES);
        }
    }
}

// A control hidden behind a sibling cannot be found by a user: at the centre
// of every shown control the control itself takes the click, and no sibling
// that overlaps it may paint there.
TEST_P(Win32UiTest, EveryShownControlIsOnTopAtItsCentre) {
    const WindowDesc& form = FormOf(GetParam());
    ASSERT_TRUE(ui_.LoadWindow(GetParam(), false));
    ServeUntil([] { return false; }, 50);
    for (const ControlDesc& d : form.controls) {
        if (d.kind == ControlKind::GroupBox || d.kind == ControlKind::TabControl) continue;
        HWND c = ui_.ControlWindow(GetParam(), d.name);
        if (!IsWindowVisible(c)) continue;  // on a page not shown
        SCOPED_TRACE(GbkToUtf8ForDisplay(d.name));
        HWND host = GetParent(c);
        RECT r{};
        GetWindowRect(c, &r);
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        POINT onHost = centre;
        ScreenToClient(host, &onHost);
        EXPECT_EQ(ChildWindowFromPointEx(host, onHost, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT), c);
        for (HWND s = GetWindow(host, GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
            RECT sr{};
            GetWindowRect(s, &sr);
            if (s == c || !IsWindowVisible(s) || !PtInRect(&sr, centre)) continue;
            POINT onSibling = centre;
            ScreenToClient(s, &onSibling);
            HDC dc = GetDC(s);
            EXPECT_FALSE(PtVisible(dc, onSibling.x, onSibling.y)) << "a sibling paints over it";
            ReleaseDC(s, dc);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, Win32UiTest,
                         ::testing::Values(WindowId::Main, WindowId::Filter,
                                           WindowId::ReferenceTemplates, WindowId::RecentNumbers));

TEST(Win32Texts, GbkCrossesToTheControlsAsUtf16AndBack) {
    win32::Win32Ui ui;
    ASSERT_TRUE(ui.LoadWindow(WindowId::Main, false));
    // Two-byte GBK characters, a GBK-only symbol and ASCII.
    const std::string text = "快递≤≌≥abc";
    ui.SetText(WindowId::Main, "规则", text);
    wchar_t shown[64] = L"";
    GetWindowTextW(ui.ControlWindow(WindowId::Main, "规则"), shown, 64);
    EXPECT_EQ(std::wstring(shown), L"快递≤≌≥abc");
    EXPECT_EQ(ui.GetText(WindowId::Main, "规则"), text);
    // A character GBK cannot hold comes back as "?", never as a look-alike.
    SetWindowTextW(ui.ControlWindow(WindowId::Main, "规则"), L"\u0E011");
    EXPECT_EQ(ui.GetText(WindowId::Main, "规则"), "?1");
    ui.Shutdown();
}

// A box carries the program's icon in its caption, as the windows do, shown
// by the user-interface thread (no owner) or by a worker (owned by the main
// window) alike.
TEST(Win32MessageBox, CarriesTheProgramIconInItsCaption) {
    win32::Win32Ui ui;
    ASSERT_TRUE(ui.LoadWindow(WindowId::Main, false));
    const auto programIcon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    ASSERT_NE(programIcon, nullptr);
    DialogAnswerer user(ui);
    for (const bool fromWorker : {false, true}) {
        HICON shown = nullptr;
        user.Queue(DialogAnswerer::Answer::Ok, [&] {
            for (HWND box : FindDialogs()) {
                shown = reinterpret_cast<HICON>(SendMessageW(box, WM_GETICON, ICON_SMALL, 0));
            }
        });
        std::atomic<int> result{-1};
        if (fromWorker) {
            std::thread worker([&] { result = ui.MessageBox("全部效验完毕", kIconInformation, "提示"); });
            if (!ServeUntil([&] { return result != -1; })) ui.CloseWindow(WindowId::Main);
            worker.join();
        } else {
            result = ui.MessageBox("全部效验完毕", kIconInformation, "提示");
        }
        EXPECT_EQ(result, kResultOk);
        EXPECT_EQ(shown, programIcon) << (fromWorker ? "from a worker" : "on the UI thread");
    }
    ui.Shutdown();
}

// Keys as the keyboard gives them: a virtual key with Ctrl held, or one
// character (any, Chinese too) as an input method hands it over.
void PressKey(WORD key, bool control = false) {
    std::vector<INPUT> keys;
    auto add = [&](WORD vk, DWORD up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up;
        keys.push_back(input);
    };
    if (control) add(VK_CONTROL, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (control) add(VK_CONTROL, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    ServeUntil([] { return false; }, 30);
}

void TypeCharacter(wchar_t c) {
    INPUT keys[2]{};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = c;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    ServeUntil([] { return false; }, 30);
}

std::wstring Clipboard() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

void SetClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// The generation box as a user edits it: 100,000 pasted lines read back byte
// for byte, typing (Chinese too), Enter and Backspace change it where the
// caret is, and the whole text copies out as it is.
TEST(Win32GenerationBox, PastedTypedAndCopiedLinesKeepEveryByte) {
    win32::Win32Ui ui;
    ASSERT_TRUE(ui.LoadWindow(WindowId::Main, false));
    HWND box = ui.ControlWindow(WindowId::Main, "生成内容");
    std::string lines;
    for (int i = 0; i < 100000; ++i) {
        lines += "26892845311" + std::to_string(111111 + i) + (i % 7 ? "" : "快递≤≌≥") + "\r\n";
    }
    SetClipboard(win32::FromGbk(lines));
    SetForegroundWindow(ui.Window(WindowId::Main));
    SetFocus(box);
    PressKey('A', true);
    PressKey('V', true);
    EXPECT_TRUE(ServeUntil([&] { return ui.GetText(WindowId::Main, "生成内容") == lines; }, 5000));

    const int end = GetWindowTextLengthW(box);
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    TypeCharacter(L'快');
    PressKey(VK_RETURN);
    TypeCharacter(L'x');
    PressKey(VK_BACK);
    PressKey(VK_LEFT);
    TypeCharacter(L'9');
    EXPECT_EQ(ui.GetText(WindowId::Main, "生成内容"), lines + "快9\r\n");

    PressKey('A', true);
    PressKey('C', true);
    EXPECT_EQ(Clipboard(), win32::FromGbk(lines + "快9\r\n"));
    ui.Shutdown();
}

}  // namespace
}  // namespace zelvo::testing
