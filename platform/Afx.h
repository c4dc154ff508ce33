// The framework's basic vocabulary: integer types, window messages,
// notification codes and the flags of the id-based operations.
#pragma once

#include "res/DialogTemplate.h"
#include "res/resource.h"

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
// 32 bits on both platforms; Windows' own headers spell it unsigned long.
#if defined(_WIN32)
using DWORD = unsigned long;
#else
using DWORD = std::uint32_t;
#endif
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr UINT LOWORD(WPARAM w)
{
    return static_cast<UINT>(w & 0xFFFFu);
}
constexpr UINT HIWORD(WPARAM w)
{
    return static_cast<UINT>((w >> 16) & 0xFFFFu);
}
constexpr WPARAM MAKEWPARAM(UINT nLow, UINT nHigh)
{
    return static_cast<WPARAM>((nLow & 0xFFFFu) | ((nHigh & 0xFFFFu) << 16));
}

// Window messages. Private messages start at WM_USER.
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_USER = 0x0400;

// Notification codes carried in the high word of WM_COMMAND's wParam.
constexpr UINT BN_CLICKED = 0;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT LBN_SELCHANGE = 1;

// ShowWindow.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// SetWindowPos.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;

// CheckMenuItem / GetMenuState.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;

// Button check states.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

// List results.
constexpr int CB_ERR = -1;
constexpr int LB_ERR = -1;

// Mouse-message key flags.
constexpr UINT MK_LBUTTON = 0x0001;

// Arrow keys and the Shift flag of an accelerator.
constexpr UINT VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
constexpr UINT FSHIFT = 0x04;

// A point and a rectangle in pixels; right and bottom lie just outside the
// rectangle, so Width() is right - left.
struct CPoint
{
    int x = 0;
    int y = 0;
};

struct CRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Half-open, as the platform's hit test: left and top inside, right and
    // bottom outside.
    bool PtInRect(CPoint pt) const
    {
        return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom;
    }
};

// The backend's handles (HICON, and on Windows HWND and its kin).
#if defined(_WIN32)
#include "platform/win32/Handles.h"
#elif defined(__EMSCRIPTEN__)
#include "platform/web/Handles.h"
#else
#include "platform/qt/Handles.h"
#endif
