#include "text_view.h"

#include <imm.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace zelvo::win32 {

namespace {

constexpr int kMargin = 2;  // pixels between the border and the text

// The text and where its lines start. A line ends at "\n" (a "\r" before it
// belongs to the break); the text is kept exactly as set, so it reads back
// byte for byte.
class LineText {
  public:
    const std::wstring& Text() const { return text_; }
    size_t Size() const { return text_.size(); }
    int Lines() const { return static_cast<int>(starts_.size()); }
    size_t Start(int line) const { return starts_[static_cast<size_t>(line)]; }
    // End of the line's characters, its break excluded.
    size_t End(int line) const {
        if (line + 1 >= Lines()) return text_.size();
        size_t end = Start(line + 1) - 1;  // at the "\n"
        if (end > Start(line) && text_[end - 1] == L'\r') --end;
        return end;
    }
    int LineOf(size_t position) const {
        auto it = std::upper_bound(starts_.begin(), starts_.end(), position);
        return static_cast<int>(it - starts_.begin()) - 1;
    }

    void Set(std::wstring text) {
        text_ = std::move(text);
        starts_.assign(1, 0);
        AddStarts(0, text_.size(), starts_);
    }

    // Replaces [from, to) with s; the line starts after it move along.
    void Replace(size_t from, size_t to, std::wstring_view s) {
        const int first = LineOf(from);
        const int last = LineOf(to);
        text_.replace(from, to - from, s);
        std::vector<size_t> added;
        AddStarts(from, from + s.size(), added);
        const ptrdiff_t delta = static_cast<ptrdiff_t>(s.size()) - static_cast<ptrdiff_t>(to - from);
        for (size_t i = static_cast<size_t>(last) + 1; i < starts_.size(); ++i) {
            starts_[i] = static_cast<size_t>(static_cast<ptrdiff_t>(starts_[i]) + delta);
        }
        auto at = starts_.erase(starts_.begin() + first + 1, starts_.begin() + last + 1);
        starts_.insert(at, added.begin(), added.end());
    }

  private:
    void AddStarts(size_t from, size_t to, std::vector<size_t>& starts) const {
        const wchar_t* base = text_.data();
        for (const wchar_t* p = base + from; p < base + to;) {
            p = std::wmemchr(p, L'\n', static_cast<size_t>(base + to - p));
            if (!p) break;
            ++p;
            starts.push_back(static_cast<size_t>(p - base));
        }
    }

    std::wstring text_;
    std::vector<size_t> starts_{0};
};

// The one step that undo takes back, as the edit control keeps it: undoing
// it again redoes it.
struct UndoStep {
    bool valid = false;
    size_t position = 0;
    std::wstring removed;
    size_t insertedLength = 0;
};

struct View {
    HWND hwnd = nullptr;
    LineText text;
    size_t caret = 0, anchor = 0;
    int topLine = 0;
    int xOffset = 0;       // pixels scrolled sideways
    int wantedX = -1;      // the caret's x that up and down keep
    int wheelRest = 0;
    HFONT font = nullptr;
    int lineHeight = 16;
    bool focused = false;
    bool dragging = false;
    UndoStep undo;

    bool ReadOnly() const { return (GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY) != 0; }
    size_t SelStart() const { return std::min(caret, anchor); }
    size_t SelEnd() const { return std::max(caret, anchor); }

    RECT Area() const {
        RECT r{};
        GetClientRect(hwnd, &r);
        return r;
    }
    int VisibleLines() const { return std::max(1, static_cast<int>(Area().bottom) / lineHeight); }

    // Pixel x of a column on a line (without margin and scrolling).
    int XOf(int line, size_t position) const {
        const size_t start = text.Start(line);
        const size_t count = std::min(position, text.End(line)) - start;
        if (count == 0) return 0;
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.Text().data() + start, static_cast<int>(count), &size);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        return size.cx;
    }

    // The position nearest to pixel x on a line.
    size_t PositionAt(int line, int x) const {
        const size_t start = text.Start(line);
        const size_t end = text.End(line);
        if (x <= 0 || end == start) return start;
        const int count = static_cast<int>(end - start);
        std::vector<int> right(static_cast<size_t>(count));
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentExPointW(dc, text.Text().data() + start, count, 0, nullptr, right.data(), &size);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        for (int i = 0; i < count; ++i) {
            const int left = i == 0 ? 0 : right[static_cast<size_t>(i) - 1];
            if (x < (left + right[static_cast<size_t>(i)]) / 2) return start + static_cast<size_t>(i);
        }
        return end;
    }

    size_t PositionAtPoint(POINT p) const {
        const int row = p.y >= 0 ? static_cast<int>(p.y) / lineHeight : -1;
        const int line = std::clamp(topLine + row, 0, text.Lines() - 1);
        return PositionAt(line, p.x - kMargin + xOffset);
    }

    void UpdateScrollBar() {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMax = std::max(0, text.Lines() - 1);
        info.nPage = static_cast<UINT>(VisibleLines());
        info.nPos = topLine;
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    }

    void ScrollTo(int line) {
        const int top = std::clamp(line, 0, std::max(0, text.Lines() - VisibleLines()));
        if (top == topLine) return;
        topLine = top;
        UpdateScrollBar();
        InvalidateRect(hwnd, nullptr, FALSE);
        PlaceCaret();
    }

    void PlaceCaret() {
        if (!focused) return;
        const int line = text.LineOf(caret);
        const int x = kMargin + XOf(line, caret) - xOffset;
        SetCaretPos(x, (line - topLine) * lineHeight);
        HIMC context = ImmGetContext(hwnd);
        if (context) {
            COMPOSITIONFORM form{};
            form.dwStyle = CFS_POINT;
            form.ptCurrentPos = {x, (line - topLine) * lineHeight};
            ImmSetCompositionWindow(context, &form);
            ImmReleaseContext(hwnd, context);
        }
    }

    // Scrolls so that the caret is in view.
    void ShowCaretLine() {
        const int line = text.LineOf(caret);
        if (line < topLine) {
            ScrollTo(line);
        } else if (line >= topLine + VisibleLines()) {
            ScrollTo(line - VisibleLines() + 1);
        }
        const int x = XOf(line, caret);
        const int width = std::max(1, static_cast<int>(Area().right) - 2 * kMargin);
        int offset = xOffset;
        if (x < offset) offset = std::max(0, x - width / 3);
        if (x > offset + width - 1) offset = x - width * 2 / 3;
        if (offset != xOffset) {
            xOffset = offset;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        PlaceCaret();
    }

    void Select(size_t newAnchor, size_t newCaret) {
        anchor = std::min(newAnchor, text.Size());
        caret = std::min(newCaret, text.Size());
        InvalidateRect(hwnd, nullptr, FALSE);
        PlaceCaret();
    }

    void MoveCaret(size_t position, bool extend) {
        Select(extend ? anchor : position, position);
        ShowCaretLine();
    }

    void Replace(size_t from, size_t to, std::wstring_view s, bool mergeTyping) {
        const bool merges = mergeTyping && undo.valid && undo.removed.empty() && from == to &&
                            from == undo.position + undo.insertedLength;
        if (merges) {
            undo.insertedLength += s.size();
        } else {
            undo = {true, from, text.Text().substr(from, to - from), s.size()};
        }
        text.Replace(from, to, s);
        caret = anchor = from + s.size();
        UpdateScrollBar();
        if (topLine > std::max(0, text.Lines() - VisibleLines())) ScrollTo(topLine);
        InvalidateRect(hwnd, nullptr, FALSE);
        ShowCaretLine();
    }

    void ReplaceSelection(std::wstring_view s, bool typing = false) {
        Replace(SelStart(), SelEnd(), s, typing);
    }

    void Undo() {
        if (!undo.valid) return;
        const UndoStep step = undo;
        const std::wstring inserted = text.Text().substr(step.position, step.insertedLength);
        text.Replace(step.position, step.position + step.insertedLength, step.removed);
        undo = {true, step.position, inserted, step.removed.size()};
        Select(step.position, step.position + step.removed.size());
        UpdateScrollBar();
        ShowCaretLine();
    }

    void SetAll(std::wstring s) {
        text.Set(std::move(s));
        caret = anchor = 0;
        topLine = 0;
        xOffset = 0;
        undo = {};
        UpdateScrollBar();
        InvalidateRect(hwnd, nullptr, FALSE);
        PlaceCaret();
    }

    void Copy() const {
        if (caret == anchor || !OpenClipboard(hwnd)) return;
        EmptyClipboard();
        const size_t length = SelEnd() - SelStart();
        if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(wchar_t))) {
            auto* target = static_cast<wchar_t*>(GlobalLock(memory));
            std::wmemcpy(target, text.Text().data() + SelStart(), length);
            target[length] = L'\0';
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        }
        CloseClipboard();
    }

    void Paste() {
        if (ReadOnly() || !OpenClipboard(hwnd)) return;
        std::wstring pasted;
        if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* source = static_cast<const wchar_t*>(GlobalLock(memory))) {
                pasted.assign(source, wcsnlen(source, GlobalSize(memory) / sizeof(wchar_t)));
                GlobalUnlock(memory);
            }
        }
        CloseClipboard();
        if (!pasted.empty()) ReplaceSelection(pasted);
    }

    void Cut() {
        if (ReadOnly() || caret == anchor) return;
        Copy();
        ReplaceSelection({});
    }

    void Clear() {
        if (!ReadOnly() && caret != anchor) ReplaceSelection({});
    }

    // The previous or next position a caret may stand at: a line break is one step.
    size_t Step(size_t position, bool forward) const {
        const int line = text.LineOf(position);
        if (forward) {
            if (position < text.End(line)) return position + 1;
            return line + 1 < text.Lines() ? text.Start(line + 1) : position;
        }
        if (position > text.Start(line)) return std::min(position, text.End(line)) - 1;
        return line > 0 ? text.End(line - 1) : 0;
    }

    size_t WordStep(size_t position, bool forward) const {
        const std::wstring& t = text.Text();
        auto isWord = [&](size_t i) { return IsCharAlphaNumericW(t[i]) || t[i] > 0x2E80; };
        if (forward) {
            size_t i = position;
            while (i < t.size() && isWord(i)) ++i;
            while (i < t.size() && !isWord(i) && t[i] != L'\r' && t[i] != L'\n') ++i;
            return i == position ? Step(position, true) : i;
        }
        size_t i = position;
        while (i > 0 && !isWord(i - 1) && t[i - 1] != L'\n') --i;
        while (i > 0 && isWord(i - 1)) --i;
        return i == position ? Step(position, false) : i;
    }

    void LineStep(int lines, bool extend) {
        const int line = text.LineOf(caret);
        if (wantedX < 0) wantedX = XOf(line, caret);
        const int target = std::clamp(line + lines, 0, text.Lines() - 1);
        const int keep = wantedX;
        MoveCaret(PositionAt(target, keep), extend);
        wantedX = keep;
    }

    void OnKey(WPARAM key) {
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        const bool control = GetKeyState(VK_CONTROL) < 0;
        const int line = text.LineOf(caret);
        switch (key) {
            case VK_LEFT:
                wantedX = -1;
                if (!shift && caret != anchor && !control) return MoveCaret(SelStart(), false);
                return MoveCaret(control ? WordStep(caret, false) : Step(caret, false), shift);
            case VK_RIGHT:
                wantedX = -1;
                if (!shift && caret != anchor && !control) return MoveCaret(SelEnd(), false);
                return MoveCaret(control ? WordStep(caret, true) : Step(caret, true), shift);
            case VK_UP:
                return LineStep(-1, shift);
            case VK_DOWN:
                return LineStep(1, shift);
            case VK_PRIOR:
                ScrollTo(topLine - VisibleLines());
                return LineStep(-VisibleLines(), shift);
            case VK_NEXT:
                ScrollTo(topLine + VisibleLines());
                return LineStep(VisibleLines(), shift);
            case VK_HOME:
                wantedX = -1;
                return MoveCaret(control ? 0 : text.Start(line), shift);
            case VK_END:
                wantedX = -1;
                return MoveCaret(control ? text.Size() : text.End(line), shift);
            case VK_DELETE:
                wantedX = -1;
                if (ReadOnly()) return;
                if (shift) return Cut();
                if (caret == anchor) anchor = Step(caret, true);
                if (caret != anchor) ReplaceSelection({});
                return;
            case VK_INSERT:
                if (control) Copy();
                if (shift) Paste();
                return;
            default:
                return;
        }
    }

    void OnChar(wchar_t c) {
        wantedX = -1;
        switch (c) {
            case 1:  // Ctrl+A
                return Select(0, text.Size());
            case 3:  // Ctrl+C
                return Copy();
            case 0x16:  // Ctrl+V
                return Paste();
            case 0x18:  // Ctrl+X
                return Cut();
            case 0x1A:  // Ctrl+Z
                return Undo();
            default:
                break;
        }
        if (ReadOnly()) return;
        if (c == L'\b') {
            if (caret == anchor) anchor = Step(caret, false);
            if (caret != anchor) ReplaceSelection({});
        } else if (c == L'\r') {
            ReplaceSelection(L"\r\n");
        } else if (c >= 0x20 && c != 0x7F) {
            ReplaceSelection(std::wstring_view(&c, 1), true);
        }
    }

    void OnContextMenu(POINT at) {
        SetFocus(hwnd);
        if (at.x == -1 && at.y == -1) {
            POINT caretPoint{};
            GetCaretPos(&caretPoint);
            at = caretPoint;
            ClientToScreen(hwnd, &at);
        }
        HMENU menu = EditMenu();
        if (!menu) return;
        HMENU items = GetSubMenu(menu, 0);
        const bool hasSelection = caret != anchor;
        const bool writable = !ReadOnly();
        auto enable = [&](UINT id, bool on) { EnableMenuItem(items, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
        enable(WM_UNDO, writable && undo.valid);
        enable(EM_UNDO, writable && undo.valid);
        enable(WM_CUT, writable && hasSelection);
        enable(WM_COPY, hasSelection);
        enable(WM_PASTE, writable && IsClipboardFormatAvailable(CF_UNICODETEXT));
        enable(WM_CLEAR, writable && hasSelection);
        enable(EM_SETSEL, text.Size() > 0 && SelEnd() - SelStart() < text.Size());
        const UINT command = static_cast<UINT>(
            TrackPopupMenu(items, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd, nullptr));
        DestroyMenu(menu);
        switch (command) {
            case WM_UNDO:
            case EM_UNDO:
                return Undo();
            case WM_CUT:
                return Cut();
            case WM_COPY:
                return Copy();
            case WM_PASTE:
                return Paste();
            case WM_CLEAR:
                return Clear();
            case EM_SETSEL:
                return Select(0, text.Size());
            default:
                return;
        }
    }

    // The edit control's own menu from user32, in the system's language
    // (resource 1 on Windows, EDITMENU under Wine), with only the items this
    // view carries out.
    static HMENU EditMenu() {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        HMENU menu = LoadMenuW(user32, MAKEINTRESOURCEW(1));
        if (!menu) menu = LoadMenuW(user32, L"EDITMENU");
        if (!menu || !GetSubMenu(menu, 0)) {
            if (menu) DestroyMenu(menu);
            menu = CreateMenu();
            HMENU items = CreatePopupMenu();
            AppendMenuW(items, MF_STRING, WM_UNDO, L"撤消(&U)");
            AppendMenuW(items, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(items, MF_STRING, WM_CUT, L"剪切(&T)");
            AppendMenuW(items, MF_STRING, WM_COPY, L"复制(&C)");
            AppendMenuW(items, MF_STRING, WM_PASTE, L"粘贴(&P)");
            AppendMenuW(items, MF_STRING, WM_CLEAR, L"删除(&D)");
            AppendMenuW(items, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(items, MF_STRING, EM_SETSEL, L"全选(&A)");
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(items), L"");
            return menu;
        }
        HMENU items = GetSubMenu(menu, 0);
        auto known = [](UINT id) {
            return id == WM_UNDO || id == EM_UNDO || id == WM_CUT || id == WM_COPY ||
                   id == WM_PASTE || id == WM_CLEAR || id == EM_SETSEL;
        };
        // Windows adds reading-order and input-method items; they go, and
        // with them separators left doubled or at an end.
        bool lastWasSeparator = true;
        for (int i = 0; i < GetMenuItemCount(items);) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
            GetMenuItemInfoW(items, static_cast<UINT>(i), TRUE, &info);
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            const bool keep = separator ? !lastWasSeparator : !info.hSubMenu && known(info.wID);
            if (!keep) {
                DeleteMenu(items, static_cast<UINT>(i), MF_BYPOSITION);
                continue;
            }
            lastWasSeparator = separator;
            ++i;
        }
        const int count = GetMenuItemCount(items);
        if (count > 0 && lastWasSeparator) DeleteMenu(items, static_cast<UINT>(count - 1), MF_BYPOSITION);
        return menu;
    }

    void Paint() {
        PAINTSTRUCT paint;
        HDC target = BeginPaint(hwnd, &paint);
        const RECT area = Area();
        HDC dc = CreateCompatibleDC(target);
        HBITMAP bitmap = CreateCompatibleBitmap(target, std::max(1L, area.right), std::max(1L, area.bottom));
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, font);
        // The parent gives the colours, as it does for an edit control.
        const bool plain = IsWindowEnabled(hwnd) && !ReadOnly();
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
            GetParent(hwnd), plain ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
            reinterpret_cast<LPARAM>(hwnd)));
        if (!brush) brush = GetSysColorBrush(plain ? COLOR_WINDOW : COLOR_BTNFACE);
        if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        FillRect(dc, &area, brush);
        SetBkMode(dc, TRANSPARENT);
        const COLORREF normalText = GetTextColor(dc);
        const std::wstring& t = text.Text();
        const size_t selStart = focused ? SelStart() : 0, selEnd = focused ? SelEnd() : 0;
        const int last = std::min(text.Lines() - 1, topLine + VisibleLines());
        for (int line = topLine; line <= last; ++line) {
            const int y = (line - topLine) * lineHeight;
            const size_t start = text.Start(line), end = text.End(line);
            const int x = kMargin - xOffset;
            TextOutW(dc, x, y, t.data() + start, static_cast<int>(end - start));
            // The selected part of the line, the break as a blank after it.
            const size_t from = std::max(selStart, start);
            const size_t to = std::min(selEnd, end);
            const bool breakSelected = selStart <= end && selEnd > end && line + 1 < text.Lines();
            if (from >= to && !breakSelected) continue;
            const int left = x + XOf(line, from);
            int right = from < to ? x + XOf(line, to) : left;
            if (breakSelected) right += std::max(4, lineHeight / 3);
            RECT band{left, y, right, y + lineHeight};
            FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
            if (from < to) {
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                TextOutW(dc, left, y, t.data() + from, static_cast<int>(to - from));
                SetTextColor(dc, normalText);
            }
        }
        BitBlt(target, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        EndPaint(hwnd, &paint);
    }

    void SetFont(HFONT newFont) {
        font = newFont ? newFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        lineHeight = std::max(1, static_cast<int>(metrics.tmHeight));
        if (focused) {
            DestroyCaret();
            CreateCaret(hwnd, nullptr, 1, lineHeight);
            ShowCaret(hwnd);
        }
        UpdateScrollBar();
        PlaceCaret();
    }

    void OnVScroll(int code) {
        switch (code) {
            case SB_LINEUP:
                return ScrollTo(topLine - 1);
            case SB_LINEDOWN:
                return ScrollTo(topLine + 1);
            case SB_PAGEUP:
                return ScrollTo(topLine - VisibleLines());
            case SB_PAGEDOWN:
                return ScrollTo(topLine + VisibleLines());
            case SB_TOP:
                return ScrollTo(0);
            case SB_BOTTOM:
                return ScrollTo(text.Lines());
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: {
                SCROLLINFO info{};
                info.cbSize = sizeof(info);
                info.fMask = SIF_TRACKPOS;
                GetScrollInfo(hwnd, SB_VERT, &info);
                return ScrollTo(info.nTrackPos);
            }
            default:
                return;
        }
    }

    void OnWheel(int delta) {
        UINT perNotch = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
        wheelRest += delta;
        const int notches = wheelRest / WHEEL_DELTA;
        wheelRest -= notches * WHEEL_DELTA;
        if (perNotch == WHEEL_PAGESCROLL) return ScrollTo(topLine - notches * VisibleLines());
        ScrollTo(topLine - notches * static_cast<int>(perNotch));
    }
};

View* ViewOf(HWND hwnd) { return reinterpret_cast<View*>(GetWindowLongPtrW(hwnd, 0)); }

LRESULT CALLBACK TextViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    View* view = ViewOf(hwnd);
    if (message == WM_NCCREATE) {
        view = new View;
        view->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(view));
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->lpszName) view->text.Set(create->lpszName);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (!view) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            view->SetFont(nullptr);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, 0, 0);
            delete view;
            return 0;
        case WM_SETTEXT:
            view->SetAll(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            return TRUE;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(view->text.Size());
        case WM_GETTEXT: {
            if (wParam == 0) return 0;
            const size_t count = std::min(view->text.Size(), static_cast<size_t>(wParam) - 1);
            auto* target = reinterpret_cast<wchar_t*>(lParam);
            std::wmemcpy(target, view->text.Text().data(), count);
            target[count] = L'\0';
            return static_cast<LRESULT>(count);
        }
        case WM_SETFONT:
            view->SetFont(reinterpret_cast<HFONT>(wParam));
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(view->font);
        case EM_GETSEL:
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(view->SelStart());
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(view->SelEnd());
            return MAKELRESULT(std::min<size_t>(view->SelStart(), 0xFFFF), std::min<size_t>(view->SelEnd(), 0xFFFF));
        case EM_SETSEL: {
            // -1 as the start keeps the caret and drops the selection; as the
            // end it stands for the end of the text.
            const auto start = static_cast<INT_PTR>(wParam), end = static_cast<INT_PTR>(lParam);
            if (start == -1) {
                view->Select(view->caret, view->caret);
            } else {
                const size_t size = view->text.Size();
                const size_t from = std::min(static_cast<size_t>(start), size);
                const size_t to = end < 0 ? size : std::min(static_cast<size_t>(end), size);
                view->Select(from, to);
            }
            return 0;
        }
        case EM_REPLACESEL:
            if (lParam) view->ReplaceSelection(reinterpret_cast<const wchar_t*>(lParam));
            if (!wParam) view->undo = {};
            return 0;
        case EM_SCROLLCARET:
            view->ShowCaretLine();
            return 0;
        case EM_SETLIMITTEXT:
            return 0;  // no limit but memory
        case EM_SETREADONLY: {
            const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
            SetWindowLongW(hwnd, GWL_STYLE, wParam ? style | ES_READONLY : style & ~ES_READONLY);
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        }
        case EM_GETLINECOUNT:
            return view->text.Lines();
        case EM_CANUNDO:
            return view->undo.valid;
        case EM_UNDO:
        case WM_UNDO:
            view->Undo();
            return TRUE;
        case WM_CUT:
            view->Cut();
            return 0;
        case WM_COPY:
            view->Copy();
            return 0;
        case WM_PASTE:
            view->Paste();
            return 0;
        case WM_CLEAR:
            view->Clear();
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
                code |= DLGC_WANTALLKEYS;
            }
            return code;
        }
        case WM_SETFOCUS:
            view->focused = true;
            CreateCaret(hwnd, nullptr, 1, view->lineHeight);
            view->PlaceCaret();
            ShowCaret(hwnd);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            view->focused = false;
            DestroyCaret();
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_SIZE:
            view->UpdateScrollBar();
            view->ScrollTo(view->topLine);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills every pixel
        case WM_PAINT:
            view->Paint();
            return 0;
        case WM_KEYDOWN:
            view->OnKey(wParam);
            return 0;
        case WM_CHAR:
            view->OnChar(static_cast<wchar_t>(wParam));
            return 0;
        case WM_IME_STARTCOMPOSITION:
            view->PlaceCaret();
            if (HIMC context = ImmGetContext(hwnd)) {
                LOGFONTW face{};
                GetObjectW(view->font, sizeof(face), &face);
                ImmSetCompositionFontW(context, &face);
                ImmReleaseContext(hwnd, context);
            }
            break;
        case WM_LBUTTONDOWN: {
            SetFocus(hwnd);
            view->wantedX = -1;
            const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            view->MoveCaret(view->PositionAtPoint(p), (wParam & MK_SHIFT) != 0);
            view->dragging = true;
            SetCapture(hwnd);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (view->dragging) {
                const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                view->MoveCaret(view->PositionAtPoint(p), true);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (view->dragging) {
                view->dragging = false;
                if (message == WM_LBUTTONUP) ReleaseCapture();
            }
            return 0;
        case WM_LBUTTONDBLCLK: {
            const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const size_t at = view->PositionAtPoint(p);
            const size_t start = view->WordStep(std::min(at + 1, view->text.Size()), false);
            view->Select(start, view->WordStep(start, true));
            return 0;
        }
        case WM_CONTEXTMENU:
            view->OnContextMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_VSCROLL:
            view->OnVScroll(LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            view->OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterTextView() {
    static const bool registered = [] {
        WNDCLASSEXW view{};
        view.cbSize = sizeof(view);
        view.style = CS_DBLCLKS;
        view.lpfnWndProc = &TextViewProc;
        view.cbWndExtra = sizeof(View*);
        view.hInstance = GetModuleHandleW(nullptr);
        view.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513));  // IDC_IBEAM
        view.lpszClassName = kTextViewClass;
        return RegisterClassExW(&view) != 0;
    }();
    (void)registered;
}

}  // namespace zelvo::win32
