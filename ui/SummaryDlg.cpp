#include "ui/SummaryDlg.h"
#include "model/Format.h"
#include "platform/WinApp.h"
#include "ui/MainDlg.h"

#include <sstream>

namespace
{
// Posted to itself after hiding; destroys the window and with it the object.
constexpr UINT WM_SUMMARY_DESTROY = WM_USER + 3;

std::vector<std::string> SplitLines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        lines.push_back(strLine);
    return lines;
}
} // namespace

CSummaryDlg::CSummaryDlg(CDialog* pParent) : CDialog(IDD_SUMMARY, pParent) {}

CSummaryDlg::~CSummaryDlg() = default;

void CSummaryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PROJECT_COLUMN, m_strProjectColumn);
    DDX_Text(pDX, IDC_PHASE_COLUMN, m_strPhaseColumn);
    DDX_Text(pDX, IDC_ACTIVITY_COLUMN, m_strActivityColumn);
}

BOOL CSummaryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateAccessibleItems();
    return TRUE;
}

void CSummaryDlg::CreateAccessibleItems()
{
    // In the template each column's names (right-aligned, no id) come right
    // before its values.
    const DlgTemplate* pTpl = FindDialogTemplate(IDD_SUMMARY);
    int nItem = 0;
    for (std::size_t i = 0; pTpl != nullptr && i + 1 < pTpl->items.size(); ++i)
    {
        const DlgItemTemplate& names = pTpl->items[i];
        const int nColumn = pTpl->items[i + 1].nId;
        if (names.cls != CtlClass::Static || names.nId != -1 || nColumn < IDC_PROJECT_COLUMN ||
            nColumn > IDC_ACTIVITY_COLUMN)
            continue;
        const CRect rcNames = MapDialogRect(names.x, names.y, names.cx, names.cy);
        CWnd wndNames = ChildWindowFromPoint({rcNames.left + 1, rcNames.top + 1});
        CWnd* pValues = GetDlgItem(nColumn);
        if (wndNames.m_hWnd == nullptr || pValues == nullptr)
            continue;
        wndNames.SetAccessibleHidden();
        pValues->SetAccessibleHidden();
        const std::vector<std::string> lines = SplitLines(names.strText);
        for (int nLine = 0; nLine < static_cast<int>(lines.size()); ++nLine)
        {
            if (lines[nLine].empty())
                continue;
            const CRect rcName = wndNames.GetLineRect(nLine);
            const CRect rcValue = pValues->GetLineRect(nLine);
            CWnd* pItem =
                CreateAccessibleItem(IDC_SUMMARY_ITEM_FIRST + nItem++,
                                     {rcName.left, rcName.top, rcValue.right, rcName.bottom});
            m_aItems.push_back({pItem, lines[nLine], nColumn, nLine, {}});
        }
    }
    UpdateAccessibleItems();
}

void CSummaryDlg::UpdateAccessibleItems()
{
    for (AccessibleItem& item : m_aItems)
    {
        const std::string& strColumn = item.nColumn == IDC_PROJECT_COLUMN ? m_strProjectColumn
                                       : item.nColumn == IDC_PHASE_COLUMN ? m_strPhaseColumn
                                                                          : m_strActivityColumn;
        const std::vector<std::string> values = SplitLines(strColumn);
        const std::string strValue =
            item.nLine < static_cast<int>(values.size()) ? values[item.nLine] : std::string();
        const std::string strShown =
            strValue.empty() ? item.strName : item.strName + " " + strValue;
        if (strShown != item.strShown)
            item.pWnd->SetAccessibleName(item.strShown = strShown); // announced as a name change
    }
}

void CSummaryDlg::SetValue(double& rField, double dValue)
{
    rField = dValue * 100.0;
    UpdateColumns();
}

void CSummaryDlg::SetTotal(double dValue)
{
    SetValue(m_dTotal, dValue);
}
void CSummaryDlg::SetTechnical(double dValue)
{
    SetValue(m_dTechnical, dValue);
}
void CSummaryDlg::SetCost(double dValue)
{
    SetValue(m_dCost, dValue);
}
void CSummaryDlg::SetSchedule(double dValue)
{
    SetValue(m_dSchedule, dValue);
}
void CSummaryDlg::SetProcess(double dValue)
{
    SetValue(m_dProcess, dValue);
}
void CSummaryDlg::SetProduct(double dValue)
{
    SetValue(m_dProduct, dValue);
}
void CSummaryDlg::SetPreRequirements(double dValue)
{
    SetValue(m_dPreRequirements, dValue);
}
void CSummaryDlg::SetRequirements(double dValue)
{
    SetValue(m_dRequirements, dValue);
}
void CSummaryDlg::SetDesign(double dValue)
{
    SetValue(m_dDesign, dValue);
}
void CSummaryDlg::SetCoding(double dValue)
{
    SetValue(m_dCoding, dValue);
}
void CSummaryDlg::SetTesting(double dValue)
{
    SetValue(m_dTesting, dValue);
}
void CSummaryDlg::SetMaintenance(double dValue)
{
    SetValue(m_dMaintenance, dValue);
}
void CSummaryDlg::SetIdentification(double dValue)
{
    SetValue(m_dIdentification, dValue);
}
void CSummaryDlg::SetPlanning(double dValue)
{
    SetValue(m_dPlanning, dValue);
}
void CSummaryDlg::SetAssessment(double dValue)
{
    SetValue(m_dAssessment, dValue);
}
void CSummaryDlg::SetMitigation(double dValue)
{
    SetValue(m_dMitigation, dValue);
}
void CSummaryDlg::SetReporting(double dValue)
{
    SetValue(m_dReporting, dValue);
}
void CSummaryDlg::SetPrediction(double dValue)
{
    SetValue(m_dPrediction, dValue);
}

void CSummaryDlg::UpdateColumns()
{
    // Eight lines per column, blank where the labels beside them have a gap.
    m_strProjectColumn =
        FormatNumbers("%.1f%%\n\n%.1f%%\n%.1f%%\n%.1f%%\n\n%.1f%%\n%.1f%%",
                      {m_dTotal, m_dTechnical, m_dCost, m_dSchedule, m_dProcess, m_dProduct});
    m_strPhaseColumn = FormatNumbers(
        "%.1f%%\n%.1f%%\n\n%.1f%%\n%.1f%%\n%.1f%%\n\n%.1f%%\n",
        {m_dPreRequirements, m_dRequirements, m_dDesign, m_dCoding, m_dTesting, m_dMaintenance});
    m_strActivityColumn = FormatNumbers("%.1f%%\n\n%.1f%%\n%.1f%%\n%.1f%%\n\n%.1f%%\n%.1f%%\n",
                                        {m_dIdentification, m_dPlanning, m_dAssessment,
                                         m_dMitigation, m_dReporting, m_dPrediction});
    UpdateData(FALSE);
    UpdateAccessibleItems();
}

LRESULT CSummaryDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SUMMARY_DESTROY)
    {
        DestroyWindow(); // PostNcDestroy deletes this
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CSummaryDlg::OnOK()
{
    Hide(IDOK);
}

// Escape, and the close box, which the framework turns into the Cancel click.
void CSummaryDlg::OnCancel()
{
    Hide(IDCANCEL);
}

void CSummaryDlg::Hide(int nResult)
{
    if (m_bHidden)
        return; // told the main window once; it may hold a newer summary by now
    m_bHidden = true;
    // The main window that owns this one is the application's main window;
    // without an owner, the application's.
    CDialog* pMain = GetOwner();
    if (pMain == nullptr)
        pMain = AfxGetMainWnd();
    if (pMain != nullptr)
        pMain->SendMessage(WM_SUMMARY_CLOSED, 0, 0);
    if (nResult == IDOK)
        UpdateData(TRUE); // the framework's OK processing reads the columns back
    EndDialog(nResult);
    PostMessage(WM_SUMMARY_DESTROY, 0, 0);
}
