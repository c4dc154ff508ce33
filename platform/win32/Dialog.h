// The Win32 backend's dialogs: real dialog windows built in memory from the
// templates in res/, with numeric control ids, window messages, data
// exchange and a real menu. No <windows.h> here: handles are declared in
// platform/win32/Handles.h.
#pragma once

#include "platform/Afx.h"
#include "platform/DialogCommon.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

class CDialog;

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
    // What a screen reader says for the control (its accessible name and
    // description, through the system's annotation service).
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
    HWND m_hWnd;
    HDC m_hDC;
    alignas(8) std::array<unsigned char, 72> m_ps{}; // the PAINTSTRUCT
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

    // Modal: builds the window, OnInitDialog, the modal loop. Returns the
    // EndDialog result, -1 when the template is missing.
    INT_PTR DoModal();
    // Modeless: builds the window and runs OnInitDialog; shows it when the
    // template has WS_VISIBLE. FALSE when the template is missing.
    BOOL Create(int nIDTemplate = 0, CDialog* pParentWnd = nullptr);
    // Ends the modal loop, or hides a modeless dialog; the result is kept.
    void EndDialog(int nResult);
    // Destroys a modeless dialog's window; PostNcDestroy runs last. The
    // system destroys a window's owned windows with it.
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
    // the id nID; it draws nothing and lets the mouse through. Name and value:
    // SetAccessibleName, SetAccessibleDescription. (The Win32 item is a
    // static control without text; Tab does not reach it.)
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
    // Keyboard handling of the framework for a message about to be
    // dispatched (a MSG*): dialog keys, accelerators, arrow keys in button
    // groups. TRUE when it was handled.
    static BOOL PreTranslateMessage(void* pMsg);

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
    friend struct CDialogProc;

    bool BuildWindow(CDialog* pOwner, bool bModal);
    void SendCommand(int nID, UINT nCode) { SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), 0); }
    void UpdateGroupTabStop(int nID);
    void ShowPending();
    void RunPosted();

    int m_nIDTemplate;
    CDialog* m_pParent;
    int m_nDefaultId = IDOK;
    int m_nResult = 0;
    bool m_bModal = false;
    bool m_bEnded = false;
    bool m_bModeless = false;
    bool m_bNoRedraw = false;    // SetRedraw(FALSE) and not yet TRUE
    bool m_bShowPending = false; // DoModal shows it once it may be drawn
    HMENU m_hMenu = nullptr;
    std::map<int, CWnd> m_mapItems;
    std::vector<std::array<int, 2>> m_aButtonGroups; // first and last id
    struct Accelerator
    {
        UINT nVirtKey;
        UINT fVirt;
        std::function<void()> fnHandler;
    };
    std::vector<Accelerator> m_aAccelerators;
    struct Posted
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::deque<Posted> m_posted;
    std::string m_strCaption;
    std::vector<void*> m_aBitmaps; // bitmaps its static controls show
};
