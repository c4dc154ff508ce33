// The framework's shared part: dialog units, the guard, message routing and
// data exchange, the same for every backend.
#include "files/FileException.h"
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
