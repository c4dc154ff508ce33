// The Win32 backend's dialogs: lifetime, the modal loop, posted and sent
// messages and the id-based operations on controls and the menu.
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "res/DialogTemplate.h"

#include "platform/win32/Windows.h"

#include "platform/win32/Build.h"
#include "platform/win32/DialogProc.h"

// ---------------------------------------------------------------------------
// The dialog.

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pImpl(std::make_unique<CDialogImpl>())
{
    m_pImpl->m_pParent = pParentWnd;
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

bool CDialogImpl::BuildWindow(CDialog* pDlg, CDialog* pOwner, bool bModal)
{
    if (pDlg->m_hWnd != nullptr)
        return true;
    const DlgTemplate* pTpl = FindDialogTemplate(pDlg->m_nIDTemplate);
    if (pTpl == nullptr)
        return false;
    if (pOwner == nullptr)
        pOwner = pDlg->m_pImpl->m_pParent != nullptr ? pDlg->m_pImpl->m_pParent : AfxGetMainWnd();
    if (pOwner == pDlg)
        pOwner = nullptr;
    pDlg->m_pImpl->m_pParent = pOwner;
    pDlg->m_bModal = bModal;
    pDlg->m_bModeless = !bModal;
    pDlg->m_bEnded = false;
    pDlg->m_pImpl->m_nResult = 0;
    const std::vector<std::uint16_t> words = BuildDialogTemplate(*pTpl);
    HWND hWnd = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
        pOwner ? pOwner->m_hWnd : nullptr, &CDialogImpl::Proc, reinterpret_cast<LPARAM>(pDlg));
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (!CDialogImpl::BuildWindow(this, nullptr, true))
        return -1;
    HWND hWnd = m_hWnd;
    HWND hOwner = GetWindow(hWnd, GW_OWNER);
    if (!m_bEnded)
    {
        const bool bOwnerEnabled = hOwner != nullptr && ::IsWindowEnabled(hOwner);
        if (bOwnerEnabled)
            ::EnableWindow(hOwner, FALSE);
        if (m_pImpl->m_bNoRedraw)
            m_pImpl->m_bShowPending = true; // shown when it may be drawn
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
            if (!CDialogImpl::PreTranslateMessage(&msg))
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
    m_pImpl->m_bShowPending = false;
    return m_pImpl->m_nResult;
}

BOOL CDialog::Create(int nIDTemplate, CDialog* pParentWnd)
{
    if (nIDTemplate != 0)
        m_nIDTemplate = nIDTemplate;
    if (!CDialogImpl::BuildWindow(this, pParentWnd, false))
        return FALSE;
    const DlgTemplate* pTpl = FindDialogTemplate(m_nIDTemplate);
    if ((pTpl->dwStyle & WS_VISIBLE) && !m_bEnded)
        ::ShowWindow(m_hWnd, SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_pImpl->m_nResult = nResult;
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
    m_pImpl->m_posted.push_back({message, wParam, lParam});
    return PostMessageW(m_hWnd, WM_AFX_POSTED, 0, 0);
}

void CDialogImpl::RunPosted(CDialog* pDlg)
{
    std::deque<Posted>& posted = pDlg->m_pImpl->m_posted;
    if (posted.empty())
        return;
    const Posted message = posted.front();
    posted.pop_front();
    pDlg->SendMessage(message.message, message.wParam, message.lParam);
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

void CDialog::AddAccelerator(UINT nVirtKey, UINT fVirt, std::function<void()> fnHandler)
{
    m_pImpl->m_aAccelerators.push_back({nVirtKey, fVirt, std::move(fnHandler)});
}

UINT CDialog::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    if (m_pImpl->m_hMenu == nullptr)
        return static_cast<UINT>(-1);
    const DWORD dwPrevious =
        ::CheckMenuItem(m_pImpl->m_hMenu, nIDCheckItem, MF_BYCOMMAND | (nCheck & MF_CHECKED));
    return dwPrevious == static_cast<DWORD>(-1) ? static_cast<UINT>(-1) : (dwPrevious & MF_CHECKED);
}

UINT CDialog::GetMenuState(UINT nID, UINT /*nFlags*/) const
{
    if (m_pImpl->m_hMenu == nullptr)
        return static_cast<UINT>(-1);
    const UINT nState = ::GetMenuState(m_pImpl->m_hMenu, nID, MF_BYCOMMAND);
    return nState == static_cast<UINT>(-1) ? nState : (nState & MF_CHECKED);
}

void CDialog::SetWindowText(const std::string& strText)
{
    m_strCaption = strText;
    if (m_hWnd != nullptr)
        SetWindowTextW(m_hWnd, Utf8ToWide(strText).c_str());
    AfxTrace("caption " + std::to_string(m_nIDTemplate) + " " + strText);
}

void CDialog::ShowWindow(int nCmdShow)
{
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, nCmdShow == SW_HIDE ? SW_HIDE : SW_SHOW);
}

void CDialog::SetRedraw(BOOL bRedraw)
{
    m_pImpl->m_bNoRedraw = !bRedraw;
    if (m_hWnd == nullptr || !bRedraw)
        return;
    if (m_pImpl->m_bShowPending)
    {
        m_pImpl->m_bShowPending = false;
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
