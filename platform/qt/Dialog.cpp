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

CDialog::CDialog(int nIDTemplate, QWidget* pParentWnd)
    : QDialog(pParentWnd), m_nIDTemplate(nIDTemplate)
{
}

CDialog::~CDialog()
{
    DestroyOwnedDialogs();
}

void CDialog::DestroyOwnedDialogs()
{
    // Owned dialogs go with their owner, but their objects belong to their
    // own code: a modeless one may delete itself in PostNcDestroy, and
    // whatever is still alive afterwards is released, never deleted here.
    for (QDialog* pChild : findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
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
    DestroyOwnedDialogs();
    m_bBuilt = false;
    PostNcDestroy(); // may delete this
}

void CDialog::RunInitDialog()
{
    AfxCallGuarded([this] { OnInitDialog(); });
}

INT_PTR CDialog::DoModal()
{
    if (!BuildWindow(nullptr))
        return -1;
    m_bModal = true;
    m_bEnded = false;
    setResult(0);
    RunInitDialog();
    INT_PTR nResult = m_bEnded ? result() : exec();
    m_bModal = false;
    return nResult;
}

BOOL CDialog::Create(int nIDTemplate, QWidget* pParentWnd)
{
    if (nIDTemplate != 0)
        m_nIDTemplate = nIDTemplate;
    if (!BuildWindow(pParentWnd))
        return FALSE;
    m_bModeless = true;
    m_bEnded = false;
    RunInitDialog();
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

bool CDialog::event(QEvent* pEvent)
{
    // The focused control is always marked, after a mouse click as well
    // (Qt marks it only once the keyboard has moved the focus).
    if (pEvent->type() == QEvent::WindowActivate || pEvent->type() == QEvent::FocusIn ||
        pEvent->type() == QEvent::Show)
        setAttribute(Qt::WA_KeyboardFocusChange);
    return QDialog::event(pEvent);
}

void CDialog::closeEvent(QCloseEvent* pEvent)
{
    // The close box, Alt+F4 and close() all become WM_CLOSE; the handler
    // decides whether the dialog ends.
    pEvent->ignore();
    SendMessage(WM_CLOSE);
}

void CDialog::keyPressEvent(QKeyEvent* pEvent)
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
        nCommand = m_nDefaultId;
    if (nCommand < 0)
        QDialog::keyPressEvent(pEvent);
    else
        SendCommand(nCommand, BN_CLICKED);
}

std::string CDialog::GetDlgItemText(int nID) const
{
    auto it = m_mapItems.find(nID);
    return it == m_mapItems.end() ? std::string() : it->second.GetWindowText();
}

void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (nID != nIDCheckButton)
            CheckDlgButton(nID, BST_UNCHECKED);
    if (nIDCheckButton >= nIDFirstButton && nIDCheckButton <= nIDLastButton)
        CheckDlgButton(nIDCheckButton, BST_CHECKED);
    // The keyboard focus does not stay on a choice that is no longer made: it
    // goes where Tab would put it, on the checked button.
    QAbstractButton* pChecked = Button(nIDCheckButton);
    QWidget* pFocus = focusWidget();
    if (pFocus == nullptr || pChecked == nullptr || pFocus == pChecked ||
        !pChecked->isVisibleTo(this) || !pChecked->isEnabled())
        return;
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (Button(nID) == pFocus)
            return pChecked->setFocus(Qt::OtherFocusReason);
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (QAbstractButton* pButton = Button(nIDButton))
        SetButtonChecked(pButton, nCheck == BST_CHECKED);
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    QAbstractButton* pButton = Button(nIDButton);
    return pButton && pButton->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::GroupButtons(int nIDFirstButton, int nIDLastButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
        if (QAbstractButton* pButton = Button(nID))
        {
            m_mapButtonGroups[pButton] = {nIDFirstButton, nIDLastButton, nID};
            pButton->installEventFilter(this);
            connect(pButton, &QAbstractButton::toggled, this,
                    [=, this] { UpdateGroupTabStop(nIDFirstButton, nIDLastButton); });
        }
    UpdateGroupTabStop(nIDFirstButton, nIDLastButton);
}

void CDialog::UpdateGroupTabStop(int nIDFirst, int nIDLast)
{
    bool bChecked = false;
    for (int nID = nIDFirst; nID <= nIDLast; ++nID)
        bChecked = bChecked || IsDlgButtonChecked(nID) == BST_CHECKED;
    for (int nID = nIDFirst; nID <= nIDLast; ++nID)
        if (QAbstractButton* pButton = Button(nID))
            pButton->setFocusPolicy(!bChecked || pButton->isChecked() ? Qt::StrongFocus
                                                                      : Qt::ClickFocus);
}

bool CDialog::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (type == QEvent::ApplicationPaletteChange && pWatched->property(s_pszPushLike).toBool())
        OnPushLikeToggled(static_cast<QAbstractButton*>(pWatched));
    auto it = m_mapButtonGroups.find(pWatched);
    if (it == m_mapButtonGroups.end())
        return QDialog::eventFilter(pWatched, pEvent);
    const auto [nFirst, nLast, nID] = it->second;
    // A button that takes the focus makes itself a Tab stop; the group's
    // stop goes back to its checked button.
    if (type == QEvent::FocusOut)
        UpdateGroupTabStop(nFirst, nLast);
    const auto* pKey = type == QEvent::KeyPress ? static_cast<const QKeyEvent*>(pEvent) : nullptr;
    const bool bPlain = pKey && (pKey->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int nKey = bPlain ? pKey->key() : 0;
    const int nStep = nKey == Qt::Key_Left || nKey == Qt::Key_Up      ? -1
                      : nKey == Qt::Key_Right || nKey == Qt::Key_Down ? 1
                                                                      : 0;
    if (nStep == 0)
        return QDialog::eventFilter(pWatched, pEvent);
    // The previous or next shown button, clicked as with the mouse (BN_CLICKED);
    // the ends of the group keep the key.
    for (int n = nID + nStep; n >= nFirst && n <= nLast; n += nStep)
        if (QAbstractButton* pNext = Button(n);
            pNext && pNext->isVisibleTo(this) && pNext->isEnabled())
        {
            pNext->setFocus(nStep < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            pNext->click();
            break;
        }
    return true;
}

QAbstractButton* CDialog::Button(int nID) const
{
    auto it = m_mapItems.find(nID);
    return it == m_mapItems.end() ? nullptr : qobject_cast<QAbstractButton*>(it->second.m_hWnd);
}

QAction* CDialog::GetMenuAction(UINT nID) const
{
    auto it = m_mapMenuItems.find(static_cast<int>(nID));
    return it == m_mapMenuItems.end() ? nullptr : it->second;
}

UINT CDialog::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    QAction* pAction = GetMenuAction(nIDCheckItem);
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
    QAction* pAction = GetMenuAction(nID);
    if (!pAction)
        return static_cast<UINT>(-1);
    return pAction->property(s_pszMenuChecked).toBool() ? MF_CHECKED : MF_UNCHECKED;
}

void CDialog::SetWindowText(const std::string& strText)
{
    m_strCaption = strText;
    if (m_pClient)
        m_pClient->setAccessibleName(QString::fromStdString(strText));
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
