// The framework's shared part: dialog units, the guard, message routing and
// data exchange, the same for every backend.
#include "files/FileException.h"
#include "platform/Backend.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

#include <cstdlib>

#if !defined(_WIN32)
int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    const long long nProduct = static_cast<long long>(nNumber) * nNumerator, nDiv = nDenominator;
    // Halves away from zero.
    const long long nResult =
        (2 * std::llabs(nProduct) + std::llabs(nDiv)) / (2 * std::llabs(nDiv));
    return static_cast<int>((nProduct < 0) != (nDiv < 0) ? -nResult : nResult);
}
#endif

CRect MapDialogRect(int x, int y, int cx, int cy)
{
    return {MulDiv(x, 6, 4), MulDiv(y, 13, 8), MulDiv(x + cx, 6, 4), MulDiv(y + cy, 13, 8)};
}

bool AfxCallGuarded(const std::function<void()>& fn)
{
    try
    {
        fn();
        return true;
    }
    catch (const CFileException& e)
    {
        AfxMessageBox(e.GetErrorMessage(), MB_OK | MB_ICONSTOP);
        return false;
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    if (message == WM_COMMAND)
        OnCommand(LOWORD(wParam), HIWORD(wParam));
    else if (message == WM_CLOSE)
        OnClose();
    return 0;
}

BOOL CDialog::OnCommand(UINT nID, UINT nCode)
{
    if (nCode == BN_CLICKED && (nID == IDOK || nID == IDCANCEL))
    {
        nID == IDOK ? OnOK() : OnCancel();
        return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->OnCmdMsg(nID, nCode) : FALSE;
}

void CDialog::SetDlgItemText(int nID, const std::string& strText)
{
    if (CWnd* pWnd = GetDlgItem(nID))
        pWnd->SetWindowText(strText);
}

std::string CDialog::GetDlgItemText(int nID) const
{
    auto it = m_mapItems.find(nID);
    return it == m_mapItems.end() ? std::string() : it->second.GetWindowText();
}

void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (nID != nIDCheckButton)
            CheckDlgButton(nID, BST_UNCHECKED);
    if (nIDCheckButton >= nIDFirstButton && nIDCheckButton <= nIDLastButton)
        CheckDlgButton(nIDCheckButton, BST_CHECKED);
    // The keyboard focus does not stay on a choice that is no longer made: it
    // goes where Tab would put it, on the checked button.
    CWnd* pChecked = GetDlgItem(nIDCheckButton);
    const HWND hFocus = AfxGetFocus(*this);
    if (pChecked == nullptr || hFocus == nullptr || hFocus == pChecked->m_hWnd ||
        !pChecked->IsWindowVisible() || !pChecked->IsWindowEnabled())
        return;
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (CWnd* pButton = GetDlgItem(nID); pButton && pButton->m_hWnd == hFocus)
            return AfxSetFocus(*pChecked);
}

void CDialog::UpdateGroupTabStop(int nID)
{
    for (const auto& [nFirst, nLast] : m_aButtonGroups)
    {
        if (nID < nFirst || nID > nLast)
            continue;
        bool bChecked = false;
        for (int n = nFirst; n <= nLast; ++n)
            bChecked = bChecked || IsDlgButtonChecked(n) == BST_CHECKED;
        for (int n = nFirst; n <= nLast; ++n)
            if (CWnd* pButton = GetDlgItem(n))
                AfxSetTabStop(*pButton, !bChecked || IsDlgButtonChecked(n) == BST_CHECKED);
        return;
    }
}

BOOL CDialog::StepInGroup(int nID, int nStep)
{
    for (const auto& [nFirst, nLast] : m_aButtonGroups)
    {
        if (nID < nFirst || nID > nLast)
            continue;
        for (int n = nID + nStep; n >= nFirst && n <= nLast; n += nStep)
            if (CWnd* pNext = GetDlgItem(n);
                pNext && pNext->IsWindowVisible() && pNext->IsWindowEnabled())
            {
                AfxFocusAndClick(*pNext, nStep);
                break;
            }
        return TRUE;
    }
    return FALSE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    CWnd* pWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!pWnd)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pWnd->GetWindowText();
    else
        pWnd->SetWindowText(value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (CWnd* pWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC))
        rControl.m_hWnd = pWnd->m_hWnd;
}
