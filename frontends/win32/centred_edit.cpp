#include "centred_edit.h"

namespace zelvo::win32 {

namespace {

// The system's edit procedure, which the class of our own passes every
// message on to. A class of our own rather than a subclass of each box: a
// subclass looks its data up in the box's properties at every message, a
// server call under Wine, and the filter pass reads two boxes for each row.
WNDPROC gEditProc = nullptr;

LRESULT Base(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(gEditProc, edit, message, wParam, lParam);
}

int TextHeight(HWND edit) {
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return metrics.tmHeight;
}

// The client area within the window, and the width of the border around it.
void ClientInWindow(HWND edit, RECT& client, int& border) {
    RECT window{};
    GetWindowRect(edit, &window);
    GetClientRect(edit, &client);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    border = client.left;
}

// The bands above and below the text in the colour the box's parent gives it.
void PaintBands(HWND edit) {
    RECT client{};
    int border = 0;
    ClientInWindow(edit, client, border);
    RECT window{};
    GetWindowRect(edit, &window);
    const int height = window.bottom - window.top;
    HDC dc = GetWindowDC(edit);
    const bool writable = IsWindowEnabled(edit) && !(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(edit),
                                                       writable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(edit)));
    if (!brush) brush = GetSysColorBrush(writable ? COLOR_WINDOW : COLOR_BTNFACE);
    const RECT above{client.left, border, client.right, client.top};
    const RECT below{client.left, client.bottom, client.right, height - border};
    FillRect(dc, &above, brush);
    FillRect(dc, &below, brush);
    ReleaseDC(edit, dc);
}

LRESULT CALLBACK CentredProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCALCSIZE: {
            const LRESULT result = Base(edit, message, wParam, lParam);
            RECT* client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                  : reinterpret_cast<RECT*>(lParam);
            const int spare = (client->bottom - client->top) - TextHeight(edit);
            if (spare > 1) {
                client->top += spare / 2;
                client->bottom -= spare - spare / 2;
            }
            return result;
        }
        case WM_NCPAINT:
            Base(edit, message, wParam, lParam);
            PaintBands(edit);
            return 0;
        case WM_NCHITTEST: {
            // The bands belong to the box: a click there places the caret.
            const LRESULT hit = Base(edit, message, wParam, lParam);
            if (hit != HTBORDER && hit != HTNOWHERE) return hit;
            RECT window{};
            GetWindowRect(edit, &window);
            RECT client{};
            int border = 0;
            ClientInWindow(edit, client, border);
            InflateRect(&window, -border, -border);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            return PtInRect(&window, at) ? HTCLIENT : hit;
        }
        case WM_SETFONT:
        case WM_ENABLE:
        case EM_SETREADONLY: {
            const LRESULT result = Base(edit, message, wParam, lParam);
            // A new text height moves the bands; a new state recolours them.
            SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return result;
        }
        default:
            break;
    }
    return Base(edit, message, wParam, lParam);
}

}  // namespace

void RegisterCentredEdit(HINSTANCE instance) {
    WNDCLASSEXW edit{};
    edit.cbSize = sizeof(edit);
    if (!GetClassInfoExW(nullptr, L"EDIT", &edit)) return;
    gEditProc = edit.lpfnWndProc;
    edit.lpfnWndProc = &CentredProc;
    edit.hInstance = instance;
    edit.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    edit.lpszClassName = kCentredEditClass;
    RegisterClassExW(&edit);
}

void CentreSingleLineText(HWND edit) {
    SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zelvo::win32
