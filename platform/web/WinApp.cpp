// The browser backend's application: the program runs inside the page's
// asynchronous call, the command line is empty, icons are their ids.
#include "platform/WinApp.h"
#include "platform/Backend.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/web/DialogImpl.h"
#include "platform/web/Dom.h"
#include "res/Images.h"

#include <sstream>

std::string AfxProgramName()
{
    return "velkor";
}

int CWinApp::Run(int /*argc*/, char** /*argv*/)
{
    const int nCode = InitInstance() ? 1 : 0;
    const int nExit = ExitInstance();
    return nCode != 0 ? nCode : nExit;
}

void CWinApp::Enable3dControls() {}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) const
{
    // A page has no command line: a project is opened with File, Open.
    ParseArguments({}, rCmdInfo);
}

HICON AfxLoadIcon(int nId)
{
    return FindResImages(nId).empty() ? 0 : nId;
}

int AfxShowMessageBox(const std::string& strText, const std::string& strCaption, UINT nType)
{
    const bool bYesNo = (nType & MB_TYPEMASK) == MB_YESNO;
    const UINT nIcon = (nType & MB_ICONMASK) >> 4;
    WebDom::MessageBox(strCaption, strText, nIcon < 5 ? static_cast<int>(nIcon) : 0, bYesNo);
    int nId = 0, nCode = 0;
    while (!AfxWebPumpMessage(5, &nId, &nCode))
    {
    }
    return nCode;
}

INT_PTR CFileDialog::ShowDialog()
{
    // The type list: "Description (patterns)", one a line; Open accepts the
    // extensions of every pattern.
    std::ostringstream types, accept;
    for (const auto& [strText, strPatterns] : ParseFilter(m_strFilter))
    {
        types << (types.tellp() > 0 ? "\n" : "") << strText;
        std::istringstream patterns(strPatterns);
        for (std::string strPattern; std::getline(patterns, strPattern, ';');)
            if (strPattern.rfind("*.", 0) == 0 && strPattern != "*.*")
                accept << (accept.tellp() > 0 ? "," : "") << strPattern.substr(1);
    }
    const int nTypes = static_cast<int>(ParseFilter(m_strFilter).size());
    m_nFilterIndex = nTypes == 0 ? 1 : std::clamp(m_nFilterIndex, 1, nTypes);
    WebDom::FileDialog(m_bOpen, m_bOpen ? "Open" : "Save As", ::GetFileName(m_strFileName),
                       types.str(), m_nFilterIndex, accept.str());
    int nType = 0, nChosen = 0;
    while (!AfxWebPumpMessage(6, &nType, &nChosen))
    {
    }
    if (nChosen == 0)
        return IDCANCEL;
    if (m_bOpen)
    {
        m_strPathName = WebDom::Chosen();
        return IDOK;
    }
    m_nFilterIndex = nType;
    m_strPathName = WebDom::Folder() + CompleteName(WebDom::Chosen(), m_nFilterIndex);
    return IDOK;
}
