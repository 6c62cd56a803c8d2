#include "window_builder.h"

#include <algorithm>

#include "artwork.h"
#include "centred_edit.h"
#include "dpi.h"
#include "gbk_text.h"
#include "text_view.h"
#include "ui_font.h"

namespace zelvo::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"ZelvoForm";
constexpr wchar_t kPageClass[] = L"ZelvoTabPage";
constexpr int kFirstControlId = 1000;
// Posted on the first activation, so that the handler runs once the window
// has been painted.
constexpr UINT kFirstActivated = WM_APP + 10;
constexpr COLORREF kWebViewText = RGB(40, 80, 150);

bool Binds(const std::vector<EventBinding>& events, EventKind kind) {
    return std::any_of(events.begin(), events.end(),
                       [kind](const EventBinding& b) { return b.kind == kind; });
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterClasses() {
    static const bool registered = [] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof(form);
        form.lpfnWndProc = &FormProc;
        form.hInstance = Instance();
        form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        form.lpszClassName = kFormClass;
        RegisterClassExW(&form);
        WNDCLASSEXW page = form;
        page.lpfnWndProc = &PageProc;
        page.lpszClassName = kPageClass;
        RegisterClassExW(&page);
        RegisterTextView();
        RegisterCentredEdit(Instance());
        return true;
    }();
    (void)registered;
}

BuiltControl* ControlOfId(BuiltWindow& built, int id) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(built.order.size())) return nullptr;
    return built.order[static_cast<size_t>(index)];
}

int TabPageOf(const BuiltControl& tabs) {
    return TabCtrl_GetCurSel(tabs.hwnd);
}

// WM_COMMAND and WM_NOTIFY from the window's controls; true when handled.
bool OnControlMessage(BuiltWindow& built, UINT message, WPARAM wParam, LPARAM lParam,
                      LRESULT& result) {
    if (message == WM_COMMAND) {
        BuiltControl* c = ControlOfId(built, LOWORD(wParam));
        if (!c || HIWORD(wParam) != BN_CLICKED || c->desc->kind != ControlKind::Button) return false;
        if (Binds(c->desc->events, EventKind::Clicked)) built.sink(c->desc->name, EventKind::Clicked, 0);
        return true;
    }
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    BuiltControl* c = ControlOfId(built, static_cast<int>(header->idFrom));
    if (!c || c->hwnd != header->hwndFrom) return false;
    const ControlDesc& d = *c->desc;
    if (d.kind == ControlKind::ListView && c->rows) {
        switch (header->code) {
            case LVN_GETDISPINFOW:
                c->rows->FillDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
                return true;
            case LVN_ITEMCHANGED:
                c->rows->NoteStateChange(*reinterpret_cast<NMLISTVIEW*>(lParam));
                return true;
            case LVN_COLUMNCLICK:
                if (Binds(d.events, EventKind::HeaderClicked)) {
                    built.sink(d.name, EventKind::HeaderClicked,
                               reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
                }
                return true;
            case LVN_ITEMACTIVATE: {
                int row = reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem;
                if (row < 0) row = c->rows->CurrentRow();
                if (row >= 0 && Binds(d.events, EventKind::RowActivated)) {
                    built.sink(d.name, EventKind::RowActivated, row);
                }
                return true;
            }
            default:
                return false;
        }
    }
    if (d.kind == ControlKind::TabControl && header->code == TCN_SELCHANGE) {
        const int page = TabPageOf(*c);
        ShowPage(*c, page);
        if (Binds(d.events, EventKind::PageChanged)) built.sink(d.name, EventKind::PageChanged, page);
        result = 0;
        return true;
    }
    return false;
}

// Colours: edit boxes given a text colour, and the web views' page look.
bool OnControlColour(BuiltWindow& built, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) {
    auto* dc = reinterpret_cast<HDC>(wParam);
    BuiltControl* c = built.FindByHandle(reinterpret_cast<HWND>(lParam));
    if (!c) return false;
    if (c->desc->kind == ControlKind::WebView) {
        SetTextColor(dc, kWebViewText);
        SetBkColor(dc, RGB(255, 255, 255));
        result = reinterpret_cast<LRESULT>(built.webBrush);
        return true;
    }
    if (c->desc->kind != ControlKind::EditBox || c->textColour < 0 || !IsWindowEnabled(c->hwnd)) {
        return false;
    }
    // A read-only box (WM_CTLCOLORSTATIC) keeps the window colour behind it.
    const int background = message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(dc, static_cast<COLORREF>(c->textColour));
    SetBkColor(dc, GetSysColor(background));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(background));
    return true;
}

void ApplyDpi(BuiltWindow& built, UINT dpi) {
    built.dpi = dpi;
    if (built.font) DeleteObject(built.font);
    built.font = CreateUiFont(dpi);
    for (auto& [desc, font] : built.describedFonts) {
        DeleteObject(font);
        font = CreateDescribedFont(*desc, dpi);
    }
    built.Layout();
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* built = reinterpret_cast<BuiltWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!built) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
            if (OnControlMessage(*built, message, wParam, lParam, result)) return result;
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (OnControlColour(*built, message, wParam, lParam, result)) return result;
            break;
        case WM_CLOSE:
            // The port decides; the window is destroyed by it, never merely hidden.
            if (built->onCloseRequested) built->onCloseRequested();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !built->activatedOnce) {
                built->activatedOnce = true;
                PostMessageW(window, kFirstActivated, 0, 0);
            }
            break;
        case kFirstActivated:
            UpdateWindow(window);
            if (built->onFirstActivated) built->onFirstActivated();
            return 0;
        case 0x02E0: {  // WM_DPICHANGED
            ApplyDpi(*built, LOWORD(wParam));
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A tab page hands its controls' notifications to its window.
LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

struct Created {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

Created ClassAndStyle(const ControlDesc& d) {
    switch (d.kind) {
        case ControlKind::EditBox: {
            const DWORD edge = d.border && !d.thinBorder ? WS_EX_CLIENTEDGE : 0u;
            const DWORD line = d.border && d.thinBorder ? WS_BORDER : 0u;
            // A box one types many lines into holds large texts.
            if (d.multiLine && !d.readOnly) {
                return {kTextViewClass, line | (d.verticalScroll ? WS_VSCROLL : 0u), edge};
            }
            DWORD style = ES_LEFT | (d.readOnly ? ES_READONLY : 0);
            style |= d.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                                       (d.verticalScroll ? WS_VSCROLL : 0)
                                 : ES_AUTOHSCROLL;
            return {d.multiLine ? L"EDIT" : kCentredEditClass, style | line, edge};
        }
        case ControlKind::Label:
            return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX, 0};
        case ControlKind::RadioButton:
            return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
        case ControlKind::GroupBox:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSW, 0, 0};
        case ControlKind::DatePicker:
            return {DATETIMEPICK_CLASSW, DTS_SHORTDATEFORMAT, 0};
        case ControlKind::ListView:
            return {WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                    WS_EX_CLIENTEDGE};
        case ControlKind::TabControl:
            return {WC_TABCONTROLW, 0, 0};
        case ControlKind::WebView:
            // No web engine: the view shows which page it would show.
            return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, WS_EX_CLIENTEDGE};
        case ControlKind::PictureButton:
            return {L"STATIC", SS_BITMAP, 0};
    }
    return {L"STATIC", 0, 0};
}

void SetUpControl(BuiltWindow& built, BuiltControl& c) {
    const ControlDesc& d = *c.desc;
    switch (d.kind) {
        case ControlKind::EditBox:
            // Typing is not limited to the default 32,767 characters.
            SendMessageW(c.hwnd, EM_SETLIMITTEXT, 0, 0);
            if (!d.multiLine) CentreSingleLineText(c.hwnd);
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            SendMessageW(c.hwnd, BM_SETCHECK, d.checked ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::ProgressBar:
            SendMessageW(c.hwnd, PBM_SETRANGE32, 0, 100);
            break;
        case ControlKind::DatePicker: {
            SendMessageW(c.hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"yyyy/M/d"));
            SYSTEMTIME now = built.openedAt;
            c.timeOfDay = now;
            SendMessageW(c.hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&now));
            break;
        }
        case ControlKind::ListView: {
            ListView_SetExtendedListViewStyle(c.hwnd, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
            for (size_t i = 0; i < d.columns.size(); ++i) {
                std::wstring title = FromGbk(d.columns[i].title);
                LVCOLUMNW column{};
                column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
                column.fmt = LVCFMT_LEFT;
                column.cx = d.columns[i].width;
                column.pszText = title.data();
                SendMessageW(c.hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
            }
            c.rows = std::make_unique<ListRows>(c.hwnd, static_cast<int>(d.columns.size()));
            break;
        }
        case ControlKind::TabControl:
            for (size_t i = 0; i < d.pages.size(); ++i) {
                std::wstring title = FromGbk(d.pages[i]);
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = title.data();
                SendMessageW(c.hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
                HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"",
                                            WS_CHILD | (i == 0 ? WS_VISIBLE : 0), 0, 0, 0, 0,
                                            c.host, nullptr, Instance(), nullptr);
                // Above the tab control, which would otherwise take their clicks.
                SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                c.pages.push_back(page);
            }
            if (d.font) built.describedFonts.emplace(d.font, nullptr);
            break;
        case ControlKind::WebView:
            c.address = std::string(d.text);
            break;
        default:
            break;
    }
    if (d.font && d.kind != ControlKind::TabControl) built.describedFonts.emplace(d.font, nullptr);
}

// Siblings stack in creation order, the first on top (the order the Tab key
// follows too): a control lies over the later ones it overlaps, as "选择模板"
// over the right end of 快递类型. A group box or a tab control goes beneath
// everything on its host, so that the controls it frames lie above it; the
// tab pages stay above their tab control. Outer boxes end lowest.
void StackContainersBeneath(BuiltWindow& built) {
    for (auto it = built.order.rbegin(); it != built.order.rend(); ++it) {
        const ControlKind kind = (*it)->desc->kind;
        if (kind != ControlKind::GroupBox && kind != ControlKind::TabControl) continue;
        SetWindowPos((*it)->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

BuiltWindow::~BuiltWindow() {
    if (hwnd) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
    controls.clear();
    if (font) DeleteObject(font);
    for (auto& [desc, f] : describedFonts) DeleteObject(f);
    if (banner) DeleteObject(banner);
    if (webBrush) DeleteObject(webBrush);
}

BuiltControl* BuiltWindow::Find(std::string_view name) {
    auto it = controls.find(name);
    return it == controls.end() ? nullptr : &it->second;
}

BuiltControl* BuiltWindow::FindByHandle(HWND control) {
    const int id = GetDlgCtrlID(control);
    BuiltControl* c = ControlOfId(*this, id);
    return c && c->hwnd == control ? c : nullptr;
}

void BuiltWindow::Layout() {
    // Every rectangle in the window's client coordinates first, then
    // relative to the window or page that holds the control.
    std::map<const BuiltControl*, RECT> placed;
    std::map<HWND, POINT> hostOrigin{{hwnd, POINT{0, 0}}};
    for (BuiltControl* c : order) {
        const ControlDesc& d = *c->desc;
        POINT origin{0, 0};
        if (!d.parent.empty()) {
            if (const BuiltControl* owner = Find(d.parent); owner && placed.count(owner)) {
                origin = {placed[owner].left, placed[owner].top};
            }
        }
        RECT r{origin.x + Scale(d.left, dpi), origin.y + Scale(d.top, dpi), 0, 0};
        r.right = r.left + Scale(d.width, dpi);
        r.bottom = r.top + Scale(d.height, dpi);
        placed[c] = r;
        const POINT host = hostOrigin.count(c->host) ? hostOrigin[c->host] : POINT{0, 0};
        SetWindowPos(c->hwnd, nullptr, r.left - host.x, r.top - host.y, r.right - r.left,
                     r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT controlFont = d.font ? describedFonts[d.font] : font;
        SendMessageW(c->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
        if (d.kind == ControlKind::ListView) {
            for (size_t i = 0; i < d.columns.size(); ++i) {
                ListView_SetColumnWidth(c->hwnd, static_cast<int>(i), Scale(d.columns[i].width, dpi));
            }
        }
        if (d.kind == ControlKind::PictureButton) {
            HBITMAP old = banner;
            banner = CreateBannerBitmap(r.right - r.left, r.bottom - r.top);
            SendMessageW(c->hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner));
            if (old) DeleteObject(old);
        }
        if (d.kind == ControlKind::TabControl) {
            // The pages cover the display area; their controls still count
            // from the tab control's own corner.
            RECT area{0, 0, r.right - r.left, r.bottom - r.top};
            TabCtrl_AdjustRect(c->hwnd, FALSE, &area);
            for (HWND page : c->pages) {
                const POINT at{r.left + area.left, r.top + area.top};
                hostOrigin[page] = at;
                SetWindowPos(page, HWND_TOP, at.x - host.x, at.y - host.y, area.right - area.left,
                             area.bottom - area.top, SWP_NOACTIVATE);
            }
        }
    }
    // The outer size includes the real frame; the client area is what is left.
    SetWindowPos(hwnd, nullptr, 0, 0, Scale(desc->width, dpi), Scale(desc->height, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void ShowPage(BuiltControl& tabs, int page) {
    if (page < 0 || page >= static_cast<int>(tabs.pages.size())) return;
    for (size_t i = 0; i < tabs.pages.size(); ++i) {
        if (static_cast<int>(i) != page) ShowWindow(tabs.pages[i], SW_HIDE);
    }
    ShowWindow(tabs.pages[static_cast<size_t>(page)], SW_SHOW);
}

BuiltWindow* BuiltWindowOf(HWND window) {
    wchar_t name[32];
    if (!window || !GetClassNameW(window, name, 32) || lstrcmpW(name, kFormClass) != 0) return nullptr;
    return reinterpret_cast<BuiltWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

std::unique_ptr<BuiltWindow> BuildWindow(const WindowDesc& desc, EventSink sink) {
    RegisterClasses();
    auto built = std::make_unique<BuiltWindow>();
    built->desc = &desc;
    built->sink = std::move(sink);
    GetLocalTime(&built->openedAt);
    built->openedAt.wMilliseconds = 0;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (desc.minimizeBox) style |= WS_MINIMIZEBOX;
    if (desc.maximizeBox) style |= WS_MAXIMIZEBOX;
    const std::wstring caption = FromGbk(desc.caption);
    built->hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, caption.c_str(), style, 0, 0, 0,
                                  0, nullptr, nullptr, Instance(), nullptr);
    HWND window = built->hwnd;
    built->dpi = DpiOf(window);
    built->font = CreateUiFont(built->dpi);
    built->webBrush = CreateSolidBrush(RGB(255, 255, 255));
    // The main window's described icon is the program's; the other windows
    // show it too, as they do in Qt, rather than the system's blank one.
    ShowProgramIcon(window);

    std::map<HWND, bool> radioGroupStarted;
    int id = kFirstControlId;
    for (const ControlDesc& d : desc.controls) {
        BuiltControl control;
        control.desc = &d;
        control.host = window;
        if (!d.parent.empty()) {
            if (BuiltControl* owner = built->Find(d.parent)) {
                if (owner->desc->kind == ControlKind::TabControl && !owner->pages.empty()) {
                    const int page = d.parentPage >= 0 && d.parentPage < static_cast<int>(owner->pages.size())
                                         ? d.parentPage
                                         : 0;
                    control.host = owner->pages[static_cast<size_t>(page)];
                } else {
                    control.host = owner->host;
                }
            }
        }
        const Created created = ClassAndStyle(d);
        // Overlapping controls paint only where no control above them lies.
        DWORD childStyle = WS_CHILD | WS_CLIPSIBLINGS | created.style;
        if (d.visible) childStyle |= WS_VISIBLE;
        if (!d.enabled) childStyle |= WS_DISABLED;
        if (d.canFocus && d.kind != ControlKind::GroupBox) childStyle |= WS_TABSTOP;
        // The radio buttons of a window form one group; every other control
        // that takes focus starts a group of its own.
        if (d.kind == ControlKind::RadioButton) {
            if (!radioGroupStarted[control.host]) childStyle |= WS_GROUP;
            radioGroupStarted[control.host] = true;
        } else if (d.canFocus) {
            childStyle |= WS_GROUP;
        }
        const std::wstring text = d.kind == ControlKind::PictureButton ? std::wstring() : FromGbk(d.text);
        control.hwnd = CreateWindowExW(created.exStyle, created.className, text.c_str(), childStyle, 0,
                                       0, 0, 0, control.host,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), Instance(),
                                       nullptr);
        auto [it, inserted] = built->controls.emplace(std::string(d.name), std::move(control));
        built->order.push_back(&it->second);
        SetUpControl(*built, it->second);
    }
    StackContainersBeneath(*built);
    for (auto& [fontDesc, font] : built->describedFonts) font = CreateDescribedFont(*fontDesc, built->dpi);
    built->Layout();

    // Centred on the screen by the outer size.
    RECT outer;
    GetWindowRect(window, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(built.get()));
    return built;
}

}  // namespace zelvo::win32
