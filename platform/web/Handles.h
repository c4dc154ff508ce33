// The browser backend's handles: a window is the number of its element in
// the page's table of elements (0 for none), an icon the id of its pictures.
#pragma once

#include <cstdint>

struct HWND__;
using HWND = HWND__*;
using HICON = int;

// A dialog is a handle to elements of the page: CDialog derives from nothing
// of the browser's.
struct AfxDialogBase
{
    virtual ~AfxDialogBase() = default;
};

// A handle as the page's number, and back.
inline int AfxWebHandle(HWND hWnd)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(hWnd));
}
inline HWND AfxWebHwnd(int nHandle)
{
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(nHandle));
}
