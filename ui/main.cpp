// Velkor: software project risk assessment.
#include "platform/WinApp.h"
#include "ui/RiskApp.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace
{
CRiskApp theApp;
QtMessageHandler s_pQtHandler = nullptr;

// Without a display Qt ends the program from inside QApplication: it says
// that reinstalling might help and aborts. A fatal message before the main
// window exists is that case; say what helps instead and exit as a failure.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    if (type != QtFatalMsg || AfxGetMainWnd() != nullptr)
    {
        s_pQtHandler(type, context, strMessage);
        return;
    }
    std::fputs("velkor: no display to show the window on; run it in a desktop session, under "
               "xvfb-run, or with QT_QPA_PLATFORM=offscreen\n",
               stderr);
    std::_Exit(1);
}
} // namespace

int main(int argc, char** argv)
{
    s_pQtHandler = qInstallMessageHandler(OnQtMessage);
    return theApp.Run(argc, argv);
}
