// Building a dialog's controls from its template, and the control handles:
// the id-based operations on one control, lists and painting.
#include "platform/web/Dialog.h"
#include "platform/web/Dom.h"
#include "res/Images.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace
{
HWND ToHwnd(int nHandle)
{
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(nHandle));
}

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

void CDialog::BuildControls(const DlgTemplate& tpl)
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
                m_nDefaultId = item.nId;
        }
        if (!(item.dwStyle & WS_VISIBLE))
            WebDom::SetVisible(nHandle, false);
        if (item.dwStyle & WS_DISABLED)
            WebDom::SetEnabled(nHandle, false);
        if (item.nId != -1)
            m_mapItems[item.nId].m_hWnd = ToHwnd(nHandle);
    }
}

int CDialog::Button(int nID) const
{
    auto it = m_mapItems.find(nID);
    return it == m_mapItems.end() ? 0 : it->second.Handle();
}

std::string CDialog::GetDlgItemText(int nID) const
{
    auto it = m_mapItems.find(nID);
    return it == m_mapItems.end() ? std::string() : it->second.GetWindowText();
}

void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    bool bFocusInGroup = false;
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
    {
        if (const int h = Button(nID); h && WebDom::HasFocus(h))
            bFocusInGroup = true;
        if (nID != nIDCheckButton)
            CheckDlgButton(nID, BST_UNCHECKED);
    }
    if (nIDCheckButton >= nIDFirstButton && nIDCheckButton <= nIDLastButton)
        CheckDlgButton(nIDCheckButton, BST_CHECKED);
    // The keyboard focus goes where Tab would put it, on the checked button.
    if (const int h = Button(nIDCheckButton); h && bFocusInGroup && WebDom::IsVisible(h))
        WebDom::Focus(h);
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (const int h = Button(nIDButton))
    {
        WebDom::SetChecked(h, nCheck == BST_CHECKED);
        if (auto it = m_mapGroups.find(nIDButton); it != m_mapGroups.end())
            UpdateGroupTabStop(it->second.first, it->second.second);
    }
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    const int h = Button(nIDButton);
    return h && WebDom::IsChecked(h) ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::GroupButtons(int nIDFirstButton, int nIDLastButton)
{
    // One name for the page, so that the browser and screen readers see one
    // group of radio buttons.
    const std::string strGroup =
        "b" + std::to_string(m_nHandle) + "_" + std::to_string(nIDFirstButton);
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (const int h = Button(nID))
        {
            m_mapGroups[nID] = {nIDFirstButton, nIDLastButton};
            WebDom::SetAttribute(h, "data-grouped", "1");
            WebDom::SetAttribute(h, "data-group", strGroup);
            WebDom::SetAttribute(h, "name", strGroup);
        }
    UpdateGroupTabStop(nIDFirstButton, nIDLastButton);
}

void CDialog::UpdateGroupTabStop(int nIDFirst, int nIDLast)
{
    bool bChecked = false;
    for (int nID = nIDFirst; nID <= nIDLast; ++nID)
        bChecked = bChecked || IsDlgButtonChecked(nID) == BST_CHECKED;
    for (int nID = nIDFirst; nID <= nIDLast; ++nID)
        if (const int h = Button(nID))
            WebDom::SetTabIndex(h, !bChecked || IsDlgButtonChecked(nID) ? 0 : -1);
}

void CDialog::StepInGroup(int nID, int nStep)
{
    // The previous or next shown button, clicked as with the mouse; the
    // ends of the group keep the key.
    const auto [nFirst, nLast] = m_mapGroups[nID];
    for (int n = nID + nStep; n >= nFirst && n <= nLast; n += nStep)
        if (const int h = Button(n); h && WebDom::IsVisible(h) && WebDom::IsEnabled(h))
        {
            WebDom::Focus(h);
            CheckRadioButton(nFirst, nLast, n);
            SendCommand(n, BN_CLICKED);
            return;
        }
}

CWnd* CDialog::CreateAccessibleItem(int nID, const CRect& rc, BOOL bTabStop)
{
    CWnd& rItem = m_mapItems[nID];
    rItem.m_hWnd = ToHwnd(
        WebDom::Item(m_nClient, rc.left, rc.top, rc.Width(), rc.Height(), bTabStop != FALSE));
    return &rItem;
}

CWnd CDialog::ChildWindowFromPoint(CPoint pt) const
{
    CWnd wnd;
    wnd.m_hWnd = ToHwnd(WebDom::At(m_nClient, pt.x, pt.y));
    return wnd;
}

void CWnd::ShowWindow(int nCmdShow)
{
    WebDom::SetVisible(Handle(), nCmdShow != SW_HIDE);
}
void CWnd::EnableWindow(BOOL bEnable)
{
    WebDom::SetEnabled(Handle(), bEnable != FALSE);
}
BOOL CWnd::IsWindowVisible() const
{
    return WebDom::IsVisible(Handle());
}
BOOL CWnd::IsWindowEnabled() const
{
    return WebDom::IsEnabled(Handle());
}
void CWnd::SetWindowText(const std::string& strText)
{
    WebDom::SetText(Handle(), strText);
}
std::string CWnd::GetWindowText() const
{
    return WebDom::GetText(Handle());
}
CRect CWnd::GetWindowRect() const
{
    int r[4] = {};
    WebDom::GetRect(Handle(), r);
    return {r[0], r[1], r[0] + r[2], r[1] + r[3]};
}
void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL /*bRepaint*/)
{
    WebDom::Move(Handle(), x, y, cx, cy);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    if (!(nFlags & SWP_NOZORDER) && pWndInsertAfter != nullptr)
        WebDom::InsertAfter(Handle(), pWndInsertAfter->Handle());
    const CRect rc = GetWindowRect();
    if (nFlags & SWP_NOMOVE)
        x = rc.left, y = rc.top;
    if (nFlags & SWP_NOSIZE)
        cx = rc.Width(), cy = rc.Height();
    WebDom::Move(Handle(), x, y, cx, cy);
    return TRUE;
}
void CWnd::SetAccessibleName(const std::string& strName)
{
    WebDom::SetAttribute(Handle(), "aria-label", strName);
}
void CWnd::SetAccessibleDescription(const std::string& strText)
{
    WebDom::SetAttribute(Handle(), "aria-description", strText);
    WebDom::SetAttribute(Handle(), "aria-valuetext", strText);
}
void CWnd::SetAccessibleHidden()
{
    WebDom::SetAttribute(Handle(), "aria-hidden", "true");
}
CRect CWnd::GetLineRect(int nLine) const
{
    // Texts have 13-pixel lines (the page's style).
    const CRect rc = GetWindowRect();
    return {rc.left, rc.top + nLine * 13, rc.right, rc.top + (nLine + 1) * 13};
}

int CComboBox::AddString(const std::string& strItem)
{
    return WebDom::AddOption(Handle(), strItem);
}
void CComboBox::ResetContent()
{
    WebDom::ClearOptions(Handle());
}
int CComboBox::GetCount() const
{
    return WebDom::OptionCount(Handle());
}
int CComboBox::GetCurSel() const
{
    const int n = WebDom::Selected(Handle());
    return n < 0 ? CB_ERR : n;
}
int CComboBox::SetCurSel(int nSelect)
{
    const bool bValid = nSelect >= 0 && nSelect < GetCount();
    WebDom::Select(Handle(), bValid ? nSelect : -1);
    return bValid ? nSelect : CB_ERR;
}

int CListBox::AddString(const std::string& strItem)
{
    return WebDom::AddOption(Handle(), strItem);
}
void CListBox::ResetContent()
{
    WebDom::ClearOptions(Handle());
    m_aData.clear();
}
int CListBox::GetCount() const
{
    return WebDom::OptionCount(Handle());
}
int CListBox::GetCurSel() const
{
    const int n = WebDom::Selected(Handle());
    return n < 0 ? LB_ERR : n;
}
int CListBox::SetCurSel(int nSelect)
{
    const bool bValid = nSelect >= 0 && nSelect < GetCount();
    WebDom::Select(Handle(), bValid ? nSelect : -1);
    return bValid ? nSelect : LB_ERR;
}
std::string CListBox::GetText(int nIndex) const
{
    return WebDom::OptionText(Handle(), nIndex);
}
int CListBox::SetItemDataPtr(int nIndex, void* pData)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return LB_ERR;
    if (m_aData.size() <= static_cast<std::size_t>(nIndex))
        m_aData.resize(static_cast<std::size_t>(nIndex) + 1);
    m_aData[static_cast<std::size_t>(nIndex)] = pData;
    return 0;
}
void* CListBox::GetItemDataPtr(int nIndex) const
{
    return nIndex >= 0 && static_cast<std::size_t>(nIndex) < m_aData.size()
               ? m_aData[static_cast<std::size_t>(nIndex)]
               : nullptr;
}

CPaintDC::CPaintDC(CDialog* pWnd) : m_nCanvas(WebDom::Canvas(pWnd->m_nClient)) {}

void CPaintDC::LineTo(int x, int y)
{
    WebDom::Line(m_nCanvas, m_ptCurrent.x, m_ptCurrent.y, x, y);
    m_ptCurrent = {x, y};
}
