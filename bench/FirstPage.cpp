// velkor for the start-up figure: the program's own application object and
// windows, which end as soon as the first category page is shown. It closes
// the window the way File, Exit does (an unchanged project asks nothing).
#include "ui/MainDlg.h"
#include "ui/RiskApp.h"

#include <QApplication>

namespace
{
class CFirstPageWatch : public QObject
{
protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        auto* pMain = dynamic_cast<CMainDlg*>(AfxGetMainWnd());
        if (pMain != nullptr && pMain->isVisible() && pMain->m_apRowQuestion[0] != nullptr)
        {
            qApp->removeEventFilter(this);
            pMain->PostMessage(WM_CLOSE, 0, 0);
        }
        return QObject::eventFilter(pObject, pEvent);
    }
};

class CFirstPageApp : public CRiskApp
{
public:
    BOOL InitInstance() override
    {
        CFirstPageWatch watch;
        qApp->installEventFilter(&watch);
        return CRiskApp::InitInstance();
    }
};

CFirstPageApp theApp;
} // namespace

int main(int argc, char** argv)
{
    return theApp.Run(argc, argv);
}
