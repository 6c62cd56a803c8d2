#include "ui_font.h"

#include <string>

#include "dpi.h"
#include "gbk_text.h"

namespace zelvo::win32 {

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

HFONT MakeFont(const wchar_t* face, int height, int weight, int charset) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, static_cast<DWORD>(charset),
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

const wchar_t* UiFace() {
    static const wchar_t* const face = [] {
        for (const wchar_t* candidate :
             {L"SimSun", L"Microsoft YaHei", L"WenQuanYi Micro Hei", L"Noto Sans CJK SC"}) {
            if (FaceExists(candidate)) return candidate;
        }
        return L"SimSun";  // the font mapper finds the nearest
    }();
    return face;
}

HFONT CreateUiFont(UINT dpi) { return MakeFont(UiFace(), -Scale(12, dpi), FW_NORMAL, GB2312_CHARSET); }

HFONT CreateDescribedFont(const FontDesc& font, UINT dpi) {
    const std::wstring described = FromGbk(font.family);
    const wchar_t* face = FaceExists(described.c_str()) ? described.c_str() : UiFace();
    const int height = font.height == 0 ? -12 : font.height;
    return MakeFont(face, height < 0 ? -Scale(-height, dpi) : Scale(height, dpi), font.weight,
                    font.charset);
}

}  // namespace zelvo::win32
