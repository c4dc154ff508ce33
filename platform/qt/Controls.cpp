// Control handles: the id-based operations on one control, data exchange
// and painting.
#include "platform/qt/Dialog.h"
#include "platform/qt/DialogParts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
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
} // namespace

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
    return AddItem(Combo(), strItem);
}

void CComboBox::ResetContent()
{
    QSignalBlocker block(m_hWnd);
    Combo()->clear();
}

int CComboBox::SetCurSel(int nSelect)
{
    return SelectItem(Combo(), nSelect, [](QComboBox* p, int n) { p->setCurrentIndex(n); });
}

int CListBox::AddString(const std::string& strItem)
{
    return AddItem(List(), strItem);
}

void CListBox::ResetContent()
{
    QSignalBlocker block(m_hWnd);
    List()->clear();
}

int CListBox::SetCurSel(int nSelect)
{
    return SelectItem(List(), nSelect, [](QListWidget* p, int n) { p->setCurrentRow(n); });
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

CPaintDC::CPaintDC(CDialog* pWnd) : m_painter(pWnd->m_pClient) {}

void CPaintDC::LineTo(int x, int y)
{
    QPoint ptTo(x, y);
    m_painter.drawLine(m_ptCurrent, ptTo);
    m_ptCurrent = ptTo;
}
