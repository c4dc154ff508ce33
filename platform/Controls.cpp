// Control handles: the id-based operations on one control, data exchange
// and painting.
#include "platform/Dialog.h"
#include "platform/DialogParts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

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
