// velkor-report-pdf PROJECT.vlk OUTPUT.pdf: the printable report, started
// by velkor-report for a .pdf output so that only this program loads Qt.
// Runs without a display. Exit status as velkor-report's.
#include "tools/Commands.h"

#include "files/File.h"
#include "files/FileException.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "tools/pdf/PdfReport.h"

#include <QGuiApplication>

namespace
{
// Qt's own notes (a missing runtime folder, font fallbacks) are not the
// user's concern; fatal errors still end the program.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& strMessage)
{
    if (type == QtFatalMsg)
        PrintError(strMessage.toStdString());
}
} // namespace

int main(int argc, char** argv)
{
    InstallTemporaryFileCleanup(); // a signal removes a named temporary file
    if (argc != 3)
        return UsageError("velkor-report-pdf takes PROJECT.vlk and OUTPUT.pdf");
    const std::string strProject = argv[1];
    const std::string strOutput = argv[2];

    qInstallMessageHandler(QuietMessages);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int nArgc = 1;
    QGuiApplication app(nArgc, argv);
    return RunGuarded(
        [&]
        {
            CRiskModel model;
            LoadProject(model, strProject);
            WriteOutputFile(strOutput, MakePdfReport(model, GetFileTitle(strProject)));
            return 0;
        });
}
