// The Win32 backend's state of a dialog and its window procedure, shared by
// the files of the dialog's implementation. Include after
// platform/win32/Windows.h.
#pragma once

#include "platform/Dialog.h"

#include <deque>

// Carries a message posted with CDialog::PostMessage; the dialog keeps the
// message itself, so the program's private messages never meet the
// dialog manager's own (DM_SETDEFID is WM_USER + 1).
inline constexpr UINT WM_AFX_POSTED = WM_APP + 0x3F00;

struct CDialogImpl
{
    static INT_PTR CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void OnInitDialog(CDialog* pDlg, HWND hWnd);
    static void OnNcDestroy(CDialog* pDlg, HWND hWnd);
    static void Mouse(CDialog* pDlg, UINT message, WPARAM wParam, LPARAM lParam);
    // Keyboard handling of the framework for a message about to be
    // dispatched: dialog keys, accelerators, arrow keys in button groups.
    // TRUE when it was handled.
    static BOOL PreTranslateMessage(MSG* pMsg);
    static bool BuildWindow(CDialog* pDlg, CDialog* pOwner, bool bModal);
    static void RunPosted(CDialog* pDlg);

    CDialog* m_pParent = nullptr;
    int m_nResult = 0;
    bool m_bNoRedraw = false;    // SetRedraw(FALSE) and not yet TRUE
    bool m_bShowPending = false; // DoModal shows it once it may be drawn
    HMENU m_hMenu = nullptr;
    struct Accelerator
    {
        UINT nVirtKey;
        UINT fVirt;
        std::function<void()> fnHandler;
    };
    std::vector<Accelerator> m_aAccelerators;
    struct Posted
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::deque<Posted> m_posted;
    std::vector<HBITMAP> m_aBitmaps; // bitmaps its static controls show
};
