// The browser side of a dialog: its elements in the page, its menu and
// keys, and the message loop that all dialogs share.
#pragma once

#include "platform/Dialog.h"

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace WebDom
{
struct Event;
}

struct CDialogImpl
{
    explicit CDialogImpl(CDialog* pDlg, CDialog* pOwner) : m_pDlg(pDlg), m_pOwner(pOwner) {}

    bool BuildWindow(CDialog* pOwner);
    void BuildMenu(int nMenuId);
    void BuildControls(const DlgTemplate& tpl);
    void Show(bool bShow);
    void Forget(); // the page's elements are gone
    int Button(int nID) const;
    static void Dispatch(const WebDom::Event& ev);
    static void Paint();
    static CDialogImpl& Of(const CDialog& dlg) { return *dlg.m_pImpl; }
    static void Click(CDialog& dlg, int nID) { dlg.SendCommand(nID, BN_CLICKED); }

    CDialog* m_pDlg;
    CDialog* m_pOwner;
    int m_nHandle = 0; // the dialog's number in the page; 0 before it is built
    int m_nClient = 0; // its client area
    int m_nResult = 0;
    bool m_bBuilt = false;
    std::map<int, std::pair<int, bool>> m_mapMenu;                       // command -> item, checked
    std::vector<std::pair<UINT, std::function<void()>>> m_aAccelerators; // key | FSHIFT << 16
};

struct CPaintDCImpl
{
    int nCanvas;
    CPoint ptCurrent;
};

// The message loop: one posted message, else one event of the page
// (waiting for it, every dialog painted first). An event of kind nAnswerKind
// (5 a message box's answer, 6 a file dialog's) is not dispatched: TRUE,
// with its id and code.
BOOL AfxWebPumpMessage(int nAnswerKind = 0, int* pId = nullptr, int* pCode = nullptr);
