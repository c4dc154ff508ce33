// Building a dialog's window, menu and controls from its templates.
#include "platform/WinApp.h"
#include "platform/qt/Dialog.h"
#include "platform/qt/DialogParts.h"
#include "res/DialogTemplate.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QVBoxLayout>

#include <cmath>
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

double AfxLuminance(const QColor& color)
{
    auto linear = [](double v)
    { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

double AfxContrastRatio(const QColor& a, const QColor& b)
{
    const double la = AfxLuminance(a), lb = AfxLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor AfxMixColors(const QColor& a, const QColor& b, double dShare)
{
    auto mix = [dShare](int x, int y)
    { return static_cast<int>(std::lround(x + (y - x) * dShare)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

namespace
{
// Radio buttons as a screen reader sees them: radio buttons, also those drawn
// as push buttons (the categories are a choice of one, as the answers are),
// checked while chosen. Pressing or toggling one is a click, so the program
// hears of it as of a click of the mouse.
class CAccessibleChoice : public QAccessibleWidget
{
public:
    explicit CAccessibleChoice(QWidget* pWnd) : QAccessibleWidget(pWnd, QAccessible::RadioButton) {}
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
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

// An item that only screen readers see (CDialog::CreateAccessibleItem): its
// value text is its description.
class CAccessibleItem : public QAccessibleWidget
{
public:
    CAccessibleItem(QWidget* pWnd, QAccessible::Role role) : QAccessibleWidget(pWnd, role) {}
    QString text(QAccessible::Text t) const override
    {
        return QAccessibleWidget::text(t == QAccessible::Value ? QAccessible::Description : t);
    }
};

// A dialog's client area without the controls that screen readers are not
// to see (CWnd::SetAccessibleHidden); the rest in the order Qt lists them.
class CAccessibleClient : public QAccessibleWidget
{
public:
    explicit CAccessibleClient(QWidget* pWnd) : QAccessibleWidget(pWnd, QAccessible::Client) {}
    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int nIndex) const override
    {
        const QList<QWidget*> children = Children();
        return nIndex >= 0 && nIndex < children.size()
                   ? QAccessible::queryAccessibleInterface(children[nIndex])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* pChild) const override
    {
        return pChild ? static_cast<int>(Children().indexOf(pChild->object())) : -1;
    }

private:
    QList<QWidget*> Children() const
    {
        QList<QWidget*> children;
        for (QObject* pObject : widget()->children())
            if (auto* pWnd = qobject_cast<QWidget*>(pObject);
                pWnd && !pWnd->isWindow() && !pWnd->property(s_pszNoAccessible).toBool())
                children.append(pWnd);
        return children;
    }
};

QAccessibleInterface* AccessibleFactory(const QString& /*strClass*/, QObject* pObject)
{
    auto* pWnd = qobject_cast<QWidget*>(pObject);
    if (pWnd == nullptr)
        return nullptr;
    if (pObject->property(s_pszChoice).toBool())
        return new CAccessibleChoice(pWnd);
    if (const int nRole = pObject->property(s_pszItemRole).toInt(); nRole != 0)
        return new CAccessibleItem(pWnd, QAccessible::Role(nRole));
    if (const QVariant hidden = pObject->property(s_pszNoAccessible);
        hidden.isValid() && !hidden.toBool()) // a client area that leaves some out
        return new CAccessibleClient(pWnd);
    return nullptr;
}

void InstallAccessibleFactory()
{
    static const bool s_bFactory = (QAccessible::installFactory(AccessibleFactory), true);
    (void)s_bFactory;
}

// An automatic radio button; its group decides which one stays checked.
QAbstractButton* NewRadioButton(const QString& strText, bool bPushLike, QWidget* pParent)
{
    InstallAccessibleFactory();
    auto* pPush = bPushLike ? new QPushButton(pParent) : nullptr;
    QAbstractButton* pButton =
        pPush ? static_cast<QAbstractButton*>(pPush) : new QRadioButton(pParent);
    // Before anything asks for the button's accessible side.
    pButton->setProperty(s_pszChoice, true);
    pButton->setProperty(s_pszPushLike, bPushLike);
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

namespace
{
// The face colour the style gives a push button of that button colour, pressed
// or not: the middle of its face, where the gradient has its mean.
QColor ButtonFace(QAbstractButton* pButton, const QColor& button, bool bPressed)
{
    QStyleOptionButton option;
    option.initFrom(pButton);
    option.rect = QRect(0, 0, 40, 24);
    option.palette.setColor(QPalette::Button, button);
    option.state = (option.state & ~(QStyle::State_HasFocus | QStyle::State_MouseOver)) |
                   (bPressed ? QStyle::State_On : QStyle::State_Off) | QStyle::State_Raised;
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(button);
    QPainter painter(&image);
    pButton->style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, pButton);
    painter.end();
    return image.pixelColor(20, 12);
}
} // namespace

// Fusion draws a pressed push button only a shade darker (1.3:1 against the
// others in the light palette, less in a dark one). The chosen one takes the
// highlight colour instead, darkened or lightened until its face stands 4:1
// apart from the others' faces (3:1 with room for the gradient), with whichever text reads best on
// it.
void OnPushLikeToggled(QAbstractButton* pButton)
{
    QPalette palette; // only the button's colours are its own, if any
    if (pButton->isChecked())
    {
        const QPalette inherited = QApplication::palette(pButton);
        const QColor button = inherited.color(QPalette::Button);
        const QColor highlight = inherited.color(QPalette::Highlight);
        const QColor others = ButtonFace(pButton, button, false);
        const QColor toward = AfxLuminance(others) > 0.18 ? Qt::black : Qt::white;
        QColor chosen = highlight;
        QColor face = ButtonFace(pButton, chosen, true);
        for (int nStep = 1; nStep <= 20 && AfxContrastRatio(face, others) < 4.0; ++nStep)
        {
            chosen = AfxMixColors(highlight, toward, nStep / 20.0);
            face = ButtonFace(pButton, chosen, true);
        }
        QColor text = inherited.color(QPalette::ButtonText);
        for (const QColor candidate :
             {inherited.color(QPalette::HighlightedText), QColor(Qt::black), QColor(Qt::white)})
            if (AfxContrastRatio(candidate, face) > AfxContrastRatio(text, face) + 0.5)
                text = candidate;
        palette.setColor(QPalette::Button, chosen);
        palette.setColor(QPalette::ButtonText, text);
    }
    pButton->setPalette(palette);
}

// What CreateAccessibleItem makes: nothing to see but its keyboard focus, a
// dotted frame.
class CAccessibleItemWnd : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

CWnd* CDialog::CreateAccessibleItem(int nID, const CRect& rc, BOOL bTabStop)
{
    InstallAccessibleFactory();
    auto* pWnd = new CAccessibleItemWnd(m_pImpl->m_pClient);
    pWnd->setProperty(s_pszItemRole, bTabStop ? QAccessible::Slider : QAccessible::StaticText);
    pWnd->setAttribute(Qt::WA_TransparentForMouseEvents);
    pWnd->setFocusPolicy(bTabStop ? Qt::TabFocus : Qt::NoFocus);
    pWnd->setGeometry(rc.left, rc.top, rc.Width(), rc.Height());
    pWnd->show();
    CWnd& rItem = m_mapItems[nID];
    rItem.m_hWnd = pWnd;
    return &rItem;
}

CWnd CDialog::ChildWindowFromPoint(CPoint pt) const
{
    CWnd wnd;
    const QObjectList& children = m_pImpl->m_pClient->children();
    for (auto it = children.rbegin(); it != children.rend() && wnd.m_hWnd == nullptr; ++it)
        if (auto* pWnd = qobject_cast<QWidget*>(*it);
            pWnd && !pWnd->isHidden() && pWnd->geometry().contains(pt.x, pt.y))
            wnd.m_hWnd = pWnd;
    return wnd;
}

CRect CWnd::GetLineRect(int nLine) const
{
    const QRect rc = m_hWnd->geometry();
    const int nSpacing = m_hWnd->fontMetrics().lineSpacing();
    const int nTop = rc.top() + nLine * nSpacing;
    return {rc.left(), nTop, rc.right() + 1, nTop + nSpacing};
}

void CWnd::SetAccessibleHidden()
{
    m_hWnd->setProperty(s_pszNoAccessible, true);
    if (QWidget* pParent = m_hWnd->parentWidget(); pParent && QAccessible::isActive())
    {
        QAccessibleEvent event(pParent, QAccessible::ObjectReorder); // its children changed
        QAccessible::updateAccessibility(&event);
    }
}

// The client area: hands its mouse and paint events to the dialog.
class CClientWnd : public QWidget
{
public:
    explicit CClientWnd(CDialogImpl* pImpl) : QWidget(pImpl->m_pDlg), m_pImpl(pImpl)
    {
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override { m_pImpl->OnPaint(); }
    void mousePressEvent(QMouseEvent* e) override { Mouse(e, QEvent::MouseButtonPress); }
    void mouseReleaseEvent(QMouseEvent* e) override { Mouse(e, QEvent::MouseButtonRelease); }
    void mouseMoveEvent(QMouseEvent* e) override { Mouse(e, QEvent::MouseMove); }

private:
    // Presses and releases of the left button only; moves with or without one.
    void Mouse(QMouseEvent* e, QEvent::Type type)
    {
        const QPoint pt = e->position().toPoint();
        const UINT nFlags = (e->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0;
        if (type == QEvent::MouseMove || e->button() == Qt::LeftButton)
            m_pImpl->OnMouse(type, nFlags, {pt.x(), pt.y()});
        e->accept();
    }
    CDialogImpl* m_pImpl;
};

void CDialogImpl::OnPaint()
{
    AfxCallGuarded([this] { m_pDlg->OnPaint(); });
}

void CDialogImpl::OnMouse(QEvent::Type type, UINT nFlags, CPoint pt)
{
    AfxCallGuarded(
        [&]
        {
            if (type == QEvent::MouseButtonPress)
                m_pDlg->OnLButtonDown(nFlags, pt);
            else if (type == QEvent::MouseButtonRelease)
                m_pDlg->OnLButtonUp(nFlags, pt);
            else
                m_pDlg->OnMouseMove(nFlags, pt);
        });
}

bool CDialogImpl::BuildWindow(QWidget* pOwner)
{
    if (m_bBuilt)
        return true;
    CDialog& dlg = *m_pDlg;
    const DlgTemplate* pTpl = FindDialogTemplate(dlg.m_nIDTemplate);
    if (!pTpl)
        return false;
    if (!dlg.parentWidget())
    {
        QWidget* pOwnerWnd = pOwner ? pOwner : AfxGetMainWnd();
        if (pOwnerWnd && pOwnerWnd != &dlg)
            dlg.setParent(pOwnerWnd, dlg.windowFlags());
    }
    const DWORD dwStyle = pTpl->dwStyle;
    // An owned window is transient for its owner, so that every window
    // manager keeps it above the owner; only a window without owner is a
    // top-level window of its own.
    Qt::WindowFlags flags = dlg.parentWidget() ? Qt::Dialog : Qt::Window;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dwStyle & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dwStyle & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    dlg.setWindowFlags(flags);
    dlg.setFont(AfxGetDialogFont());

    auto* pLayout = new QVBoxLayout(&dlg);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->setSizeConstraint(QLayout::SetFixedSize); // no sizing border
    m_pClient = new CClientWnd(this);
    // Screen readers see its controls less those left out (SetAccessibleHidden).
    InstallAccessibleFactory();
    m_pClient->setProperty(s_pszNoAccessible, false);
    m_pClient->setFixedSize(MulDiv(pTpl->cx, 6, 4), MulDiv(pTpl->cy, 13, 8));
    // Names the client too.
    dlg.SetWindowText(dlg.m_strCaption.empty() ? pTpl->strCaption : dlg.m_strCaption);
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
    if (!(dwStyle & DS_CENTER) && dlg.parentWidget())
    {
        QWidget* pOwnerClient = dlg.parentWidget();
        if (auto* pOwnerDlg = dynamic_cast<CDialog*>(pOwnerClient);
            pOwnerDlg && Of(*pOwnerDlg).m_pClient)
            pOwnerClient = Of(*pOwnerDlg).m_pClient;
        CRect rc = MapDialogRect(pTpl->x, pTpl->y, 0, 0);
        dlg.move(pOwnerClient->mapToGlobal(QPoint(rc.left, rc.top)));
    }
    m_bBuilt = true;
    return true;
}

void CDialogImpl::BuildMenu(int nMenuId)
{
    const MenuTemplate* pMenu = FindMenuTemplate(nMenuId);
    m_pMenuBar = new QMenuBar(m_pDlg);
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
            connect(pAction, &QAction::triggered, m_pDlg,
                    [this, pAction, nId]
                    {
                        // A check mark changes only through CheckMenuItem.
                        pAction->setChecked(pAction->property(s_pszMenuChecked).toBool());
                        SendCommand(nId, BN_CLICKED);
                    });
        }
    }
}

QWidget* CDialogImpl::NewButton(const DlgItemTemplate& item, QButtonGroup*& pGroup)
{
    const DWORD dwStyle = item.dwStyle;
    const DWORD dwType = dwStyle & BS_TYPEMASK;
    const QString strText = QString::fromStdString(item.strText);
    if (dwType == BS_GROUPBOX)
    {
        auto* pBox = new QGroupBox(strText, m_pClient);
        pBox->setAttribute(Qt::WA_TransparentForMouseEvents);
        return pBox;
    }
    QAbstractButton* pButton = nullptr;
    if (dwType == BS_AUTORADIOBUTTON)
    {
        pButton = NewRadioButton(strText, (dwStyle & BS_PUSHLIKE) != 0, m_pClient);
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
        auto* pPush = new QPushButton(strText, m_pClient);
        if (dwType == BS_DEFPUSHBUTTON)
        {
            pPush->setDefault(true);
            m_pDlg->m_nDefaultId = item.nId;
        }
        pButton = pPush;
    }
    pButton->setFocusPolicy(Qt::StrongFocus);
    connect(pButton, &QAbstractButton::clicked, m_pDlg,
            [this, nId = item.nId] { SendCommand(nId, BN_CLICKED); });
    return pButton;
}

QWidget* CDialogImpl::NewStatic(const DlgItemTemplate& item, QRect& geometry)
{
    auto* pLabel = new QLabel(m_pClient);
    const DWORD dwType = item.dwStyle & SS_TYPEMASK;
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
    return pLabel;
}

QWidget* CDialogImpl::NewCombo(const DlgItemTemplate& item, QRect& geometry)
{
    auto* pCombo = new QComboBox(m_pClient);
    // The template height is that of the opened list.
    const int nClosed = pCombo->sizeHint().height();
    const int nLine = pCombo->fontMetrics().height() + 2;
    pCombo->setMaxVisibleItems(std::max(1, (geometry.height() - nClosed) / nLine));
    geometry.setHeight(nClosed);
    connect(pCombo, &QComboBox::activated, m_pDlg,
            [this, nId = item.nId] { SendCommand(nId, CBN_SELCHANGE); });
    return pCombo;
}

QWidget* CDialogImpl::NewList(const DlgItemTemplate& item)
{
    auto* pList = new QListWidget(m_pClient);
    pList->setSortingEnabled((item.dwStyle & LBS_SORT) != 0);
    pList->setVerticalScrollBarPolicy((item.dwStyle & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    if (item.dwStyle & LBS_NOTIFY)
        connect(pList, &QListWidget::currentRowChanged, m_pDlg,
                [this, nId = item.nId] { SendCommand(nId, LBN_SELCHANGE); });
    return pList;
}

QWidget* CDialogImpl::NewEdit(const DlgItemTemplate& item)
{
    // The program's edits are all multi-line.
    auto* pEdit = new QPlainTextEdit(QString::fromStdString(item.strText), m_pClient);
    pEdit->setReadOnly((item.dwStyle & ES_READONLY) != 0);
    if (item.dwStyle & WS_VSCROLL)
    {
        // An edit's scroll bar is always there, greyed while the text fits.
        pEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QScrollBar* pBar = pEdit->verticalScrollBar();
        pBar->setEnabled(false);
        connect(pBar, &QScrollBar::rangeChanged, pBar,
                [pBar](int nMin, int nMax) { pBar->setEnabled(nMax > nMin); });
    }
    pEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // wraps, no ES_AUTOHSCROLL
    return pEdit;
}

void CDialogImpl::BuildControls(const DlgTemplate& tpl)
{
    QButtonGroup* pGroup = nullptr; // the radio group being filled
    for (const DlgItemTemplate& item : tpl.items)
    {
        const DWORD dwStyle = item.dwStyle;
        const CRect rc = MapDialogRect(item.x, item.y, item.cx, item.cy);
        QRect geometry(rc.left, rc.top, rc.Width(), rc.Height());
        if (dwStyle & WS_GROUP)
            pGroup = nullptr;
        QWidget* pWnd = nullptr;
        switch (item.cls)
        {
        case CtlClass::Button:
            pWnd = NewButton(item, pGroup);
            break;
        case CtlClass::Static:
            pWnd = NewStatic(item, geometry);
            break;
        case CtlClass::ComboBox:
            pWnd = NewCombo(item, geometry);
            break;
        case CtlClass::ListBox:
            pWnd = NewList(item);
            break;
        case CtlClass::Edit:
            pWnd = NewEdit(item);
            break;
        }
        pWnd->setGeometry(geometry);
        pWnd->setVisible((dwStyle & WS_VISIBLE) != 0);
        pWnd->setEnabled((dwStyle & WS_DISABLED) == 0);
        if (item.nId != -1)
            m_pDlg->m_mapItems[item.nId].m_hWnd = pWnd;
    }
}
