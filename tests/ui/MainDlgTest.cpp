// The questionnaire window driven through its real widgets: start-up, pages,
// answers, the two displays and the unsaved-changes confirmation.
#include "ui/MainDlg.h"
#include "MainWindowTest.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "res/Strings.h"
#include "ui/RiskApp.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace
{
const char* const s_pszNotSaved = "Project has not been saved. Continue anyway without saving?";
const char* const s_pszWeights = "Cost 33%\n\nTechnical 33%\n\nSchedule 33%";

class MainDlgTest : public MainWindowTest
{
protected:
    bool Visible(int nID) { return Item(nID)->isVisibleTo(&Dlg()); }
    QComboBox* Combo() { return qobject_cast<QComboBox*>(Item(IDC_ESTIMATION_COMBO)); }
    // Marks the project modified the way a user does.
    void ChangeAnAnswer() { Click(AnswerId(0, 2)); }
};
} // namespace

TEST_F(MainDlgTest, StartsOnTheOrganizationPage)
{
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - ");
    EXPECT_EQ(Dlg().windowTitle(), "Velkor - ");
    EXPECT_TRUE(Checked(1012));
    for (int k = 1; k < 10; ++k)
        EXPECT_FALSE(Checked(1012 + k));
    EXPECT_EQ(Dlg().m_dwCategory, 1u);
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS), "0.0%");
    EXPECT_EQ(Text(IDC_PRIORITY_WEIGHTS), s_pszWeights);
    EXPECT_EQ(Dlg().GetMenuState(IDM_VIEW_SUMMARY), MF_UNCHECKED);
    EXPECT_FALSE(Dlg().m_model.IsModified());
    EXPECT_EQ(CMessageBox::GetCount(), 0);

    EXPECT_FALSE(Visible(IDC_ESTIMATION_COMBO));
    for (int r = 0; r < 8; ++r)
    {
        EXPECT_EQ(Text(IDC_QUESTION_FIRST + r), Dlg().m_model.GetQuestion(r)->GetText());
        EXPECT_TRUE(Visible(AnswerId(r, 0)));
        EXPECT_TRUE(Checked(AnswerId(r, 0))) << "row " << r;
        EXPECT_FALSE(Checked(AnswerId(r, 1)));
    }
    for (int r = 8; r < 12; ++r)
    {
        EXPECT_FALSE(Visible(IDC_QUESTION_FIRST + r));
        EXPECT_FALSE(Visible(AnswerId(r, 4)));
        EXPECT_EQ(Dlg().m_apRowQuestion[r], nullptr);
    }
    EXPECT_EQ(Text(IDC_HEADING_FIRST + 4), "All");

    // The icon at every theme size; a fixed-size window with a minimise box only.
    EXPECT_FALSE(Dlg().windowIcon().pixmap(32, 32).isNull());
    EXPECT_EQ(Dlg().windowIcon().availableSizes().size(), 6);
    EXPECT_TRUE(Dlg().windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(Dlg().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Dlg().minimumSize(), Dlg().maximumSize());
}

TEST_F(MainDlgTest, AnswerClicksSetTheQuestionOfTheirRowAndColumn)
{
    Click(AnswerId(2, 3));
    EXPECT_EQ(Dlg().m_model.GetQuestion(2)->GetSelected(), 3u);
    EXPECT_TRUE(Checked(AnswerId(2, 3)));
    for (int j : {0, 1, 2, 4})
        EXPECT_FALSE(Checked(AnswerId(2, j)));
    EXPECT_TRUE(Dlg().m_model.IsModified());

    for (int r = 0; r < 8; ++r)
        Click(AnswerId(r, 2)); // "Some" everywhere
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS), "50.0%");
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(Dlg().m_model.GetQuestion(r)->GetSelected(), 2u);

    // Clicking the answer that is already checked still counts as a change.
    Dlg().m_model.ClearModified();
    Click(AnswerId(5, 2));
    EXPECT_TRUE(Checked(AnswerId(5, 2)));
    EXPECT_TRUE(Dlg().m_model.IsModified());
}

TEST_F(MainDlgTest, EstimationPageHasTheMethodListInRowZero)
{
    ShowPage(1);
    EXPECT_TRUE(Checked(1013));
    EXPECT_FALSE(Checked(1012));
    EXPECT_TRUE(Visible(IDC_ESTIMATION_COMBO));
    ASSERT_EQ(Combo()->count(), 7);
    EXPECT_EQ(Combo()->itemText(0), "Guess");
    EXPECT_EQ(Combo()->itemText(6), "Bottom-Up");
    EXPECT_EQ(Combo()->currentIndex(), 0);
    EXPECT_EQ(Combo()->geometry().left(), Item(AnswerId(0, 0))->geometry().left());
    for (int j = 0; j < 5; ++j)
        EXPECT_FALSE(Visible(AnswerId(0, j)));
    for (int r = 1; r < 7; ++r)
        EXPECT_TRUE(Visible(AnswerId(r, 0)));
    for (int r = 7; r < 12; ++r)
    {
        EXPECT_FALSE(Visible(IDC_QUESTION_FIRST + r));
        EXPECT_FALSE(Visible(AnswerId(r, 0)));
    }
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS), "2.9%");
    EXPECT_EQ(Text(IDC_HEADING_FIRST), "None"); // headings stay
    EXPECT_FALSE(Dlg().m_model.IsModified());

    // A choice in the list is an answer.
    Combo()->setFocus();
    QTest::keyClick(Combo(), Qt::Key_Down);
    Pump();
    EXPECT_EQ(Dlg().m_model.GetQuestion(8)->GetSelected(), 1u);
    EXPECT_TRUE(Dlg().m_model.IsModified());

    QTest::keyClick(Combo(), Qt::Key_End);
    Pump();
    EXPECT_EQ(Dlg().m_model.GetQuestion(8)->GetSelected(), 6u);
    for (int r = 1; r < 7; ++r)
        Click(AnswerId(r, 4));
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS), "95.7%");

    // The list is rebuilt with the stored method on return.
    ShowPage(0);
    EXPECT_FALSE(Visible(IDC_ESTIMATION_COMBO));
    ShowPage(1);
    EXPECT_EQ(Combo()->count(), 7);
    EXPECT_EQ(Combo()->currentIndex(), 6);
}

TEST_F(MainDlgTest, PagesUseAsManyRowsAsTheirCategoryHas)
{
    ShowPage(8); // Reliability
    for (int r = 0; r < 12; ++r)
    {
        EXPECT_TRUE(Visible(IDC_QUESTION_FIRST + r));
        EXPECT_TRUE(Visible(AnswerId(r, 4)));
        EXPECT_EQ(Dlg().m_apRowQuestion[r], Dlg().m_model.GetQuestion(64 + r));
    }
    Click(AnswerId(11, 4)); // identifier 1081 is row 11, column 4
    EXPECT_EQ(Dlg().m_model.GetQuestion(75)->GetSelected(), 4u);

    ShowPage(9); // Personnel
    for (int r = 0; r < 5; ++r)
        EXPECT_TRUE(Visible(IDC_QUESTION_FIRST + r));
    for (int r = 5; r < 12; ++r)
    {
        EXPECT_FALSE(Visible(IDC_QUESTION_FIRST + r));
        for (int j = 0; j < 5; ++j)
            EXPECT_FALSE(Visible(AnswerId(r, j)));
    }
    for (int r = 0; r < 5; ++r)
        Click(AnswerId(r, 4));
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS), "100.0%");
}

TEST_F(MainDlgTest, AnswersSurvivePageChanges)
{
    Click(AnswerId(3, 1));
    ShowPage(4); // Tools
    Click(AnswerId(8, 3));
    ShowPage(0);
    EXPECT_TRUE(Checked(AnswerId(3, 1)));
    EXPECT_FALSE(Checked(AnswerId(3, 0)));
    ShowPage(4);
    EXPECT_TRUE(Checked(AnswerId(8, 3)));
    EXPECT_FALSE(Checked(AnswerId(8, 0)));
    EXPECT_TRUE(Checked(AnswerId(3, 0))); // row 3 of Tools is another question
    ShowPage(4);                          // the pressed button again rebuilds the same page
    EXPECT_TRUE(Checked(AnswerId(8, 3)));
    EXPECT_TRUE(Checked(1016));
}

TEST_F(MainDlgTest, NewAsksOnceOnAModifiedProject)
{
    ChangeAnAnswer();
    ShowPage(2);
    Dlg().m_strFileTitle = "plan";
    Dlg().UpdateTitle();

    CMessageBox::SetNextAnswer(IDNO);
    Menu(IDM_FILE_NEW);
    ASSERT_EQ(CMessageBox::GetCount(), 1);
    EXPECT_EQ(CMessageBox::GetLastText(), s_pszNotSaved);
    EXPECT_EQ(CMessageBox::GetLastCaption(), "velkor_ui_tests");
    EXPECT_EQ(CMessageBox::GetLastType(), MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(Dlg().m_model.GetQuestion(0)->GetSelected(), 2u); // No keeps everything
    EXPECT_TRUE(Dlg().m_model.IsModified());
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - plan");
    EXPECT_TRUE(Checked(1014));
    EXPECT_EQ(Dlg().m_dwCategory, 4u);

    CMessageBox::SetNextAnswer(IDYES);
    Menu(IDM_FILE_NEW);
    EXPECT_EQ(CMessageBox::GetCount(), 2);
    EXPECT_EQ(Dlg().m_model.GetQuestion(0)->GetSelected(), 0u);
    EXPECT_FALSE(Dlg().m_model.IsModified());
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - ");
    EXPECT_TRUE(Dlg().m_strFilePath.empty());
    EXPECT_TRUE(Checked(1012));
    EXPECT_FALSE(Checked(1014));
    EXPECT_EQ(Dlg().m_dwCategory, 1u);
    EXPECT_TRUE(Checked(AnswerId(0, 0)));
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS), "0.0%");
    EXPECT_EQ(Text(IDC_PRIORITY_WEIGHTS), s_pszWeights);

    Menu(IDM_FILE_NEW); // nothing to lose: no question
    EXPECT_EQ(CMessageBox::GetCount(), 2);
}

TEST_F(MainDlgTest, ExitAndTheCloseBoxAskThenEnd)
{
    // Nothing changed: Exit ends at once.
    {
        CTestMainDlg fresh;
        ASSERT_TRUE(fresh.Create());
        fresh.show();
        Pump();
        AfxGetMenuAction(fresh, IDM_FILE_EXIT)->trigger();
        Pump();
        EXPECT_FALSE(fresh.isVisible());
        EXPECT_EQ(fresh.result(), IDCANCEL);
        EXPECT_EQ(CMessageBox::GetCount(), 0);
    }
    ChangeAnAnswer();
    const auto ways = {+[](CTestMainDlg& dlg) { AfxGetMenuAction(dlg, IDM_FILE_EXIT)->trigger(); },
                       +[](CTestMainDlg& dlg) { dlg.close(); }};
    int nWay = 0;
    for (auto close : ways)
    {
        SCOPED_TRACE(nWay++);
        CMessageBox::Reset();
        CMessageBox::SetNextAnswer(IDNO);
        close(Dlg());
        Pump();
        EXPECT_EQ(CMessageBox::GetCount(), 1);
        EXPECT_EQ(CMessageBox::GetLastText(), s_pszNotSaved);
        EXPECT_TRUE(Dlg().isVisible());
        EXPECT_TRUE(Dlg().m_model.IsModified());
    }
    // Enter and Escape do nothing at all, wherever the focus is.
    CMessageBox::Reset();
    for (QWidget* pTarget :
         {static_cast<QWidget*>(&Dlg()), Item(IDC_CATEGORY_FIRST), Item(AnswerId(1, 0))})
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape})
        {
            QTest::keyClick(pTarget, key);
            Pump();
        }
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_EQ(CMessageBox::GetCount(), 0);
    EXPECT_TRUE(Dlg().m_model.IsModified());

    CMessageBox::SetNextAnswer(IDYES);
    Dlg().close();
    Pump();
    EXPECT_EQ(CMessageBox::GetCount(), 1);
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_EQ(Dlg().result(), IDCANCEL);
}

TEST(MainDlgModal, CloseWithYesEndsTheModalRun)
{
    CMessageBox::Reset();
    g_bAnswersModified = 0;
    CRiskApp app; // F1's help comes from the application
    CTestMainDlg dlg;
    app.m_pMainWnd = &dlg;
    QTimer::singleShot(0, &dlg,
                       [&]
                       {
                           Pump();
                           QTest::mouseClick(dlg.GetDlgItem(AnswerId(1, 1))->m_hWnd,
                                             Qt::LeftButton);
                           QTest::keyClick(&dlg, Qt::Key_F1);
                           QTest::keyClick(&dlg, Qt::Key_Escape); // nothing
                           CMessageBox::SetNextAnswer(IDYES);
                           dlg.close(); // the close box, as Alt+F4
                       });
    CMessageBox::SetNextAnswer(IDOK); // the help box
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(CMessageBox::GetCount(), 2);
    EXPECT_NE(CMessageBox::GetShown()[0].strText.find("Velkor"), std::string::npos);
    EXPECT_EQ(CMessageBox::GetShown()[0].nType, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(CMessageBox::GetLastText(), s_pszNotSaved);
    app.m_pMainWnd = nullptr;
    CMessageBox::Reset();
}

TEST_F(MainDlgTest, SummaryClosedRemovesTheCheckMark)
{
    Dlg().CheckMenuItem(IDM_VIEW_SUMMARY, MF_CHECKED);
    Dlg().SendMessage(WM_SUMMARY_CLOSED, 0, 0);
    EXPECT_EQ(Dlg().GetMenuState(IDM_VIEW_SUMMARY), MF_UNCHECKED);
    EXPECT_EQ(Dlg().m_pSummary, nullptr);
}

TEST_F(MainDlgTest, EveryQuestionFitsItsTwoLineField)
{
    auto* pField = qobject_cast<QLabel*>(Item(IDC_QUESTION_FIRST));
    ASSERT_NE(pField, nullptr);
    const QFontMetrics metrics(pField->font());
    const int nTwoLines =
        metrics.boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, "A\nB").height();
    ASSERT_GE(pField->height(), nTwoLines);
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const QString text = QString::fromStdString(Dlg().m_model.GetQuestion(i)->GetText());
        const QRect bounds = metrics.boundingRect(QRect(0, 0, pField->width(), 1000),
                                                  Qt::AlignLeft | Qt::TextWordWrap, text);
        EXPECT_LE(bounds.height(), pField->height()) << "question " << i;
        EXPECT_LE(bounds.height(), nTwoLines) << "question " << i;
        EXPECT_LE(bounds.width(), pField->width()) << "question " << i;
    }
    // The other texts of the window fit their controls on one line.
    for (int k = 0; k < 10; ++k)
    {
        auto* pButton = qobject_cast<QPushButton*>(Item(IDC_CATEGORY_FIRST + k));
        EXPECT_LT(metrics.horizontalAdvance(pButton->text()), pButton->width() - 8);
    }
    for (int j = 0; j < 5; ++j)
        EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(Text(IDC_HEADING_FIRST + j))),
                  Item(IDC_HEADING_FIRST + j)->width());
    const QRect weights = metrics.boundingRect(
        QRect(0, 0, Item(IDC_PRIORITY_WEIGHTS)->width(), 1000), Qt::TextWordWrap, s_pszWeights);
    EXPECT_LE(weights.height(), Item(IDC_PRIORITY_WEIGHTS)->height());
    EXPECT_LE(metrics.horizontalAdvance("100.0%"), Item(IDC_CATEGORY_SUCCESS)->width());
}
