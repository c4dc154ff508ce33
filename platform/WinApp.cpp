// The application object's shared part: the title, the command line and
// the commands no window handles.
#include "platform/WinApp.h"
#include "platform/Backend.h"
#include "platform/MessageBox.h"

namespace
{
CWinApp* s_pApp = nullptr;
} // namespace

CWinApp::CWinApp(const char* pszAppName) : m_strAppName(pszAppName ? pszAppName : "")
{
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::OnCmdMsg(UINT nID, UINT /*nCode*/)
{
    if (nID != ID_HELP)
        return FALSE;
    OnHelp();
    return TRUE;
}

void CWinApp::OnHelp()
{
    AfxMessageBox(m_strHelpText.empty() ? std::string("No help is available.") : m_strHelpText,
                  MB_OK | MB_ICONINFORMATION);
}

void CWinApp::ParseArguments(const std::vector<std::string>& args, CCommandLineInfo& rCmdInfo)
{
    // Only '-' marks a switch: '/' starts an absolute path here.
    bool bSwitches = true;
    for (const std::string& arg : args)
        if (bSwitches && arg == "--")
            bSwitches = false;
        else if (!bSwitches || !arg.starts_with('-'))
            return void(rCmdInfo.m_strFileName = arg);
}

std::string CWinApp::GetAppName() const
{
    return m_strAppName.empty() ? AfxProgramName() : m_strAppName;
}

CWinApp* AfxGetApp()
{
    return s_pApp;
}
CDialog* AfxGetMainWnd()
{
    return s_pApp ? s_pApp->m_pMainWnd : nullptr;
}
std::string AfxGetAppName()
{
    return s_pApp ? s_pApp->GetAppName() : AfxProgramName();
}
