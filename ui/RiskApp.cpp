#include "ui/RiskApp.h"
#include "ui/MainDlg.h"

#include "res/Strings.h"
#include "res/resource.h"

CRiskApp::CRiskApp()
{
    m_strHelpText = LoadResString(IDS_HELP_TEXT);
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
