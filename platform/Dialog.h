// Dialogs built from templates, with numeric control ids, window messages,
// data exchange and menus: the framework's vocabulary, the same on every
// backend. A backend keeps its own state in CDialogImpl and CPaintDCImpl and
// its handles in platform/<backend>/Handles.h.
#pragma once

#include "platform/Afx.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDialog;
struct CDialogImpl;
struct CPaintDCImpl;

// Dialog units to pixels for the dialog font, base units 6 x 13: x scales by
// 6/4 and y by 13/8, rounded to nearest with halves up; each edge is mapped
// on its own, so the width is right - left.
#if defined(_WIN32)
// The system's, which rounds the same way.
extern "C" __declspec(dllimport) int __stdcall MulDiv(int nNumber, int nNumerator,
                                                      int nDenominator);
#else
int MulDiv(int nNumber, int nNumerator, int nDenominator);
#endif
CRect MapDialogRect(int x, int y, int cx, int cy);

// Runs fn as a message handler: a CFileException that leaves it is shown in
// a message box (its message, stop icon, OK, the application's title as
// caption) and the program carries on. False when that happened.
bool AfxCallGuarded(const std::function<void()>& fn);

// A non-owning handle to one control of a dialog (DDX_Control binds it).
// Rectangles are in the client coordinates of the control's dialog.
// Program-side changes never notify the dialog.
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
    // dialog's controls, which is also the order of the Tab key, unless
    // SWP_NOZORDER; moves and sizes it unless SWP_NOMOVE / SWP_NOSIZE.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // What a screen reader says for the control: its accessible name and
    // description. Without a name a control is named after its text.
    void SetAccessibleName(const std::string& strName);
    void SetAccessibleDescription(const std::string& strText);
    // Leaves the control out of what a screen reader sees; it still shows.
    void SetAccessibleHidden();
    // Line nLine (from 0) of a text control's text, as wide as the control.
    CRect GetLineRect(int nLine) const;
};

class CStatic : public CWnd
{
};

// Drop-down list; item i is the i-th string added. CB_ERR: no selection.
class CComboBox : public CWnd
{
public:
    int AddString(const std::string& strItem);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
};

// List box; LB_ERR: no selection.
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
};

// Paints the client area of a dialog; only inside OnPaint. The default pen
// is the platform's: black, one pixel.
class CPaintDC
{
public:
    explicit CPaintDC(CDialog* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

private:
    std::unique_ptr<CPaintDCImpl> m_pImpl;
};

class CDataExchange
{
public:
    BOOL m_bSaveAndValidate; // TRUE: controls -> fields
    CDialog* m_pDlgWnd;
};

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// AfxDialogBase is the backend's window class (empty where a dialog is only
// a handle).
class CDialog : public AfxDialogBase
{
public:
    // A null parent makes the application's main window the owner of a
    // dialog that runs while it exists.
    explicit CDialog(int nIDTemplate = 0, CDialog* pParentWnd = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Modal: builds the window, OnInitDialog, the modal loop. Returns the
    // EndDialog result, -1 when the template is missing.
    INT_PTR DoModal();
    // Modeless: builds the window and runs OnInitDialog; shows it when the
    // template has WS_VISIBLE. FALSE when the template is missing.
    BOOL Create(int nIDTemplate = 0, CDialog* pParentWnd = nullptr);
    // Ends the modal loop, or hides a modeless dialog; the result is kept.
    void EndDialog(int nResult);
    // Destroys a modeless dialog's window; PostNcDestroy runs last. An owner
    // destroys its modeless dialogs when it is itself destroyed.
    void DestroyWindow();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE)
    {
        CDataExchange dx{bSaveAndValidate, this};
        DoDataExchange(&dx);
        return TRUE;
    }

    // Both end in WindowProc inside the guard; PostMessage runs it later
    // from the message loop, after what the queue already holds.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Controls by id. GetDlgItem is null for an unknown id.
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
    // Makes the buttons nIDFirstButton..nIDLastButton one stop of the Tab
    // key, at the checked button (at every button while none is checked);
    // the arrow keys go to the previous (Left, Up) or next (Right, Down)
    // shown button of the group and click it, as the mouse does.
    void GroupButtons(int nIDFirstButton, int nIDLastButton);
    // An item that only screen readers see, at rc in client coordinates, under
    // the id nID; it draws nothing and lets the mouse through. A text item is
    // read as a label; with bTabStop it is a control that Tab reaches last
    // where the backend can (focus drawn as a dotted frame), its value text
    // the description. Name and value: SetAccessibleName,
    // SetAccessibleDescription.
    CWnd* CreateAccessibleItem(int nID, const CRect& rc, BOOL bTabStop = FALSE);
    // The topmost shown control at pt (client coordinates), also one without
    // an id; a handle to no window (null) where there is none.
    CWnd ChildWindowFromPoint(CPoint pt) const;

    // A key of the whole dialog (VK_LEFT ... VK_DOWN, with FSHIFT for Shift)
    // that runs fnHandler whichever control has the focus.
    void AddAccelerator(UINT nVirtKey, UINT fVirt, std::function<void()> fnHandler);

    // Menu by command id: the previous state, or (UINT)-1 without such an item.
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    UINT GetMenuState(UINT nID, UINT nFlags = MF_BYCOMMAND) const;

    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const { return m_strCaption; }
    void ShowWindow(int nCmdShow);
    // FALSE: the window is not drawn until TRUE.
    void SetRedraw(BOOL bRedraw = TRUE);
    void SetIcon(HICON hIcon, BOOL bBigIcon);
    // The dialog that owns this one; null for none.
    CDialog* GetOwner() const;
    HWND GetSafeHwnd() const { return m_hWnd; }
    int GetTemplateId() const { return m_nIDTemplate; }
    // The dialog of a window handle, or of the top-level window holding it.
    static CDialog* FromHandle(HWND hWnd);

    HWND m_hWnd = nullptr;

protected:
    // Runs the data exchange towards the controls; TRUE: default focus.
    virtual BOOL OnInitDialog() { return UpdateData(FALSE); }
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    // WM_COMMAND -> OnCommand, WM_CLOSE -> OnClose; other messages return 0.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // IDOK/IDCANCEL clicks -> OnOK/OnCancel; the rest goes to the application.
    virtual BOOL OnCommand(UINT nID, UINT nCode);
    virtual void OnOK()
    {
        if (UpdateData(TRUE))
            EndDialog(IDOK);
    }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnClose() { SendCommand(IDCANCEL, BN_CLICKED); } // the click of Cancel
    virtual void PostNcDestroy() {}

    // Mouse and paint of the client area, in client coordinates. The dialog
    // sees the mouse wherever no button, list, edit or combo box lies: static
    // controls and group boxes let it through. A press captures the mouse
    // until the release. Moves arrive with or without a button held.
    virtual void OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnPaint() {}

private:
    friend struct CDialogImpl;

    void SendCommand(int nID, UINT nCode) { SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), 0); }
    // The group tab-stop rule for the group that holds button nID.
    void UpdateGroupTabStop(int nID);
    // An arrow key on button nID of a group: the previous (nStep -1) or next
    // (+1) shown, enabled button takes the focus and is clicked. TRUE when
    // nID is in a group: the ends of the group keep the key.
    BOOL StepInGroup(int nID, int nStep);

    int m_nIDTemplate;
    int m_nDefaultId = IDOK;
    bool m_bModal = false;
    bool m_bEnded = false;
    bool m_bModeless = false;
    std::map<int, CWnd> m_mapItems;
    std::vector<std::array<int, 2>> m_aButtonGroups; // first and last id
    std::string m_strCaption;
    std::unique_ptr<CDialogImpl> m_pImpl;
};
