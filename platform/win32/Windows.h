// <windows.h> for the Win32 backend's sources, included after the
// framework's own headers. The framework's names that Windows also defines
// as macros (SendMessage, SetWindowText, MessageBox, GetFileTitle...) are
// undone here; the backend calls the wide functions by their own names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#undef SendMessage
#undef PostMessage
#undef SetWindowText
#undef GetWindowText
#undef SetDlgItemText
#undef GetDlgItemText
#undef MessageBox
#undef GetFileTitle
#undef LoadIcon
#undef LoadBitmap
#undef DrawText
#undef CreateDialog
#undef DialogBox

#include <string>
#include <string_view>

// UTF-8 inside the program, UTF-16 at the API.
std::wstring AfxWide(std::string_view strText);
std::string AfxNarrow(std::wstring_view strText);
// One line for the window log that VELKOR_WINDOW_LOG names; nothing without it.
void AfxTrace(const std::string& strLine);
