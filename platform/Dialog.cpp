#include "platform/Dialog.h"
#include "files/FileException.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "res/DialogTemplate.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cstdlib>

// ---------------------------------------------------------------------------
// Units, font, guard

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    long long nProduct = static_cast<long long>(nNumber) * nNumerator;
    long long nDiv = nDenominator;
    bool bNegative = (nProduct < 0) != (nDiv < 0);
    nProduct = std::llabs(nProduct);
    nDiv = std::llabs(nDiv);
    long long nResult = (2 * nProduct + nDiv) / (2 * nDiv); // halves away from zero
    return static_cast<int>(bNegative ? -nResult : nResult);
}

CRect MapDialogRect(int x, int y, int cx, int cy)
{
    return {MulDiv(x, 6, 4), MulDiv(y, 13, 8), MulDiv(x + cx, 6, 4), MulDiv(y + cy, 13, 8)};
}

QFont AfxGetDialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    // A fifth of a pixel less per letter keeps the longest question texts
    // (666 pixels plain) within their two lines of 338 pixels.
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.2);
    return font;
}

bool AfxCallGuarded(const std::function<void()>& fn)
{
    try
    {
        fn();
        return true;
    }
    catch (const CFileException& e)
    {
        AfxMessageBox(e.GetErrorMessage(), MB_OK | MB_ICONSTOP);
        return false;
    }
}

namespace
{
QString ToQt(const std::string& str)
{
    return QString::fromStdString(str);
}

// An exclusive group refuses to uncheck its checked button; the program may.
void SetButtonChecked(QAbstractButton* pButton, bool bChecked)
{
    QButtonGroup* pGroup = pButton->group();
    if (!bChecked && pGroup && pGroup->exclusive() && pButton->isChecked())
    {
        pGroup->setExclusive(false);
        pButton->setChecked(false);
        pGroup->setExclusive(true);
        return;
    }
    pButton->setChecked(bChecked);
}

UINT MouseFlags(const QMouseEvent* pEvent)
{
    return ((pEvent->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0) |
           ((pEvent->buttons() & Qt::RightButton) ? MK_RBUTTON : 0) |
           ((pEvent->modifiers() & Qt::ShiftModifier) ? MK_SHIFT : 0) |
           ((pEvent->modifiers() & Qt::ControlModifier) ? MK_CONTROL : 0);
}

CPoint PointOf(const QMouseEvent* pEvent)
{
    QPoint pt = pEvent->position().toPoint();
    return {pt.x(), pt.y()};
}

class CMessageEvent : public QEvent
{
public:
    CMessageEvent(UINT nMessage, WPARAM wParam, LPARAM lParam)
        : QEvent(Type()), m_nMessage(nMessage), m_wParam(wParam), m_lParam(lParam)
    {
    }
    static QEvent::Type Type()
    {
        static const QEvent::Type s_type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return s_type;
    }
    UINT m_nMessage;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

const char* const s_pszMenuChecked = "afxChecked";
const char* const s_pszChoice = "afxChoice"; // the accessible role of a radio button

// Radio buttons as a screen reader sees them: a plain one is a radio button,
// one drawn as a push button a toggle button (a push button pressed while it
// is chosen); either is checked while chosen. Pressing or toggling it is a
// click, so the program hears of it as of a click of the mouse.
class CAccessibleChoice : public QAccessibleWidget
{
public:
    CAccessibleChoice(QWidget* pWnd, QAccessible::Role role) : QAccessibleWidget(pWnd, role) {}
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        state.pressed = state.checked && role() == QAccessible::Button;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        const QString str = QAccessibleWidget::text(t);
        return t == QAccessible::Name && str.isEmpty() ? Button()->text().remove('&') : str;
    }
    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
    void doAction(const QString& strAction) override
    {
        if (Button()->isEnabled() && actionNames().contains(strAction))
            Button()->click();
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* AccessibleFactory(const QString& /*strClass*/, QObject* pObject)
{
    const int nRole = pObject->property(s_pszChoice).toInt();
    return nRole == 0
               ? nullptr
               : new CAccessibleChoice(static_cast<QWidget*>(pObject), QAccessible::Role(nRole));
}

// Fusion draws a pressed push button only a shade darker, which a dark
// palette all but hides: there the chosen one takes half the highlight
// colour; a light palette keeps the look as it is. Qt tells screen readers
// of the checked state only; pressed follows it.
void OnPushLikeToggled(QAbstractButton* pButton)
{
    const QPalette inherited = QApplication::palette(pButton);
    QPalette palette; // only the button colour is the button's own, if any
    if (pButton->isChecked() && inherited.color(QPalette::Window).lightness() < 128)
    {
        const QColor a = inherited.color(QPalette::Button),
                     b = inherited.color(QPalette::Highlight);
        palette.setColor(QPalette::Button,
                         QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2,
                                (a.blue() + b.blue()) / 2));
    }
    pButton->setPalette(palette);
    QAccessible::State changed;
    changed.pressed = true;
    QAccessibleStateChangeEvent event(pButton, changed);
    QAccessible::updateAccessibility(&event);
}

// An automatic radio button; its group decides which one stays checked.
QAbstractButton* NewRadioButton(const QString& strText, bool bPushLike, QWidget* pParent)
{
    static const bool s_bFactory = (QAccessible::installFactory(AccessibleFactory), true);
    (void)s_bFactory;
    auto* pPush = bPushLike ? new QPushButton(pParent) : nullptr;
    QAbstractButton* pButton =
        pPush ? static_cast<QAbstractButton*>(pPush) : new QRadioButton(pParent);
    // Before anything asks for the button's accessible side.
    pButton->setProperty(s_pszChoice, bPushLike ? QAccessible::Button : QAccessible::RadioButton);
    pButton->setCheckable(true);
    pButton->setAutoExclusive(false);
    if (pPush)
    {
        pPush->setAutoDefault(false);
        QObject::connect(pPush, &QAbstractButton::toggled, pPush,
                         [pPush] { OnPushLikeToggled(pPush); });
    }
    pButton->setText(strText);
    return pButton;
}

} // namespace

// ---------------------------------------------------------------------------
// Control handles

void CWnd::SetWindowText(const std::string& strText)
{
    QString text = ToQt(strText);
    if (auto* pLabel = qobject_cast<QLabel*>(m_hWnd))
        pLabel->setText(text);
    else if (auto* pButton = qobject_cast<QAbstractButton*>(m_hWnd))
        pButton->setText(text);
    else if (auto* pGroup = qobject_cast<QGroupBox*>(m_hWnd))
        pGroup->setTitle(text);
    else if (auto* pEdit = qobject_cast<QPlainTextEdit*>(m_hWnd))
        pEdit->setPlainText(text);
}

std::string CWnd::GetWindowText() const
{
    QString text;
    if (auto* pLabel = qobject_cast<QLabel*>(m_hWnd))
        text = pLabel->text();
    else if (auto* pButton = qobject_cast<QAbstractButton*>(m_hWnd))
        text = pButton->text();
    else if (auto* pGroup = qobject_cast<QGroupBox*>(m_hWnd))
        text = pGroup->title();
    else if (auto* pEdit = qobject_cast<QPlainTextEdit*>(m_hWnd))
        text = pEdit->toPlainText();
    else if (auto* pCombo = qobject_cast<QComboBox*>(m_hWnd))
        text = pCombo->currentText();
    return text.toStdString();
}

CRect CWnd::GetWindowRect() const
{
    QRect r = m_hWnd->geometry();
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint)
{
    m_hWnd->setGeometry(x, y, cx, cy);
    if (bRepaint && m_hWnd->parentWidget())
        m_hWnd->parentWidget()->update();
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    if (!(nFlags & SWP_NOZORDER) && pWndInsertAfter != nullptr)
    {
        QWidget::setTabOrder(pWndInsertAfter->m_hWnd, m_hWnd);
        m_hWnd->stackUnder(pWndInsertAfter->m_hWnd);
    }
    m_hWnd->move(nFlags & SWP_NOMOVE ? m_hWnd->pos() : QPoint(x, y));
    m_hWnd->resize(nFlags & SWP_NOSIZE ? m_hWnd->size() : QSize(cx, cy));
    return TRUE;
}

int CComboBox::AddString(const std::string& strItem)
{
    QSignalBlocker block(m_hWnd);
    Combo()->addItem(ToQt(strItem));
    return Combo()->count() - 1;
}

void CComboBox::ResetContent()
{
    QSignalBlocker block(m_hWnd);
    Combo()->clear();
}

int CComboBox::SetCurSel(int nSelect)
{
    QSignalBlocker block(m_hWnd);
    const bool bValid = nSelect >= 0 && nSelect < Combo()->count();
    Combo()->setCurrentIndex(bValid ? nSelect : -1);
    return bValid ? nSelect : CB_ERR;
}

int CListBox::AddString(const std::string& strItem)
{
    QSignalBlocker block(m_hWnd);
    List()->addItem(ToQt(strItem));
    return List()->count() - 1;
}

void CListBox::ResetContent()
{
    QSignalBlocker block(m_hWnd);
    List()->clear();
}

int CListBox::SetCurSel(int nSelect)
{
    QSignalBlocker block(m_hWnd);
    const bool bValid = nSelect >= 0 && nSelect < List()->count();
    List()->setCurrentRow(bValid ? nSelect : -1);
    return bValid ? nSelect : LB_ERR;
}

std::string CListBox::GetText(int nIndex) const
{
    QListWidgetItem* pItem = List()->item(nIndex);
    return pItem ? pItem->text().toStdString() : std::string();
}

int CListBox::SetItemDataPtr(int nIndex, void* pData)
{
    QListWidgetItem* pItem = List()->item(nIndex);
    if (pItem)
        pItem->setData(Qt::UserRole, QVariant::fromValue(pData));
    return pItem ? 0 : LB_ERR;
}

void* CListBox::GetItemDataPtr(int nIndex) const
{
    QListWidgetItem* pItem = List()->item(nIndex);
    return pItem ? pItem->data(Qt::UserRole).value<void*>() : nullptr;
}

// ---------------------------------------------------------------------------
// Data exchange and painting

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    CWnd* pWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!pWnd)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pWnd->GetWindowText();
    else
        pWnd->SetWindowText(value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (CWnd* pWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC))
        rControl.m_hWnd = pWnd->m_hWnd;
}

CPaintDC::CPaintDC(CDialog* pWnd) : m_painter(pWnd->m_pClient) {}

void CPaintDC::LineTo(int x, int y)
{
    QPoint ptTo(x, y);
    m_painter.drawLine(m_ptCurrent, ptTo);
    m_ptCurrent = ptTo;
}

// The client area: hands its mouse and paint events to the dialog.
class CClientWnd : public QWidget
{
public:
    explicit CClientWnd(CDialog* pDlg) : QWidget(pDlg), m_pDlg(pDlg) { setMouseTracking(true); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        AfxCallGuarded([this] { m_pDlg->OnPaint(); });
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            AfxCallGuarded([&] { m_pDlg->OnLButtonDown(MouseFlags(e), PointOf(e)); });
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            AfxCallGuarded([&] { m_pDlg->OnLButtonUp(MouseFlags(e), PointOf(e)); });
        e->accept();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        AfxCallGuarded([&] { m_pDlg->OnMouseMove(MouseFlags(e), PointOf(e)); });
        e->accept();
    }

private:
    CDialog* m_pDlg;
};

// ---------------------------------------------------------------------------
// CDialog

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
        auto* pDlg = dynamic_cast<CDialog*>(pChild);
        if (!pDlg)
            continue;
        QPointer<CDialog> pAlive(pDlg);
        if (pDlg->m_bModeless)
            pDlg->DestroyWindow();
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

bool CDialog::BuildWindow(QWidget* pOwner)
{
    if (m_bBuilt)
        return true;
    const DlgTemplate* pTpl = FindDialogTemplate(m_nIDTemplate);
    if (!pTpl)
        return false;
    if (!parentWidget())
    {
        QWidget* pOwnerWnd = pOwner ? pOwner : AfxGetMainWnd();
        if (pOwnerWnd && pOwnerWnd != this)
            setParent(pOwnerWnd, windowFlags());
    }
    const DWORD dwStyle = pTpl->dwStyle;
    // An owned window is transient for its owner, so that every window
    // manager keeps it above the owner; only a window without owner is a
    // top-level window of its own.
    Qt::WindowFlags flags = parentWidget() ? Qt::Dialog : Qt::Window;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dwStyle & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dwStyle & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    setFont(AfxGetDialogFont());

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->setSizeConstraint(QLayout::SetFixedSize); // no sizing border
    m_pClient = new CClientWnd(this);
    m_pClient->setFixedSize(MulDiv(pTpl->cx, 6, 4), MulDiv(pTpl->cy, 13, 8));
    SetWindowText(m_strCaption.empty() ? pTpl->strCaption : m_strCaption); // names the client too
    if (pTpl->nMenu != 0)
    {
        BuildMenu(pTpl->nMenu);
        pLayout->setMenuBar(m_pMenuBar);
    }
    pLayout->addWidget(m_pClient);
    BuildControls(*pTpl);
    pLayout->activate(); // sizes and places the client area now, not at the first show

    // Without DS_CENTER a dialog stands at its template position in the
    // owner's client area; centred ones are placed by Qt when shown.
    if (!(dwStyle & DS_CENTER) && parentWidget())
    {
        QWidget* pOwnerClient = parentWidget();
        if (auto* pOwnerDlg = dynamic_cast<CDialog*>(pOwnerClient);
            pOwnerDlg && pOwnerDlg->m_pClient)
            pOwnerClient = pOwnerDlg->m_pClient;
        CRect rc = MapDialogRect(pTpl->x, pTpl->y, 0, 0);
        move(pOwnerClient->mapToGlobal(QPoint(rc.left, rc.top)));
    }
    m_bBuilt = true;
    return true;
}

void CDialog::BuildMenu(int nMenuId)
{
    const MenuTemplate* pMenu = FindMenuTemplate(nMenuId);
    m_pMenuBar = new QMenuBar(this);
    m_pMenuBar->setNativeMenuBar(false);
    m_pMenuBar->setAccessibleName(QStringLiteral("Menu"));
    if (!pMenu)
        return;
    for (const MenuPopupTemplate& popup : pMenu->popups)
    {
        QMenu* pPopup = m_pMenuBar->addMenu(ToQt(popup.strText));
        for (const MenuItemTemplate& item : popup.items)
        {
            if (item.nCommand == 0)
            {
                pPopup->addSeparator();
                continue;
            }
            QAction* pAction = pPopup->addAction(ToQt(item.strText));
            const int nId = item.nCommand;
            m_mapMenuItems[nId] = pAction;
            connect(pAction, &QAction::triggered, this,
                    [this, pAction, nId]
                    {
                        // A check mark changes only through CheckMenuItem.
                        pAction->setChecked(pAction->property(s_pszMenuChecked).toBool());
                        SendCommand(nId, BN_CLICKED);
                    });
        }
    }
}

void CDialog::BuildControls(const DlgTemplate& tpl)
{
    QButtonGroup* pGroup = nullptr; // the radio group being filled
    for (const DlgItemTemplate& item : tpl.items)
    {
        const DWORD dwStyle = item.dwStyle;
        const int nId = item.nId;
        const CRect rc = MapDialogRect(item.x, item.y, item.cx, item.cy);
        QRect geometry(rc.left, rc.top, rc.Width(), rc.Height());
        QWidget* pWnd = nullptr;
        const auto nScroll =
            (dwStyle & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
        if (dwStyle & WS_GROUP)
            pGroup = nullptr;

        switch (item.cls)
        {
        case CtlClass::Button:
        {
            const DWORD dwType = dwStyle & BS_TYPEMASK;
            if (dwType == BS_GROUPBOX)
            {
                pWnd = new QGroupBox(ToQt(item.strText), m_pClient);
                pWnd->setAttribute(Qt::WA_TransparentForMouseEvents);
                break;
            }
            QAbstractButton* pButton = nullptr;
            if (dwType == BS_AUTORADIOBUTTON)
            {
                pButton =
                    NewRadioButton(ToQt(item.strText), (dwStyle & BS_PUSHLIKE) != 0, m_pClient);
                if (dwStyle & BS_PUSHLIKE)
                    pButton->installEventFilter(this); // follows the desktop's palette
                if (!pGroup)
                {
                    pGroup = new QButtonGroup(m_pClient);
                    pGroup->setExclusive(true);
                }
                pGroup->addButton(pButton);
            }
            else
            {
                auto* pPush = new QPushButton(ToQt(item.strText), m_pClient);
                if (dwType == BS_DEFPUSHBUTTON)
                {
                    pPush->setDefault(true);
                    m_nDefaultId = nId;
                }
                pButton = pPush;
            }
            pButton->setFocusPolicy(Qt::StrongFocus);
            connect(pButton, &QAbstractButton::clicked, this,
                    [this, nId] { SendCommand(nId, BN_CLICKED); });
            pWnd = pButton;
            break;
        }
        case CtlClass::Static:
        {
            auto* pLabel = new QLabel(m_pClient);
            const DWORD dwType = dwStyle & SS_TYPEMASK;
            if (dwType == SS_BITMAP)
            {
                QPixmap pixmap = AfxLoadBitmap(item.nImage);
                pLabel->setPixmap(pixmap);
                // Sizes itself to the bitmap, in logical pixels on any screen.
                geometry.setSize(pixmap.deviceIndependentSize().toSize());
            }
            else
            {
                pLabel->setTextFormat(Qt::PlainText);
                pLabel->setText(ToQt(item.strText));
                Qt::Alignment align = dwType == SS_CENTER  ? Qt::AlignHCenter
                                      : dwType == SS_RIGHT ? Qt::AlignRight
                                                           : Qt::AlignLeft;
                pLabel->setAlignment(align | Qt::AlignTop);
                pLabel->setWordWrap(dwType != SS_LEFTNOWORDWRAP);
            }
            pLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
            pWnd = pLabel;
            break;
        }
        case CtlClass::ComboBox:
        {
            auto* pCombo = new QComboBox(m_pClient);
            pCombo->setEditable(false);
            // The template height is that of the opened list.
            const int nClosed = pCombo->sizeHint().height();
            const int nLine = pCombo->fontMetrics().height() + 2;
            pCombo->setMaxVisibleItems(std::max(1, (geometry.height() - nClosed) / nLine));
            geometry.setHeight(nClosed);
            connect(pCombo, &QComboBox::activated, this,
                    [this, nId] { SendCommand(nId, CBN_SELCHANGE); });
            pWnd = pCombo;
            break;
        }
        case CtlClass::ListBox:
        {
            auto* pList = new QListWidget(m_pClient);
            pList->setSortingEnabled((dwStyle & LBS_SORT) != 0);
            pList->setVerticalScrollBarPolicy(nScroll);
            if (dwStyle & LBS_NOTIFY)
                connect(pList, &QListWidget::currentRowChanged, this,
                        [this, nId] { SendCommand(nId, LBN_SELCHANGE); });
            pWnd = pList;
            break;
        }
        case CtlClass::Edit: // the program's edits are all multi-line
        {
            auto* pEdit = new QPlainTextEdit(ToQt(item.strText), m_pClient);
            pEdit->setReadOnly((dwStyle & ES_READONLY) != 0);
            if (dwStyle & WS_VSCROLL)
            {
                // An edit's scroll bar is always there, greyed while the
                // text fits.
                pEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                QScrollBar* pBar = pEdit->verticalScrollBar();
                pBar->setEnabled(false);
                connect(pBar, &QScrollBar::rangeChanged, pBar,
                        [pBar](int nMin, int nMax) { pBar->setEnabled(nMax > nMin); });
            }
            pEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // wraps, no ES_AUTOHSCROLL
            pWnd = pEdit;
            break;
        }
        }
        pWnd->setGeometry(geometry);
        pWnd->setVisible((dwStyle & WS_VISIBLE) != 0);
        pWnd->setEnabled((dwStyle & WS_DISABLED) == 0);
        if (nId != -1)
            m_mapItems[nId].m_hWnd = pWnd;
    }
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
    QCoreApplication::postEvent(this, new CMessageEvent(message, wParam, lParam));
    return TRUE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    if (message == WM_COMMAND)
        OnCommand(LOWORD(wParam), HIWORD(wParam));
    else if (message == WM_CLOSE)
        OnClose();
    return 0;
}

BOOL CDialog::OnCommand(UINT nID, UINT nCode)
{
    if (nCode == BN_CLICKED && (nID == IDOK || nID == IDCANCEL))
    {
        nID == IDOK ? OnOK() : OnCancel();
        return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->OnCmdMsg(nID, nCode) : FALSE;
}

bool CDialog::event(QEvent* pEvent)
{
    // The focused control is always marked, after a mouse click as well
    // (Qt marks it only once the keyboard has moved the focus).
    if (pEvent->type() == QEvent::WindowActivate || pEvent->type() == QEvent::FocusIn ||
        pEvent->type() == QEvent::Show)
        setAttribute(Qt::WA_KeyboardFocusChange);
    if (pEvent->type() == CMessageEvent::Type())
    {
        auto* pMsg = static_cast<CMessageEvent*>(pEvent);
        SendMessage(pMsg->m_nMessage, pMsg->m_wParam, pMsg->m_lParam);
        return true;
    }
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

void CDialog::SetDlgItemText(int nID, const std::string& strText)
{
    if (CWnd* pWnd = GetDlgItem(nID))
        pWnd->SetWindowText(strText);
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
    if (type == QEvent::ApplicationPaletteChange &&
        pWatched->property(s_pszChoice).toInt() == QAccessible::Button)
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
        m_pClient->setAccessibleName(ToQt(strText));
    // "[*]" is Qt's modified-marker placeholder; doubling it shows it as typed.
    setWindowTitle(ToQt(strText).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}
