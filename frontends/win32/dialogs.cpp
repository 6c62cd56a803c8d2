#include "dialogs.h"

#include <vector>

#include "artwork.h"
#include "gbk_text.h"

namespace zelvo::win32 {

namespace {

enum BoxResult { kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6 };

// Runs after each window procedure call of the thread that shows a box. Once
// the box's dialog has initialised, and before it shows, it takes the
// program's icon, as every window of ours has it: the small one in the
// caption, the large one for task switching. A dialog that has an icon
// already (a box shown inside another box's loop) is left as it is.
LRESULT CALLBACK GiveBoxTheProgramIcon(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        wchar_t name[8];
        if (call->message == WM_INITDIALOG && GetClassNameW(call->hwnd, name, 8) &&
            lstrcmpW(name, L"#32770") == 0 && !SendMessageW(call->hwnd, WM_GETICON, ICON_SMALL, 0)) {
            ShowProgramIcon(call->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int MessageBoxWithProgramIcon(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
    // A hook of this thread alone, for as long as the box is up.
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &GiveBoxTheProgramIcon, nullptr,
                                   GetCurrentThreadId());
    const int result = MessageBoxW(owner, text, caption, style);
    if (hook) UnhookWindowsHookEx(hook);
    return result;
}

int ShowMessageBox(std::string_view text, int flags, std::string_view caption, HWND owner) {
    const std::wstring wideText = FromGbk(text);
    const std::wstring wideCaption = FromGbk(caption);
    UINT style = static_cast<UINT>(flags);
    if (!owner && !(style & (MB_SYSTEMMODAL | MB_TASKMODAL))) style |= MB_TASKMODAL;
    switch (MessageBoxWithProgramIcon(owner, wideText.c_str(), wideCaption.c_str(), style)) {
        case IDCANCEL:
            // The close box of a box with OK alone means OK, as on Windows
            // (Wine answers Cancel there).
            return (flags & 0xF) == MB_OK ? kOk : kCancel;
        case IDABORT:
            return kAbort;
        case IDRETRY:
            return kRetry;
        case IDIGNORE:
            return kIgnore;
        case IDYES:
            return kYes;
        case IDNO:
            return kNo;
        case IDOK:
            return kOk;
        default:  // the box could not be shown
            return UnansweredResult(flags);
    }
}

int UnansweredResult(int flags) {
    switch (flags & 0xF) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL:
            return kCancel;
        case MB_ABORTRETRYIGNORE:
            return kAbort;
        case MB_YESNO:
            return kNo;
        default:
            return kOk;
    }
}

std::string BrowseForFolder(HWND owner, std::string_view title, bool includeFiles) {
    // The new-style browser needs COM on this thread; it stays initialised.
    static const HRESULT com = OleInitialize(nullptr);
    (void)com;
    const std::wstring wideTitle = FromGbk(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE |
                   (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return {};
    // Long paths too: the buffer holds the longest path Windows allows.
    std::vector<wchar_t> path(32768, L'\0');
    const bool found = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                             GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!found || path[0] == L'\0') return {};
    std::wstring result(path.data());
    const bool driveRoot = result.size() == 3 && result[1] == L':';
    while (result.size() > 1 && !driveRoot && (result.back() == L'\\' || result.back() == L'/')) {
        result.pop_back();
    }
    bool lossless = true;
    std::string gbk = ToGbk(result, &lossless);
    return lossless ? gbk : std::string();
}

std::string ChooseFileToOpen(HWND owner, std::string_view title) {
    const std::wstring wideTitle = FromGbk(title);
    // Pairs of shown name and pattern, each ended by a NUL, the list by two.
    static const wchar_t kFilter[] = L"\u6587\u672c\u6587\u4ef6 (*.txt)\0*.txt\0"   // 文本文件
                                     L"\u6240\u6709\u6587\u4ef6 (*.*)\0*.*\0";  // 所有文件
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.lpstrDefExt = L"txt";
    // The current directory stays where it is: the filter window writes there.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog) || path[0] == L'\0') return {};
    bool lossless = true;
    std::string gbk = ToGbk(std::wstring(path.data()), &lossless);
    return lossless ? gbk : std::string();
}

}  // namespace zelvo::win32
