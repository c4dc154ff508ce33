// What the parts of the Qt dialog's implementation share: the dialog's own
// state and the names of the properties its widgets carry.
#pragma once

#include "platform/qt/Dialog.h"

#include <QEvent>
#include <QObject>

#include <map>

class QAbstractButton;
class QButtonGroup;
class QKeyEvent;
struct DlgItemTemplate;
struct DlgTemplate;

inline constexpr const char* s_pszMenuChecked = "afxChecked";
inline constexpr const char* s_pszChoice = "afxChoice";     // the accessible role of a radio button
inline constexpr const char* s_pszPushLike = "afxPushLike"; // a radio button drawn as a push button
inline constexpr const char* s_pszItemRole = "afxItemRole"; // the role of an accessible item
inline constexpr const char* s_pszNoAccessible = "afxNoAccessible"; // left out for screen readers

// Gives a push-like radio button the look of its checked state.
void OnPushLikeToggled(QAbstractButton* pButton);

// The Qt side of a dialog. It watches the dialog's own events (focus marks,
// closing, the dialog keys) and those of its grouped and push-like buttons.
struct CDialogImpl : public QObject
{
    explicit CDialogImpl(CDialog* pDlg) : m_pDlg(pDlg) {}
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

    bool BuildWindow(QWidget* pOwner);
    void BuildMenu(int nMenuId);
    void BuildControls(const DlgTemplate& tpl);
    QWidget* NewButton(const DlgItemTemplate& item, QButtonGroup*& pGroup);
    QWidget* NewStatic(const DlgItemTemplate& item, QRect& geometry);
    QWidget* NewCombo(const DlgItemTemplate& item, QRect& geometry);
    QWidget* NewList(const DlgItemTemplate& item);
    QWidget* NewEdit(const DlgItemTemplate& item);
    void DestroyOwnedDialogs();
    void RunInitDialog();
    QAbstractButton* Button(int nID) const;
    void OnPaint();
    void OnMouse(QEvent::Type type, UINT nFlags, CPoint pt);
    bool OnDialogEvent(QEvent* pEvent);
    bool OnKeyPress(QKeyEvent* pEvent);
    bool OnButtonEvent(QObject* pWatched, QEvent* pEvent);
    void SendCommand(int nID, UINT nCode) { m_pDlg->SendCommand(nID, nCode); }
    static CDialogImpl& Of(const CDialog& dlg) { return *dlg.m_pImpl; }

    CDialog* m_pDlg;
    bool m_bBuilt = false;
    QWidget* m_pClient = nullptr;
    QMenuBar* m_pMenuBar = nullptr;
    std::map<int, QAction*> m_mapMenuItems;
    std::map<QObject*, int> m_mapGroupButtons; // button of a group -> its id
};
