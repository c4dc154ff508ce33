// The application object: owns the backend's application, knows the application's
// title and main window, parses the command line and takes the commands
// that no window handles.
#pragma once

#include "platform/Afx.h"

#include <string>
#include <vector>

class CDialog;

class CCommandLineInfo
{
public:
    // The first argument that is not a switch; empty when there is none.
    std::string m_strFileName;
};

class CWinApp
{
public:
    // With no name, the application's title is the program file's name
    // without its extension.
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Builds the backend's application and runs InitInstance; a TRUE result would run
    // an event loop of the application's own. Returns the exit code.
    int Run(int argc, char** argv);
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Commands that reach no window's handler (ID_HELP from F1). TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode);
    // The standard Help command: shows m_strHelpText in a message box.
    void OnHelp();

    // Program look: Fusion style and the 11-pixel dialog font for every
    // window, and no implicit quit when the last window hides.
    static void Enable3dControls();

    void ParseCommandLine(CCommandLineInfo& rCmdInfo) const;
    // Arguments after the program name; "-x" is a switch, "--" ends switches.
    static void ParseArguments(const std::vector<std::string>& args, CCommandLineInfo& rCmdInfo);

    std::string GetAppName() const;

    CDialog* m_pMainWnd = nullptr;
    std::string m_strHelpText;

private:
    std::string m_strAppName;
};

CWinApp* AfxGetApp();
CDialog* AfxGetMainWnd();
// The caption of every message box.
std::string AfxGetAppName();
// An icon with all pictures of the id; a null icon for an unknown id.
HICON AfxLoadIcon(int nId);
