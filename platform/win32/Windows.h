// <windows.h> and the common controls for the Win32 backend's sources,
// included after the framework's own headers; the backend calls the wide
// functions by their own names.
#pragma once

#include "files/Win32.h" // <windows.h> with the clashing macros undone

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <string>
#include <string_view>

// UTF-8 inside the program, UTF-16 at the API.
std::wstring AfxWide(std::string_view strText);
std::string AfxNarrow(std::wstring_view strText);
// One line for the window log that VELKOR_WINDOW_LOG names; nothing without it.
void AfxTrace(const std::string& strLine);
