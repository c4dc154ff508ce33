#include "platform/WinApp.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "res/Images.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>

namespace
{
CWinApp* s_pApp = nullptr;

std::string ProgramName()
{
    if (QCoreApplication::instance() == nullptr)
        return {};
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}
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

int CWinApp::Run(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nCode = InitInstance() ? QApplication::exec() : 0;
    const int nExit = ExitInstance();
    return nCode != 0 ? nCode : nExit;
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

void CWinApp::Enable3dControls()
{
    if (QStyle* pStyle = QStyleFactory::create("Fusion"))
        QApplication::setStyle(pStyle);
    QApplication::setFont(AfxGetDialogFont());
    QApplication::setQuitOnLastWindowClosed(false);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) const
{
    std::vector<std::string> args;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        args.push_back(all[i].toStdString());
    ParseArguments(args, rCmdInfo);
}

void CWinApp::ParseArguments(const std::vector<std::string>& args, CCommandLineInfo& rCmdInfo)
{
    // Only '-' marks a switch: '/' starts an absolute path here.
    bool bSwitches = true;
    for (const std::string& arg : args)
    {
        if (bSwitches && arg == "--")
        {
            bSwitches = false;
            continue;
        }
        if (bSwitches && !arg.empty() && arg[0] == '-')
            continue;
        rCmdInfo.m_strFileName = arg;
        return;
    }
}

std::string CWinApp::GetAppName() const
{
    return m_strAppName.empty() ? ProgramName() : m_strAppName;
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
    return s_pApp ? s_pApp->GetAppName() : ProgramName();
}

namespace
{
QPixmap LoadResImage(const CResImage& image)
{
    QPixmap pixmap;
    if (image.ppXpm)
        pixmap = QPixmap(image.ppXpm);
    else
        pixmap.loadFromData(image.pPng, static_cast<uint>(image.nPngSize), "PNG");
    pixmap.setDevicePixelRatio(image.nScale);
    return pixmap;
}
} // namespace

QIcon AfxLoadIcon(int nId)
{
    QIcon icon;
    for (const CResImage& image : FindResImages(nId))
        icon.addPixmap(LoadResImage(image));
    return icon;
}

QPixmap AfxLoadBitmap(int nId, double dPixelRatio)
{
    // The picture drawn for the screen's pixel ratio or the next finer one,
    // else the finest there is; Qt scales it to the same logical size.
    if (dPixelRatio <= 0)
        dPixelRatio = qApp ? qApp->devicePixelRatio() : 1.0;
    const CResImage* pBest = nullptr;
    const auto images = FindResImages(nId);
    for (const CResImage& image : images)
    {
        const bool bFits = image.nScale >= dPixelRatio;
        const bool bBestFits = pBest && pBest->nScale >= dPixelRatio;
        if (!pBest || (bFits ? !bBestFits || image.nScale < pBest->nScale
                             : !bBestFits && image.nScale > pBest->nScale))
            pBest = &image;
    }
    return pBest ? LoadResImage(*pBest) : QPixmap();
}
