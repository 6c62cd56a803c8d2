#pragma once

#include "win32_api.h"

// A multi-line text box for large texts. The standard EDIT control lays out
// every line whenever its text is set (a million numbers took half a minute
// under Wine, and the rich-edit control was slower still); this view keeps
// the text in one buffer with the start of every line beside it, so that
// setting it is one copy and one pass, and painting touches only the lines in
// view. Lines are not wrapped: a long line scrolls sideways with the caret.
//
// It answers the edit-control messages the port and the dialog keys use
// (WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, EM_SETSEL, EM_GETSEL,
// EM_REPLACESEL, EM_SCROLLCARET, EM_SETLIMITTEXT, EM_SETREADONLY, EM_UNDO,
// WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, WM_UNDO), its parent colours it through
// WM_CTLCOLOREDIT, and it offers the system's own edit menu. Style bits are
// the edit control's (ES_READONLY; WS_VSCROLL for the scroll bar).
namespace zelvo::win32 {

inline constexpr wchar_t kTextViewClass[] = L"ZelvoTextView";

// Registers the window class once; safe to call again.
void RegisterTextView();

}  // namespace zelvo::win32
