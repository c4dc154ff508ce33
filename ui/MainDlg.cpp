#include "ui/MainDlg.h"
#include "files/File.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "model/Format.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "report/Formats.h"
#include "report/HtmlReport.h"
#include "report/TextReport.h"
#include "res/Strings.h"
#include "ui/AboutDlg.h"
#include "ui/PriorityDlg.h"
#include "ui/SummaryDlg.h"

#include <filesystem>
#include <system_error>

static_assert(CATEGORY_COUNT == CATEGORY_BUTTONS, "one category button per category");

CMainDlg::CMainDlg() : CDialog(IDD_MAIN, nullptr), m_hIcon(AfxLoadIcon(IDI_MAIN)) {}

CMainDlg::~CMainDlg() = default;

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ESTIMATION_COMBO, m_comboEstimation);
    DDX_Text(pDX, IDC_CATEGORY_SUCCESS, m_strCategorySuccess);
    DDX_Text(pDX, IDC_PRIORITY_WEIGHTS, m_strPriorityWeights);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    // For screen readers: the categories say what they are, and the two
    // displays read their current text with their frame's caption. The
    // answer buttons and the list are named after their question with each page.
    for (UINT k = 0; k < CATEGORY_COUNT; ++k)
        GetDlgItem(IDC_CATEGORY_FIRST + k)->SetAccessibleDescription("Category");
    m_comboEstimation.SetAccessibleName("Estimation method");
    GetDlgItem(IDC_CATEGORY_SUCCESS)->SetAccessibleDescription("Category Success %");
    GetDlgItem(IDC_PRIORITY_WEIGHTS)->SetAccessibleDescription("Priority Weights");
    // Tab in reading order: the pressed category, then the page row by row,
    // one stop per row; the arrow keys choose within the categories and a row. The method list
    // takes the place of the first row, so it follows the categories.
    m_comboEstimation.SetWindowPos(GetDlgItem(IDC_CATEGORY_FIRST + CATEGORY_COUNT - 1), 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE);
    GroupButtons(IDC_CATEGORY_FIRST, IDC_CATEGORY_FIRST + CATEGORY_COUNT - 1);
    for (int r = 0; r < ANSWER_ROWS; ++r)
        GroupButtons(IDC_ANSWER_FIRST + ANSWER_COLUMNS * r,
                     IDC_ANSWER_FIRST + ANSWER_COLUMNS * r + ANSWER_COLUMNS - 1);
    m_pSummary = nullptr;
    UpdateTitle();
    UpdatePriorityText();
    // The window stays unpainted until its first page is built: the controls
    // as the template leaves them would be drawn once and replaced at once.
    SetRedraw(FALSE);
    PostMessage(WM_STARTUP, 0, 0);
    return TRUE;
}

LRESULT CMainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_STARTUP:
        OnStartup();
        return 0;
    case WM_SUMMARY_CLOSED:
        OnSummaryClosed();
        return 0;
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

BOOL CMainDlg::OnCommand(UINT nID, UINT nCode)
{
    if (nCode == BN_CLICKED && nID >= IDC_CATEGORY_FIRST &&
        nID < IDC_CATEGORY_FIRST + CATEGORY_COUNT)
    {
        ShowCategory(1u << (nID - IDC_CATEGORY_FIRST));
        return TRUE;
    }
    if (nCode == BN_CLICKED && nID >= IDC_ANSWER_FIRST && nID <= IDC_ANSWER_LAST)
    {
        OnAnswerClicked(nID);
        return TRUE;
    }
    if (nCode == CBN_SELCHANGE && nID == IDC_ESTIMATION_COMBO)
    {
        OnEstimationChanged();
        return TRUE;
    }
    switch (nID)
    {
    case IDM_FILE_NEW:
        OnFileNew();
        return TRUE;
    case IDM_FILE_OPEN:
        OnFileOpen();
        return TRUE;
    case IDM_FILE_SAVE:
        OnFileSave();
        return TRUE;
    case IDM_FILE_SAVE_AS:
        OnFileSaveAs();
        return TRUE;
    case IDM_FILE_EXIT:
        OnFileExit();
        return TRUE;
    case IDM_VIEW_PRIORITIES:
        OnViewPriorities();
        return TRUE;
    case IDM_VIEW_SUMMARY:
        OnViewSummary();
        return TRUE;
    case IDM_HELP_ABOUT:
        OnHelpAbout();
        return TRUE;
    default:
        return CDialog::OnCommand(nID, nCode);
    }
}

void CMainDlg::OnOK() {}

// Escape does nothing either: a slip of the key never ends the program.
void CMainDlg::OnCancel() {}

void CMainDlg::OnClose()
{
    if (ConfirmDiscard())
        EndDialog(IDCANCEL);
}

void CMainDlg::OnStartup()
{
    if (!m_strFilePath.empty())
    {
        try
        {
            LoadProject(m_strFilePath.c_str());
        }
        catch (...)
        {
            // The project was not read: the window shows a new project with no
            // file, so a later Save cannot overwrite the unreadable file. The
            // error is the framework's to report.
            m_strFilePath.clear();
            m_strFileTitle.clear();
            UpdateTitle();
            PostFirstPage();
            throw;
        }
        return;
    }
    UpdateTitle();
    PostFirstPage();
}

void CMainDlg::PostFirstPage()
{
    m_dwCategory = 1;
    CheckRadioButton(IDC_CATEGORY_FIRST, IDC_CATEGORY_FIRST + CATEGORY_COUNT - 1,
                     IDC_CATEGORY_FIRST);
    PostMessage(WM_COMMAND, MAKEWPARAM(IDC_CATEGORY_FIRST, BN_CLICKED), 0);
}

void CMainDlg::UpdateTitle()
{
    SetWindowText(LoadResString(IDS_TITLE_PREFIX) + m_strFileTitle);
}

void CMainDlg::RefreshSummary()
{
    if (m_pSummary == nullptr)
        return;
    m_model.ComputeAll();
    CSummaryDlg* pSummary = m_pSummary;
    pSummary->SetTotal(m_model.GetMetricValue(METRIC_TOTAL));
    pSummary->SetTechnical(m_model.GetMetricValue(METRIC_TECHNICAL));
    pSummary->SetCost(m_model.GetMetricValue(METRIC_COST));
    pSummary->SetSchedule(m_model.GetMetricValue(METRIC_SCHEDULE));
    pSummary->SetProcess(m_model.GetMetricValue(METRIC_PROCESS));
    pSummary->SetProduct(m_model.GetMetricValue(METRIC_PRODUCT));
    pSummary->SetPreRequirements(m_model.GetMetricValue(METRIC_PHASE_FIRST + 0));
    pSummary->SetRequirements(m_model.GetMetricValue(METRIC_PHASE_FIRST + 1));
    pSummary->SetDesign(m_model.GetMetricValue(METRIC_PHASE_FIRST + 2));
    pSummary->SetCoding(m_model.GetMetricValue(METRIC_PHASE_FIRST + 3));
    pSummary->SetTesting(m_model.GetMetricValue(METRIC_PHASE_FIRST + 4));
    pSummary->SetMaintenance(m_model.GetMetricValue(METRIC_PHASE_FIRST + 5));
    pSummary->SetIdentification(m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 0));
    pSummary->SetPlanning(m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 1));
    pSummary->SetAssessment(m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 2));
    pSummary->SetMitigation(m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 3));
    pSummary->SetReporting(m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 4));
    pSummary->SetPrediction(m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 5));
}

BOOL CMainDlg::ConfirmDiscard()
{
    if (!m_model.IsModified())
        return TRUE;
    return AfxMessageBox(LoadResString(IDS_NOT_SAVED), MB_YESNO | MB_ICONEXCLAMATION, 0) == IDYES;
}

void CMainDlg::OnFileExit()
{
    PostMessage(WM_CLOSE, 0, 0);
}

void CMainDlg::OnFileNew()
{
    if (!ConfirmDiscard())
        return;
    m_model.Reset();
    RefreshSummary();
    UpdatePriorityText();
    m_strFilePath.clear();
    m_strFileTitle.clear();
    UpdateTitle();
    PostFirstPage();
}

void CMainDlg::OnSummaryClosed()
{
    m_pSummary = nullptr;
    CheckMenuItem(IDM_VIEW_SUMMARY, MF_BYCOMMAND | MF_UNCHECKED);
}

void CMainDlg::ShowCategory(std::uint32_t dwMask)
{
    m_dwCategory = dwMask;
    GetDlgItem(IDC_ESTIMATION_COMBO)->ShowWindow(SW_HIDE);
    int r = 0;
    for (std::uint32_t i = 0; i < QUESTION_COUNT && r < ANSWER_ROWS; ++i)
    {
        CQuestion* pQuestion = m_model.GetQuestion(i);
        if ((pQuestion->GetFlags() & dwMask) == 0)
            continue;
        m_apRowQuestion[r] = pQuestion;
        CWnd* pText = GetDlgItem(IDC_QUESTION_FIRST + r);
        pText->SetWindowText(pQuestion->GetText());
        pText->ShowWindow(SW_SHOW);
        const int nFirst = IDC_ANSWER_FIRST + ANSWER_COLUMNS * r;
        if (pQuestion->GetFlags() & QF_FIVE_LEVEL)
        {
            for (int j = 0; j < ANSWER_COLUMNS; ++j)
            {
                // The buttons show no text: a screen reader speaks the
                // question and the answer ("... stable? — Most").
                CWnd* pAnswer = GetDlgItem(nFirst + j);
                pAnswer->SetAccessibleName(
                    pQuestion->GetText() + " \xE2\x80\x94 " +
                    pQuestion->GetAnswerLabel(static_cast<std::uint32_t>(j)));
                pAnswer->ShowWindow(SW_SHOW);
            }
            CheckRadioButton(nFirst, nFirst + ANSWER_COLUMNS - 1,
                             nFirst + static_cast<int>(pQuestion->GetSelected()));
        }
        else if (pQuestion->GetFlags() & QF_ESTIMATION_METHOD)
        {
            m_comboEstimation.ShowWindow(SW_SHOW);
            m_comboEstimation.SetAccessibleName(pQuestion->GetText());
            m_comboEstimation.ResetContent();
            for (std::uint32_t n = 0; n < pQuestion->GetAnswerCount(); ++n)
                m_comboEstimation.AddString(pQuestion->GetAnswerLabel(n));
            for (int j = 0; j < ANSWER_COLUMNS; ++j)
                GetDlgItem(nFirst + j)->ShowWindow(SW_HIDE);
            m_comboEstimation.SetCurSel(static_cast<int>(pQuestion->GetSelected()));
        }
        ++r;
    }
    for (; r < ANSWER_ROWS; ++r)
    {
        m_apRowQuestion[r] = nullptr;
        GetDlgItem(IDC_QUESTION_FIRST + r)->ShowWindow(SW_HIDE);
        for (int j = 0; j < ANSWER_COLUMNS; ++j)
            GetDlgItem(IDC_ANSWER_FIRST + ANSWER_COLUMNS * r + j)->ShowWindow(SW_HIDE);
    }
    UpdateCategorySuccess();
    SetRedraw(TRUE); // the first page is up: draw the window from now on
}

void CMainDlg::OnAnswerClicked(UINT nID)
{
    const UINT d = nID - IDC_ANSWER_FIRST;
    const UINT nRow = d / ANSWER_COLUMNS;
    const UINT nColumn = d % ANSWER_COLUMNS;
    CQuestion* pQuestion = m_apRowQuestion[nRow];
    if (pQuestion == nullptr)
        return; // no page shown yet
    const int nFirst = IDC_ANSWER_FIRST + ANSWER_COLUMNS * static_cast<int>(nRow);
    CheckRadioButton(nFirst, nFirst + ANSWER_COLUMNS - 1, static_cast<int>(nID));
    pQuestion->SetSelected(nColumn);
    UpdateCategorySuccess();
}

void CMainDlg::OnEstimationChanged()
{
    const int nSel = m_comboEstimation.GetCurSel();
    if (m_apRowQuestion[0] == nullptr)
        return;
    // No selection (-1) becomes the last method through the unsigned clamp.
    m_apRowQuestion[0]->SetSelected(static_cast<std::uint32_t>(nSel));
    UpdateCategorySuccess();
}

void CMainDlg::UpdateCategorySuccess()
{
    const int nMetric = m_model.GetMetricIndex(m_dwCategory);
    const double dValue = m_model.ComputeAverage(nMetric);
    m_strCategorySuccess = FormatNumbers("%.1f%%", {dValue * 100});
    if (m_pSummary != nullptr)
        RefreshSummary();
    UpdateData(FALSE);
}

void CMainDlg::UpdatePriorityText()
{
    m_strPriorityWeights =
        FormatNumbers(LoadResString(IDS_PRIORITY_TEXT),
                      {m_model.GetCostWeight() * 100, m_model.GetTechnicalWeight() * 100,
                       m_model.GetScheduleWeight() * 100});
    UpdateData(FALSE);
}

// ---------------------------------------------------------------------------
// Commands of the auxiliary windows.

void CMainDlg::OnViewPriorities()
{
    CPriorityDlg dlgPriority;
    dlgPriority.m_dTechnicalPriority = m_model.GetTechnicalWeight();
    dlgPriority.m_dCostPriority = m_model.GetCostWeight();
    dlgPriority.m_dSchedulePriority = m_model.GetScheduleWeight();
    if (dlgPriority.DoModal() != IDOK)
        return;
    // Each setter marks the project modified, also for an unchanged weight.
    m_model.SetTechnicalWeight(dlgPriority.m_dTechnicalPriority);
    m_model.SetCostWeight(dlgPriority.m_dCostPriority);
    m_model.SetScheduleWeight(dlgPriority.m_dSchedulePriority);
    UpdatePriorityText();
    m_model.ComputeTotal();
    RefreshSummary();
}

void CMainDlg::OnViewSummary()
{
    if (m_pSummary != nullptr)
        return;                   // one summary window at a time; the command leaves it be
    m_pSummary = new CSummaryDlg; // deletes itself when its window is destroyed
    m_pSummary->Create(IDD_SUMMARY, this);
    m_pSummary->ShowWindow(SW_SHOW);
    RefreshSummary();
    CheckMenuItem(IDM_VIEW_SUMMARY, MF_BYCOMMAND | MF_CHECKED);
}

void CMainDlg::OnHelpAbout()
{
    CAboutDlg dlgAbout(nullptr, nullptr, nullptr);
    dlgAbout.DoModal();
}

// ---------------------------------------------------------------------------
// The File commands and the project file.

namespace
{
const char s_szOpenFilter[] = "Velkor Files (*.vlk)|*.vlk||";
} // namespace

namespace
{
// The folder of a file, made absolute against the current folder.
std::string AbsoluteFolder(const std::string& strPath)
{
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(strPath, ec);
    return ec ? std::string() : path.parent_path().string();
}
} // namespace

std::string CMainDlg::FileDialogFolder() const
{
    return m_strFilePath.empty() ? m_strLastFolder : AbsoluteFolder(m_strFilePath);
}

void CMainDlg::RememberFolder(const std::string& strPath)
{
    m_strLastFolder = AbsoluteFolder(strPath);
}

void CMainDlg::OnFileOpen()
{
    if (!ConfirmDiscard())
        return;
    CFileDialog dlgFile(TRUE, "*.vlk", nullptr,
                        OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, s_szOpenFilter);
    dlgFile.m_strInitialDir = FileDialogFolder();
    if (dlgFile.DoModal() != IDOK)
        return;
    RememberFolder(dlgFile.GetPathName());
    const std::string strOldPath = m_strFilePath;
    const std::string strOldTitle = m_strFileTitle;
    m_strFilePath = dlgFile.GetPathName();
    m_strFileTitle = dlgFile.GetFileTitle();
    try
    {
        LoadProject(m_strFilePath.c_str());
    }
    catch (...)
    {
        // Nothing was loaded: the window stays tied to the file it had, so a
        // later Save never writes this project over the file that failed.
        m_strFilePath = strOldPath;
        m_strFileTitle = strOldTitle;
        throw;
    }
}

void CMainDlg::OnFileSave()
{
    if (m_strFilePath.empty())
    {
        PostMessage(WM_COMMAND, MAKEWPARAM(IDM_FILE_SAVE_AS, 0), 0);
        return;
    }
    SaveProject(m_strFilePath.c_str());
    UpdateTitle();
}

void CMainDlg::OnFileSaveAs()
{
    CFileDialog dlgFile(FALSE, "*.vlk", nullptr,
                        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                        WindowSaveAsFilter().c_str());
    dlgFile.m_strInitialDir = FileDialogFolder();
    if (dlgFile.DoModal() != IDOK)
        return;
    const std::string strPath = dlgFile.GetPathName();
    RememberFolder(strPath);
    const std::string strExt = dlgFile.GetFileExt();
    if (EqualsIgnoreCase(strExt, "vlk"))
    {
        // A failed save leaves the window on the file its caption names, as a
        // failed Open does, so the next Save does not go to the other file.
        const std::string strOldPath = m_strFilePath;
        const std::string strOldTitle = m_strFileTitle;
        m_strFilePath = strPath;
        m_strFileTitle = dlgFile.GetFileTitle();
        try
        {
            SaveProject(m_strFilePath.c_str());
        }
        catch (...)
        {
            m_strFilePath = strOldPath;
            m_strFileTitle = strOldTitle;
            throw;
        }
    }
    else if ((EqualsIgnoreCase(strExt, "txt") || EqualsIgnoreCase(strExt, "htm")) &&
             !m_strFilePath.empty() && IsSameFile(m_strFilePath, strPath))
    {
        // A report never replaces the project's own file, whatever link
        // leads there: nothing is written, the project stays as it is.
        throw CFileException(CFileException::accessDenied, strPath);
    }
    else if (EqualsIgnoreCase(strExt, "txt"))
    {
        WriteTextReport(MakeSnapshot(m_model), strPath);
    }
    else if (EqualsIgnoreCase(strExt, "htm"))
    {
        WriteHtmlReport(MakeSnapshot(m_model, m_strFileTitle), strPath);
    }
    else
    {
        // Nothing is written for any other extension; say so rather than
        // letting the user believe the file was saved.
        std::string strText = LoadResString(IDS_UNKNOWN_EXTENSION);
        strText.replace(strText.find("%1"), 2, strPath);
        AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
    }
    UpdateTitle();
}

void CMainDlg::LoadProject(const char* pszPath)
{
    // Reads the whole project before the model changes: a file that cannot
    // be read leaves project, page, caption and modified state as they were.
    ::LoadProject(m_model, pszPath);
    CheckRadioButton(IDC_CATEGORY_FIRST, IDC_CATEGORY_FIRST + CATEGORY_COUNT - 1,
                     IDC_CATEGORY_FIRST);
    ShowCategory(1);
    m_model.ClearModified();
    UpdateTitle();
    RefreshSummary();
    UpdatePriorityText();
}

void CMainDlg::SaveProject(const char* pszPath)
{
    ::SaveProject(m_model, pszPath);
    m_model.ClearModified();
    UpdateTitle();
}
