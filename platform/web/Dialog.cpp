// The dialog: its life, the message loop and its queue of posted messages,
// the keys of the page, and the menu.
#include "platform/Backend.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "platform/web/DialogImpl.h"
#include "platform/web/Dom.h"

#include <deque>

namespace
{
struct Posted
{
    int nDialog;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::deque<Posted> s_posted;
std::map<int, CDialog*> s_dialogs; // built dialogs by their number in the page

// Before the loop waits: every dialog painted, whatever was saved downloaded.
void Settle()
{
    CDialogImpl::Paint();
    WebDom::Downloads();
}
} // namespace

void CDialogImpl::Dispatch(const WebDom::Event& ev)
{
    auto it = s_dialogs.find(ev.nDialog);
    if (it == s_dialogs.end())
        return; // gone, or an answer that no loop waits for
    CDialog* pDlg = it->second;
    if (ev.nKind == 1)
        pDlg->SendCommand(ev.nId, static_cast<UINT>(ev.nCode));
    else if (ev.nKind == 2)
        pDlg->SendMessage(WM_CLOSE);
    else if (ev.nKind == 3)
    {
        static constexpr void (CDialog::*s_apHandlers[])(UINT, CPoint) = {
            &CDialog::OnLButtonDown, &CDialog::OnLButtonUp, &CDialog::OnMouseMove};
        const auto pHandler = s_apHandlers[ev.nId % 3];
        AfxCallGuarded([&] { (pDlg->*pHandler)(ev.nFlags ? MK_LBUTTON : 0, {ev.x, ev.y}); });
    }
    else if (ev.nKind == 4)
    {
        const int nStep = ev.nCode == VK_LEFT || ev.nCode == VK_UP ? -1 : 1;
        if (ev.nId != 0 && pDlg->StepInGroup(ev.nId, nStep))
            return;
        const UINT nKey = static_cast<UINT>(ev.nCode) | (ev.x ? FSHIFT << 16 : 0);
        for (const auto& [nAccel, fn] : Of(*pDlg).m_aAccelerators)
            if (nAccel == nKey)
                AfxCallGuarded(fn);
    }
}

void CDialogImpl::Paint()
{
    for (const auto& [nHandle, pDlg] : s_dialogs)
        if (WebDom::IsVisible(nHandle))
            AfxCallGuarded([pDlg = pDlg] { pDlg->OnPaint(); });
}

BOOL AfxWebPumpMessage(int nAnswerKind, int* pId, int* pCode)
{
    if (!s_posted.empty())
    {
        const Posted msg = s_posted.front();
        s_posted.pop_front();
        if (auto it = s_dialogs.find(msg.nDialog); it != s_dialogs.end())
            it->second->SendMessage(msg.message, msg.wParam, msg.lParam);
        return FALSE;
    }
    Settle();
    const WebDom::Event ev = WebDom::WaitEvent();
    if (nAnswerKind != 0 && ev.nKind == nAnswerKind)
    {
        *pId = ev.nId;
        *pCode = ev.nCode;
        return TRUE;
    }
    CDialogImpl::Dispatch(ev);
    return FALSE;
}

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pImpl(std::make_unique<CDialogImpl>(this, pParentWnd))
{
}

CDialog::~CDialog()
{
    // Owned modeless dialogs go with their owner; their objects belong to
    // their own code (PostNcDestroy).
    std::vector<CDialog*> owned;
    for (const auto& [nHandle, pDlg] : s_dialogs)
        if (pDlg->GetOwner() == this)
            owned.push_back(pDlg);
    for (CDialog* pDlg : owned)
    {
        const int nHandle = CDialogImpl::Of(*pDlg).m_nHandle;
        if (pDlg->m_bModeless && s_dialogs.count(nHandle))
            pDlg->DestroyWindow();
        if (auto it = s_dialogs.find(nHandle); it != s_dialogs.end() && it->second == pDlg)
            CDialogImpl::Of(*pDlg).m_pOwner = nullptr;
    }
    m_pImpl->Forget();
}

void CDialogImpl::Forget()
{
    if (m_nHandle != 0)
    {
        s_dialogs.erase(m_nHandle);
        WebDom::Remove(m_nHandle);
    }
    m_nHandle = m_nClient = 0;
    m_pDlg->m_hWnd = nullptr;
    m_bBuilt = false;
}

void CDialog::DestroyWindow()
{
    m_pImpl->Forget();
    m_mapItems.clear();
    m_aButtonGroups.clear();
    m_pImpl->m_mapMenu.clear();
    PostNcDestroy(); // may delete this
}

void CDialog::EndDialog(int nResult)
{
    m_bEnded = true;
    m_pImpl->m_nResult = nResult;
    if (m_pImpl->m_nHandle != 0)
        m_pImpl->Show(false);
}

void CDialog::ShowWindow(int nCmdShow)
{
    if (m_pImpl->m_nHandle != 0)
        m_pImpl->Show(nCmdShow != SW_HIDE);
}

void CDialogImpl::Show(bool bShow)
{
    // Without DS_CENTER at the template's position in the owner's client
    // area; a modal dialog with an owner blocks the windows below it.
    const DlgTemplate* pTpl = FindDialogTemplate(m_pDlg->m_nIDTemplate);
    const CRect rc = MapDialogRect(pTpl->x, pTpl->y, 0, 0);
    const int nOwnerClient = m_pOwner ? Of(*m_pOwner).m_nClient : 0;
    WebDom::Show(m_nHandle, bShow, !m_pDlg->m_bModeless && m_pOwner, nOwnerClient, rc.left, rc.top,
                 (pTpl->dwStyle & DS_CENTER) != 0);
}

INT_PTR CDialog::DoModal()
{
    if (!m_pImpl->BuildWindow(nullptr))
        return -1;
    m_bModal = true;
    m_bModeless = false;
    m_bEnded = false;
    m_pImpl->m_nResult = 0;
    AfxCallGuarded([this] { OnInitDialog(); });
    if (!m_bEnded)
        m_pImpl->Show(true);
    while (!m_bEnded)
        AfxWebPumpMessage();
    m_bModal = false;
    return m_pImpl->m_nResult;
}

BOOL CDialog::Create(int nIDTemplate, CDialog* pParentWnd)
{
    if (nIDTemplate != 0)
        m_nIDTemplate = nIDTemplate;
    if (pParentWnd)
        m_pImpl->m_pOwner = pParentWnd;
    if (!m_pImpl->BuildWindow(pParentWnd))
        return FALSE;
    m_bModeless = true;
    m_bEnded = false;
    AfxCallGuarded([this] { OnInitDialog(); });
    if ((FindDialogTemplate(m_nIDTemplate)->dwStyle & WS_VISIBLE) && !m_bEnded)
        m_pImpl->Show(true);
    return TRUE;
}

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    AfxCallGuarded([&] { lResult = WindowProc(message, wParam, lParam); });
    return lResult;
}

BOOL CDialog::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Queued behind what the loop already holds; dropped with the dialog.
    if (m_pImpl->m_nHandle == 0)
        return FALSE;
    s_posted.push_back({m_pImpl->m_nHandle, message, wParam, lParam});
    return TRUE;
}

CDialog* CDialog::GetOwner() const
{
    return m_pImpl->m_pOwner;
}

CDialog* CDialog::FromHandle(HWND hWnd)
{
    auto it = s_dialogs.find(WebDom::DialogOf(AfxWebHandle(hWnd)));
    return it == s_dialogs.end() ? nullptr : it->second;
}

void CDialog::SetRedraw(BOOL /*bRedraw*/) {}

void CDialog::SetIcon(HICON /*hIcon*/, BOOL /*bBigIcon*/) {}

bool CDialogImpl::BuildWindow(CDialog* pOwner)
{
    if (m_bBuilt)
        return true;
    const DlgTemplate* pTpl = FindDialogTemplate(m_pDlg->m_nIDTemplate);
    if (!pTpl)
        return false;
    if (!m_pOwner)
    {
        CDialog* pMain = pOwner ? pOwner : AfxGetMainWnd();
        m_pOwner = pMain != m_pDlg ? pMain : nullptr;
    }
    const CRect rc = MapDialogRect(0, 0, pTpl->cx, pTpl->cy);
    std::string& strCaption = m_pDlg->m_strCaption;
    if (strCaption.empty())
        strCaption = pTpl->strCaption;
    m_nHandle =
        WebDom::Dialog(strCaption, rc.Width(), rc.Height(), (pTpl->dwStyle & WS_SYSMENU) != 0);
    m_nClient = m_nHandle + 1;
    m_pDlg->m_hWnd = AfxWebHwnd(m_nHandle);
    WebDom::SetCaption(m_nHandle, strCaption);
    s_dialogs[m_nHandle] = m_pDlg;
    if (pTpl->nMenu != 0)
        BuildMenu(pTpl->nMenu);
    BuildControls(*pTpl);
    m_bBuilt = true;
    return true;
}

void CDialogImpl::BuildMenu(int nMenuId)
{
    const int nBar = WebDom::MenuBar(m_nHandle);
    const MenuTemplate* pMenu = FindMenuTemplate(nMenuId);
    for (std::size_t i = 0; pMenu && i < pMenu->popups.size(); ++i)
    {
        const int nPopup = WebDom::Popup(nBar, pMenu->popups[i].strText);
        for (const MenuItemTemplate& item : pMenu->popups[i].items)
        {
            const int nItem = WebDom::MenuItem(nPopup, item.strText, item.nCommand);
            if (item.nCommand != 0)
                m_mapMenu[item.nCommand] = {nItem, false};
        }
    }
}

UINT CDialog::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    auto& menu = m_pImpl->m_mapMenu;
    auto it = menu.find(static_cast<int>(nIDCheckItem));
    if (it == menu.end())
        return static_cast<UINT>(-1);
    const UINT nPrevious = it->second.second ? MF_CHECKED : MF_UNCHECKED;
    it->second.second = (nCheck & MF_CHECKED) != 0;
    WebDom::CheckMenuItem(it->second.first, it->second.second);
    return nPrevious;
}

UINT CDialog::GetMenuState(UINT nID, UINT /*nFlags*/) const
{
    auto it = m_pImpl->m_mapMenu.find(static_cast<int>(nID));
    if (it == m_pImpl->m_mapMenu.end())
        return static_cast<UINT>(-1);
    return it->second.second ? MF_CHECKED : MF_UNCHECKED;
}

void CDialog::SetWindowText(const std::string& strText)
{
    m_strCaption = strText;
    if (m_pImpl->m_nHandle != 0)
        WebDom::SetCaption(m_pImpl->m_nHandle, strText);
}

void CDialog::AddAccelerator(UINT nVirtKey, UINT fVirt, std::function<void()> fnHandler)
{
    m_pImpl->m_aAccelerators.emplace_back(nVirtKey | ((fVirt & FSHIFT) ? FSHIFT << 16 : 0),
                                          std::move(fnHandler));
    if (m_pImpl->m_nHandle != 0)
        WebDom::SetAccelerated(m_pImpl->m_nHandle);
}

HWND AfxGetFocus(const CDialog& dlg)
{
    return AfxWebHwnd(WebDom::FocusIn(CDialogImpl::Of(dlg).m_nHandle));
}

void AfxSetFocus(CWnd& wnd)
{
    WebDom::Focus(AfxWebHandle(wnd.m_hWnd));
}

void AfxSetTabStop(CWnd& wnd, bool bTabStop)
{
    WebDom::SetTabIndex(AfxWebHandle(wnd.m_hWnd), bTabStop ? 0 : -1);
}

void AfxFocusAndClick(CWnd& wnd, int /*nStep*/)
{
    // As the mouse clicks it: checked (an automatic radio button), then
    // BN_CLICKED for the program.
    const int nHandle = AfxWebHandle(wnd.m_hWnd);
    WebDom::Focus(nHandle);
    WebDom::SetChecked(nHandle, true);
    if (CDialog* pDlg = CDialog::FromHandle(wnd.m_hWnd))
        CDialogImpl::Click(*pDlg, WebDom::ControlId(nHandle));
}
