#include "artwork.h"

#include <algorithm>

#include "ui_font.h"

namespace zelvo::win32 {

namespace {

constexpr COLORREF kDeepBlue = RGB(18, 70, 140);
constexpr COLORREF kSky = RGB(64, 150, 220);
constexpr COLORREF kParcel = RGB(238, 184, 110);
constexpr COLORREF kParcelFront = RGB(226, 160, 72);
constexpr COLORREF kParcelShade = RGB(186, 120, 44);

COLORREF Blend(COLORREF a, COLORREF b, int step, int steps) {
    auto mix = [&](int x, int y) { return x + (y - x) * step / std::max(1, steps); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

void FillPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF edge) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polygon(dc, points, count);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// A parcel seen slightly from above, filling the square at x, y of side s.
void DrawParcel(HDC dc, int x, int y, int s) {
    auto at = [&](double fx, double fy) {
        return POINT{x + static_cast<LONG>(s * fx), y + static_cast<LONG>(s * fy)};
    };
    const POINT top = at(0.5, 0.08), left = at(0.08, 0.3), right = at(0.92, 0.3);
    const POINT mid = at(0.5, 0.52), bottom = at(0.5, 0.94);
    const POINT leftBottom = at(0.08, 0.72), rightBottom = at(0.92, 0.72);
    const COLORREF edge = RGB(130, 84, 30);
    const POINT lid[] = {top, right, mid, left};
    const POINT front[] = {left, mid, bottom, leftBottom};
    const POINT side[] = {mid, right, rightBottom, bottom};
    FillPolygon(dc, lid, 4, kParcel, edge);
    FillPolygon(dc, front, 4, kParcelFront, edge);
    FillPolygon(dc, side, 4, kParcelShade, edge);
}

void DrawLine(HDC dc, const wchar_t* text, RECT area, int height, int weight, COLORREF colour) {
    HFONT font = CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH, UiFace());
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, colour);
    DrawTextW(dc, text, -1, &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

}  // namespace

HBITMAP CreateBannerBitmap(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);

    // A diagonal sky, column by column.
    for (int x = 0; x < width; ++x) {
        HBRUSH brush = CreateSolidBrush(Blend(kDeepBlue, kSky, x, width));
        RECT column{x, 0, x + 1, height};
        FillRect(dc, &column, brush);
        DeleteObject(brush);
    }
    const int box = height * 4 / 5;
    DrawParcel(dc, 4, (height - box) / 2, box);
    // The dashed route from the parcel to the name.
    HPEN dash = CreatePen(PS_DOT, 1, RGB(200, 220, 245));
    HGDIOBJ oldPen = SelectObject(dc, dash);
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, box + 6, height * 78 / 100, nullptr);
    LineTo(dc, width - 8, height * 78 / 100);
    SelectObject(dc, oldPen);
    DeleteObject(dash);

    DrawLine(dc, L"Zelvo", RECT{box + 8, 0, width - 2, height * 68 / 100},
             std::max(10, height * 2 / 5), FW_BOLD, RGB(255, 255, 255));
    DrawLine(dc, L"快递单号生成器", RECT{box + 8, height * 52 / 100, width - 2, height * 76 / 100},
             std::max(8, height / 6), FW_NORMAL, RGB(230, 240, 255));

    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

void ShowProgramIcon(HWND window) {
    const auto load = [](int widthMetric, int heightMetric) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                             IMAGE_ICON, GetSystemMetrics(widthMetric),
                                             GetSystemMetrics(heightMetric), LR_SHARED));
    };
    if (HICON smallIcon = load(SM_CXSMICON, SM_CYSMICON)) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    }
    if (HICON bigIcon = load(SM_CXICON, SM_CYICON)) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    }
}

}  // namespace zelvo::win32
