// Building a dialog's controls from its template, and the control handles:
// the id-based operations on one control, lists and painting.
#include "platform/Backend.h"
#include "platform/web/DialogImpl.h"
#include "platform/web/Dom.h"
#include "res/Images.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace
{
// An XPM picture as RGBA rows; empty when it cannot be read.
std::vector<unsigned char> XpmToRgba(const char* const* ppXpm, int& cx, int& cy)
{
    int nColors = 0, nChars = 0;
    if (std::sscanf(ppXpm[0], "%d %d %d %d", &cx, &cy, &nColors, &nChars) != 4 || nChars != 1)
        return {};
    std::map<char, unsigned> colors; // 0 is transparent
    for (int i = 1; i <= nColors; ++i)
    {
        const char* psz = ppXpm[i];
        const char* pHash = std::strchr(psz + 1, '#');
        colors[psz[0]] = pHash ? 0xFF000000u | std::strtoul(pHash + 1, nullptr, 16) : 0;
    }
    std::vector<unsigned char> rgba(static_cast<std::size_t>(cx) * cy * 4);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
        {
            const unsigned c = colors[ppXpm[1 + nColors + y][x]];
            unsigned char* p = &rgba[(static_cast<std::size_t>(y) * cx + x) * 4];
            p[0] = (c >> 16) & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = c & 0xFF;
            p[3] = c >> 24;
        }
    return rgba;
}

// The page's kind of element for a template item (see controls.js).
int ControlKind(const DlgItemTemplate& item, int& nAlign)
{
    nAlign = 0;
    const DWORD dwStyle = item.dwStyle;
    switch (item.cls)
    {
    case CtlClass::Button:
    {
        const DWORD dwType = dwStyle & BS_TYPEMASK;
        if (dwType == BS_GROUPBOX)
            return 2;
        if (dwType == BS_AUTORADIOBUTTON)
            return (dwStyle & BS_PUSHLIKE) ? 4 : 3;
        return dwType == BS_DEFPUSHBUTTON ? 1 : 0;
    }
    case CtlClass::Static:
    {
        const DWORD dwType = dwStyle & SS_TYPEMASK;
        nAlign = dwType == SS_CENTER           ? 1
                 : dwType == SS_RIGHT          ? 2
                 : dwType == SS_LEFTNOWORDWRAP ? 3
                                               : 0;
        return 5;
    }
    case CtlClass::ComboBox:
        return 6;
    case CtlClass::ListBox:
        return 7;
    case CtlClass::Edit:
        return 8;
    }
    return 5;
}
} // namespace

void CDialogImpl::BuildControls(const DlgTemplate& tpl)
{
    int nGroup = 0;
    for (const DlgItemTemplate& item : tpl.items)
    {
        const CRect rc = MapDialogRect(item.x, item.y, item.cx, item.cy);
        if (item.dwStyle & WS_GROUP)
            ++nGroup;
        int nHandle = 0;
        if (item.cls == CtlClass::Static && (item.dwStyle & SS_TYPEMASK) == SS_BITMAP)
        {
            const std::optional<CResImage> image = FindResImage(item.nImage, 1.0);
            int cx = 0, cy = 0;
            std::vector<unsigned char> rgba;
            if (image && image->ppXpm)
                rgba = XpmToRgba(image->ppXpm, cx, cy);
            nHandle = WebDom::Bitmap(m_nClient, rc.left, rc.top, cx, cy, rgba.data());
        }
        else
        {
            int nAlign = 0;
            const int nKind = ControlKind(item, nAlign);
            nHandle = WebDom::Control(
                m_nClient, m_nHandle, nKind, item.nId, item.strText, rc.left, rc.top, rc.Width(),
                rc.Height(), "g" + std::to_string(m_nHandle) + "_" + std::to_string(nGroup),
                nAlign);
            if (nKind == 1)
                m_pDlg->m_nDefaultId = item.nId;
        }
        if (!(item.dwStyle & WS_VISIBLE))
            WebDom::SetVisible(nHandle, false);
        if (item.dwStyle & WS_DISABLED)
            WebDom::SetEnabled(nHandle, false);
        if (item.nId != -1)
            m_pDlg->m_mapItems[item.nId].m_hWnd = AfxWebHwnd(nHandle);
    }
}

int CDialogImpl::Button(int nID) const
{
    auto it = m_pDlg->m_mapItems.find(nID);
    return it == m_pDlg->m_mapItems.end() ? 0 : AfxWebHandle(it->second.m_hWnd);
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (const int h = m_pImpl->Button(nIDButton))
    {
        WebDom::SetChecked(h, nCheck == BST_CHECKED);
        UpdateGroupTabStop(nIDButton);
    }
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    const int h = m_pImpl->Button(nIDButton);
    return h && WebDom::IsChecked(h) ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::GroupButtons(int nIDFirstButton, int nIDLastButton)
{
    // One name in the page, so that the browser and screen readers see one
    // group of radio buttons.
    m_aButtonGroups.push_back({nIDFirstButton, nIDLastButton});
    const std::string strGroup =
        "b" + std::to_string(m_pImpl->m_nHandle) + "_" + std::to_string(nIDFirstButton);
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (const int h = m_pImpl->Button(nID))
        {
            WebDom::SetAttribute(h, "data-grouped", "1");
            WebDom::SetAttribute(h, "data-group", strGroup);
            WebDom::SetAttribute(h, "name", strGroup);
        }
    UpdateGroupTabStop(nIDFirstButton);
}

CWnd* CDialog::CreateAccessibleItem(int nID, const CRect& rc, BOOL bTabStop)
{
    CWnd& rItem = m_mapItems[nID];
    rItem.m_hWnd = AfxWebHwnd(WebDom::Item(m_pImpl->m_nClient, rc.left, rc.top, rc.Width(),
                                           rc.Height(), bTabStop != FALSE));
    return &rItem;
}

CWnd CDialog::ChildWindowFromPoint(CPoint pt) const
{
    CWnd wnd;
    wnd.m_hWnd = AfxWebHwnd(WebDom::At(m_pImpl->m_nClient, pt.x, pt.y));
    return wnd;
}

void CWnd::ShowWindow(int nCmdShow)
{
    WebDom::SetVisible(AfxWebHandle(m_hWnd), nCmdShow != SW_HIDE);
}
void CWnd::EnableWindow(BOOL bEnable)
{
    WebDom::SetEnabled(AfxWebHandle(m_hWnd), bEnable != FALSE);
}
BOOL CWnd::IsWindowVisible() const
{
    return WebDom::IsVisible(AfxWebHandle(m_hWnd));
}
BOOL CWnd::IsWindowEnabled() const
{
    return WebDom::IsEnabled(AfxWebHandle(m_hWnd));
}
void CWnd::SetWindowText(const std::string& strText)
{
    WebDom::SetText(AfxWebHandle(m_hWnd), strText);
}
std::string CWnd::GetWindowText() const
{
    return WebDom::GetText(AfxWebHandle(m_hWnd));
}
CRect CWnd::GetWindowRect() const
{
    int r[4] = {};
    WebDom::GetRect(AfxWebHandle(m_hWnd), r);
    return {r[0], r[1], r[0] + r[2], r[1] + r[3]};
}
void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL /*bRepaint*/)
{
    WebDom::Move(AfxWebHandle(m_hWnd), x, y, cx, cy);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    if (!(nFlags & SWP_NOZORDER) && pWndInsertAfter != nullptr)
        WebDom::InsertAfter(AfxWebHandle(m_hWnd), AfxWebHandle(pWndInsertAfter->m_hWnd));
    const CRect rc = GetWindowRect();
    if (nFlags & SWP_NOMOVE)
        x = rc.left, y = rc.top;
    if (nFlags & SWP_NOSIZE)
        cx = rc.Width(), cy = rc.Height();
    WebDom::Move(AfxWebHandle(m_hWnd), x, y, cx, cy);
    return TRUE;
}
void CWnd::SetAccessibleName(const std::string& strName)
{
    WebDom::SetAttribute(AfxWebHandle(m_hWnd), "aria-label", strName);
}
void CWnd::SetAccessibleDescription(const std::string& strText)
{
    WebDom::SetAttribute(AfxWebHandle(m_hWnd), "aria-description", strText);
    WebDom::SetAttribute(AfxWebHandle(m_hWnd), "aria-valuetext", strText);
}
void CWnd::SetAccessibleHidden()
{
    WebDom::SetAttribute(AfxWebHandle(m_hWnd), "aria-hidden", "true");
}
CRect CWnd::GetLineRect(int nLine) const
{
    // Texts have 13-pixel lines (the page's style).
    const CRect rc = GetWindowRect();
    return {rc.left, rc.top + nLine * 13, rc.right, rc.top + (nLine + 1) * 13};
}

// The drop-down list and the list box are both a <select>.
int CListWnd::AddString(const std::string& strItem)
{
    return WebDom::AddOption(AfxWebHandle(m_hWnd), strItem);
}
void CListWnd::ResetContent()
{
    WebDom::ClearOptions(AfxWebHandle(m_hWnd));
}
int CListWnd::GetCount() const
{
    return WebDom::OptionCount(AfxWebHandle(m_hWnd));
}
int CListWnd::GetCurSel() const
{
    const int n = WebDom::Selected(AfxWebHandle(m_hWnd));
    return n < 0 ? CB_ERR : n;
}
int CListWnd::SetCurSel(int nSelect)
{
    const bool bValid = nSelect >= 0 && nSelect < GetCount();
    WebDom::Select(AfxWebHandle(m_hWnd), bValid ? nSelect : -1);
    return bValid ? nSelect : CB_ERR;
}
std::string CListBox::GetText(int nIndex) const
{
    return WebDom::OptionText(AfxWebHandle(m_hWnd), nIndex);
}
int CListBox::SetItemDataPtr(int nIndex, void* pData)
{
    return WebDom::SetOptionData(AfxWebHandle(m_hWnd), nIndex, pData) ? 0 : LB_ERR;
}
void* CListBox::GetItemDataPtr(int nIndex) const
{
    return WebDom::OptionData(AfxWebHandle(m_hWnd), nIndex);
}

CPaintDC::CPaintDC(CDialog* pWnd)
    : m_pImpl(new CPaintDCImpl{WebDom::Canvas(CDialogImpl::Of(*pWnd).m_nClient), {}})
{
}

CPaintDC::~CPaintDC() = default;

void CPaintDC::MoveTo(int x, int y)
{
    m_pImpl->ptCurrent = {x, y};
}

void CPaintDC::LineTo(int x, int y)
{
    WebDom::Line(m_pImpl->nCanvas, m_pImpl->ptCurrent.x, m_pImpl->ptCurrent.y, x, y);
    m_pImpl->ptCurrent = {x, y};
}
