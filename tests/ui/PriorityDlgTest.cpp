// The priority weights dialog driven through real mouse events at pixel
// positions of its client area, and the View command that runs it.
#include "ui/PriorityDlg.h"
#include "MainWindowTest.h"
#include "model/Question.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "ui/MainDlg.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace
{
// Opens a dialog modeless with the given weights, so a test can drive it
// step by step; the triangle is the one of the template (side 166).
class PriorityDlgTest : public ::testing::Test
{
protected:
    void Open(double dTechnical, double dCost, double dSchedule)
    {
        m_pDlg = std::make_unique<CPriorityDlg>();
        m_pDlg->m_dTechnicalPriority = dTechnical;
        m_pDlg->m_dCostPriority = dCost;
        m_pDlg->m_dSchedulePriority = dSchedule;
        ASSERT_TRUE(m_pDlg->Create());
        Pump();
        const CRect rcFrame = m_pDlg->GetDlgItem(IDC_TRIANGLE_FRAME)->GetWindowRect();
        L = rcFrame.left;
        R = rcFrame.right;
        B = rcFrame.bottom;
    }
    CPriorityDlg& Dlg() { return *m_pDlg; }
    QWidget* Client() { return AfxGetClientWidget(Dlg()); }
    std::string Text(int nID) { return Dlg().GetDlgItemText(nID); }
    CRect EyeRect() { return Dlg().GetDlgItem(IDC_EYEBALL)->GetWindowRect(); }
    QPoint EyeCentre()
    {
        const CRect rc = EyeRect();
        return {rc.left + rc.Width() / 2, rc.top + rc.Height() / 2};
    }
    void Press(QPoint pt) { QTest::mousePress(Client(), Qt::LeftButton, {}, pt); }
    void Release(QPoint pt) { QTest::mouseRelease(Client(), Qt::LeftButton, {}, pt); }
    // A move with the left button held (after Press).
    void Drag(QPoint pt) { QTest::mouseMove(Client(), pt); }
    // A move with no button held, as after a release the dialog did not see.
    void Hover(QPoint pt)
    {
        QMouseEvent move(QEvent::MouseMove, pt, Client()->mapToGlobal(pt), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Client(), &move);
    }
    // Grabs the eyeball where it is and drags it to pt.
    void DragEyeTo(QPoint pt)
    {
        Press(EyeCentre());
        Drag(pt);
    }
    void ExpectLabels(const char* pszTechnical, const char* pszCost, const char* pszSchedule)
    {
        EXPECT_EQ(Text(IDC_TECHNICAL_LABEL), pszTechnical);
        EXPECT_EQ(Text(IDC_COST_LABEL), pszCost);
        EXPECT_EQ(Text(IDC_SCHEDULE_LABEL), pszSchedule);
    }
    void ExpectProximities(int nTechnical, int nCost, int nSchedule)
    {
        EXPECT_EQ(Dlg().m_nTechnicalProximity, nTechnical);
        EXPECT_EQ(Dlg().m_nCostProximity, nCost);
        EXPECT_EQ(Dlg().m_nScheduleProximity, nSchedule);
    }
    void ExpectWeights(double dTechnical, double dCost, double dSchedule)
    {
        EXPECT_EQ(Dlg().m_dTechnicalPriority, dTechnical);
        EXPECT_EQ(Dlg().m_dCostPriority, dCost);
        EXPECT_EQ(Dlg().m_dSchedulePriority, dSchedule);
    }

    std::unique_ptr<CPriorityDlg> m_pDlg;
    int L = 0;
    int R = 0;
    int B = 0;
};
} // namespace

TEST_F(PriorityDlgTest, TriangleStandsOnTheHiddenFrame)
{
    Open(0.333, 0.333, 0.333);
    EXPECT_EQ(Dlg().GetWindowText(), "Priorities");
    EXPECT_EQ(Client()->width(), 354);
    EXPECT_EQ(Client()->height(), 232);
    // 25, 23, 111, 92 dialog units: 166 pixels wide, bottom at 187.
    EXPECT_EQ(L, 38);
    EXPECT_EQ(R, 204);
    EXPECT_EQ(B, 187);
    EXPECT_FALSE(Dlg().GetDlgItem(IDC_TRIANGLE_FRAME)->IsWindowVisible());
    EXPECT_EQ(Dlg().m_nSide, 166);
    EXPECT_EQ(Dlg().m_nHeight, 143);
    EXPECT_EQ(Dlg().m_ptCostVertex.x, L);
    EXPECT_EQ(Dlg().m_ptCostVertex.y, B);
    EXPECT_EQ(Dlg().m_ptScheduleVertex.x, R);
    EXPECT_EQ(Dlg().m_ptScheduleVertex.y, B);
    EXPECT_EQ(Dlg().m_ptTechnicalVertex.x, L + 83);
    EXPECT_EQ(Dlg().m_ptTechnicalVertex.y, B - 143);

    // The eyeball sizes itself to its 27 x 26 bitmap and lets the mouse
    // through to the dialog.
    EXPECT_EQ(EyeRect().Width(), 27);
    EXPECT_EQ(EyeRect().Height(), 26);
    EXPECT_EQ(Client()->childAt(EyeCentre()), nullptr);
    EXPECT_FALSE(Dlg().m_bDragging);
    for (int nID : {IDOK, IDCANCEL, IDC_DEFAULT})
        EXPECT_NE(qobject_cast<QPushButton*>(Dlg().GetDlgItem(nID)->m_hWnd), nullptr) << nID;
    const CRect rcDefault = Dlg().GetDlgItem(IDC_DEFAULT)->GetWindowRect();
    const CRect rcExpected = MapDialogRect(179, 30, 50, 14);
    EXPECT_EQ(rcDefault.left, rcExpected.left);
    EXPECT_EQ(rcDefault.top, rcExpected.top);
    EXPECT_EQ(rcDefault.right, rcExpected.right);
    EXPECT_EQ(rcDefault.bottom, rcExpected.bottom);
}

TEST_F(PriorityDlgTest, DraggingSetsTheWeightsFromTheProximities)
{
    Open(0.333, 0.333, 0.333);
    DragEyeTo({L + 83, B - 50});
    EXPECT_TRUE(Dlg().m_bDragging);
    EXPECT_EQ(EyeCentre(), QPoint(L + 83, B - 50));
    EXPECT_EQ(Dlg().m_ptEye.x, L + 83);
    EXPECT_EQ(Dlg().m_ptEye.y, B - 50);
    ExpectProximities(73, 70, 70);
    ExpectWeights(73.0 / 213, 70.0 / 213, 70.0 / 213);
    ExpectLabels("Technical  34%", "Cost  33%", "Schedule  33%");

    // The Cost corner: the Technical corner is 165 pixels away.
    Drag({L, B});
    ExpectProximities(1, 166, 0);
    ExpectLabels("Technical  1%", "Cost  99%", "Schedule  0%");

    // The bottom-left corner of the drag area is a full side from the others.
    Drag({L - 1, B + 1});
    ExpectProximities(0, 165, 0);
    ExpectWeights(0.0, 1.0, 0.0);
    ExpectLabels("Technical  0%", "Cost  100%", "Schedule  0%");

    Release({L - 1, B + 1});
    EXPECT_FALSE(Dlg().m_bDragging);
    Drag({L + 83, B - 50}); // no longer dragging: nothing moves
    Hover({L + 83, B - 50});
    EXPECT_EQ(EyeCentre(), QPoint(L - 1, B + 1));
    ExpectWeights(0.0, 1.0, 0.0);
}

TEST_F(PriorityDlgTest, OpensWithTheEyeballPlacedFromTheWeights)
{
    Open(0.5, 0.3, 0.2);
    EXPECT_EQ(EyeCentre(), QPoint(L + 70, B - 92));
    ExpectLabels("Technical  50%", "Cost  30%", "Schedule  20%");
    // Placing is not the inverse of dragging: the same point yields other weights.
    DragEyeTo({L + 70, B - 92});
    ExpectProximities(114, 51, 34);
    ExpectLabels("Technical  57%", "Cost  26%", "Schedule  17%");
}

TEST_F(PriorityDlgTest, PlacesTheEyeballOnTheCornersAndTheBase)
{
    struct Case
    {
        double dTechnical, dCost, dSchedule;
        int dx, dy; // expected centre relative to (L, B)
    };
    const Case aCases[] = {
        {0.0, 0.5, 0.5, 83, 0},    // middle of the base
        {0.0, 0.0, 1.0, 166, 0},   // Schedule corner
        {1.0, 0.0, 0.0, 83, -143}, // Technical corner
        {0.0, 1.0, 0.0, 0, 0},     // Cost corner: the limit as dC goes to 0
        {0.0, 1.0, 1.0, 0, 0},     // the schedule weight does not matter there
        // Distances that do not meet take the nearest angle: a = -1.
        {0.0, 0.8, 0.8, 33, 0},
    };
    for (const Case& c : aCases)
    {
        Open(c.dTechnical, c.dCost, c.dSchedule);
        EXPECT_EQ(EyeCentre(), QPoint(L + c.dx, B + c.dy))
            << c.dTechnical << " " << c.dCost << " " << c.dSchedule;
        // Placing never changes the weights.
        ExpectWeights(c.dTechnical, c.dCost, c.dSchedule);
    }
}

TEST_F(PriorityDlgTest, WeightsWithoutAUsablePointPlaceTheEyeballAsDefaultDoes)
{
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    const double dInf = std::numeric_limits<double>::infinity();
    const double aaWeights[][3] = {
        {0.333, dNaN, 0.333},   {0.333, 0.333, dNaN}, {dNaN, 0.333, 0.333},
        {0.333, -dInf, 0.333},  {0.333, dInf, 0.333}, {0.333, 1e300, 0.333},
        {0.333, -1e300, 1e300}, {0.0, -5.0, 0.5}, // far outside the triangle
    };
    for (const auto& w : aaWeights)
    {
        Open(w[0], w[1], w[2]);
        EXPECT_EQ(EyeCentre(), QPoint(L + 83, B - 71)) << w[0] << " " << w[1] << " " << w[2];
        EXPECT_TRUE(std::isnan(Dlg().m_dCostPriority) ? std::isnan(w[1])
                                                      : Dlg().m_dCostPriority == w[1]);
    }
    // The labels show such weights as they are.
    Open(0.333, dNaN, 0.333);
    EXPECT_EQ(Text(IDC_COST_LABEL), "Cost  nan%");
    // The eyeball stays draggable from there.
    DragEyeTo({L + 83, B - 50});
    ExpectProximities(73, 70, 70);
}

TEST_F(PriorityDlgTest, DefaultResetsTheWeightsWithoutRecomputingThem)
{
    Open(0.5, 0.3, 0.2);
    DragEyeTo({L + 10, B - 5});
    Release({L + 10, B - 5});
    const int nCostProximity = Dlg().m_nCostProximity;
    QTest::mouseClick(Dlg().GetDlgItem(IDC_DEFAULT)->m_hWnd, Qt::LeftButton);
    EXPECT_EQ(EyeCentre(), QPoint(L + 83, B - 71));
    ExpectWeights(0.333, 0.333, 0.333);
    ExpectLabels("Technical  33%", "Cost  33%", "Schedule  33%");
    EXPECT_EQ(Dlg().m_nCostProximity, nCostProximity);
    EXPECT_TRUE(Dlg().isVisible()); // the dialog goes on
}

TEST_F(PriorityDlgTest, OnlyAPressStrictlyInsideTheEyeballStartsADrag)
{
    Open(0.333, 0.333, 0.333);
    const QPoint ptStart = EyeCentre();
    const CRect rc = EyeRect();
    // Outside, and on the eyeball's left and top edges.
    for (QPoint pt : {QPoint(L + 20, B - 20), QPoint(rc.left, ptStart.y()),
                      QPoint(ptStart.x(), rc.top), QPoint(rc.right, ptStart.y())})
    {
        Press(pt);
        EXPECT_FALSE(Dlg().m_bDragging);
        Drag({L + 83, B - 50});
        Drag({L + 40, B - 10});
        Release({L + 40, B - 10});
        EXPECT_EQ(EyeCentre(), ptStart);
        ExpectWeights(0.333, 0.333, 0.333);
        ExpectLabels("Technical  33%", "Cost  33%", "Schedule  33%");
    }
    // Just inside the corner pixel-wise.
    Press({rc.left + 1, rc.top + 1});
    EXPECT_TRUE(Dlg().m_bDragging);
    // A second press outside ends the drag.
    Press({5, 5});
    EXPECT_FALSE(Dlg().m_bDragging);
}

TEST_F(PriorityDlgTest, MovesOutsideTheDragAreaAreIgnored)
{
    Open(0.333, 0.333, 0.333);
    DragEyeTo({L + 83, B - 50});
    // The drag area is the triangle's bounding rectangle grown by one pixel.
    for (QPoint pt : {QPoint(L - 2, B - 50), QPoint(R + 2, B - 50), QPoint(L + 83, B + 2),
                      QPoint(L + 83, B - 145), QPoint(300, 100)})
    {
        Drag(pt);
        EXPECT_EQ(EyeCentre(), QPoint(L + 83, B - 50)) << pt.x() << "," << pt.y();
        ExpectProximities(73, 70, 70);
    }
    // Back inside, the eyeball follows again; the edges of the area count.
    Drag({R + 1, B - 144});
    EXPECT_EQ(EyeCentre(), QPoint(R + 1, B - 144));
    // Beside the slanted edge, outside the triangle, the weights stay defined.
    ExpectProximities(82, 0, 22);
    Drag({L + 83, B - 50});
    EXPECT_EQ(EyeCentre(), QPoint(L + 83, B - 50));
}

TEST_F(PriorityDlgTest, AnUnseenReleaseKeepsTheEyeballFollowingTheCursor)
{
    Open(0.333, 0.333, 0.333);
    DragEyeTo({L + 83, B - 50});
    // The button went up somewhere the dialog did not see: moves arrive
    // without it, and the eyeball still follows.
    Hover({L + 83, B});
    EXPECT_EQ(EyeCentre(), QPoint(L + 83, B));
    ExpectLabels("Technical  12%", "Cost  44%", "Schedule  44%");
    Release({L + 83, B});
    Hover({L + 83, B - 50});
    EXPECT_EQ(EyeCentre(), QPoint(L + 83, B));
}

TEST_F(PriorityDlgTest, PaintsTheTriangleOutline)
{
    Open(0.5, 0.3, 0.2);
    const QImage image = Client()->grab().toImage();
    Dlg().grab().save(QString(VELKOR_BINARY_DIR) + "/priority-dialog.png");
    auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 64; };
    EXPECT_TRUE(dark(L + 120, B));       // base
    EXPECT_TRUE(dark(L, B));             // Cost corner
    EXPECT_TRUE(dark(R, B));             // Schedule corner
    EXPECT_TRUE(dark(L + 83, B - 143));  // Technical corner
    EXPECT_FALSE(dark(L + 120, B - 20)); // inside
    EXPECT_FALSE(dark(L + 83, B + 3));   // below the base
}

namespace
{
// The View > Priority Weights command of the main window, with the dialog
// run modally and driven from inside its loop.
class PriorityCommandTest : public MainWindowTest
{
protected:
    // Runs the command; fn drives the open dialog and ends it.
    void RunCommand(const std::function<void(CPriorityDlg&)>& fn)
    {
        bool bRan = false;
        QTimer::singleShot(0, m_pDlg.get(),
                           [&]
                           {
                               CPriorityDlg* pDlg = nullptr;
                               for (QDialog* p : m_pDlg->findChildren<QDialog*>())
                                   if (auto* pPriority = dynamic_cast<CPriorityDlg*>(p))
                                       pDlg = pPriority->isVisible() ? pPriority : pDlg;
                               ASSERT_NE(pDlg, nullptr);
                               bRan = true;
                               fn(*pDlg);
                           });
        AfxGetMenuAction(*m_pDlg, IDM_VIEW_PRIORITIES)->trigger();
        Pump();
        EXPECT_TRUE(bRan);
    }
    static QPoint Centre(CPriorityDlg& dlg)
    {
        const CRect rc = dlg.GetDlgItem(IDC_EYEBALL)->GetWindowRect();
        return {rc.left + rc.Width() / 2, rc.top + rc.Height() / 2};
    }
    static void DragTo(CPriorityDlg& dlg, QPoint pt)
    {
        QTest::mousePress(AfxGetClientWidget(dlg), Qt::LeftButton, {}, Centre(dlg));
        QTest::mouseMove(AfxGetClientWidget(dlg), pt);
        QTest::mouseRelease(AfxGetClientWidget(dlg), Qt::LeftButton, {}, pt);
    }
    static void Click(CPriorityDlg& dlg, int nID)
    {
        QTest::mouseClick(dlg.GetDlgItem(nID)->m_hWnd, Qt::LeftButton);
    }
    std::string WeightsText() { return m_pDlg->GetDlgItemText(IDC_PRIORITY_WEIGHTS); }
};
} // namespace

TEST_F(PriorityCommandTest, OkWithoutAChangeStillMarksTheProjectModified)
{
    ASSERT_FALSE(m_pDlg->m_model.IsModified());
    RunCommand([](CPriorityDlg& dlg) { Click(dlg, IDOK); });
    EXPECT_TRUE(m_pDlg->m_model.IsModified());
    EXPECT_EQ(m_pDlg->m_model.GetTechnicalWeight(), 0.333);
    EXPECT_EQ(m_pDlg->m_model.GetCostWeight(), 0.333);
    EXPECT_EQ(m_pDlg->m_model.GetScheduleWeight(), 0.333);
    EXPECT_EQ(WeightsText(), "Cost 33%\n\nTechnical 33%\n\nSchedule 33%");
}

TEST_F(PriorityCommandTest, OkWritesTheDraggedWeightsBack)
{
    RunCommand(
        [](CPriorityDlg& dlg)
        {
            const CPoint ptCost = dlg.m_ptCostVertex;
            DragTo(dlg, {ptCost.x + 83, ptCost.y - 50});
            Click(dlg, IDOK);
        });
    EXPECT_EQ(m_pDlg->m_model.GetTechnicalWeight(), 73.0 / 213);
    EXPECT_EQ(m_pDlg->m_model.GetCostWeight(), 70.0 / 213);
    EXPECT_EQ(m_pDlg->m_model.GetScheduleWeight(), 70.0 / 213);
    EXPECT_EQ(WeightsText(), "Cost 33%\n\nTechnical 34%\n\nSchedule 33%");
    EXPECT_TRUE(m_pDlg->m_model.IsModified());
}

TEST_F(PriorityCommandTest, CancelAfterADragLeavesTheModelAsItWas)
{
    for (bool bEscape : {false, true})
    {
        RunCommand(
            [bEscape](CPriorityDlg& dlg)
            {
                const CPoint ptCost = dlg.m_ptCostVertex;
                DragTo(dlg, {ptCost.x, ptCost.y});
                EXPECT_EQ(dlg.m_dCostPriority, 166.0 / 167);
                if (bEscape)
                    QTest::keyClick(&dlg, Qt::Key_Escape);
                else
                    Click(dlg, IDCANCEL);
            });
        EXPECT_FALSE(m_pDlg->m_model.IsModified());
        EXPECT_EQ(m_pDlg->m_model.GetCostWeight(), 0.333);
        EXPECT_EQ(m_pDlg->m_model.GetTechnicalWeight(), 0.333);
        EXPECT_EQ(WeightsText(), "Cost 33%\n\nTechnical 33%\n\nSchedule 33%");
    }
}

TEST_F(PriorityCommandTest, SeedsTheDialogFromTheModel)
{
    m_pDlg->m_model.SetTechnicalWeight(0.5);
    m_pDlg->m_model.SetCostWeight(0.3);
    m_pDlg->m_model.SetScheduleWeight(0.2);
    RunCommand(
        [](CPriorityDlg& dlg)
        {
            const CPoint ptCost = dlg.m_ptCostVertex;
            EXPECT_EQ(Centre(dlg), QPoint(ptCost.x + 70, ptCost.y - 92));
            EXPECT_EQ(dlg.GetDlgItemText(IDC_TECHNICAL_LABEL), "Technical  50%");
            Click(dlg, IDC_DEFAULT);
            Click(dlg, IDOK);
        });
    EXPECT_EQ(m_pDlg->m_model.GetTechnicalWeight(), 0.333);
    EXPECT_EQ(m_pDlg->m_model.GetCostWeight(), 0.333);
    EXPECT_EQ(m_pDlg->m_model.GetScheduleWeight(), 0.333);
}

TEST_F(PriorityDlgTest, ArrowKeysMoveTheEyeballAsADragDoes)
{
    Open(0.333, 0.333, 0.333);
    Dlg().show();
    Dlg().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Dlg()));
    Dlg().GetDlgItem(IDOK)->m_hWnd->setFocus(); // as when the dialog opens
    const QPoint ptStart = EyeCentre();
    QTest::keyClick(Dlg().GetDlgItem(IDOK)->m_hWnd, Qt::Key_Left);
    EXPECT_EQ(EyeCentre(), ptStart - QPoint(1, 0));
    QTest::keyClick(Dlg().GetDlgItem(IDOK)->m_hWnd, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(EyeCentre(), ptStart + QPoint(-1, 10));

    // Down to the edge of the drag area, one pixel below the base; a step
    // that would leave the area is not taken.
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(Client(), Qt::Key_Down, Qt::ShiftModifier);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(Client(), Qt::Key_Down);
    EXPECT_EQ(EyeCentre().y(), B + 1);
    // Then onto the Cost corner: the weights a drag to that point gives.
    QTest::keyClick(Client(), Qt::Key_Up);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(Client(), Qt::Key_Left, Qt::ShiftModifier);
    while (EyeCentre().x() > L)
        QTest::keyClick(Client(), Qt::Key_Left);
    EXPECT_EQ(EyeCentre(), QPoint(L, B));
    ExpectProximities(1, 166, 0);
    ExpectLabels("Technical  1%", "Cost  99%", "Schedule  0%");
}

// For a screen reader the triangle is a named control that Tab reaches after
// the buttons; its value text is the three weights and follows every move.
TEST_F(PriorityDlgTest, TheTriangleSpeaksItsWeights)
{
    Open(0.5, 0.3, 0.2);
    Dlg().show();
    Dlg().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Dlg()));
    QWidget* pTriangle = Dlg().GetDlgItem(IDC_TRIANGLE)->m_hWnd;
    QAccessibleInterface* pIface = QAccessible::queryAccessibleInterface(pTriangle);
    EXPECT_EQ(pIface->text(QAccessible::Name), "Priority weights");
    EXPECT_EQ(pIface->text(QAccessible::Value), "Technical 50 %, Cost 30 %, Schedule 20 %");
    EXPECT_EQ(pIface->text(QAccessible::Description), pIface->text(QAccessible::Value));
    // The default focus stays on OK; Tab goes OK, Cancel, Default, triangle.
    EXPECT_EQ(QApplication::focusWidget(), Dlg().GetDlgItem(IDOK)->m_hWnd);
    const QImage unfocused = Client()->grab().toImage();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), pTriangle);
    // The focus shows: a dotted frame around the triangle.
    const QImage focused = Client()->grab().toImage();
    EXPECT_NE(focused, unfocused);
    focused.save(QString(VELKOR_BINARY_DIR) + "/screenshots/priority-focus.png");
    QTest::keyClick(pTriangle, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(pIface->text(QAccessible::Value),
              QString::fromStdString("Technical " + Text(IDC_TECHNICAL_LABEL).substr(11) +
                                     ", Cost " + Text(IDC_COST_LABEL).substr(6) + ", Schedule " +
                                     Text(IDC_SCHEDULE_LABEL).substr(10))
                  .replace("%", " %"));
    EXPECT_NE(pIface->text(QAccessible::Value), "Technical 50 %, Cost 30 %, Schedule 20 %");
}
