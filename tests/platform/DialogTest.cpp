// The dialog framework: templates to widgets, groups of radio buttons,
// messages and commands, data exchange, the keyboard, the guard, menus and
// the lifetime of modal and modeless dialogs.
#include "platform/qt/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Command
{
    UINT nID;
    UINT nCode;
};

// A dialog on any of the program's templates that records what reaches it.
class CProbeDlg : public CDialog
{
public:
    explicit CProbeDlg(int nIDTemplate) : CDialog(nIDTemplate) {}

    std::vector<Command> m_commands;
    std::vector<CPoint> m_presses, m_moves, m_releases;
    int m_nPaints = 0;
    bool* m_pbDestroyed = nullptr;
    CComboBox m_combo;

    QWidget* Item(int nID) { return GetDlgItem(nID) ? GetDlgItem(nID)->m_hWnd : nullptr; }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (GetTemplateId() == IDD_MAIN)
            DDX_Control(pDX, IDC_ESTIMATION_COMBO, m_combo);
    }
    BOOL OnCommand(UINT nID, UINT nCode) override
    {
        m_commands.push_back({nID, nCode});
        return CDialog::OnCommand(nID, nCode);
    }
    void OnLButtonDown(UINT, CPoint pt) override { m_presses.push_back(pt); }
    void OnLButtonUp(UINT, CPoint pt) override { m_releases.push_back(pt); }
    void OnMouseMove(UINT, CPoint pt) override { m_moves.push_back(pt); }
    void OnPaint() override
    {
        CPaintDC dc(this);
        dc.MoveTo(0, 0);
        dc.LineTo(10, 10);
        ++m_nPaints;
    }
    void PostNcDestroy() override
    {
        if (m_pbDestroyed)
            *m_pbDestroyed = true;
        delete this;
    }
};

QRect Expected(int x, int y, int cx, int cy)
{
    CRect rc = MapDialogRect(x, y, cx, cy);
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { CMessageBox::Reset(); }
    void TearDown() override { CMessageBox::Reset(); }
};
} // namespace

TEST(DialogUnits, RoundHalfUpAndMapEachEdge)
{
    EXPECT_EQ(MulDiv(1, 6, 4), 2);  // 1.5 rounds up
    EXPECT_EQ(MulDiv(3, 13, 8), 5); // 4.875
    EXPECT_EQ(MulDiv(-1, 6, 4), -2);
    EXPECT_EQ(MulDiv(5, 1, 0), -1);
    // x = 25 with width 111 is 166 pixels wide: 38 .. 204.
    CRect rc = MapDialogRect(25, 23, 111, 92);
    EXPECT_EQ(rc.left, 38);
    EXPECT_EQ(rc.Width(), 166);
    EXPECT_EQ(rc.top, 37);
    EXPECT_EQ(rc.bottom, 187);
    // Width from the mapped edges, not the mapped width: 113 + 10 -> 170 .. 185.
    EXPECT_EQ(MapDialogRect(113, 25, 10, 11).Width(), 15);
    EXPECT_EQ(MulDiv(10, 6, 4), 15);
    EXPECT_EQ(MapDialogRect(140, 25, 10, 11).Width(), 15);
}

TEST_F(DialogTest, MainTemplateBuildsEveryControlWithItsRectangle)
{
    CProbeDlg dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    EXPECT_EQ(AfxGetClientWidget(dlg)->size(), QSize(708, 564));
    EXPECT_NE(AfxGetMenuBar(dlg), nullptr);
    EXPECT_EQ(AfxGetClientWidget(dlg)->y(),
              AfxGetMenuBar(dlg)->height()); // client below the menu bar

    auto* pOrg = qobject_cast<QPushButton*>(dlg.Item(1012));
    ASSERT_NE(pOrg, nullptr);
    EXPECT_TRUE(pOrg->isCheckable());
    EXPECT_EQ(pOrg->text(), "Organization");
    EXPECT_EQ(pOrg->geometry(), Expected(14, 22, 75, 16));
    EXPECT_EQ(dlg.Item(1021)->geometry(), Expected(14, 22 + 19 * 9, 75, 16));
    auto* pAnswer = qobject_cast<QRadioButton*>(dlg.Item(1081));
    ASSERT_NE(pAnswer, nullptr);
    EXPECT_EQ(pAnswer->geometry(), Expected(113 + 27 * 4, 25 + 26 * 11, 10, 11));
    auto* pHeading = qobject_cast<QLabel*>(dlg.Item(1084));
    ASSERT_NE(pHeading, nullptr);
    EXPECT_EQ(pHeading->text(), "Little");
    EXPECT_TRUE(pHeading->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(dlg.Item(1099)->geometry(), Expected(240, 25 + 26 * 11, 225, 21));
    auto* pCombo = qobject_cast<QComboBox*>(dlg.Item(IDC_ESTIMATION_COMBO));
    ASSERT_NE(pCombo, nullptr);
    EXPECT_FALSE(pCombo->isEditable());
    EXPECT_EQ(pCombo->x(), Expected(113, 24, 118, 97).x());
    EXPECT_EQ(pCombo->width(), Expected(113, 24, 118, 97).width());
    EXPECT_LT(pCombo->height(), 40); // the closed box, not the opened list
    EXPECT_EQ(qobject_cast<QLabel*>(dlg.Item(IDC_PRIORITY_WEIGHTS))->geometry(),
              Expected(17, 281, 66, 48));

    QFontInfo font(dlg.Item(IDC_QUESTION_FIRST)->font());
    EXPECT_EQ(font.family(), "Liberation Sans");
    EXPECT_EQ(font.pixelSize(), 11);
}

TEST_F(DialogTest, OtherTemplatesMapTheirKindsAndStyles)
{
    CProbeDlg priority(IDD_PRIORITY);
    ASSERT_TRUE(priority.Create(IDD_PRIORITY));
    auto* pEye = qobject_cast<QLabel*>(priority.Item(IDC_EYEBALL));
    ASSERT_NE(pEye, nullptr);
    EXPECT_EQ(pEye->size(), QSize(27, 26)); // sized to the bitmap
    EXPECT_EQ(pEye->pos(), Expected(72, 70, 19, 17).topLeft());
    EXPECT_TRUE(pEye->testAttribute(Qt::WA_TransparentForMouseEvents));
    auto* pFrame = qobject_cast<QGroupBox*>(priority.Item(IDC_TRIANGLE_FRAME));
    ASSERT_NE(pFrame, nullptr);
    EXPECT_FALSE(pFrame->isVisibleTo(&priority));
    EXPECT_EQ(priority.GetDlgItem(IDC_TRIANGLE_FRAME)->GetWindowRect().Width(), 166);
    EXPECT_TRUE(qobject_cast<QPushButton*>(priority.Item(IDOK))->isDefault());
    EXPECT_EQ(priority.GetWindowText(), "Priorities");

    CProbeDlg about(IDD_ABOUT);
    ASSERT_TRUE(about.Create(IDD_ABOUT));
    EXPECT_NE(qobject_cast<QListWidget*>(about.Item(IDC_ITEM_LIST)), nullptr);
    auto* pValue = qobject_cast<QPlainTextEdit*>(about.Item(IDC_ITEM_VALUE));
    ASSERT_NE(pValue, nullptr);
    EXPECT_TRUE(pValue->isReadOnly());
    EXPECT_FALSE(qobject_cast<QLabel*>(about.Item(IDC_DESCRIPTION))->wordWrap());
    EXPECT_TRUE(qobject_cast<QLabel*>(about.Item(IDC_COPYRIGHT))->wordWrap());

    CProbeDlg summary(IDD_SUMMARY);
    ASSERT_TRUE(summary.Create(IDD_SUMMARY));
    EXPECT_FALSE(summary.isVisible()); // not visible when created
    EXPECT_EQ(summary.GetDlgItemText(IDC_PROJECT_COLUMN), "Static");
}

TEST_F(DialogTest, RadioGroupsFollowTheTemplate)
{
    CProbeDlg dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    dlg.show();
    // Category buttons: one group, a click presses one and releases the others.
    QTest::mouseClick(dlg.Item(1013), Qt::LeftButton);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1013), (UINT)BST_CHECKED);
    QTest::mouseClick(dlg.Item(1015), Qt::LeftButton);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1015), (UINT)BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1013), (UINT)BST_UNCHECKED);
    QTest::mouseClick(dlg.Item(1015), Qt::LeftButton); // clicking the pressed one keeps it
    EXPECT_EQ(dlg.IsDlgButtonChecked(1015), (UINT)BST_CHECKED);

    // Answer buttons each start a group: a click checks and releases nothing.
    QTest::mouseClick(dlg.Item(1022), Qt::LeftButton);
    QTest::mouseClick(dlg.Item(1023), Qt::LeftButton);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1022), (UINT)BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1023), (UINT)BST_CHECKED);
    QTest::mouseClick(dlg.Item(1023), Qt::LeftButton);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1023), (UINT)BST_CHECKED);
    ASSERT_EQ(dlg.m_commands.size(), 6u);
    EXPECT_EQ(dlg.m_commands[5].nID, 1023u);
    EXPECT_EQ(dlg.m_commands[5].nCode, BN_CLICKED);

    // The program may uncheck any of them, and its changes notify nobody.
    dlg.m_commands.clear();
    dlg.CheckRadioButton(1022, 1026, 1024);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1022), (UINT)BST_UNCHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1023), (UINT)BST_UNCHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1024), (UINT)BST_CHECKED);
    dlg.CheckRadioButton(1012, 1021, 1012);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1012), (UINT)BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1015), (UINT)BST_UNCHECKED);
    EXPECT_TRUE(dlg.m_commands.empty());
}

TEST_F(DialogTest, ComboNotifiesUserSelectionsOnly)
{
    CProbeDlg dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    dlg.show();
    CComboBox& combo = dlg.m_combo; // bound by OnInitDialog's data exchange
    ASSERT_EQ(combo.m_hWnd, dlg.Item(IDC_ESTIMATION_COMBO));
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.AddString("Guess"), 0);
    EXPECT_EQ(combo.AddString("Other"), 1);
    EXPECT_EQ(combo.AddString("Analogy"), 2);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.SetCurSel(9), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetCurSel(0);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    combo.AddString("Guess");
    combo.AddString("Other");
    combo.SetCurSel(0);
    EXPECT_TRUE(dlg.m_commands.empty());

    dlg.Item(IDC_ESTIMATION_COMBO)->setFocus();
    QTest::keyClick(dlg.Item(IDC_ESTIMATION_COMBO), Qt::Key_Down);
    EXPECT_EQ(combo.GetCurSel(), 1);
    ASSERT_EQ(dlg.m_commands.size(), 1u);
    EXPECT_EQ(dlg.m_commands[0].nID, (UINT)IDC_ESTIMATION_COMBO);
    EXPECT_EQ(dlg.m_commands[0].nCode, CBN_SELCHANGE);
}

// The rest of data exchange, sent and posted messages and the guard are
// cases of the platform contract (PlatformContract.cpp).
TEST_F(DialogTest, LabelsShowTheirTextAsTyped)
{
    CProbeDlg dlg(IDD_PRIORITY);
    ASSERT_TRUE(dlg.Create(IDD_PRIORITY));
    dlg.SetDlgItemText(IDC_COST_LABEL, "Cost <b>1</b> & 2");
    EXPECT_EQ(qobject_cast<QLabel*>(dlg.Item(IDC_COST_LABEL))->textFormat(), Qt::PlainText);
}

TEST_F(DialogTest, KeysCloseBoxAndButtonsBecomeCommands)
{
    CProbeDlg dlg(IDD_PRIORITY);
    ASSERT_TRUE(dlg.Create(IDD_PRIORITY));
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Return);
    ASSERT_EQ(dlg.m_commands.size(), 1u);
    EXPECT_EQ(dlg.m_commands[0].nID, (UINT)IDOK); // the default button
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), IDOK);

    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.m_commands.back().nID, (UINT)IDCANCEL);
    EXPECT_EQ(dlg.result(), IDCANCEL);

    dlg.show();
    dlg.close(); // the close box: WM_CLOSE, then the click of Cancel
    EXPECT_EQ(dlg.m_commands.back().nID, (UINT)IDCANCEL);
    EXPECT_FALSE(dlg.isVisible());

    // F1 asks the application for help.
    CWinApp app("HelpTest");
    app.m_strHelpText = "Some help.";
    dlg.show();
    CMessageBox::SetNextAnswer(IDOK);
    QTest::keyClick(&dlg, Qt::Key_F1);
    EXPECT_EQ(dlg.m_commands.back().nID, (UINT)ID_HELP);
    EXPECT_EQ(CMessageBox::GetLastText(), "Some help.");
    EXPECT_EQ(CMessageBox::GetLastCaption(), "HelpTest");
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(DialogTest, DoModalReturnsTheEndResult)
{
    CProbeDlg dlg(IDD_PRIORITY);
    bool bWasModal = false;
    QTimer::singleShot(0, &dlg,
                       [&]
                       {
                           bWasModal = dlg.isModal() && dlg.isVisible();
                           QTest::mouseClick(dlg.GetDlgItem(IDCANCEL)->m_hWnd, Qt::LeftButton);
                       });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(bWasModal);
    EXPECT_EQ(CProbeDlg(4711).DoModal(), -1);
}

TEST_F(DialogTest, MouseOverStaticsReachesTheDialogInClientCoordinates)
{
    CProbeDlg dlg(IDD_PRIORITY);
    ASSERT_TRUE(dlg.Create(IDD_PRIORITY));
    dlg.show();
    QWidget* pClient = AfxGetClientWidget(dlg);
    const CRect eye = dlg.GetDlgItem(IDC_EYEBALL)->GetWindowRect();
    const QPoint ptEye(eye.left + 5, eye.top + 5);
    QTest::mousePress(pClient, Qt::LeftButton, {}, ptEye);
    QTest::mouseMove(pClient, QPoint(60, 90));
    QTest::mouseRelease(pClient, Qt::LeftButton, {}, QPoint(60, 90));
    ASSERT_EQ(dlg.m_presses.size(), 1u);
    EXPECT_EQ(dlg.m_presses[0].x, ptEye.x());
    EXPECT_EQ(dlg.m_presses[0].y, ptEye.y());
    ASSERT_FALSE(dlg.m_moves.empty());
    EXPECT_EQ(dlg.m_moves.back().x, 60);
    ASSERT_EQ(dlg.m_releases.size(), 1u);

    // The eyeball moves where it is told, in the same coordinates.
    dlg.GetDlgItem(IDC_EYEBALL)->MoveWindow(10, 20, eye.Width(), eye.Height());
    EXPECT_EQ(dlg.GetDlgItem(IDC_EYEBALL)->GetWindowRect().left, 10);
    AfxGetClientWidget(dlg)->grab();
    EXPECT_GT(dlg.m_nPaints, 0);
}

TEST_F(DialogTest, MenuChecksChangeOnlyFromTheProgram)
{
    CProbeDlg dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    QAction* pSummary = AfxGetMenuAction(dlg, IDM_VIEW_SUMMARY);
    ASSERT_NE(pSummary, nullptr);
    EXPECT_EQ(pSummary->text(), "&Summary Results");
    EXPECT_EQ(dlg.GetMenuState(IDM_VIEW_SUMMARY), MF_UNCHECKED);
    EXPECT_EQ(dlg.CheckMenuItem(IDM_VIEW_SUMMARY, MF_CHECKED), MF_UNCHECKED);
    EXPECT_TRUE(pSummary->isChecked());
    pSummary->trigger(); // the user's choice leaves the mark alone
    EXPECT_TRUE(pSummary->isChecked());
    EXPECT_EQ(dlg.m_commands.back().nID, (UINT)IDM_VIEW_SUMMARY);
    EXPECT_EQ(dlg.CheckMenuItem(IDM_VIEW_SUMMARY, MF_UNCHECKED), MF_CHECKED);
    EXPECT_FALSE(pSummary->isChecked());
    pSummary->trigger();
    EXPECT_FALSE(pSummary->isChecked());
    EXPECT_EQ(dlg.CheckMenuItem(4711, MF_CHECKED), (UINT)-1);

    QStringList titles;
    for (QAction* pMenu : AfxGetMenuBar(dlg)->actions())
        titles << pMenu->text();
    EXPECT_EQ(titles, QStringList({"&File", "&View", "&Help"}));
}

TEST_F(DialogTest, OwnerDestroysItsModelessDialogs)
{
    bool bDestroyed = false;
    {
        CProbeDlg owner(IDD_MAIN);
        ASSERT_TRUE(owner.Create(IDD_MAIN));
        owner.show();
        auto* pSummary = new CProbeDlg(IDD_SUMMARY);
        pSummary->m_pbDestroyed = &bDestroyed;
        ASSERT_TRUE(pSummary->Create(IDD_SUMMARY, &owner));
        EXPECT_EQ(pSummary->parentWidget(), &owner);
        pSummary->ShowWindow(SW_SHOW);
        EXPECT_TRUE(pSummary->isVisible());
        // Owned: transient for its owner, so the window manager keeps it above.
        EXPECT_EQ(pSummary->windowType(), Qt::Dialog);
        EXPECT_EQ(pSummary->windowHandle()->transientParent(), owner.windowHandle());
        EXPECT_TRUE(pSummary->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(owner.windowType(), Qt::Window);
        pSummary->EndDialog(IDOK); // ends by hiding, the object lives on
        EXPECT_FALSE(pSummary->isVisible());
        EXPECT_FALSE(bDestroyed);
    }
    EXPECT_TRUE(bDestroyed); // PostNcDestroy deleted it (the leak checker agrees)
}

// A group of buttons for the keyboard: one Tab stop, at the checked button or
// at every one while none is; the arrows click the next shown button.
TEST_F(DialogTest, ButtonGroupsTakeOneTabStopAndTheArrowKeys)
{
    CProbeDlg dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.GroupButtons(1022, 1026);
    const auto TabStops = [&]
    {
        std::vector<int> ids;
        for (int nID = 1022; nID <= 1026; ++nID)
            if (dlg.Item(nID)->focusPolicy() & Qt::TabFocus)
                ids.push_back(nID);
        return ids;
    };
    EXPECT_EQ(TabStops(), std::vector<int>({1022, 1023, 1024, 1025, 1026}));
    dlg.CheckRadioButton(1022, 1026, 1022);
    EXPECT_EQ(TabStops(), std::vector<int>({1022}));

    dlg.GetDlgItem(1023)->ShowWindow(SW_HIDE);
    dlg.Item(1022)->setFocus(Qt::TabFocusReason);
    const struct
    {
        Qt::Key key;
        int nFocus;   // focused afterwards
        int nClicked; // BN_CLICKED from, 0 for none
    } steps[] = {{Qt::Key_Left, 1022, 0},
                 {Qt::Key_Right, 1024, 1024}, // 1023 is hidden
                 {Qt::Key_Down, 1025, 1025},
                 {Qt::Key_Up, 1024, 1024},
                 {Qt::Key_Up, 1022, 1022}};
    for (const auto& step : steps)
    {
        dlg.m_commands.clear();
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_EQ(QApplication::focusWidget(), dlg.Item(step.nFocus)) << step.nFocus;
        ASSERT_EQ(dlg.m_commands.size(), step.nClicked ? 1u : 0u) << step.nFocus;
        if (step.nClicked)
        {
            EXPECT_EQ(dlg.m_commands[0].nID, static_cast<UINT>(step.nClicked));
        }
    }
    // The arrow's click checks the button; the program keeps one per row.
    EXPECT_EQ(dlg.IsDlgButtonChecked(1022), (UINT)BST_CHECKED);
}

TEST(CommandLine, FirstArgumentThatIsNoSwitch)
{
    CCommandLineInfo info;
    CWinApp::ParseArguments({"-x", "/home/me/plan.vlk", "other.vlk"}, info);
    EXPECT_EQ(info.m_strFileName, "/home/me/plan.vlk"); // '/' starts a path here
    CCommandLineInfo none;
    CWinApp::ParseArguments({"-a", "-b"}, none);
    EXPECT_EQ(none.m_strFileName, "");
    CCommandLineInfo dashed;
    CWinApp::ParseArguments({"--", "-odd.vlk"}, dashed);
    EXPECT_EQ(dashed.m_strFileName, "-odd.vlk");
}
