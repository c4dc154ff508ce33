// The dialog: its life, the message loop and its queue of posted messages,
// the keyboard, buttons by id and the menu.
#include "platform/web/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
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
} // namespace

// What the message loop hands to a dialog: it may call its protected handlers.
struct CWebEvents
{
    static void Dispatch(const WebDom::Event& ev);
    static void Paint();
};

void CWebEvents::Dispatch(const WebDom::Event& ev)
{
    auto it = s_dialogs.find(ev.nDialog);
    if (it == s_dialogs.end())
        return; // gone, or a box's answer that its own loop reads
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
        if (ev.nId != 0 && pDlg->m_mapGroups.count(ev.nId))
            return pDlg->StepInGroup(ev.nId, nStep);
        const UINT nKey = static_cast<UINT>(ev.nCode) | (ev.x ? FSHIFT << 16 : 0);
        for (const auto& [nAccel, fn] : pDlg->m_aAccelerators)
            if (nAccel == nKey)
                AfxCallGuarded(fn);
    }
}

void CWebEvents::Paint()
{
    for (const auto& [nHandle, pDlg] : s_dialogs)
        if (pDlg->m_bBuilt && WebDom::IsVisible(nHandle))
            AfxCallGuarded([pDlg = pDlg] { pDlg->OnPaint(); });
}

namespace
{
// Before the loop waits: every dialog painted, whatever was saved downloaded.
void Settle()
{
    CWebEvents::Paint();
    WebDom::Downloads();
}
} // namespace

BOOL CDialog::PumpMessage(int nAnswerKind, int* pId, int* pCode)
{
    BOOL bAnswer = FALSE;
    if (!s_posted.empty())
    {
        const Posted msg = s_posted.front();
        s_posted.pop_front();
        if (auto it = s_dialogs.find(msg.nDialog); it != s_dialogs.end())
            it->second->SendMessage(msg.message, msg.wParam, msg.lParam);
    }
    else if (const WebDom::Event ev = (Settle(), WebDom::WaitEvent());
             ev.nKind == nAnswerKind && nAnswerKind)
    {
        *pId = ev.nId;
        *pCode = ev.nCode;
        bAnswer = TRUE;
    }
    else
        CWebEvents::Dispatch(ev);
    return bAnswer;
}

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pOwner(pParentWnd)
{
}

CDialog::~CDialog()
{
    // Owned modeless dialogs go with their owner; their objects belong to
    // their own code (PostNcDestroy).
    std::vector<CDialog*> owned;
    for (const auto& [nHandle, pDlg] : s_dialogs)
        if (pDlg->m_pOwner == this)
            owned.push_back(pDlg);
    for (CDialog* pDlg : owned)
    {
        if (pDlg->m_bModeless && s_dialogs.count(pDlg->m_nHandle))
            pDlg->DestroyWindow();
        if (auto it = s_dialogs.find(pDlg->m_nHandle); it != s_dialogs.end() && it->second == pDlg)
            it->second->m_pOwner = nullptr;
    }
    if (m_nHandle != 0)
    {
        s_dialogs.erase(m_nHandle);
        WebDom::Remove(m_nHandle);
    }
}

void CDialog::DestroyWindow()
{
    if (m_nHandle != 0)
    {
        s_dialogs.erase(m_nHandle);
        WebDom::Remove(m_nHandle);
    }
    m_nHandle = m_nClient = m_nCanvas = 0;
    m_bBuilt = false;
    m_mapItems.clear();
    m_mapMenu.clear();
    PostNcDestroy(); // may delete this
}

void CDialog::EndDialog(int nResult)
{
    m_bEnded = true;
    m_nResult = nResult;
    if (m_nHandle != 0)
        ShowWindow(SW_HIDE);
}

void CDialog::ShowWindow(int nCmdShow)
{
    if (m_nHandle == 0)
        return;
    const DlgTemplate* pTpl = FindDialogTemplate(m_nIDTemplate);
    const CRect rc = MapDialogRect(pTpl->x, pTpl->y, 0, 0);
    const int nOwnerClient = m_pOwner ? m_pOwner->m_nClient : 0;
    // A modal dialog with an owner blocks the windows below it.
    WebDom::Show(m_nHandle, nCmdShow != SW_HIDE, !m_bModeless && m_pOwner, nOwnerClient, rc.left,
                 rc.top, (pTpl->dwStyle & DS_CENTER) != 0);
}

INT_PTR CDialog::DoModal()
{
    if (!BuildWindow(nullptr))
        return -1;
    m_bModeless = false;
    m_bEnded = false;
    m_nResult = 0;
    AfxCallGuarded([this] { OnInitDialog(); });
    if (!m_bEnded)
        ShowWindow(SW_SHOW);
    while (!m_bEnded)
        PumpMessage();
    return m_nResult;
}

BOOL CDialog::Create(int nIDTemplate, CDialog* pParentWnd)
{
    if (nIDTemplate != 0)
        m_nIDTemplate = nIDTemplate;
    if (pParentWnd)
        m_pOwner = pParentWnd;
    if (!BuildWindow(pParentWnd))
        return FALSE;
    m_bModeless = true;
    m_bEnded = false;
    AfxCallGuarded([this] { OnInitDialog(); });
    if ((FindDialogTemplate(m_nIDTemplate)->dwStyle & WS_VISIBLE) && !m_bEnded)
        ShowWindow(SW_SHOW);
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
    if (m_nHandle == 0)
        return FALSE;
    s_posted.push_back({m_nHandle, message, wParam, lParam});
    return TRUE;
}

bool CDialog::BuildWindow(CDialog* pOwner)
{
    if (m_bBuilt)
        return true;
    const DlgTemplate* pTpl = FindDialogTemplate(m_nIDTemplate);
    if (!pTpl)
        return false;
    if (!m_pOwner)
    {
        CDialog* pMain = pOwner ? pOwner : AfxGetMainWnd();
        m_pOwner = pMain != this ? pMain : nullptr;
    }
    const CRect rc = MapDialogRect(0, 0, pTpl->cx, pTpl->cy);
    if (m_strCaption.empty())
        m_strCaption = pTpl->strCaption;
    m_nHandle =
        WebDom::Dialog(m_strCaption, rc.Width(), rc.Height(), (pTpl->dwStyle & WS_SYSMENU) != 0);
    m_nClient = m_nHandle + 1;
    WebDom::SetCaption(m_nHandle, m_strCaption);
    s_dialogs[m_nHandle] = this;
    if (pTpl->nMenu != 0)
        BuildMenu(pTpl->nMenu);
    BuildControls(*pTpl);
    m_bBuilt = true;
    return true;
}

void CDialog::BuildMenu(int nMenuId)
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
    auto it = m_mapMenu.find(static_cast<int>(nIDCheckItem));
    if (it == m_mapMenu.end())
        return static_cast<UINT>(-1);
    const UINT nPrevious = it->second.second ? MF_CHECKED : MF_UNCHECKED;
    it->second.second = (nCheck & MF_CHECKED) != 0;
    WebDom::CheckMenuItem(it->second.first, it->second.second);
    return nPrevious;
}

UINT CDialog::GetMenuState(UINT nID, UINT /*nFlags*/) const
{
    auto it = m_mapMenu.find(static_cast<int>(nID));
    if (it == m_mapMenu.end())
        return static_cast<UINT>(-1);
    return it->second.second ? MF_CHECKED : MF_UNCHECKED;
}

void CDialog::SetWindowText(const std::string& strText)
{
    m_strCaption = strText;
    if (m_nHandle != 0)
        WebDom::SetCaption(m_nHandle, strText);
}

void CDialog::AddAccelerator(UINT nVirtKey, UINT fVirt, std::function<void()> fnHandler)
{
    m_aAccelerators.emplace_back(nVirtKey | ((fVirt & FSHIFT) ? FSHIFT << 16 : 0),
                                 std::move(fnHandler));
    if (m_nHandle != 0)
        WebDom::SetAccelerated(m_nHandle);
}
