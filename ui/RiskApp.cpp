#include "ui/RiskApp.h"
#include "ui/MainDlg.h"

CRiskApp::CRiskApp()
{
    m_strHelpText =
        "Velkor estimates how likely a software project is to succeed.\n\n"
        "Pick a category on the left and answer each of its questions with None, Little, "
        "Some, Most or All (the estimation method from its list). The category's success "
        "percentage follows every answer.\n\n"
        "View, Priority Weights sets how much technical, cost and schedule success count; "
        "View, Summary Results shows the overall probabilities.\n\n"
        "File, Save keeps the project in a .vlk file; Save As also writes a text (.txt) or "
        "HTML (.htm) report.";
}

BOOL CRiskApp::InitInstance()
{
    Enable3dControls();
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);

    CMainDlg dlg;
    m_pMainWnd = &dlg;
    if (!cmdInfo.m_strFileName.empty())
    {
        // Shown as given, folder and extension included.
        dlg.m_strFilePath = cmdInfo.m_strFileName;
        dlg.m_strFileTitle = cmdInfo.m_strFileName;
    }
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE; // the program ends with its main window
}
