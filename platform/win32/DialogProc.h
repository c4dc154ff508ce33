// The Win32 backend's window procedure of the dialogs, shared by the files
// of the dialog's implementation. Include after platform/win32/Windows.h.
#pragma once

#include "platform/win32/Dialog.h"

// Carries a message posted with CDialog::PostMessage; the dialog keeps the
// message itself, so the program's private messages never meet the
// dialog manager's own (DM_SETDEFID is WM_USER + 1).
inline constexpr UINT WM_AFX_POSTED = WM_APP + 0x3F00;

struct CDialogProc
{
    static INT_PTR CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void OnInitDialog(CDialog* pDlg, HWND hWnd);
    static void Mouse(CDialog* pDlg, UINT message, WPARAM wParam, LPARAM lParam);
};
