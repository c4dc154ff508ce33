// Building a dialog's window, menu and controls from its templates.
#include "platform/WinApp.h"
#include "platform/qt/Dialog.h"
#include "platform/qt/DialogParts.h"
#include "res/DialogTemplate.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cstdlib>

QFont AfxGetDialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    // A fifth of a pixel less per letter keeps the longest question texts
    // (666 pixels plain) within their two lines of 338 pixels.
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.2);
    return font;
}

namespace
{
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
    if (!QAccessible::isActive())
        return; // no screen reader listens: nothing to tell
    QAccessible::State changed;
    changed.pressed = true;
    QAccessibleStateChangeEvent event(pButton, changed);
    QAccessible::updateAccessibility(&event);
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
    void mousePressEvent(QMouseEvent* e) override { Mouse(e, &CDialog::OnLButtonDown, true); }
    void mouseReleaseEvent(QMouseEvent* e) override { Mouse(e, &CDialog::OnLButtonUp, true); }
    void mouseMoveEvent(QMouseEvent* e) override { Mouse(e, &CDialog::OnMouseMove, false); }

private:
    // Presses and releases of the left button only; moves with or without one.
    void Mouse(QMouseEvent* e, void (CDialog::*pHandler)(UINT, CPoint), bool bLeftOnly)
    {
        const QPoint pt = e->position().toPoint();
        const UINT nFlags = (e->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0;
        if (!bLeftOnly || e->button() == Qt::LeftButton)
            AfxCallGuarded([&] { (m_pDlg->*pHandler)(nFlags, {pt.x(), pt.y()}); });
        e->accept();
    }
    CDialog* m_pDlg;
};

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
        QMenu* pPopup = m_pMenuBar->addMenu(QString::fromStdString(popup.strText));
        for (const MenuItemTemplate& item : popup.items)
        {
            if (item.nCommand == 0)
            {
                pPopup->addSeparator();
                continue;
            }
            QAction* pAction = pPopup->addAction(QString::fromStdString(item.strText));
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
                pWnd = new QGroupBox(QString::fromStdString(item.strText), m_pClient);
                pWnd->setAttribute(Qt::WA_TransparentForMouseEvents);
                break;
            }
            QAbstractButton* pButton = nullptr;
            if (dwType == BS_AUTORADIOBUTTON)
            {
                pButton = NewRadioButton(QString::fromStdString(item.strText),
                                         (dwStyle & BS_PUSHLIKE) != 0, m_pClient);
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
                auto* pPush = new QPushButton(QString::fromStdString(item.strText), m_pClient);
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
                pLabel->setText(QString::fromStdString(item.strText));
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
            auto* pEdit = new QPlainTextEdit(QString::fromStdString(item.strText), m_pClient);
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
