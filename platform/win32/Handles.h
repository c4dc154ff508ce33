// The Win32 backend's handles, declared as <windows.h> declares them, so that
// the program's headers need not include it.
#pragma once

struct HWND__;
using HWND = HWND__*;
struct HICON__;
using HICON = HICON__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HDC__;
using HDC = HDC__*;
