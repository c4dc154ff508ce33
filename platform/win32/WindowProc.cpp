// The Win32 backend's window procedure and keyboard: the messages of the
// dialogs, the mouse, and the dialog keys, accelerators and arrow keys.
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "res/DialogTemplate.h"

#include "platform/win32/Windows.h"

#include "platform/win32/Build.h"
#include "platform/win32/DialogProc.h"

#include <windowsx.h>

void CDialogImpl::OnInitDialog(CDialog* pDlg, HWND hWnd)
{
    pDlg->m_hWnd = hWnd;
    const DlgTemplate* pTpl = FindDialogTemplate(pDlg->m_nIDTemplate);
    for (const DlgItemTemplate& item : pTpl->items)
    {
        if (item.nId == -1)
            continue;
        HWND hItem = GetDlgItem(hWnd, item.nId);
        pDlg->m_mapItems[item.nId].m_hWnd = hItem;
        if (item.cls == CtlClass::Button && (item.dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            pDlg->m_nDefaultId = item.nId;
        if (item.cls == CtlClass::Static && (item.dwStyle & SS_TYPEMASK) == SS_BITMAP)
            if (HBITMAP hBitmap = LoadResBitmap(item.nImage, GetDpiForWindow(hWnd)))
            {
                // The control takes the bitmap's size; it keeps no copy of its own.
                SendMessageW(hItem, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap));
                pDlg->m_pImpl->m_aBitmaps.push_back(hBitmap);
            }
    }
    if (pDlg->m_strCaption.empty())
        pDlg->m_strCaption = pTpl->strCaption;
    SetWindowTextW(hWnd, Utf8ToWide(pDlg->m_strCaption).c_str());
    if (const MenuTemplate* pMenu = pTpl->nMenu != 0 ? FindMenuTemplate(pTpl->nMenu) : nullptr)
    {
        // The menu bar sits above the client area, which keeps its template size.
        pDlg->m_pImpl->m_hMenu = BuildMenu(*pMenu);
        SetMenu(hWnd, pDlg->m_pImpl->m_hMenu);
        RECT rc{0, 0, pTpl->cx, pTpl->cy};
        MapDialogRect(hWnd, &rc);
        AdjustWindowRectExForDpi(&rc, static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE)), TRUE,
                                 static_cast<DWORD>(GetWindowLongW(hWnd, GWL_EXSTYLE)),
                                 GetDpiForWindow(hWnd));
        SetWindowPos(hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CDialogImpl::Mouse(CDialog* pDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const UINT nFlags = (wParam & MK_LBUTTON) ? MK_LBUTTON : 0;
    // The press captures the mouse, so a drag goes on outside the window and
    // its release is seen.
    if (message == WM_LBUTTONDOWN)
        SetCapture(pDlg->m_hWnd);
    else if (message == WM_LBUTTONUP && GetCapture() == pDlg->m_hWnd)
        ReleaseCapture();
    AfxCallGuarded(
        [&]
        {
            if (message == WM_LBUTTONDOWN)
                pDlg->OnLButtonDown(nFlags, point);
            else if (message == WM_LBUTTONUP)
                pDlg->OnLButtonUp(nFlags, point);
            else
                pDlg->OnMouseMove(nFlags, point);
        });
}

void CDialogImpl::OnNcDestroy(CDialog* pDlg, HWND hWnd)
{
    SetWindowLongPtrW(hWnd, DWLP_USER, 0);
    pDlg->m_hWnd = nullptr;
    for (auto& [nID, wnd] : pDlg->m_mapItems)
        wnd.m_hWnd = nullptr;
    for (HBITMAP hBitmap : pDlg->m_pImpl->m_aBitmaps)
        DeleteObject(hBitmap);
    pDlg->m_pImpl->m_aBitmaps.clear();
    pDlg->m_pImpl->m_hMenu = nullptr; // destroyed with the window
    if (pDlg->m_bModeless)
        pDlg->PostNcDestroy(); // may delete the dialog
}

INT_PTR CALLBACK CDialogImpl::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        auto* pDlg = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        OnInitDialog(pDlg, hWnd);
        BOOL bFocus = TRUE;
        AfxCallGuarded([&] { bFocus = pDlg->OnInitDialog(); });
        return bFocus;
    }
    auto* pDlg = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (pDlg == nullptr)
        return FALSE;
    switch (message)
    {
    case WM_COMMAND:
    {
        // Clicks, user selections in lists, menu commands and the dialog
        // keys; the controls' other notifications are not the program's.
        const UINT nCode = HIWORD(wParam);
        if (nCode != BN_CLICKED && nCode != CBN_SELCHANGE)
            return FALSE;
        const int nID = LOWORD(wParam);
        pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), 0);
        if (IsWindow(hWnd) && GetWindowLongPtrW(hWnd, DWLP_USER) != 0)
            pDlg->UpdateGroupTabStop(nID);
        return TRUE;
    }
    case WM_CLOSE:
        pDlg->SendMessage(WM_CLOSE);
        return TRUE;
    case WM_AFX_POSTED:
        RunPosted(pDlg); // may delete the dialog
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        Mouse(pDlg, message, wParam, lParam);
        return TRUE;
    case WM_PAINT:
        AfxCallGuarded([&] { pDlg->OnPaint(); });
        return FALSE; // what OnPaint did not paint, the system does
    case WM_SHOWWINDOW:
        if (wParam)
        {
            // Where the client area lies on the screen and the dialog's base
            // units (the pixels of 4 by 8 dialog units).
            POINT pt{0, 0};
            ClientToScreen(hWnd, &pt);
            RECT rcClient{}, rcUnits{0, 0, 4, 8};
            GetClientRect(hWnd, &rcClient);
            MapDialogRect(hWnd, &rcUnits);
            AfxTrace("show " + std::to_string(pDlg->m_nIDTemplate) + " " + std::to_string(pt.x) +
                     " " + std::to_string(pt.y) + " " + std::to_string(rcClient.right) + " " +
                     std::to_string(rcClient.bottom) + " " + std::to_string(rcUnits.right) + " " +
                     std::to_string(rcUnits.bottom) + " " + pDlg->m_strCaption);
        }
        return FALSE;
    case WM_HELP:
        return TRUE; // F1 is the ID_HELP command, sent from the message loop
    case WM_NCDESTROY:
        OnNcDestroy(pDlg, hWnd); // may delete the dialog
        return FALSE;
    default:
        return FALSE;
    }
}

CDialog* CDialog::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    hWnd = GetAncestor(hWnd, GA_ROOT);
    // Only the framework's dialogs: message boxes are dialogs of the same class.
    if (GetClassLongPtrW(hWnd, GCW_ATOM) != 32770 ||
        GetWindowLongPtrW(hWnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&CDialogImpl::Proc))
        return nullptr;
    return reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
}

BOOL CDialogImpl::PreTranslateMessage(MSG* pMsg)
{
    CDialog* pDlg = CDialog::FromHandle(pMsg->hwnd);
    if (pDlg == nullptr)
        return FALSE;
    HWND hDlg = pDlg->m_hWnd;
    if (pMsg->message == WM_KEYDOWN)
    {
        const UINT nKey = static_cast<UINT>(pMsg->wParam);
        const bool bShift = GetKeyState(VK_SHIFT) < 0;
        const bool bCtrl = GetKeyState(VK_CONTROL) < 0;
        if (nKey == VK_F1)
        {
            pDlg->SendCommand(ID_HELP, BN_CLICKED);
            return TRUE;
        }
        if (!bCtrl)
            for (const CDialogImpl::Accelerator& accel : pDlg->m_pImpl->m_aAccelerators)
                if (accel.nVirtKey == nKey && bShift == ((accel.fVirt & FSHIFT) != 0))
                {
                    AfxCallGuarded(accel.fnHandler);
                    return TRUE;
                }
        const int nStep = nKey == VK_LEFT || nKey == VK_UP      ? -1
                          : nKey == VK_RIGHT || nKey == VK_DOWN ? 1
                                                                : 0;
        HWND hFocus = GetFocus();
        if (nStep != 0 && !bShift && !bCtrl && hFocus != nullptr && GetParent(hFocus) == hDlg &&
            pDlg->StepInGroup(GetDlgCtrlID(hFocus), nStep))
            return TRUE;
    }
    return IsDialogMessageW(hDlg, pMsg);
}
