// Control handles: the id-based operations on one control, data exchange
// and painting.
#include "platform/qt/Dialog.h"
#include "platform/qt/DialogParts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{
// The property that holds a control's text; none for lists.
const char* TextProperty(const QWidget* pWnd)
{
    if (qobject_cast<const QGroupBox*>(pWnd))
        return "title";
    if (qobject_cast<const QPlainTextEdit*>(pWnd))
        return "plainText";
    if (qobject_cast<const QComboBox*>(pWnd))
        return "currentText";
    return qobject_cast<const QLabel*>(pWnd) || qobject_cast<const QAbstractButton*>(pWnd)
               ? "text"
               : nullptr;
}

// Lists change without notifying; the index is checked against the count.
template <class TList, class TSelect> int SelectItem(TList* pList, int nSelect, TSelect select)
{
    QSignalBlocker block(pList);
    const bool bValid = nSelect >= 0 && nSelect < pList->count();
    select(pList, bValid ? nSelect : -1);
    return bValid ? nSelect : -1;
}

template <class TList> int AddItem(TList* pList, const std::string& strItem)
{
    QSignalBlocker block(pList);
    pList->addItem(QString::fromStdString(strItem));
    return pList->count() - 1;
}
QComboBox* Combo(HWND hWnd)
{
    return static_cast<QComboBox*>(hWnd);
}

QListWidget* List(HWND hWnd)
{
    return static_cast<QListWidget*>(hWnd);
}
} // namespace

void CWnd::ShowWindow(int nCmdShow)
{
    m_hWnd->setVisible(nCmdShow != SW_HIDE);
}

void CWnd::EnableWindow(BOOL bEnable)
{
    m_hWnd->setEnabled(bEnable != FALSE);
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd->isVisibleTo(m_hWnd->window());
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd->isEnabled();
}

void CWnd::SetAccessibleName(const std::string& strName)
{
    m_hWnd->setAccessibleName(QString::fromStdString(strName));
}

void CWnd::SetAccessibleDescription(const std::string& strText)
{
    m_hWnd->setAccessibleDescription(QString::fromStdString(strText));
}

int CComboBox::GetCount() const
{
    return Combo(m_hWnd)->count();
}

int CComboBox::GetCurSel() const
{
    return Combo(m_hWnd)->currentIndex() < 0 ? CB_ERR : Combo(m_hWnd)->currentIndex();
}

int CListBox::GetCount() const
{
    return List(m_hWnd)->count();
}

int CListBox::GetCurSel() const
{
    return List(m_hWnd)->currentRow() < 0 ? LB_ERR : List(m_hWnd)->currentRow();
}

void CWnd::SetWindowText(const std::string& strText)
{
    // A drop-down list's text is its selection, which only SetCurSel changes.
    if (const char* pszProperty = TextProperty(m_hWnd);
        pszProperty && !qobject_cast<QComboBox*>(m_hWnd))
        m_hWnd->setProperty(pszProperty, QString::fromStdString(strText));
}

std::string CWnd::GetWindowText() const
{
    const char* pszProperty = TextProperty(m_hWnd);
    return pszProperty ? m_hWnd->property(pszProperty).toString().toStdString() : std::string();
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
    return AddItem(Combo(m_hWnd), strItem);
}

void CComboBox::ResetContent()
{
    QSignalBlocker block(m_hWnd);
    Combo(m_hWnd)->clear();
}

int CComboBox::SetCurSel(int nSelect)
{
    return SelectItem(Combo(m_hWnd), nSelect, [](QComboBox* p, int n) { p->setCurrentIndex(n); });
}

int CListBox::AddString(const std::string& strItem)
{
    return AddItem(List(m_hWnd), strItem);
}

void CListBox::ResetContent()
{
    QSignalBlocker block(m_hWnd);
    List(m_hWnd)->clear();
}

int CListBox::SetCurSel(int nSelect)
{
    return SelectItem(List(m_hWnd), nSelect, [](QListWidget* p, int n) { p->setCurrentRow(n); });
}

std::string CListBox::GetText(int nIndex) const
{
    QListWidgetItem* pItem = List(m_hWnd)->item(nIndex);
    return pItem ? pItem->text().toStdString() : std::string();
}

int CListBox::SetItemDataPtr(int nIndex, void* pData)
{
    QListWidgetItem* pItem = List(m_hWnd)->item(nIndex);
    if (pItem)
        pItem->setData(Qt::UserRole, QVariant::fromValue(pData));
    return pItem ? 0 : LB_ERR;
}

void* CListBox::GetItemDataPtr(int nIndex) const
{
    QListWidgetItem* pItem = List(m_hWnd)->item(nIndex);
    return pItem ? pItem->data(Qt::UserRole).value<void*>() : nullptr;
}

struct CPaintDCImpl
{
    QPainter painter;
    QPoint ptCurrent;
};

CPaintDC::CPaintDC(CDialog* pWnd) : m_pImpl(std::make_unique<CPaintDCImpl>())
{
    m_pImpl->painter.begin(AfxGetClientWidget(*pWnd));
}

CPaintDC::~CPaintDC() = default;

void CPaintDC::MoveTo(int x, int y)
{
    m_pImpl->ptCurrent = QPoint(x, y);
}

void CPaintDC::LineTo(int x, int y)
{
    QPoint ptTo(x, y);
    m_pImpl->painter.drawLine(m_pImpl->ptCurrent, ptTo);
    m_pImpl->ptCurrent = ptTo;
}
