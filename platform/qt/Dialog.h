// The Qt backend's dialogs: built from templates, with numeric control ids, window messages,
// data exchange and menus.
#pragma once

#include "platform/Afx.h"
#include "platform/DialogCommon.h"

#include <QComboBox>
#include <QDialog>
#include <QIcon>
#include <QListWidget>
#include <QPainter>

#include <array>
#include <functional>
#include <map>
#include <string>

class QAbstractButton;
class QAction;
class QMenuBar;
class CDialog;

// 11-pixel Liberation Sans, letters 0.2 pixel closer than plain.
QFont AfxGetDialogFont();
// Colours as contrast is measured for readers: relative luminance 0..1, the
// ratio of two colours' luminances (1..21, each plus 0.05), and a mix of a
// with the share dShare of b.
double AfxLuminance(const QColor& color);
double AfxContrastRatio(const QColor& a, const QColor& b);
QColor AfxMixColors(const QColor& a, const QColor& b, double dShare);

// A non-owning handle to one control of a dialog (DDX_Control binds it).
// Rectangles are in the client coordinates of the control's dialog.
// Program-side changes never notify the dialog.
class CWnd
{
public:
    QWidget* m_hWnd = nullptr;

    void ShowWindow(int nCmdShow) { m_hWnd->setVisible(nCmdShow != SW_HIDE); }
    void EnableWindow(BOOL bEnable = TRUE) { m_hWnd->setEnabled(bEnable != FALSE); }
    BOOL IsWindowVisible() const { return m_hWnd->isVisibleTo(m_hWnd->window()); }
    BOOL IsWindowEnabled() const { return m_hWnd->isEnabled(); }
    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const;
    CRect GetWindowRect() const;
    void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE);
    // Puts the control right after pWndInsertAfter in the order of the
    // dialog's controls, which is also the order of the Tab key, unless
    // SWP_NOZORDER; moves and sizes it unless SWP_NOMOVE / SWP_NOSIZE.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // What a screen reader says for the control. Without a name a control
    // is named after its text; a static control always reads its text.
    void SetAccessibleName(const std::string& strName)
    {
        m_hWnd->setAccessibleName(QString::fromStdString(strName));
    }
    void SetAccessibleDescription(const std::string& strText)
    {
        m_hWnd->setAccessibleDescription(QString::fromStdString(strText));
    }
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
    int GetCount() const { return Combo()->count(); }
    int GetCurSel() const { return Combo()->currentIndex() < 0 ? CB_ERR : Combo()->currentIndex(); }
    int SetCurSel(int nSelect);

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(m_hWnd); }
};

// List box; LB_ERR: no selection.
class CListBox : public CWnd
{
public:
    int AddString(const std::string& strItem);
    void ResetContent();
    int GetCount() const { return List()->count(); }
    int GetCurSel() const { return List()->currentRow() < 0 ? LB_ERR : List()->currentRow(); }
    int SetCurSel(int nSelect);
    std::string GetText(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    void* GetItemDataPtr(int nIndex) const;

private:
    QListWidget* List() const { return static_cast<QListWidget*>(m_hWnd); }
};

// Paints the client area of a dialog; only inside OnPaint. The default pen
// is the platform's: black, one pixel.
class CPaintDC
{
public:
    explicit CPaintDC(CDialog* pWnd);
    void MoveTo(int x, int y) { m_ptCurrent = QPoint(x, y); }
    void LineTo(int x, int y);

private:
    QPainter m_painter;
    QPoint m_ptCurrent;
};

class CDialog : public QDialog
{
public:
    // A null parent makes the application's main window the owner of a
    // dialog that runs while it exists.
    explicit CDialog(int nIDTemplate = 0, QWidget* pParentWnd = nullptr);
    ~CDialog() override;

    // Modal: builds the window (first time), OnInitDialog, the modal loop.
    // Returns the EndDialog result, -1 when the template is missing.
    INT_PTR DoModal();
    // Modeless: builds the window and runs OnInitDialog; shows it when the
    // template has WS_VISIBLE. FALSE when the template is missing.
    BOOL Create(int nIDTemplate = 0, QWidget* pParentWnd = nullptr);
    // Ends the modal loop, or hides a modeless dialog; the result is kept.
    void EndDialog(int nResult)
    {
        m_bEnded = true;
        done(nResult);
    }
    // Destroys a modeless dialog's window; PostNcDestroy runs last.
    // An owner destroys its modeless dialogs when it is itself destroyed.
    void DestroyWindow();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE)
    {
        CDataExchange dx{bSaveAndValidate, this};
        DoDataExchange(&dx);
        return TRUE;
    }

    // Both end in WindowProc inside the guard; PostMessage runs it later
    // from the event loop.
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
    // (focus drawn as a dotted frame), its value text the description.
    // Name and value: SetAccessibleName, SetAccessibleDescription.
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
    QMenuBar* GetMenu() const { return m_pMenuBar; }
    QAction* GetMenuAction(UINT nID) const;

    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const { return m_strCaption; }
    void ShowWindow(int nCmdShow) { setVisible(nCmdShow != SW_HIDE); }
    // FALSE: the window is not drawn until TRUE.
    void SetRedraw(BOOL bRedraw = TRUE) { setUpdatesEnabled(bRedraw != FALSE); }
    // The dialog that owns this one; null for none.
    CDialog* GetOwner() const { return dynamic_cast<CDialog*>(parentWidget()); }
    void SetIcon(const QIcon& icon, BOOL /*bBigIcon*/) { setWindowIcon(icon); }
    // The widget below the menu bar that holds the controls.
    QWidget* GetClientWidget() const { return m_pClient; }
    int GetTemplateId() const { return m_nIDTemplate; }

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
    // controls and group boxes let it through. Moves arrive with or
    // without a button held.
    virtual void OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual void OnPaint() {}

    // Qt side.
    bool event(QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    friend class CClientWnd;
    friend class CPaintDC;

    bool BuildWindow(QWidget* pOwner);
    void BuildControls(const struct DlgTemplate& tpl);
    void BuildMenu(int nMenuId);
    void RunInitDialog();
    void SendCommand(int nID, UINT nCode) { SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), 0); }
    QAbstractButton* Button(int nID) const;
    void UpdateGroupTabStop(int nIDFirst, int nIDLast);

    void DestroyOwnedDialogs();

    int m_nIDTemplate;
    int m_nDefaultId = IDOK;
    bool m_bBuilt = false;
    bool m_bModal = false;
    bool m_bEnded = false;
    bool m_bModeless = false;
    QWidget* m_pClient = nullptr;
    QMenuBar* m_pMenuBar = nullptr;
    std::map<int, CWnd> m_mapItems;
    std::map<int, QAction*> m_mapMenuItems;
    std::map<QObject*, std::array<int, 3>> m_mapButtonGroups; // button -> first, last, own id
    std::string m_strCaption;
};
