// main() for the Qt test suites: one QApplication for the whole run, the
// program's look, and message boxes that never wait for a user.
#include "GuiTestSupport.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace
{
QtMessageHandler s_pDefaultHandler = nullptr;

// The offscreen platform warns about every fixed-size window; nothing to see.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& strMsg)
{
    if (!strMsg.contains(QLatin1String("propagateSizeHints")))
        s_pDefaultHandler(type, context, strMsg);
}
} // namespace

void Pump()
{
    for (int i = 0; i < 4; ++i)
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

int main(int argc, char** argv)
{
    s_pDefaultHandler = qInstallMessageHandler(FilterMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CWinApp::Enable3dControls();
    CMessageBox::SetNonInteractive(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
