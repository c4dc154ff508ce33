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

// A dialog is a handle to a system window: CDialog derives from nothing of
// the system's.
struct AfxDialogBase
{
    virtual ~AfxDialogBase() = default;
};
