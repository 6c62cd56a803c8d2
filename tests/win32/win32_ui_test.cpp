// What is particular to the Win32 port: each described control is the
// native control of its kind with the described style, the result list is a
// virtual list, windows have a fixed frame of the described outer size, and
// texts reach the controls as UTF-16 through code page 936.
#include <gtest/gtest.h>

#include "forms/form.h"
#include "gbk_text.h"
#include "text_printer.h"
#include "win32_test_support.h"

namespace zelvo::testing {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

const wchar_t* NativeClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::EditBox:
            return L"Edit";
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
        EXPECT_EQ(lstrcmpiW(ClassOf(c).c_str(), NativeClass(d.kind)), 0);
        const LONG s = GetWindowLongW(c, GWL_STYLE);
        if (d.kind == ControlKind::EditBox) {
            EXPECT_EQ((s & ES_READONLY) != 0, d.readOnly);
            EXPECT_EQ((s & ES_MULTILINE) != 0, d.multiLine);
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

}  // namespace
}  // namespace zelvo::testing
