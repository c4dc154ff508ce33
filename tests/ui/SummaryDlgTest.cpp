// The summary window: its columns, its life with the main window (check
// mark, the three ways to hide it, a fresh window after hiding) and the
// values the main window pushes into it.
#include "ui/SummaryDlg.h"
#include "MainWindowTest.h"
#include "model/Format.h"
#include "model/Question.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "ui/MainDlg.h"
#include "ui/PriorityDlg.h"

#include <QAccessible>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A summary window on its own, owned by nobody.
class SummaryColumnsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pDlg = new CSummaryDlg;
        ASSERT_TRUE(m_pDlg->Create(IDD_SUMMARY));
    }
    void TearDown() override { m_pDlg->DestroyWindow(); } // deletes it
    CSummaryDlg* m_pDlg = nullptr;
};

// The main window with the application around it, as the program runs it.
class SummaryWindowTest : public MainWindowTest
{
protected:
    bool Checked() { return Dlg().GetMenuState(IDM_VIEW_SUMMARY) == MF_CHECKED; }
    int SummaryCount()
    {
        int n = 0;
        for (QDialog* p : Dlg().findChildren<QDialog*>())
            n += dynamic_cast<CSummaryDlg*>(p) != nullptr;
        return n;
    }
    // The three columns as the window shows them for the model's metrics.
    void ExpectCurrentValues(CSummaryDlg& dlg)
    {
        CRiskModel& model = Dlg().m_model;
        auto v = [&](int k) { return model.GetMetricValue(k) * 100.0; };
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PROJECT_COLUMN),
                  FormatNumbers("%.1f%%\n\n%.1f%%\n%.1f%%\n%.1f%%\n\n%.1f%%\n%.1f%%",
                                {v(0), v(1), v(2), v(3), v(26), v(27)}));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PHASE_COLUMN),
                  FormatNumbers("%.1f%%\n%.1f%%\n\n%.1f%%\n%.1f%%\n%.1f%%\n\n%.1f%%\n",
                                {v(14), v(15), v(16), v(17), v(18), v(19)}));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ACTIVITY_COLUMN),
                  FormatNumbers("%.1f%%\n\n%.1f%%\n%.1f%%\n%.1f%%\n\n%.1f%%\n%.1f%%\n",
                                {v(20), v(21), v(22), v(23), v(24), v(25)}));
    }
    // Answers that make every shown metric differ from its neighbours.
    void AnswerSome()
    {
        Click(IDC_ANSWER_FIRST + 4);         // Organization row 0: All
        Click(IDC_ANSWER_FIRST + 5 * 1 + 2); // row 1: Some
        Click(IDC_CATEGORY_FIRST + 3);       // Development
        Click(IDC_ANSWER_FIRST + 5 * 0 + 3); // row 0: Most
        Click(IDC_ANSWER_FIRST + 5 * 2 + 1); // row 2: Little
        Click(IDC_CATEGORY_FIRST + 8);       // Reliability
        Click(IDC_ANSWER_FIRST + 5 * 0 + 4);
    }
};
} // namespace

TEST_F(SummaryColumnsTest, FormatsEachColumnWithItsLineBreaks)
{
    using Setter = void (CSummaryDlg::*)(double);
    static const Setter s_aSetters[] = {&CSummaryDlg::SetTotal,
                                        &CSummaryDlg::SetTechnical,
                                        &CSummaryDlg::SetCost,
                                        &CSummaryDlg::SetSchedule,
                                        &CSummaryDlg::SetProcess,
                                        &CSummaryDlg::SetProduct,
                                        &CSummaryDlg::SetPreRequirements,
                                        &CSummaryDlg::SetRequirements,
                                        &CSummaryDlg::SetDesign,
                                        &CSummaryDlg::SetCoding,
                                        &CSummaryDlg::SetTesting,
                                        &CSummaryDlg::SetMaintenance,
                                        &CSummaryDlg::SetIdentification,
                                        &CSummaryDlg::SetPlanning,
                                        &CSummaryDlg::SetAssessment,
                                        &CSummaryDlg::SetMitigation,
                                        &CSummaryDlg::SetReporting,
                                        &CSummaryDlg::SetPrediction};
    CSummaryDlg* pDlg = m_pDlg;
    const double adValues[] = {0.4567, 1.0, 0.0};
    const char* const apszShown[] = {"45.7%", "100.0%", "0.0%"};
    for (int i = 0; i < 3; ++i)
    {
        const double d = adValues[i];
        for (Setter set : s_aSetters)
            (pDlg->*set)(d);
        const std::string s = apszShown[i];
        EXPECT_EQ(m_pDlg->GetDlgItemText(IDC_PROJECT_COLUMN),
                  s + "\n\n" + s + "\n" + s + "\n" + s + "\n\n" + s + "\n" + s);
        EXPECT_EQ(m_pDlg->GetDlgItemText(IDC_PHASE_COLUMN),
                  s + "\n" + s + "\n\n" + s + "\n" + s + "\n" + s + "\n\n" + s + "\n");
        EXPECT_EQ(m_pDlg->GetDlgItemText(IDC_ACTIVITY_COLUMN),
                  s + "\n\n" + s + "\n" + s + "\n" + s + "\n\n" + s + "\n" + s + "\n");
    }
}

TEST_F(SummaryColumnsTest, EverySetterUpdatesItsOwnLine)
{
    // Distinct values put each setter's value on its line; the program's
    // rounding takes exact halves away from zero (0.00125 -> 0.1%).
    m_pDlg->SetTotal(0.01);
    m_pDlg->SetTechnical(0.02);
    m_pDlg->SetCost(0.03);
    m_pDlg->SetSchedule(0.04);
    m_pDlg->SetProcess(0.05);
    m_pDlg->SetProduct(0.06);
    m_pDlg->SetPreRequirements(0.07);
    m_pDlg->SetRequirements(0.08);
    m_pDlg->SetDesign(0.09);
    m_pDlg->SetCoding(0.10);
    m_pDlg->SetTesting(0.11);
    m_pDlg->SetMaintenance(0.12);
    m_pDlg->SetIdentification(0.13);
    m_pDlg->SetPlanning(0.14);
    m_pDlg->SetAssessment(0.15);
    m_pDlg->SetMitigation(0.16);
    m_pDlg->SetReporting(0.17);
    m_pDlg->SetPrediction(0.00125);
    EXPECT_EQ(m_pDlg->m_dCost, 3.0);
    EXPECT_EQ(m_pDlg->GetDlgItemText(IDC_PROJECT_COLUMN), "1.0%\n\n2.0%\n3.0%\n4.0%\n\n5.0%\n6.0%");
    EXPECT_EQ(m_pDlg->GetDlgItemText(IDC_PHASE_COLUMN),
              "7.0%\n8.0%\n\n9.0%\n10.0%\n11.0%\n\n12.0%\n");
    EXPECT_EQ(m_pDlg->GetDlgItemText(IDC_ACTIVITY_COLUMN),
              "13.0%\n\n14.0%\n15.0%\n16.0%\n\n17.0%\n0.1%\n");
    // A screen reader reads one item per value, named with it, and neither
    // the names' nor the values' column as a whole.
    const char* const apszItems[] = {"Total Project Prob 1.0%",
                                     "Technical Prob 2.0%",
                                     "Cost Prob 3.0%",
                                     "Schedule Prob 4.0%",
                                     "Process Prob 5.0%",
                                     "Product Prob 6.0%",
                                     "Pre-requirements 7.0%",
                                     "Requirements 8.0%",
                                     "Design 9.0%",
                                     "Coding 10.0%",
                                     "Testing 11.0%",
                                     "Maintenance 12.0%",
                                     "Risk Identification 13.0%",
                                     "Planning 14.0%",
                                     "Assessment 15.0%",
                                     "Mitigation 16.0%",
                                     "Reporting 17.0%",
                                     "Prediction 0.1%"};
    QAccessibleInterface* pClient =
        QAccessible::queryAccessibleInterface(AfxGetClientWidget(*m_pDlg));
    QStringList read;
    for (int i = 0; i < pClient->childCount(); ++i)
        if (pClient->child(i)->role() == QAccessible::StaticText)
            read << pClient->child(i)->text(QAccessible::Name);
    EXPECT_EQ(read.size(), 18) << read.join('|').toStdString();
    for (int i = 0; i < 18; ++i)
    {
        EXPECT_TRUE(read.contains(apszItems[i])) << apszItems[i];
        // Each item lies on its value's line, level with it.
        const CRect rc = m_pDlg->GetDlgItem(IDC_SUMMARY_ITEM_FIRST + i)->GetWindowRect();
        const CRect rcValues = m_pDlg->GetDlgItem(IDC_PROJECT_COLUMN + i / 6)->GetWindowRect();
        EXPECT_TRUE(rc.top >= rcValues.top && rc.bottom <= rcValues.bottom &&
                    rc.right == rcValues.right)
            << apszItems[i];
    }
    // Values outside 0..1 are shown as they come.
    m_pDlg->SetTotal(-0.5);
    m_pDlg->SetTechnical(12.5);
    EXPECT_EQ(m_pDlg->GetDlgItemText(IDC_PROJECT_COLUMN).substr(0, 15), "-50.0%\n\n1250.0%");
}

TEST_F(SummaryWindowTest, OpensAtTheMainWindowsClientOriginWithCurrentValues)
{
    AnswerSome(); // before the window exists
    ASSERT_FALSE(Checked());
    Menu(IDM_VIEW_SUMMARY);
    CSummaryDlg* pSummary = Dlg().m_pSummary;
    ASSERT_NE(pSummary, nullptr);
    EXPECT_TRUE(pSummary->isVisible());
    EXPECT_TRUE(Checked());
    EXPECT_EQ(pSummary->GetWindowText(), "Velkor Summary");
    EXPECT_EQ(pSummary->pos(), AfxGetClientWidget(Dlg())->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(AfxGetClientWidget(*pSummary)->size(), QSize(602, 224));
    EXPECT_EQ(pSummary->parentWidget(), &Dlg());
    ExpectCurrentValues(*pSummary);
    EXPECT_EQ(pSummary->m_dTotal, Dlg().m_model.GetMetricValue(METRIC_TOTAL) * 100.0);
    EXPECT_EQ(pSummary->m_dPrediction, Dlg().m_model.GetMetricValue(25) * 100.0);
    // Distinct metrics, so a swapped setter shows.
    EXPECT_NE(pSummary->m_dTechnical, pSummary->m_dCost);
    EXPECT_NE(pSummary->m_dProcess, pSummary->m_dProduct);
    EXPECT_NE(pSummary->m_dDesign, pSummary->m_dCoding);
    pSummary->grab().save(QString(VELKOR_BINARY_DIR) + "/summary-window.png");
}

TEST_F(SummaryWindowTest, FollowsAnswersPagesAndNew)
{
    Menu(IDM_VIEW_SUMMARY);
    CSummaryDlg* pSummary = Dlg().m_pSummary;
    ASSERT_NE(pSummary, nullptr);
    ExpectCurrentValues(*pSummary);
    const std::string strProject = pSummary->GetDlgItemText(IDC_PROJECT_COLUMN);
    const std::string strPhase = pSummary->GetDlgItemText(IDC_PHASE_COLUMN);
    const std::string strActivity = pSummary->GetDlgItemText(IDC_ACTIVITY_COLUMN);
    AnswerSome();
    ExpectCurrentValues(*pSummary);
    EXPECT_NE(pSummary->GetDlgItemText(IDC_PROJECT_COLUMN), strProject);
    EXPECT_NE(pSummary->GetDlgItemText(IDC_PHASE_COLUMN), strPhase);
    EXPECT_NE(pSummary->GetDlgItemText(IDC_ACTIVITY_COLUMN), strActivity);
    // A page change refreshes too, with nothing changed.
    const std::string strAnswered = pSummary->GetDlgItemText(IDC_PROJECT_COLUMN);
    pSummary->SetTotal(2.0);
    Click(IDC_CATEGORY_FIRST + 1);
    EXPECT_EQ(pSummary->GetDlgItemText(IDC_PROJECT_COLUMN), strAnswered);
    // New keeps the window and shows the new project.
    CMessageBox::SetNextAnswer(IDYES);
    Menu(IDM_FILE_NEW);
    ASSERT_EQ(Dlg().m_pSummary, pSummary);
    EXPECT_TRUE(pSummary->isVisible());
    EXPECT_EQ(pSummary->GetDlgItemText(IDC_PROJECT_COLUMN), strProject);
    EXPECT_EQ(pSummary->GetDlgItemText(IDC_PHASE_COLUMN), strPhase);
    EXPECT_EQ(pSummary->GetDlgItemText(IDC_ACTIVITY_COLUMN), strActivity);
}

TEST_F(SummaryWindowTest, FollowsOkInThePriorityDialog)
{
    AnswerSome();
    Menu(IDM_VIEW_SUMMARY);
    CSummaryDlg* pSummary = Dlg().m_pSummary;
    const double dTotalBefore = pSummary->m_dTotal;
    QTimer::singleShot(
        0, &Dlg(),
        [&]
        {
            for (QDialog* p : Dlg().findChildren<QDialog*>())
                if (auto* pDlg = dynamic_cast<CPriorityDlg*>(p); pDlg && pDlg->isVisible())
                {
                    // All on Cost: the total becomes the cost probability.
                    const CPoint pt = pDlg->m_ptCostVertex;
                    QWidget* pClient = AfxGetClientWidget(*pDlg);
                    const CRect rc = pDlg->GetDlgItem(IDC_EYEBALL)->GetWindowRect();
                    QTest::mousePress(pClient, Qt::LeftButton, {},
                                      QPoint(rc.left + 13, rc.top + 13));
                    QTest::mouseMove(pClient, QPoint(pt.x - 1, pt.y + 1));
                    QTest::mouseRelease(pClient, Qt::LeftButton, {}, QPoint(pt.x - 1, pt.y + 1));
                    QTest::mouseClick(pDlg->GetDlgItem(IDOK)->m_hWnd, Qt::LeftButton);
                }
        });
    Menu(IDM_VIEW_PRIORITIES);
    ASSERT_EQ(Dlg().m_model.GetCostWeight(), 1.0);
    EXPECT_EQ(pSummary->m_dTotal, pSummary->m_dCost);
    EXPECT_NE(pSummary->m_dTotal, dTotalBefore);
    ExpectCurrentValues(*pSummary);
}

TEST_F(SummaryWindowTest, TheCommandDoesNothingWhileAWindowIsOpen)
{
    Menu(IDM_VIEW_SUMMARY);
    CSummaryDlg* pSummary = Dlg().m_pSummary;
    pSummary->move(pSummary->pos() + QPoint(40, 30));
    const QPoint ptMoved = pSummary->pos();
    Menu(IDM_VIEW_SUMMARY);
    EXPECT_EQ(Dlg().m_pSummary, pSummary);
    EXPECT_EQ(SummaryCount(), 1);
    EXPECT_TRUE(Checked());
    EXPECT_TRUE(pSummary->isVisible());
    EXPECT_EQ(pSummary->pos(), ptMoved);
}

TEST_F(SummaryWindowTest, EachWayOfHidingUnchecksAndAFreshWindowFollows)
{
    enum Way
    {
        Button,
        Enter,
        Escape,
        CloseBox
    };
    int nAnswer = 0;
    for (Way way : {Button, Enter, Escape, CloseBox})
    {
        SCOPED_TRACE(way);
        Menu(IDM_VIEW_SUMMARY);
        QPointer<CSummaryDlg> pSummary = Dlg().m_pSummary;
        ASSERT_TRUE(pSummary);
        ASSERT_TRUE(Checked());
        // The main window has forgotten the window by the time it hides.
        bool bForgottenFirst = false;
        QObject::connect(pSummary.data(), &QDialog::finished, &Dlg(),
                         [&] { bForgottenFirst = Dlg().m_pSummary == nullptr; });
        switch (way)
        {
        case Button:
            QTest::mouseClick(pSummary->GetDlgItem(IDOK)->m_hWnd, Qt::LeftButton);
            break;
        case Enter:
            QTest::keyClick(pSummary.data(), Qt::Key_Return);
            break;
        case Escape:
            QTest::keyClick(pSummary.data(), Qt::Key_Escape);
            break;
        case CloseBox:
            pSummary->close();
            break;
        }
        EXPECT_TRUE(bForgottenFirst);
        EXPECT_EQ(Dlg().m_pSummary, nullptr);
        EXPECT_FALSE(Checked());
        ASSERT_TRUE(pSummary);
        EXPECT_FALSE(pSummary->isVisible());
        Pump();
        EXPECT_FALSE(pSummary) << "a hidden summary window is destroyed";
        EXPECT_EQ(SummaryCount(), 0);

        // A change while no window is open reaches the next one.
        Click(IDC_ANSWER_FIRST + 5 * 3 + (++nAnswer % 5));
        Menu(IDM_VIEW_SUMMARY);
        ASSERT_NE(Dlg().m_pSummary, nullptr);
        EXPECT_TRUE(Checked());
        ExpectCurrentValues(*Dlg().m_pSummary);
        // Hidden again right away for the next round, through its button.
        QTest::mouseClick(Dlg().m_pSummary->GetDlgItem(IDOK)->m_hWnd, Qt::LeftButton);
        Pump();
        EXPECT_FALSE(Checked());
    }
}

TEST_F(SummaryWindowTest, TheHiddenWindowsDestructionDoesNotTouchANewOne)
{
    // Hide and reopen before the hidden one's destruction has run.
    Menu(IDM_VIEW_SUMMARY);
    QPointer<CSummaryDlg> pOld = Dlg().m_pSummary;
    QTest::mouseClick(pOld->GetDlgItem(IDOK)->m_hWnd, Qt::LeftButton);
    Dlg().OnCommand(IDM_VIEW_SUMMARY, BN_CLICKED); // no event loop in between
    CSummaryDlg* pNew = Dlg().m_pSummary;
    ASSERT_NE(pNew, nullptr);
    EXPECT_TRUE(pOld);
    // A second close of the hidden window says nothing more.
    pOld->close();
    EXPECT_EQ(Dlg().m_pSummary, pNew);
    Pump();
    EXPECT_FALSE(pOld);
    EXPECT_EQ(Dlg().m_pSummary, pNew);
    EXPECT_TRUE(Checked());
    EXPECT_TRUE(pNew->isVisible());
    AnswerSome();
    ExpectCurrentValues(*pNew);
}

TEST_F(SummaryWindowTest, GoesWithTheMainWindow)
{
    Menu(IDM_VIEW_SUMMARY);
    QPointer<CSummaryDlg> pSummary = Dlg().m_pSummary;
    m_pDlg.reset();
    EXPECT_FALSE(pSummary); // deleted, not leaked (the sanitizer build checks)
}
