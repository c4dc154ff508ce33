// The dialog: its life, messages, keyboard, buttons by id and menu.
#include "platform/qt/Dialog.h"
#include "files/FileException.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "platform/qt/DialogParts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>

namespace
{
// An exclusive group refuses to uncheck its checked button; the program may.
void SetButtonChecked(QAbstractButton* pButton, bool bChecked)
{
    QButtonGroup* pGroup = bChecked ? nullptr : pButton->group();
    const bool bExclusive = pGroup && pGroup->exclusive();
    if (bExclusive)
        pGroup->setExclusive(false);
    pButton->setChecked(bChecked);
    if (bExclusive)
        pGroup->setExclusive(true);
}
} // namespace

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : QDialog(pParentWnd), m_nIDTemplate(nIDTemplate), m_pImpl(std::make_unique<CDialogImpl>(this))
{
    m_hWnd = this;
    installEventFilter(m_pImpl.get());
}

CDialog::~CDialog()
{
    m_pImpl->DestroyOwnedDialogs();
}

void CDialogImpl::DestroyOwnedDialogs()
{
    // Owned dialogs go with their owner, but their objects belong to their
    // own code: a modeless one may delete itself in PostNcDestroy, and
    // whatever is still alive afterwards is released, never deleted here.
    for (QDialog* pChild : m_pDlg->findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
    {
        QPointer<CDialog> pAlive(dynamic_cast<CDialog*>(pChild));
        if (pAlive && pAlive->m_bModeless)
            pAlive->DestroyWindow();
        if (pAlive)
            pAlive->setParent(nullptr);
    }
}

void CDialog::DestroyWindow()
{
    hide();
    m_pImpl->DestroyOwnedDialogs();
    m_pImpl->m_bBuilt = false;
    PostNcDestroy(); // may delete this
}

void CDialogImpl::RunInitDialog()
{
    AfxCallGuarded([this] { m_pDlg->OnInitDialog(); });
}

INT_PTR CDialog::DoModal()
{
    if (!m_pImpl->BuildWindow(nullptr))
        return -1;
    m_bModal = true;
    m_bEnded = false;
    setResult(0);
    m_pImpl->RunInitDialog();
    INT_PTR nResult = m_bEnded ? result() : exec();
    m_bModal = false;
    return nResult;
}

BOOL CDialog::Create(int nIDTemplate, CDialog* pParentWnd)
{
    if (nIDTemplate != 0)
        m_nIDTemplate = nIDTemplate;
    if (!m_pImpl->BuildWindow(pParentWnd))
        return FALSE;
    m_bModeless = true;
    m_bEnded = false;
    m_pImpl->RunInitDialog();
    const DlgTemplate* pTpl = FindDialogTemplate(m_nIDTemplate);
    if ((pTpl->dwStyle & WS_VISIBLE) && !m_bEnded)
        show();
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
    // Queued behind what the event loop already holds; dropped with the dialog.
    QMetaObject::invokeMethod(
        this, [=, this] { SendMessage(message, wParam, lParam); }, Qt::QueuedConnection);
    return TRUE;
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (QAbstractButton* pButton = m_pImpl->Button(nIDButton))
        SetButtonChecked(pButton, nCheck == BST_CHECKED);
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    QAbstractButton* pButton = m_pImpl->Button(nIDButton);
    return pButton && pButton->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::GroupButtons(int nIDFirstButton, int nIDLastButton)
{
    m_aButtonGroups.push_back({nIDFirstButton, nIDLastButton});
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (QAbstractButton* pButton = m_pImpl->Button(nID))
        {
            m_pImpl->m_mapGroupButtons[pButton] = nID;
            pButton->installEventFilter(m_pImpl.get());
            connect(pButton, &QAbstractButton::toggled, this,
                    [=, this] { UpdateGroupTabStop(nID); });
        }
    UpdateGroupTabStop(nIDFirstButton);
}

bool CDialogImpl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    return pWatched == m_pDlg ? OnDialogEvent(pEvent) : OnButtonEvent(pWatched, pEvent);
}

bool CDialogImpl::OnDialogEvent(QEvent* pEvent)
{
    switch (pEvent->type())
    {
    case QEvent::WindowActivate:
    case QEvent::FocusIn:
    case QEvent::Show:
        // The focused control is always marked, after a mouse click as well
        // (Qt marks it only once the keyboard has moved the focus).
        m_pDlg->setAttribute(Qt::WA_KeyboardFocusChange);
        return false;
    case QEvent::Close:
        // The close box, Alt+F4 and close() all become WM_CLOSE; the handler
        // decides whether the dialog ends.
        pEvent->ignore();
        m_pDlg->SendMessage(WM_CLOSE);
        return true;
    case QEvent::KeyPress:
        return OnKeyPress(static_cast<QKeyEvent*>(pEvent));
    default:
        return false;
    }
}

bool CDialogImpl::OnKeyPress(QKeyEvent* pEvent)
{
    // The dialog keyboard: Escape clicks Cancel, Enter the default button.
    const bool bPlain = (pEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int nKey = pEvent->key();
    int nCommand = -1;
    if (nKey == Qt::Key_F1)
        nCommand = ID_HELP;
    else if (bPlain && nKey == Qt::Key_Escape)
        nCommand = IDCANCEL;
    else if (bPlain && (nKey == Qt::Key_Return || nKey == Qt::Key_Enter))
        nCommand = m_pDlg->m_nDefaultId;
    if (nCommand < 0)
        return false;
    SendCommand(nCommand, BN_CLICKED);
    return true;
}

bool CDialogImpl::OnButtonEvent(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (type == QEvent::ApplicationPaletteChange && pWatched->property(s_pszPushLike).toBool())
        OnPushLikeToggled(static_cast<QAbstractButton*>(pWatched));
    auto it = m_mapGroupButtons.find(pWatched);
    if (it == m_mapGroupButtons.end())
        return false;
    const int nID = it->second;
    // A button that takes the focus makes itself a Tab stop; the group's
    // stop goes back to its checked button.
    if (type == QEvent::FocusOut)
        m_pDlg->UpdateGroupTabStop(nID);
    const auto* pKey = type == QEvent::KeyPress ? static_cast<const QKeyEvent*>(pEvent) : nullptr;
    const bool bPlain = pKey && (pKey->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int nKey = bPlain ? pKey->key() : 0;
    const int nStep = nKey == Qt::Key_Left || nKey == Qt::Key_Up      ? -1
                      : nKey == Qt::Key_Right || nKey == Qt::Key_Down ? 1
                                                                      : 0;
    return nStep != 0 && m_pDlg->StepInGroup(nID, nStep);
}

QAbstractButton* CDialogImpl::Button(int nID) const
{
    CWnd* pWnd = m_pDlg->GetDlgItem(nID);
    return pWnd ? qobject_cast<QAbstractButton*>(pWnd->m_hWnd) : nullptr;
}

QWidget* AfxGetClientWidget(const CDialog& dlg)
{
    return CDialogImpl::Of(dlg).m_pClient;
}

QMenuBar* AfxGetMenuBar(const CDialog& dlg)
{
    return CDialogImpl::Of(dlg).m_pMenuBar;
}

QAction* AfxGetMenuAction(const CDialog& dlg, UINT nID)
{
    auto it = CDialogImpl::Of(dlg).m_mapMenuItems.find(static_cast<int>(nID));
    return it == CDialogImpl::Of(dlg).m_mapMenuItems.end() ? nullptr : it->second;
}

UINT CDialog::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    QAction* pAction = AfxGetMenuAction(*this, nIDCheckItem);
    if (!pAction)
        return static_cast<UINT>(-1);
    UINT nPrevious = GetMenuState(nIDCheckItem);
    const bool bChecked = (nCheck & MF_CHECKED) != 0;
    pAction->setProperty(s_pszMenuChecked, bChecked);
    pAction->setCheckable(bChecked);
    pAction->setChecked(bChecked);
    return nPrevious;
}

UINT CDialog::GetMenuState(UINT nID, UINT /*nFlags*/) const
{
    QAction* pAction = AfxGetMenuAction(*this, nID);
    if (!pAction)
        return static_cast<UINT>(-1);
    return pAction->property(s_pszMenuChecked).toBool() ? MF_CHECKED : MF_UNCHECKED;
}

void CDialog::SetWindowText(const std::string& strText)
{
    m_strCaption = strText;
    if (m_pImpl->m_pClient)
        m_pImpl->m_pClient->setAccessibleName(QString::fromStdString(strText));
    // "[*]" is Qt's modified-marker placeholder; doubling it shows it as typed.
    setWindowTitle(
        QString::fromStdString(strText).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void CDialog::AddAccelerator(UINT nVirtKey, UINT fVirt, std::function<void()> fnHandler)
{
    static constexpr int s_anArrows[] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
    const int nKey =
        nVirtKey >= VK_LEFT && nVirtKey <= VK_DOWN ? s_anArrows[nVirtKey - VK_LEFT] : 0;
    auto* pShortcut =
        new QShortcut(QKeySequence(nKey | ((fVirt & FSHIFT) ? int(Qt::SHIFT) : 0)), this);
    connect(pShortcut, &QShortcut::activated, this,
            [fn = std::move(fnHandler)] { AfxCallGuarded(fn); });
}

void CDialog::EndDialog(int nResult)
{
    m_bEnded = true;
    done(nResult);
}

void CDialog::ShowWindow(int nCmdShow)
{
    setVisible(nCmdShow != SW_HIDE);
}

void CDialog::SetRedraw(BOOL bRedraw)
{
    setUpdatesEnabled(bRedraw != FALSE);
}

void CDialog::SetIcon(HICON hIcon, BOOL /*bBigIcon*/)
{
    setWindowIcon(hIcon);
}

CDialog* CDialog::GetOwner() const
{
    return dynamic_cast<CDialog*>(parentWidget());
}

CDialog* CDialog::FromHandle(HWND hWnd)
{
    return hWnd ? dynamic_cast<CDialog*>(hWnd->window()) : nullptr;
}

HWND AfxGetFocus(const CDialog& dlg)
{
    return dlg.focusWidget();
}

void AfxSetFocus(CWnd& wnd)
{
    wnd.m_hWnd->setFocus(Qt::OtherFocusReason);
}

void AfxSetTabStop(CWnd& wnd, bool bTabStop)
{
    wnd.m_hWnd->setFocusPolicy(bTabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void AfxFocusAndClick(CWnd& wnd, int nStep)
{
    wnd.m_hWnd->setFocus(nStep < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    if (auto* pButton = qobject_cast<QAbstractButton*>(wnd.m_hWnd))
        pButton->click();
}
