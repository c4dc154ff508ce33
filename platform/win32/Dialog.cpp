// The Win32 backend's dialogs: window procedure, modal loop, keyboard and
// the id-based operations on controls.
#include "platform/win32/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "res/DialogTemplate.h"

#include "platform/win32/Windows.h"

#include "platform/win32/Build.h"

#include <windowsx.h>

#include <cstdio>
#include <cwchar>

namespace
{
// Carries a message posted with CDialog::PostMessage; the dialog keeps the
// message itself, so the program's private messages never meet the
// dialog manager's own (DM_SETDEFID is WM_USER + 1).
constexpr UINT WM_AFX_POSTED = WM_APP + 0x3F00;

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

void AfxTrace(const std::string& strLine)
{
    // VELKOR_WINDOW_LOG names a file that gets one line per event of the
    // windows (shown, caption, control text, command, message box), so that
    // tests that drive the program from outside can follow it.
    static std::FILE* s_pLog = []() -> std::FILE*
    {
        const wchar_t* pszPath = _wgetenv(L"VELKOR_WINDOW_LOG");
        return pszPath != nullptr && *pszPath != L'\0' ? _wfopen(pszPath, L"ab") : nullptr;
    }();
    if (s_pLog == nullptr)
        return;
    std::string strOut;
    for (char c : strLine)
        strOut += c == '\n' ? std::string("\\n") : std::string(1, c);
    std::fputs((strOut + "\n").c_str(), s_pLog);
    std::fflush(s_pLog);
}

std::wstring AfxWide(std::string_view strText)
{
    if (strText.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                                      nullptr, 0);
    std::wstring str(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), str.data(),
                        n);
    return str;
}

std::string AfxNarrow(std::wstring_view strText)
{
    if (strText.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string str(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), str.data(), n,
                        nullptr, nullptr);
    return str;
}

// ---------------------------------------------------------------------------
// Controls.

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
    std::wstring str = AfxWide(strText);
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
    return AfxNarrow(str);
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
    return static_cast<int>(
        SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AfxWide(strItem).c_str())));
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
    return static_cast<int>(
        SendMessageW(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AfxWide(strItem).c_str())));
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
    return AfxNarrow(str);
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

CPaintDC::CPaintDC(CDialog* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    static_assert(sizeof(PAINTSTRUCT) <= sizeof m_ps);
    m_hDC = BeginPaint(m_hWnd, reinterpret_cast<PAINTSTRUCT*>(m_ps.data()));
}

CPaintDC::~CPaintDC()
{
    EndPaint(m_hWnd, reinterpret_cast<PAINTSTRUCT*>(m_ps.data()));
}

void CPaintDC::MoveTo(int x, int y)
{
    MoveToEx(m_hDC, x, y, nullptr);
}

void CPaintDC::LineTo(int x, int y)
{
    ::LineTo(m_hDC, x, y);
}

// ---------------------------------------------------------------------------
// The window procedure.

struct CDialogProc
{
    static INT_PTR CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void OnInitDialog(CDialog* pDlg, HWND hWnd);
    static void Mouse(CDialog* pDlg, UINT message, WPARAM wParam, LPARAM lParam);
};

void CDialogProc::OnInitDialog(CDialog* pDlg, HWND hWnd)
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
                pDlg->m_aBitmaps.push_back(hBitmap);
            }
    }
    if (pDlg->m_strCaption.empty())
        pDlg->m_strCaption = pTpl->strCaption;
    SetWindowTextW(hWnd, AfxWide(pDlg->m_strCaption).c_str());
    if (const MenuTemplate* pMenu = pTpl->nMenu != 0 ? FindMenuTemplate(pTpl->nMenu) : nullptr)
    {
        // The menu bar sits above the client area, which keeps its template size.
        pDlg->m_hMenu = BuildMenu(*pMenu);
        SetMenu(hWnd, pDlg->m_hMenu);
        RECT rc{0, 0, pTpl->cx, pTpl->cy};
        MapDialogRect(hWnd, &rc);
        AdjustWindowRectExForDpi(&rc, static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE)), TRUE,
                                 static_cast<DWORD>(GetWindowLongW(hWnd, GWL_EXSTYLE)),
                                 GetDpiForWindow(hWnd));
        SetWindowPos(hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CDialogProc::Mouse(CDialog* pDlg, UINT message, WPARAM wParam, LPARAM lParam)
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

INT_PTR CALLBACK CDialogProc::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
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
        pDlg->RunPosted(); // may delete the dialog
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
    {
        SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        pDlg->m_hWnd = nullptr;
        for (auto& [nID, wnd] : pDlg->m_mapItems)
            wnd.m_hWnd = nullptr;
        for (void* hBitmap : pDlg->m_aBitmaps)
            DeleteObject(static_cast<HBITMAP>(hBitmap));
        pDlg->m_aBitmaps.clear();
        pDlg->m_hMenu = nullptr; // destroyed with the window
        if (pDlg->m_bModeless)
            pDlg->PostNcDestroy(); // may delete the dialog
        return FALSE;
    }
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// The dialog.

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParent(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr)
    {
        // The object goes first: the window and its owned windows follow
        // without calling back into it.
        m_bModeless = false;
        ::DestroyWindow(m_hWnd);
    }
}

bool CDialog::BuildWindow(CDialog* pOwner, bool bModal)
{
    if (m_hWnd != nullptr)
        return true;
    const DlgTemplate* pTpl = FindDialogTemplate(m_nIDTemplate);
    if (pTpl == nullptr)
        return false;
    if (pOwner == nullptr)
        pOwner = m_pParent != nullptr ? m_pParent : AfxGetMainWnd();
    if (pOwner == this)
        pOwner = nullptr;
    m_pParent = pOwner;
    m_bModal = bModal;
    m_bModeless = !bModal;
    m_bEnded = false;
    m_nResult = 0;
    const std::vector<std::uint16_t> words = BuildDialogTemplate(*pTpl);
    HWND hWnd = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
        pOwner ? pOwner->m_hWnd : nullptr, &CDialogProc::Proc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (!BuildWindow(nullptr, true))
        return -1;
    HWND hWnd = m_hWnd;
    HWND hOwner = GetWindow(hWnd, GW_OWNER);
    if (!m_bEnded)
    {
        const bool bOwnerEnabled = hOwner != nullptr && ::IsWindowEnabled(hOwner);
        if (bOwnerEnabled)
            ::EnableWindow(hOwner, FALSE);
        if (m_bNoRedraw)
            m_bShowPending = true; // shown when it may be drawn
        else
            ::ShowWindow(hWnd, SW_SHOW);
        MSG msg;
        while (!m_bEnded && IsWindow(hWnd))
        {
            const BOOL bGot = GetMessageW(&msg, nullptr, 0, 0);
            if (bGot == 0)
            {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (bGot < 0)
                break;
            if (!PreTranslateMessage(&msg))
            {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (bOwnerEnabled)
            ::EnableWindow(hOwner, TRUE);
        if (hOwner != nullptr && GetActiveWindow() == hWnd)
            SetActiveWindow(hOwner);
    }
    if (IsWindow(hWnd))
        ::DestroyWindow(hWnd);
    m_bModal = false;
    m_bShowPending = false;
    return m_nResult;
}

BOOL CDialog::Create(int nIDTemplate, CDialog* pParentWnd)
{
    if (nIDTemplate != 0)
        m_nIDTemplate = nIDTemplate;
    if (!BuildWindow(pParentWnd, false))
        return FALSE;
    const DlgTemplate* pTpl = FindDialogTemplate(m_nIDTemplate);
    if ((pTpl->dwStyle & WS_VISIBLE) && !m_bEnded)
        ::ShowWindow(m_hWnd, SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
    if (!m_bModal && m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

void CDialog::DestroyWindow()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd); // WM_NCDESTROY runs PostNcDestroy
    else
        PostNcDestroy();
}

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        AfxTrace("command " + std::to_string(LOWORD(wParam)) + " " +
                 std::to_string(HIWORD(wParam)));
    LRESULT lResult = 0;
    AfxCallGuarded([&] { lResult = WindowProc(message, wParam, lParam); });
    return lResult;
}

BOOL CDialog::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return FALSE;
    m_posted.push_back({message, wParam, lParam});
    return PostMessageW(m_hWnd, WM_AFX_POSTED, 0, 0);
}

void CDialog::RunPosted()
{
    if (m_posted.empty())
        return;
    const Posted posted = m_posted.front();
    m_posted.pop_front();
    SendMessage(posted.message, posted.wParam, posted.lParam);
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
    HWND hChecked = m_hWnd != nullptr ? ::GetDlgItem(m_hWnd, nIDCheckButton) : nullptr;
    HWND hFocus = GetFocus();
    if (hChecked == nullptr || hFocus == nullptr || hFocus == hChecked ||
        !(GetWindowLongW(hChecked, GWL_STYLE) & WS_VISIBLE) || !::IsWindowEnabled(hChecked) ||
        GetParent(hFocus) != m_hWnd)
        return;
    const int nFocus = GetDlgCtrlID(hFocus);
    if (nFocus >= nIDFirstButton && nFocus <= nIDLastButton)
        SetFocus(hChecked);
}

CWnd* CDialog::CreateAccessibleItem(int nID, const CRect& rc, BOOL /*bTabStop*/)
{
    if (m_hWnd == nullptr)
        return nullptr;
    // Owner-drawn by nobody and transparent: the controls under it show
    // through, and the mouse passes (a static without SS_NOTIFY).
    HWND hItem = CreateWindowExW(
        WS_EX_TRANSPARENT, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, rc.left, rc.top,
        rc.Width(), rc.Height(), m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nID)),
        GetModuleHandleW(nullptr), nullptr);
    if (hItem == nullptr)
        return nullptr;
    CWnd& rItem = m_mapItems[nID];
    rItem.m_hWnd = hItem;
    return &rItem;
}

CWnd CDialog::ChildWindowFromPoint(CPoint pt) const
{
    CWnd wnd;
    if (m_hWnd == nullptr)
        return wnd;
    HWND hChild = ChildWindowFromPointEx(m_hWnd, POINT{pt.x, pt.y}, CWP_SKIPINVISIBLE);
    wnd.m_hWnd = hChild != m_hWnd ? hChild : nullptr;
    return wnd;
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (m_hWnd == nullptr)
        return;
    ::CheckDlgButton(m_hWnd, nIDButton, nCheck == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED);
    UpdateGroupTabStop(nIDButton);
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    return m_hWnd != nullptr && ::IsDlgButtonChecked(m_hWnd, nIDButton) == BST_CHECKED
               ? BST_CHECKED
               : BST_UNCHECKED;
}

void CDialog::GroupButtons(int nIDFirstButton, int nIDLastButton)
{
    m_aButtonGroups.push_back({nIDFirstButton, nIDLastButton});
    UpdateGroupTabStop(nIDFirstButton);
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
            if (HWND hButton = ::GetDlgItem(m_hWnd, n))
            {
                const LONG nStyle = GetWindowLongW(hButton, GWL_STYLE);
                const bool bStop = !bChecked || IsDlgButtonChecked(n) == BST_CHECKED;
                const LONG nNew = bStop ? (nStyle | WS_TABSTOP) : (nStyle & ~WS_TABSTOP);
                if (nNew != nStyle)
                    SetWindowLongW(hButton, GWL_STYLE, nNew);
            }
        return;
    }
}

void CDialog::AddAccelerator(UINT nVirtKey, UINT fVirt, std::function<void()> fnHandler)
{
    m_aAccelerators.push_back({nVirtKey, fVirt, std::move(fnHandler)});
}

UINT CDialog::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    if (m_hMenu == nullptr)
        return static_cast<UINT>(-1);
    const DWORD dwPrevious =
        ::CheckMenuItem(m_hMenu, nIDCheckItem, MF_BYCOMMAND | (nCheck & MF_CHECKED));
    return dwPrevious == static_cast<DWORD>(-1) ? static_cast<UINT>(-1) : (dwPrevious & MF_CHECKED);
}

UINT CDialog::GetMenuState(UINT nID, UINT /*nFlags*/) const
{
    if (m_hMenu == nullptr)
        return static_cast<UINT>(-1);
    const UINT nState = ::GetMenuState(m_hMenu, nID, MF_BYCOMMAND);
    return nState == static_cast<UINT>(-1) ? nState : (nState & MF_CHECKED);
}

void CDialog::SetWindowText(const std::string& strText)
{
    m_strCaption = strText;
    if (m_hWnd != nullptr)
        SetWindowTextW(m_hWnd, AfxWide(strText).c_str());
    AfxTrace("caption " + std::to_string(m_nIDTemplate) + " " + strText);
}

void CDialog::ShowWindow(int nCmdShow)
{
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, nCmdShow == SW_HIDE ? SW_HIDE : SW_SHOW);
}

void CDialog::SetRedraw(BOOL bRedraw)
{
    m_bNoRedraw = !bRedraw;
    if (m_hWnd == nullptr || !bRedraw)
        return;
    if (m_bShowPending)
    {
        m_bShowPending = false;
        ::ShowWindow(m_hWnd, SW_SHOW);
    }
    RedrawWindow(m_hWnd, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CDialog::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    if (m_hWnd != nullptr)
        SendMessageW(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                     reinterpret_cast<LPARAM>(hIcon));
}

CDialog* CDialog::GetOwner() const
{
    return m_hWnd != nullptr ? FromHandle(GetWindow(m_hWnd, GW_OWNER)) : nullptr;
}

CDialog* CDialog::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    hWnd = GetAncestor(hWnd, GA_ROOT);
    // Only the framework's dialogs: message boxes are dialogs of the same class.
    if (GetClassLongPtrW(hWnd, GCW_ATOM) != 32770 ||
        GetWindowLongPtrW(hWnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&CDialogProc::Proc))
        return nullptr;
    return reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
}

BOOL CDialog::PreTranslateMessage(void* pvMsg)
{
    MSG* pMsg = static_cast<MSG*>(pvMsg);
    CDialog* pDlg = FromHandle(pMsg->hwnd);
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
            for (const Accelerator& accel : pDlg->m_aAccelerators)
                if (accel.nVirtKey == nKey && bShift == ((accel.fVirt & FSHIFT) != 0))
                {
                    AfxCallGuarded(accel.fnHandler);
                    return TRUE;
                }
        const int nStep = nKey == VK_LEFT || nKey == VK_UP      ? -1
                          : nKey == VK_RIGHT || nKey == VK_DOWN ? 1
                                                                : 0;
        HWND hFocus = GetFocus();
        if (nStep != 0 && !bShift && !bCtrl && hFocus != nullptr && GetParent(hFocus) == hDlg)
        {
            const int nID = GetDlgCtrlID(hFocus);
            for (const auto& [nFirst, nLast] : pDlg->m_aButtonGroups)
            {
                if (nID < nFirst || nID > nLast)
                    continue;
                // The previous or next shown button, clicked as with the
                // mouse; the ends of the group keep the key.
                for (int n = nID + nStep; n >= nFirst && n <= nLast; n += nStep)
                {
                    HWND hNext = ::GetDlgItem(hDlg, n);
                    if (hNext == nullptr || !(GetWindowLongW(hNext, GWL_STYLE) & WS_VISIBLE) ||
                        !::IsWindowEnabled(hNext))
                        continue;
                    SetFocus(hNext);
                    // A radio button may click itself as it takes the focus.
                    if (SendMessageW(hNext, BM_GETCHECK, 0, 0) != BST_CHECKED)
                        SendMessageW(hNext, BM_CLICK, 0, 0);
                    break;
                }
                return TRUE;
            }
        }
    }
    return IsDialogMessageW(hDlg, pMsg);
}
