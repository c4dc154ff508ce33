// Takes the pictures of the README, and one of every category page, offscreen:
//   velkor_screenshots DIR [PAGES-DIR]      (docs/screenshots.sh runs it)
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "ui/AboutDlg.h"
#include "ui/MainDlg.h"
#include "ui/PriorityDlg.h"
#include "ui/SummaryDlg.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

namespace
{
void Pump()
{
    for (int i = 0; i < 4; ++i)
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

bool Save(QWidget* pWnd, const QString& strPath)
{
    Pump();
    const bool bSaved = pWnd->grab().save(strPath);
    std::printf("%s %s\n", bSaved ? "wrote" : "could not write", qPrintable(strPath));
    return bSaved;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3)
    {
        std::fputs("usage: velkor_screenshots DIR [PAGES-DIR]\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CWinApp theApp;
    CWinApp::Enable3dControls();
    CMessageBox::SetNonInteractive(true);
    const QString strDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString strPages =
        argc == 3 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : strDir;
    QDir().mkpath(strDir);
    QDir().mkpath(strPages);
    bool bSaved = true;

    CMainDlg dlg;
    theApp.m_pMainWnd = &dlg;
    dlg.Create();
    dlg.show();
    Pump();
    auto click = [&](int nID)
    { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(nID), BN_CLICKED), 0); };
    for (int k = 0; k < CATEGORY_BUTTONS; ++k)
    {
        dlg.CheckRadioButton(IDC_CATEGORY_FIRST, IDC_CATEGORY_FIRST + CATEGORY_BUTTONS - 1,
                             IDC_CATEGORY_FIRST + k);
        click(IDC_CATEGORY_FIRST + k);
        bSaved &= Save(&dlg, QString("%1/page-%2.png").arg(strPages).arg(k));
        if (k == 1)
            bSaved &= Save(&dlg, strDir + "/estimation-page.png");
    }
    // The Organization page answered, as the README shows it.
    dlg.CheckRadioButton(IDC_CATEGORY_FIRST, IDC_CATEGORY_FIRST + CATEGORY_BUTTONS - 1,
                         IDC_CATEGORY_FIRST);
    click(IDC_CATEGORY_FIRST);
    const int aAnswers[] = {3, 4, 2, 3, 1, 4, 3, 2};
    for (int r = 0; r < 8; ++r)
        click(IDC_ANSWER_FIRST + ANSWER_COLUMNS * r + aAnswers[r]);
    bSaved &= Save(&dlg, strDir + "/main-window.png");

    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDM_VIEW_SUMMARY, 0), 0);
    if (dlg.m_pSummary != nullptr)
        bSaved &= Save(dlg.m_pSummary, strDir + "/summary-window.png");

    CPriorityDlg priorities;
    priorities.m_dTechnicalPriority = 0.5;
    priorities.m_dCostPriority = 0.3;
    priorities.m_dSchedulePriority = 0.2;
    priorities.Create();
    bSaved &= Save(&priorities, strDir + "/priority-dialog.png");

    CAboutDlg about(nullptr, "velkor", nullptr);
    about.Create(IDD_ABOUT);
    bSaved &= Save(&about, strDir + "/about-box.png");

    g_bAnswersModified = 0;
    theApp.m_pMainWnd = nullptr;
    return bSaved ? 0 : 1;
}
