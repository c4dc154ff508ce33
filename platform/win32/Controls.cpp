// The Win32 backend's controls: the operations of CWnd, the lists and the
// paint context on the system's controls.
#include "platform/Backend.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "res/DialogTemplate.h"

#include "platform/win32/Windows.h"

#include "platform/win32/Build.h"
#include "platform/win32/DialogProc.h"

namespace
{
std::wstring WindowTextW(HWND hWnd)
{
    std::wstring str(static_cast<std::size_t>(GetWindowTextLengthW(hWnd)) + 1, L'\0');
    str.resize(
        static_cast<std::size_t>(GetWindowTextW(hWnd, str.data(), static_cast<int>(str.size()))));
    return str;
}

bool IsEdit(HWND hWnd)
{
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    return lstrcmpiW(szClass, L"Edit") == 0;
}
} // namespace

void CWnd::ShowWindow(int nCmdShow)
{
    ::ShowWindow(m_hWnd, nCmdShow == SW_HIDE ? SW_HIDE : SW_SHOWNA);
}

void CWnd::EnableWindow(BOOL bEnable)
{
    ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowVisible() const
{
    return (GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

void CWnd::SetWindowText(const std::string& strText)
{
    wchar_t szClass[16] = {};
    GetClassNameW(m_hWnd, szClass, 16);
    // A drop-down list's text is its selection, which only SetCurSel changes.
    if (lstrcmpiW(szClass, L"ComboBox") == 0)
        return;
    std::wstring str = Utf8ToWide(strText);
    if (IsEdit(m_hWnd)) // an edit breaks lines at CR LF only
    {
        std::wstring strCrLf;
        for (std::size_t i = 0; i < str.size(); ++i)
        {
            if (str[i] == L'\n' && (i == 0 || str[i - 1] != L'\r'))
                strCrLf += L'\r';
            strCrLf += str[i];
        }
        str = std::move(strCrLf);
    }
    SetWindowTextW(m_hWnd, str.c_str());
    AfxTrace("text " + std::to_string(GetDlgCtrlID(m_hWnd)) + " " + strText);
}

std::string CWnd::GetWindowText() const
{
    std::wstring str = WindowTextW(m_hWnd);
    if (IsEdit(m_hWnd))
        for (std::size_t i = 0; (i = str.find(L"\r\n", i)) != std::wstring::npos;)
            str.erase(i, 1);
    return WideToUtf8(str);
}

CRect CWnd::GetWindowRect() const
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    MapWindowPoints(nullptr, GetParent(m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint);
    AfxTrace("move " + std::to_string(GetDlgCtrlID(m_hWnd)) + " " + std::to_string(x) + " " +
             std::to_string(y) + " " + std::to_string(cx) + " " + std::to_string(cy));
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy,
                          nFlags | SWP_NOACTIVATE | (pWndInsertAfter ? 0 : SWP_NOZORDER));
}

CRect CWnd::GetLineRect(int nLine) const
{
    // Lines of the control's font, from the top of its rectangle.
    const CRect rc = GetWindowRect();
    HDC hDC = GetDC(m_hWnd);
    HGDIOBJ hOld =
        SelectObject(hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(hDC, &tm);
    SelectObject(hDC, hOld);
    ReleaseDC(m_hWnd, hDC);
    const int nHeight = static_cast<int>(tm.tmHeight);
    return {rc.left, rc.top + nLine * nHeight, rc.right, rc.top + (nLine + 1) * nHeight};
}

int CComboBox::AddString(const std::string& strItem)
{
    return static_cast<int>(SendMessageW(m_hWnd, CB_ADDSTRING, 0,
                                         reinterpret_cast<LPARAM>(Utf8ToWide(strItem).c_str())));
}

void CComboBox::ResetContent()
{
    SendMessageW(m_hWnd, CB_RESETCONTENT, 0, 0);
}

int CComboBox::GetCount() const
{
    return static_cast<int>(SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0));
}

int CComboBox::GetCurSel() const
{
    return static_cast<int>(SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0));
}

int CComboBox::SetCurSel(int nSelect)
{
    return static_cast<int>(SendMessageW(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(nSelect), 0));
}

int CListBox::AddString(const std::string& strItem)
{
    return static_cast<int>(SendMessageW(m_hWnd, LB_ADDSTRING, 0,
                                         reinterpret_cast<LPARAM>(Utf8ToWide(strItem).c_str())));
}

void CListBox::ResetContent()
{
    SendMessageW(m_hWnd, LB_RESETCONTENT, 0, 0);
}

int CListBox::GetCount() const
{
    return static_cast<int>(SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0));
}

int CListBox::GetCurSel() const
{
    return static_cast<int>(SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0));
}

int CListBox::SetCurSel(int nSelect)
{
    return static_cast<int>(SendMessageW(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(nSelect), 0));
}

std::string CListBox::GetText(int nIndex) const
{
    const LRESULT nLength = SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == LB_ERR)
        return {};
    std::wstring str(static_cast<std::size_t>(nLength) + 1, L'\0');
    str.resize(static_cast<std::size_t>(SendMessageW(
        m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(str.data()))));
    return WideToUtf8(str);
}

int CListBox::SetItemDataPtr(int nIndex, void* pData)
{
    return SendMessageW(m_hWnd, LB_SETITEMDATA, static_cast<WPARAM>(nIndex),
                        reinterpret_cast<LPARAM>(pData)) == LB_ERR
               ? LB_ERR
               : 0;
}

void* CListBox::GetItemDataPtr(int nIndex) const
{
    const LRESULT lData = SendMessageW(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0);
    return lData == LB_ERR ? nullptr : reinterpret_cast<void*>(lData);
}

struct CPaintDCImpl
{
    HWND hWnd;
    PAINTSTRUCT ps{};
    HDC hDC = nullptr;
};

CPaintDC::CPaintDC(CDialog* pWnd) : m_pImpl(new CPaintDCImpl{pWnd->m_hWnd})
{
    m_pImpl->hDC = BeginPaint(m_pImpl->hWnd, &m_pImpl->ps);
}

CPaintDC::~CPaintDC()
{
    EndPaint(m_pImpl->hWnd, &m_pImpl->ps);
}

void CPaintDC::MoveTo(int x, int y)
{
    MoveToEx(m_pImpl->hDC, x, y, nullptr);
}

void CPaintDC::LineTo(int x, int y)
{
    ::LineTo(m_pImpl->hDC, x, y);
}

HWND AfxGetFocus(const CDialog& dlg)
{
    HWND hFocus = GetFocus();
    return hFocus != nullptr && dlg.m_hWnd != nullptr && GetParent(hFocus) == dlg.m_hWnd ? hFocus
                                                                                         : nullptr;
}

void AfxSetFocus(CWnd& wnd)
{
    SetFocus(wnd.m_hWnd);
}

void AfxSetTabStop(CWnd& wnd, bool bTabStop)
{
    const LONG nStyle = GetWindowLongW(wnd.m_hWnd, GWL_STYLE);
    const LONG nNew = bTabStop ? (nStyle | WS_TABSTOP) : (nStyle & ~WS_TABSTOP);
    if (nNew != nStyle)
        SetWindowLongW(wnd.m_hWnd, GWL_STYLE, nNew);
}

void AfxFocusAndClick(CWnd& wnd, int /*nStep*/)
{
    SetFocus(wnd.m_hWnd);
    // A radio button may click itself as it takes the focus.
    if (SendMessageW(wnd.m_hWnd, BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageW(wnd.m_hWnd, BM_CLICK, 0, 0);
}
