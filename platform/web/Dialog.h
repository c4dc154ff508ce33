// The browser backend's dialogs: elements of the page built from the same
// templates, with numeric control ids, window messages, data exchange and
// menus. Every element is a number in the page's table (HWND).
#pragma once

#include "platform/Afx.h"
#include "platform/DialogCommon.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class CDialog;

// A non-owning handle to one control of a dialog (DDX_Control binds it).
// Rectangles are in the client coordinates of the control's dialog, in CSS
// pixels. Program-side changes never notify the dialog.
class CWnd
{
public:
    HWND m_hWnd = nullptr;

    void ShowWindow(int nCmdShow);
    void EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const;
    CRect GetWindowRect() const;
    void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE);
    // Puts the control right after pWndInsertAfter in the order of the
    // dialog's controls (the order of the Tab key) unless SWP_NOZORDER;
    // moves and sizes it unless SWP_NOMOVE / SWP_NOSIZE.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // What a screen reader says for the control (aria-label and
    // aria-description); without a name a control is named after its text.
    void SetAccessibleName(const std::string& strName);
    void SetAccessibleDescription(const std::string& strText);
    // Leaves the control out of what a screen reader sees; it still shows.
    void SetAccessibleHidden();
    // Line nLine (from 0) of a text control's text, as wide as the control.
    CRect GetLineRect(int nLine) const;
    int Handle() const { return static_cast<int>(reinterpret_cast<std::intptr_t>(m_hWnd)); }
};

class CStatic : public CWnd
{
};

// Drop-down list (a select element); CB_ERR: no selection.
class CComboBox : public CWnd
{
public:
    int AddString(const std::string& strItem);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
};

// List box (a select element with rows); LB_ERR: no selection.
class CListBox : public CWnd
{
public:
    int AddString(const std::string& strItem);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    std::string GetText(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    void* GetItemDataPtr(int nIndex) const;

private:
    std::vector<void*> m_aData; // filled as items are asked for
};

// Paints the client area of a dialog (its canvas); only inside OnPaint.
// The default pen: black, one pixel.
class CPaintDC
{
public:
    explicit CPaintDC(CDialog* pWnd);
    void MoveTo(int x, int y) { m_ptCurrent = {x, y}; }
    void LineTo(int x, int y);

private:
    int m_nCanvas;
    CPoint m_ptCurrent;
};

class CDialog
{
public:
    // A null parent makes the application's main window the owner of a
    // dialog that runs while it exists.
    explicit CDialog(int nIDTemplate = 0, CDialog* pParentWnd = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Modal: builds the window (first time), OnInitDialog, the modal loop.
    // Returns the EndDialog result, -1 when the template is missing.
    INT_PTR DoModal();
    // Modeless: builds the window and runs OnInitDialog; shows it when the
    // template has WS_VISIBLE. FALSE when the template is missing.
    BOOL Create(int nIDTemplate = 0, CDialog* pParentWnd = nullptr);
    // Ends the modal loop, or hides a modeless dialog; the result is kept.
    void EndDialog(int nResult);
    // Destroys a modeless dialog's window; PostNcDestroy runs last.
    void DestroyWindow();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE)
    {
        CDataExchange dx{bSaveAndValidate, this};
        DoDataExchange(&dx);
        return TRUE;
    }

    // Both end in WindowProc inside the guard; PostMessage runs it later
    // from the message loop, in the order posted.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    CWnd* GetDlgItem(int nID)
    {
        auto it = m_mapItems.find(nID);
        return it == m_mapItems.end() ? nullptr : &it->second;
    }
    void SetDlgItemText(int nID, const std::string& strText);
    std::string GetDlgItemText(int nID) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    // One stop of the Tab key at the checked button; the arrow keys go to
    // the previous or next shown button of the group and click it.
    void GroupButtons(int nIDFirstButton, int nIDLastButton);
    // An element only screen readers see, at rc; with bTabStop a slider
    // that Tab reaches, its value text the description.
    CWnd* CreateAccessibleItem(int nID, const CRect& rc, BOOL bTabStop = FALSE);
    // The topmost shown control at pt (client coordinates); null handle for none.
    CWnd ChildWindowFromPoint(CPoint pt) const;
    // A key of the whole dialog (VK_LEFT ... VK_DOWN, FSHIFT for Shift).
    void AddAccelerator(UINT nVirtKey, UINT fVirt, std::function<void()> fnHandler);

    // Menu by command id: the previous state, or (UINT)-1 without such an item.
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    UINT GetMenuState(UINT nID, UINT nFlags = MF_BYCOMMAND) const;

    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const { return m_strCaption; }
    void ShowWindow(int nCmdShow);
    void SetRedraw(BOOL /*bRedraw*/ = TRUE) {}
    CDialog* GetOwner() const { return m_pOwner; }
    void SetIcon(HICON /*hIcon*/, BOOL /*bBigIcon*/) {}
    int GetTemplateId() const { return m_nIDTemplate; }

    // The message loop: one posted message, else one event of the page
    // (waiting for it), then the paint of every dialog. An event of kind
    // nAnswerKind (a message box's or file dialog's answer) is not
    // dispatched: TRUE, with its id and code.
    static BOOL PumpMessage(int nAnswerKind = 0, int* pId = nullptr, int* pCode = nullptr);

protected:
    virtual BOOL OnInitDialog() { return UpdateData(FALSE); }
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(UINT nID, UINT nCode);
    virtual void OnOK()
    {
        if (UpdateData(TRUE))
            EndDialog(IDOK);
    }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnClose() { SendCommand(IDCANCEL, BN_CLICKED); }
    virtual void PostNcDestroy() {}
    virtual void OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnPaint() {}

private:
    friend class CPaintDC;
    friend struct CWebEvents;

    bool BuildWindow(CDialog* pOwner);
    void BuildControls(const DlgTemplate& tpl);
    void BuildMenu(int nMenuId);
    void SendCommand(int nID, UINT nCode) { SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), 0); }
    int Button(int nID) const;
    void StepInGroup(int nID, int nStep);
    void UpdateGroupTabStop(int nIDFirst, int nIDLast);

    int m_nIDTemplate;
    int m_nHandle = 0; // the dialog's number in the page; 0 before it is built
    int m_nClient = 0; // its client area
    int m_nCanvas = 0; // what OnPaint draws on
    int m_nDefaultId = IDOK;
    bool m_bBuilt = false;
    bool m_bEnded = false;
    bool m_bModeless = false;
    int m_nResult = 0;
    CDialog* m_pOwner;
    std::map<int, CWnd> m_mapItems;
    std::map<int, std::pair<int, int>> m_mapGroups;                      // button id -> first, last
    std::map<int, std::pair<int, bool>> m_mapMenu;                       // command -> item, checked
    std::vector<std::pair<UINT, std::function<void()>>> m_aAccelerators; // key | FSHIFT << 16
    std::string m_strCaption;
};
