#pragma once

// The Windows headers the frontend uses, in one place. The wide-character
// API is called explicitly (…W), so UNICODE stays undefined; the MessageBox
// macro would rename the port's own MessageBox, so it goes.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#undef MessageBox
