#pragma once

#include <string>
#include <string_view>

#include "win32_api.h"

// The platform's own dialogs: message boxes, the shell's folder browser and
// the file-open dialog.
namespace zelvo::win32 {

// MessageBoxW, the box carrying the program's icon in its caption as the
// program's windows do (the icon in its body stays the one style asks for).
int MessageBoxWithProgramIcon(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);

// MessageBoxWithProgramIcon. Without an owner it is task-modal: the calling thread's
// windows are disabled while it shows. A worker passes the main window as
// owner, which the box disables: the worker waits, the user-interface thread
// goes on serving, and the user answers before doing anything else. The
// result as the program numbers it (OK 0, Cancel 1, Abort 2, Retry 3,
// Ignore 4, Yes 5, No 6).
int ShowMessageBox(std::string_view text, int flags, std::string_view caption,
                   HWND owner = nullptr);
// What a box that can no longer be shown answers: Cancel where it has one.
int UnansweredResult(int flags);

// SHBrowseForFolderW with an edit field, owned by owner; files too when
// includeFiles. The chosen path without a trailing backslash (a drive root
// keeps it), or empty on cancel, for a choice without a file-system path, or
// for a path that GBK cannot spell (the program could not open it again).
std::string BrowseForFolder(HWND owner, std::string_view title, bool includeFiles);

// The file-open dialog, owned by owner, titled title, showing text files
// (*.txt) first and every file on request. The chosen file's path, or empty
// on cancel or for a path that GBK cannot spell.
std::string ChooseFileToOpen(HWND owner, std::string_view title);

}  // namespace zelvo::win32
