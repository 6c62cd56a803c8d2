#include "win32_ui.h"

#include <algorithm>

#include "date_value.h"
#include "dialogs.h"
#include "forms/form.h"
#include "gbk_text.h"
#include "window_builder.h"

namespace zelvo::win32 {

struct Win32Ui::OpenWindow {
    WindowId id{};
    std::unique_ptr<BuiltWindow> built;
    unsigned serial = 0;
    bool closing = false;
    // Windows that this modal window disabled, given back when it closes.
    std::vector<HWND> disabled;
};

namespace {

bool BindsWindowEvent(const WindowDesc& desc, EventKind kind) {
    return std::any_of(desc.events.begin(), desc.events.end(),
                       [kind](const EventBinding& b) { return b.kind == kind; });
}

unsigned NextSerial() {
    static unsigned serial = 0;
    return ++serial;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return text;
}

bool HasStyle(HWND window, LONG style) { return (GetWindowLongW(window, GWL_STYLE) & style) != 0; }

bool IsListView(HWND window) {
    wchar_t name[32];
    return GetClassNameW(window, name, 32) && lstrcmpiW(name, WC_LISTVIEWW) == 0;
}

BOOL CALLBACK CloseThreadWindow(HWND window, LPARAM) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void DispatchUiMessage(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && BuiltWindowOf(root)) {
        // Enter on a list row activates it; the dialog keys would take it.
        const bool enterOnList = message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
                                 IsListView(message.hwnd);
        if (!enterOnList && IsDialogMessageW(root, &message)) return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

Win32Ui::Win32Ui() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                         ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                                         ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
}

Win32Ui::~Win32Ui() {
    Shutdown();
    windows_.clear();
    // The process ends with them (see LeaveWindowsAtExit).
    for (std::unique_ptr<OpenWindow>& left : leftAtExit_) (void)left.release();
}

void Win32Ui::SetEventHandler(UiEventHandler handler) { handler_ = std::move(handler); }

template <class R, class F>
R Win32Ui::Call(R fallback, F&& work) {
    if (calls_.OnUiThread()) return work();
    R result = fallback;
    calls_.Run([&] { result = work(); });
    return result;
}

template <class F>
void Win32Ui::Call(F&& work) {
    if (calls_.OnUiThread()) {
        work();
    } else {
        calls_.Run(work);
    }
}

void Win32Ui::Shutdown() {
    calls_.Shutdown();
    std::lock_guard lock(workerBoxesMutex_);
    for (DWORD thread : workerBoxThreads_) EnumThreadWindows(thread, &CloseThreadWindow, 0);
}

Win32Ui::OpenWindow* Win32Ui::Find(WindowId window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

BuiltControl* Win32Ui::Control(WindowId window, std::string_view name) const {
    OpenWindow* open = Find(window);
    return open ? open->built->Find(name) : nullptr;
}

HWND Win32Ui::Window(WindowId window) const {
    OpenWindow* open = Find(window);
    return open ? open->built->hwnd : nullptr;
}

HWND Win32Ui::ControlWindow(WindowId window, std::string_view control) const {
    BuiltControl* c = Control(window, control);
    return c ? c->hwnd : nullptr;
}

void Win32Ui::Dispatch(WindowId window, std::string_view control, EventKind kind, int arg) {
    if (kind == EventKind::HeaderClicked) {
        // The header sends its click while it still holds the mouse capture,
        // which it lets go only when the notification returns: a handler that
        // serves the windows meanwhile (a sort waiting for the workers of a
        // run) would send every click of the user, 停止验证 too, to the
        // header. The handler runs once the header is done.
        const unsigned serial = Find(window) ? Find(window)->serial : 0;
        calls_.Post([this, window, serial, name = std::string(control), arg] {
            OpenWindow* open = Find(window);
            if (open && open->serial == serial && handler_) {
                handler_(UiEvent{window, name, EventKind::HeaderClicked, arg});
            }
        });
        return;
    }
    if (handler_) handler_(UiEvent{window, std::string(control), kind, arg});
}

// ---- windows ---------------------------------------------------------------

bool Win32Ui::LoadWindow(WindowId window, bool modal) {
    if (!calls_.OnUiThread()) return Call(false, [&] { return LoadWindow(window, modal); });

    if (OpenWindow* open = Find(window)) {
        HWND hwnd = open->built->hwnd;
        ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(hwnd);
        BringWindowToTop(hwnd);
        return true;
    }

    const WindowDesc& desc = FormOf(window);
    auto open = std::make_unique<OpenWindow>();
    open->id = window;
    open->serial = NextSerial();
    open->built = BuildWindow(desc, [this, window](std::string_view control, EventKind kind, int arg) {
        Dispatch(window, control, kind, arg);
    });
    BuiltWindow& built = *open->built;
    const HWND hwnd = built.hwnd;
    const unsigned serial = open->serial;
    built.onCloseRequested = [this, window] { DestroyWindowOf(window); };
    if (BindsWindowEvent(desc, EventKind::FirstActivated)) {
        built.onFirstActivated = [this, window] {
            if (Find(window)) Dispatch(window, {}, EventKind::FirstActivated, 0);
        };
    }
    // A modal window stays in front of the main window it disables.
    if (HWND main = Window(WindowId::Main); modal && main) {
        SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(main));
    }
    windows_[window] = std::move(open);

    if (BindsWindowEvent(desc, EventKind::Created)) Dispatch(window, {}, EventKind::Created, 0);
    // The created event may have closed the window again.
    auto stillOpen = [&] {
        OpenWindow* current = Find(window);
        return current && current->serial == serial ? current : nullptr;
    };
    OpenWindow* current = stillOpen();
    if (!current) return true;

    if (modal) {
        for (auto& [id, other] : windows_) {
            HWND otherWindow = other->built->hwnd;
            if (id != window && IsWindowEnabled(otherWindow)) {
                EnableWindow(otherWindow, FALSE);
                current->disabled.push_back(otherWindow);
            }
        }
    }
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    if (modal) {
        MSG message;
        while (stillOpen()) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) {
                // The program ends: the outer loop must see the quit too.
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (got < 0) break;
            DispatchUiMessage(message);
        }
    }
    return true;
}

void Win32Ui::DestroyWindowOf(WindowId window) {
    OpenWindow* open = Find(window);
    if (!open || open->closing) return;
    open->closing = true;
    const bool main = window == WindowId::Main;
    // Worker threads must not wait for windows that are going away; the exit
    // clean-up may be waiting for them.
    if (main) Shutdown();
    if (BindsWindowEvent(*open->built->desc, EventKind::AboutToBeDestroyed)) {
        Dispatch(window, {}, EventKind::AboutToBeDestroyed, 0);
    }
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    std::unique_ptr<OpenWindow> gone = std::move(it->second);
    windows_.erase(it);
    // Given back before the window goes, so that Windows activates one of
    // the program's windows next.
    for (HWND other : gone->disabled) {
        if (IsWindow(other)) EnableWindow(other, TRUE);
    }
    if (main) ending_ = true;
    if (leaveWindowsAtExit_ && ending_) {
        leftAtExit_.push_back(std::move(gone));
    } else {
        gone.reset();
    }
    // Wakes a modal loop that waits for this window.
    PostMessageW(nullptr, WM_NULL, 0, 0);
    if (main) {
        // The other windows' contents are discarded with the program.
        while (!windows_.empty()) DestroyWindowOf(windows_.begin()->first);
    }
}

void Win32Ui::CloseWindow(WindowId window) {
    Call([&] { DestroyWindowOf(window); });
}

bool Win32Ui::IsWindowOpen(WindowId window) {
    return Call(false, [&] { return Find(window) != nullptr; });
}

int Win32Ui::WindowLeft(WindowId window) {
    return Call(0, [&] {
        RECT r{};
        if (HWND hwnd = Window(window)) GetWindowRect(hwnd, &r);
        return static_cast<int>(r.left);
    });
}

int Win32Ui::WindowTop(WindowId window) {
    return Call(0, [&] {
        RECT r{};
        if (HWND hwnd = Window(window)) GetWindowRect(hwnd, &r);
        return static_cast<int>(r.top);
    });
}

void Win32Ui::MoveWindow(WindowId window, int left, int top) {
    Call([&] {
        if (HWND hwnd = Window(window)) {
            SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    });
}

// ---- control values ----------------------------------------------------------

std::string Win32Ui::GetText(WindowId window, std::string_view control) {
    return Call(std::string(), [&]() -> std::string {
        if (control.empty()) {
            HWND hwnd = Window(window);
            return hwnd ? ToGbk(WindowText(hwnd)) : std::string();
        }
        BuiltControl* c = Control(window, control);
        if (!c) return {};
        switch (c->desc->kind) {
            case ControlKind::EditBox:
            case ControlKind::Label:
            case ControlKind::Button:
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
            case ControlKind::GroupBox:
                return ToGbk(WindowText(c->hwnd));
            case ControlKind::WebView:
                return c->address;
            default:
                return {};
        }
    });
}

void Win32Ui::SetText(WindowId window, std::string_view control, std::string_view text) {
    Call([&] {
        if (control.empty()) {
            if (HWND hwnd = Window(window)) SetWindowTextW(hwnd, FromGbk(text).c_str());
            return;
        }
        BuiltControl* c = Control(window, control);
        if (!c) return;
        switch (c->desc->kind) {
            case ControlKind::EditBox:
                SetWindowTextW(c->hwnd, FromGbk(text).c_str());
                SendMessageW(c->hwnd, EM_SETSEL, 0, 0);
                break;
            case ControlKind::WebView:
                c->address = std::string(text);
                SetWindowTextW(c->hwnd, FromGbk(text).c_str());
                break;
            case ControlKind::Label:
            case ControlKind::Button:
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
            case ControlKind::GroupBox:
                SetWindowTextW(c->hwnd, FromGbk(text).c_str());
                break;
            default:
                break;
        }
    });
}

void Win32Ui::AppendText(WindowId window, std::string_view control, std::string_view text) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::EditBox) return;
        const int end = GetWindowTextLengthW(c->hwnd);
        SendMessageW(c->hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(c->hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(FromGbk(text).c_str()));
        SendMessageW(c->hwnd, EM_SCROLLCARET, 0, 0);
    });
}

bool Win32Ui::IsEnabled(WindowId window, std::string_view control) {
    return Call(false, [&] {
        if (control.empty()) {
            HWND hwnd = Window(window);
            // Under a modal window or a message box the window is disabled.
            return hwnd && IsWindowEnabled(hwnd) != FALSE;
        }
        BuiltControl* c = Control(window, control);
        return c && !HasStyle(c->hwnd, WS_DISABLED);
    });
}

void Win32Ui::SetEnabled(WindowId window, std::string_view control, bool enabled) {
    Call([&] {
        if (control.empty()) {
            if (HWND hwnd = Window(window)) EnableWindow(hwnd, enabled);
        } else if (BuiltControl* c = Control(window, control)) {
            EnableWindow(c->hwnd, enabled);
        }
    });
}

bool Win32Ui::IsVisible(WindowId window, std::string_view control) {
    return Call(false, [&] {
        if (control.empty()) {
            HWND hwnd = Window(window);
            return hwnd && IsWindowVisible(hwnd) != FALSE;
        }
        BuiltControl* c = Control(window, control);
        return c && HasStyle(c->hwnd, WS_VISIBLE);
    });
}

void Win32Ui::SetVisible(WindowId window, std::string_view control, bool visible) {
    Call([&] {
        HWND hwnd = control.empty() ? Window(window) : ControlWindow(window, control);
        if (hwnd) ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
    });
}

bool Win32Ui::IsChecked(WindowId window, std::string_view control) {
    return Call(false, [&] {
        BuiltControl* c = Control(window, control);
        if (!c || (c->desc->kind != ControlKind::CheckBox && c->desc->kind != ControlKind::RadioButton)) {
            return false;
        }
        return SendMessageW(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    });
}

void Win32Ui::SetChecked(WindowId window, std::string_view control, bool checked) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c) return;
        const ControlKind kind = c->desc->kind;
        if (kind != ControlKind::CheckBox && kind != ControlKind::RadioButton) return;
        // The radio buttons of a window are one group: exactly one checked.
        if (kind == ControlKind::RadioButton && checked) {
            for (BuiltControl* other : Find(window)->built->order) {
                if (other != c && other->desc->kind == ControlKind::RadioButton) {
                    SendMessageW(other->hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
                }
            }
        }
        SendMessageW(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    });
}

int Win32Ui::ProgressMax(WindowId window, std::string_view control) {
    return Call(0, [&] {
        BuiltControl* c = Control(window, control);
        return c && c->desc->kind == ControlKind::ProgressBar ? c->progressMaximum : 0;
    });
}

namespace {

// The bar is told a new position only when its filled part changes by a
// pixel: a filter pass sets the position once per row, and every change the
// bar is told of repaints it.
void ShowProgress(BuiltControl& c) {
    RECT area{};
    GetClientRect(c.hwnd, &area);
    const int drawn = MulDiv(c.progressPosition, std::max(1, static_cast<int>(area.right)),
                             std::max(1, c.progressMaximum));
    if (drawn == c.progressDrawn) return;
    c.progressDrawn = drawn;
    SendMessageW(c.hwnd, PBM_SETPOS, static_cast<WPARAM>(c.progressPosition), 0);
}

}  // namespace

void Win32Ui::SetProgressMax(WindowId window, std::string_view control, int max) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::ProgressBar) return;
        c->progressMaximum = std::max(0, max);
        c->progressPosition = std::clamp(c->progressPosition, 0, c->progressMaximum);
        // A range of 0..0 is kept as 0..1, so an empty run leaves the bar empty.
        SendMessageW(c->hwnd, PBM_SETRANGE32, 0, std::max(1, c->progressMaximum));
        c->progressDrawn = -1;
        ShowProgress(*c);
    });
}

int Win32Ui::ProgressPos(WindowId window, std::string_view control) {
    return Call(0, [&] {
        BuiltControl* c = Control(window, control);
        return c && c->desc->kind == ControlKind::ProgressBar ? c->progressPosition : 0;
    });
}

void Win32Ui::SetProgressPos(WindowId window, std::string_view control, int pos) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        // Out of range the position stops at the nearer end, as the bar does.
        if (!c || c->desc->kind != ControlKind::ProgressBar) return;
        c->progressPosition = std::clamp(pos, 0, c->progressMaximum);
        ShowProgress(*c);
    });
}

DateTime Win32Ui::DateValue(WindowId window, std::string_view control) {
    return Call(kNoDate, [&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::DatePicker) return kNoDate;
        SYSTEMTIME picked{};
        if (SendMessageW(c->hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) != GDT_VALID) {
            return kNoDate;
        }
        // The picker shows the date; the time of day is the one it was set with.
        picked.wHour = c->timeOfDay.wHour;
        picked.wMinute = c->timeOfDay.wMinute;
        picked.wSecond = c->timeOfDay.wSecond;
        return FromSystemTime(picked);
    });
}

void Win32Ui::SetDateValue(WindowId window, std::string_view control, DateTime value) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::DatePicker) return;
        SYSTEMTIME time = ToSystemTime(value);
        c->timeOfDay = time;
        SendMessageW(c->hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    });
}

int Win32Ui::CurrentPage(WindowId window, std::string_view control) {
    return Call(-1, [&] {
        BuiltControl* c = Control(window, control);
        return c && c->desc->kind == ControlKind::TabControl ? TabCtrl_GetCurSel(c->hwnd) : -1;
    });
}

void Win32Ui::SetCurrentPage(WindowId window, std::string_view control, int page) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::TabControl) return;
        if (page < 0 || page >= static_cast<int>(c->pages.size()) || page == TabCtrl_GetCurSel(c->hwnd)) {
            return;
        }
        // Switching by program is no user choice: no event.
        TabCtrl_SetCurSel(c->hwnd, page);
        ShowPage(*c, page);
    });
}

// ---- list views --------------------------------------------------------------

#define ZELVO_ROWS(window, list) \
    BuiltControl* c = Control(window, list); \
    ListRows* rows = c ? c->rows.get() : nullptr

int Win32Ui::ListInsert(WindowId window, std::string_view list, int position, std::string_view title,
                        int image, int stateImage, int indent, int value) {
    return Call(-1, [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->Insert(position, title, image, stateImage, indent, value) : -1;
    });
}

std::string Win32Ui::ListGetText(WindowId window, std::string_view list, int row, int column) {
    return Call(std::string(), [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->Text(row, column) : std::string();
    });
}

void Win32Ui::ListSetText(WindowId window, std::string_view list, int row, int column,
                          std::string_view text) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->SetText(row, column, text);
    });
}

int Win32Ui::ListGetImage(WindowId window, std::string_view list, int row, int column) {
    return Call(-1, [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->Image(row, column) : -1;
    });
}

void Win32Ui::ListSetImage(WindowId window, std::string_view list, int row, int column, int image) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->SetImage(row, column, image);
    });
}

int Win32Ui::ListGetStateImage(WindowId window, std::string_view list, int row) {
    return Call(-1, [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->StateImage(row) : -1;
    });
}

void Win32Ui::ListSetStateImage(WindowId window, std::string_view list, int row, int image) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->SetStateImage(row, image);
    });
}

int Win32Ui::ListGetData(WindowId window, std::string_view list, int row) {
    return Call(0, [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->Value(row) : 0;
    });
}

void Win32Ui::ListSetData(WindowId window, std::string_view list, int row, int value) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->SetValue(row, value);
    });
}

int Win32Ui::ListCount(WindowId window, std::string_view list) {
    return Call(0, [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->Count() : 0;
    });
}

int Win32Ui::ListColumnCount(WindowId window, std::string_view list) {
    return Call(0, [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->Columns() : 0;
    });
}

void Win32Ui::ListDelete(WindowId window, std::string_view list, int row) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->Remove(row);
    });
}

void Win32Ui::ListClear(WindowId window, std::string_view list) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->Clear();
    });
}

void Win32Ui::ListEnsureVisible(WindowId window, std::string_view list, int row) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->EnsureVisible(row);
    });
}

int Win32Ui::ListCurrentRow(WindowId window, std::string_view list) {
    return Call(-1, [&] {
        ZELVO_ROWS(window, list);
        return rows ? rows->CurrentRow() : -1;
    });
}

void Win32Ui::ListSetCurrentRow(WindowId window, std::string_view list, int row) {
    Call([&] {
        ZELVO_ROWS(window, list);
        if (rows) rows->SetCurrentRow(row);
    });
}

#undef ZELVO_ROWS

// ---- dialogs -------------------------------------------------------------------

int Win32Ui::MessageBox(std::string_view text, int flags, std::string_view caption) {
    if (std::optional<int> answer = TakeMessageBoxAnswer(text, flags, caption)) return *answer;
    if (calls_.OnUiThread()) return ShowMessageBox(text, flags, caption);
    return ShowMessageBoxForWorker(text, flags, caption);
}

int Win32Ui::ShowMessageBoxForWorker(std::string_view text, int flags, std::string_view caption) {
    // The box belongs to the worker: only it waits. Owned by the main window,
    // it keeps the user from the windows until answered, as every box does.
    const DWORD thread = GetCurrentThreadId();
    const HWND owner = Call(HWND{nullptr}, [&] { return Window(WindowId::Main); });
    {
        std::lock_guard lock(workerBoxesMutex_);
        if (calls_.IsShutDown()) return UnansweredResult(flags);
        workerBoxThreads_.insert(thread);
    }
    const int result = ShowMessageBox(text, flags, caption, owner);
    std::lock_guard lock(workerBoxesMutex_);
    workerBoxThreads_.erase(thread);
    return calls_.IsShutDown() ? UnansweredResult(flags) : result;
}

std::string Win32Ui::BrowseFolder(std::string_view title, bool includeFiles) {
    if (std::optional<std::string> answer = TakeBrowseAnswer(title)) return *answer;
    return Call(std::string(), [&] {
        // Where a file is to be read, the file-open dialog: the folder
        // browser's file view cannot hand a file back under Wine, and a
        // file is what the user looks for there.
        if (includeFiles) return ChooseFileToOpen(GetActiveWindow(), title);
        return BrowseForFolder(GetActiveWindow(), title, includeFiles);
    });
}

int Win32Ui::CursorX() {
    POINT p{};
    GetCursorPos(&p);
    return static_cast<int>(p.x);
}

int Win32Ui::CursorY() {
    POINT p{};
    GetCursorPos(&p);
    return static_cast<int>(p.y);
}

void Win32Ui::Delay(int ms) {
    if (ms <= 0) return;
    if (!calls_.OnUiThread()) {
        Sleep(static_cast<DWORD>(ms));
        return;
    }
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            DispatchUiMessage(message);
        }
    }
}

void Win32Ui::SetTextColour(WindowId window, std::string_view control, int colour) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::EditBox) return;
        c->textColour = colour & 0xFFFFFF;
        InvalidateRect(c->hwnd, nullptr, TRUE);
    });
}

}  // namespace zelvo::win32
