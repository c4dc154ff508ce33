// The main window for screen-reader and keyboard users: accessible names of
// the answer buttons, the categories, the list and the displays; Tab order,
// Space on an answer and the menus' access keys, in the real window offscreen.
#include "MainWindowTest.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <vector>

namespace
{
const QString s_strDash = QString::fromUtf8(" \xE2\x80\x94 "); // " — "

class KeyboardTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        QApplication::setActiveWindow(&Dlg());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Dlg()));
    }

    QString Name(int nID) { return Item(nID)->accessibleName(); }
    QString Question(int r) { return QString::fromStdString(Dlg().m_apRowQuestion[r]->GetText()); }

    // The control id of the focused widget, or -1.
    int FocusedId()
    {
        QWidget* pFocus = QApplication::focusWidget();
        for (int nID = IDC_CATEGORY_FIRST; nID <= IDC_ESTIMATION_COMBO; ++nID)
            if (Item(nID) == pFocus)
                return nID;
        return -1;
    }

    // The ids Tab visits from the shown category's button until it returns there.
    std::vector<int> TabCycle()
    {
        const int nStart = IDC_CATEGORY_FIRST + std::countr_zero(Dlg().m_dwCategory);
        Item(nStart)->setFocus(Qt::TabFocusReason);
        std::vector<int> ids{FocusedId()};
        for (int i = 0; i < 200; ++i)
        {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const int nID = FocusedId();
            if (nID == nStart)
                break;
            ids.push_back(nID);
        }
        return ids;
    }
};
} // namespace

TEST_F(KeyboardTest, AnswerButtonsSpeakTheirQuestionAndAnswer)
{
    const char* const apszAnswers[] = {"None", "Little", "Some", "Most", "All"};
    for (int r = 0; r < 8; ++r)
        for (int j = 0; j < ANSWER_COLUMNS; ++j)
            EXPECT_EQ(Name(AnswerId(r, j)), Question(r) + s_strDash + apszAnswers[j]);

    // A new page renames the rows after their new questions.
    const QString strOld = Name(AnswerId(1, 3));
    ShowPage(9); // Personnel
    EXPECT_NE(Name(AnswerId(1, 3)), strOld);
    EXPECT_EQ(Name(AnswerId(1, 3)), Question(1) + s_strDash + "Most");
    EXPECT_TRUE(
        Name(AnswerId(1, 3)).startsWith(Dlg().GetDlgItemText(IDC_QUESTION_FIRST + 1).c_str()));
}

// What a screen reader gets: radio buttons for the answers, toggle buttons
// (pressed push buttons) for the categories, displays read with their text.
TEST_F(KeyboardTest, ScreenReadersGetRolesStatesAndTexts)
{
    const auto Iface = [this](int nID) { return QAccessible::queryAccessibleInterface(Item(nID)); };
    const auto Text = [&](int nID, QAccessible::Text t) { return Iface(nID)->text(t); };
    for (int j = 0; j < ANSWER_COLUMNS; ++j)
    {
        EXPECT_EQ(Iface(AnswerId(0, j))->role(), QAccessible::RadioButton);
        EXPECT_EQ(Iface(AnswerId(0, j))->state().checked, j == 0) << j;
    }
    EXPECT_TRUE(Iface(AnswerId(9, 0))->state().invisible); // Organization has eight rows
    EXPECT_FALSE(Iface(AnswerId(7, 0))->state().invisible);
    for (int k : {0, 5, 9})
    {
        // A choice of one, as the answers are: radio buttons, checked while pressed.
        EXPECT_EQ(Iface(IDC_CATEGORY_FIRST + k)->role(), QAccessible::RadioButton);
        EXPECT_EQ(Iface(IDC_CATEGORY_FIRST + k)->state().checked, k == 0);
    }
    EXPECT_EQ(Text(IDC_CATEGORY_FIRST + 5, QAccessible::Name), "Company Culture");
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS, QAccessible::Name), "0.0%");
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS, QAccessible::Description), "Category Success %");
    EXPECT_TRUE(Text(IDC_PRIORITY_WEIGHTS, QAccessible::Name).startsWith("Cost 33%"));
    EXPECT_EQ(Text(IDC_PRIORITY_WEIGHTS, QAccessible::Description), "Priority Weights");
    EXPECT_FALSE(Name(IDC_ESTIMATION_COMBO).isEmpty());

    // Both follow the program: another page, another answer.
    QAccessible::queryAccessibleInterface(Item(IDC_CATEGORY_FIRST + 9))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    Pump();
    EXPECT_EQ(Dlg().m_dwCategory, 1u << 9);
    EXPECT_TRUE(Iface(IDC_CATEGORY_FIRST + 9)->state().checked);
    EXPECT_FALSE(Iface(IDC_CATEGORY_FIRST)->state().checked);
    // A screen reader's toggle is a click: the row keeps one answer, the model has it.
    Iface(AnswerId(0, 4))->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    Pump();
    EXPECT_TRUE(Iface(AnswerId(0, 4))->state().checked);
    EXPECT_FALSE(Iface(AnswerId(0, 0))->state().checked);
    EXPECT_EQ(Dlg().m_apRowQuestion[0]->GetSelected(), 4u);
    EXPECT_EQ(Text(IDC_CATEGORY_SUCCESS, QAccessible::Name),
              QString::fromStdString(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS)));
    EXPECT_NE(Text(IDC_CATEGORY_SUCCESS, QAccessible::Name), "0.0%");
    g_bAnswersModified = 0;

    ShowPage(1); // Estimation: the method list is the first row
    EXPECT_EQ(Name(IDC_ESTIMATION_COMBO), Question(0));
    EXPECT_EQ(Name(AnswerId(1, 0)), Question(1) + s_strDash + "None");
}

// The category buttons are one radio group: Tab stops at the shown category,
// the arrow keys move through the group and show the page they reach.
TEST_F(KeyboardTest, TabVisitsTheCategoryThenEachRowAtItsAnswer)
{
    QTest::mouseClick(Item(AnswerId(2, 3)), Qt::LeftButton);
    Pump();
    std::vector<int> expected{IDC_CATEGORY_FIRST};
    for (int r = 0; r < 8; ++r) // Organization has eight questions
        expected.push_back(AnswerId(r, r == 2 ? 3 : 0));
    EXPECT_EQ(TabCycle(), expected);

    // On the Estimation page the method list comes before the second row.
    ShowPage(1);
    int nRows = 0;
    while (nRows < ANSWER_ROWS && Dlg().m_apRowQuestion[nRows] != nullptr)
        ++nRows;
    ASSERT_GT(nRows, 1);
    expected = {IDC_CATEGORY_FIRST + 1, IDC_ESTIMATION_COMBO};
    for (int r = 1; r < nRows; ++r)
        expected.push_back(AnswerId(r, 0));
    EXPECT_EQ(TabCycle(), expected);
    g_bAnswersModified = 0;
}

// Within a row the arrow keys choose the previous or next answer the way a
// click does; the ends of the row keep the answer.
TEST_F(KeyboardTest, ArrowKeysChooseWithinTheRow)
{
    const struct
    {
        Qt::Key key;
        int nColumn;   // the answer chosen and focused afterwards
        bool bClicked; // a move is a click: the project changed
    } steps[] = {{Qt::Key_Up, 0, false},    {Qt::Key_Left, 0, false}, {Qt::Key_Right, 1, true},
                 {Qt::Key_Down, 2, true},   {Qt::Key_Right, 3, true}, {Qt::Key_Down, 4, true},
                 {Qt::Key_Right, 4, false}, {Qt::Key_Left, 3, true},  {Qt::Key_Up, 2, true}};
    Item(AnswerId(2, 0))->setFocus(Qt::TabFocusReason);
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.nColumn);
        Dlg().m_model.ClearModified();
        QTest::keyClick(QApplication::focusWidget(), step.key);
        Pump();
        EXPECT_EQ(FocusedId(), AnswerId(2, step.nColumn));
        EXPECT_EQ(Dlg().m_apRowQuestion[2]->GetSelected(),
                  static_cast<std::uint32_t>(step.nColumn));
        for (int j = 0; j < ANSWER_COLUMNS; ++j)
            EXPECT_EQ(Dlg().IsDlgButtonChecked(AnswerId(2, j)), j == step.nColumn ? 1u : 0u);
        EXPECT_EQ(Dlg().m_model.IsModified(), step.bClicked);
        EXPECT_EQ(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS) == "0.0%", step.nColumn == 0);
    }
    // Tab leaves the row for the next one, Shift+Tab comes back to the answer.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(FocusedId(), AnswerId(3, 0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(FocusedId(), AnswerId(2, 2));
    EXPECT_EQ(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS), "6.3%"); // Some in one of eight rows
    g_bAnswersModified = 0;
}

// Focus is always drawn, also on an answer chosen with the mouse.
TEST_F(KeyboardTest, TheFocusedAnswerIsMarked)
{
    QTest::mouseClick(Item(AnswerId(4, 2)), Qt::LeftButton);
    Pump();
    ASSERT_EQ(FocusedId(), AnswerId(4, 2));
    const QImage focused = Item(AnswerId(4, 2))->grab().toImage();
    QTest::mouseClick(Item(AnswerId(5, 2)), Qt::LeftButton);
    Pump();
    ASSERT_EQ(FocusedId(), AnswerId(5, 2));
    EXPECT_NE(Item(AnswerId(4, 2))->grab().toImage(), focused);
    EXPECT_EQ(Item(AnswerId(5, 2))->grab().toImage(), focused);
    g_bAnswersModified = 0;
}

// After New the focus is where Tab would put it: on the row's chosen answer.
TEST_F(KeyboardTest, NewMovesTheFocusToTheRowsChosenAnswer)
{
    QTest::mouseClick(Item(AnswerId(4, 2)), Qt::LeftButton);
    Pump();
    ASSERT_EQ(FocusedId(), AnswerId(4, 2));
    CMessageBox::SetNextAnswer(IDYES); // discard the answer
    Dlg().SendMessage(WM_COMMAND, MAKEWPARAM(IDM_FILE_NEW, 0), 0);
    Pump();
    EXPECT_EQ(Dlg().IsDlgButtonChecked(AnswerId(4, 0)), 1u);
    EXPECT_EQ(FocusedId(), AnswerId(4, 0));
}

TEST_F(KeyboardTest, ArrowKeysWalkThroughTheCategories)
{
    Item(IDC_CATEGORY_FIRST)->setFocus(Qt::TabFocusReason);
    for (int k = 1; k < 10; ++k)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        Pump();
        EXPECT_EQ(FocusedId(), IDC_CATEGORY_FIRST + k);
        EXPECT_EQ(Dlg().m_dwCategory, 1u << k);
        EXPECT_EQ(Dlg().IsDlgButtonChecked(IDC_CATEGORY_FIRST + k), BST_CHECKED);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    Pump();
    EXPECT_EQ(Dlg().m_dwCategory, 1u << 8);

    // Pressed by the program (New, Open), the category is the Tab stop.
    Item(AnswerId(0, 0))->setFocus(Qt::TabFocusReason);
    Dlg().CheckRadioButton(IDC_CATEGORY_FIRST, IDC_CATEGORY_FIRST + 9, IDC_CATEGORY_FIRST);
    EXPECT_TRUE(Item(IDC_CATEGORY_FIRST)->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(Item(IDC_CATEGORY_FIRST + 8)->focusPolicy() & Qt::TabFocus);
}

TEST_F(KeyboardTest, SpaceChoosesTheFocusedAnswerAndCategory)
{
    const std::string strBefore = Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS);
    Item(AnswerId(2, 3))->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Item(AnswerId(2, 3)), Qt::Key_Space);
    Pump();
    EXPECT_EQ(Dlg().m_apRowQuestion[2]->GetSelected(), 3u);
    EXPECT_EQ(Dlg().IsDlgButtonChecked(AnswerId(2, 3)), BST_CHECKED);
    EXPECT_NE(Dlg().IsDlgButtonChecked(AnswerId(2, 0)), BST_CHECKED);
    EXPECT_NE(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS), strBefore);
    EXPECT_TRUE(Dlg().m_model.IsModified());

    // Space on a category button shows its page.
    Item(IDC_CATEGORY_FIRST + 4)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Item(IDC_CATEGORY_FIRST + 4), Qt::Key_Space);
    Pump();
    EXPECT_EQ(Dlg().m_dwCategory, 1u << 4);
    EXPECT_EQ(Dlg().IsDlgButtonChecked(IDC_CATEGORY_FIRST + 4), BST_CHECKED);
    g_bAnswersModified = 0; // no confirmation when the window goes
}

TEST_F(KeyboardTest, ArrowKeysChooseTheEstimationMethod)
{
    ShowPage(1);
    Item(IDC_ESTIMATION_COMBO)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Item(IDC_ESTIMATION_COMBO), Qt::Key_Down);
    QTest::keyClick(Item(IDC_ESTIMATION_COMBO), Qt::Key_Down);
    Pump();
    EXPECT_EQ(Dlg().m_apRowQuestion[0]->GetSelected(), 2u);
    EXPECT_NE(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS), "2.9%"); // Guess gives 2.9%
    g_bAnswersModified = 0;
}

TEST_F(KeyboardTest, EveryMenuCommandHasAnAccessKeyOfItsOwn)
{
    auto* pBar = Dlg().findChild<QMenuBar*>();
    ASSERT_NE(pBar, nullptr);
    const auto AccessKey = [](const QString& strText)
    {
        const qsizetype n = strText.indexOf('&');
        return n >= 0 && n + 1 < strText.size() ? strText[n + 1].toLower() : QChar();
    };
    QSet<QChar> menuKeys;
    int nCommands = 0;
    for (QAction* pMenuAction : pBar->actions())
    {
        const QChar key = AccessKey(pMenuAction->text());
        EXPECT_FALSE(key.isNull()) << pMenuAction->text().toStdString();
        EXPECT_FALSE(menuKeys.contains(key)) << pMenuAction->text().toStdString();
        menuKeys.insert(key);
        ASSERT_NE(pMenuAction->menu(), nullptr);
        QSet<QChar> itemKeys;
        for (QAction* pItem : pMenuAction->menu()->actions())
        {
            if (pItem->isSeparator())
                continue;
            ++nCommands;
            const QChar itemKey = AccessKey(pItem->text());
            EXPECT_FALSE(itemKey.isNull()) << pItem->text().toStdString();
            EXPECT_FALSE(itemKeys.contains(itemKey)) << pItem->text().toStdString();
            itemKeys.insert(itemKey);
        }
    }
    EXPECT_EQ(nCommands, 8); // New, Open, Save, Save As, Exit, Priorities, Summary, About
}

TEST_F(KeyboardTest, AltFOpensTheFileMenu)
{
    auto* pBar = Dlg().findChild<QMenuBar*>();
    ASSERT_NE(pBar, nullptr);
    QMenu* pFile = pBar->actions().value(0) ? pBar->actions().value(0)->menu() : nullptr;
    ASSERT_NE(pFile, nullptr);
    QTest::keyClick(&Dlg(), Qt::Key_F, Qt::AltModifier);
    Pump();
    EXPECT_TRUE(pFile->isVisible());
    pFile->close();
    Pump();
}

// Answers a page from the keyboard alone and keeps the picture for the README
// (docs/main-window.png is a copy).
TEST_F(KeyboardTest, AnswersAPageFromTheKeyboard)
{
    const int aAnswers[] = {3, 4, 2, 3, 1, 4, 3, 2};
    for (int r = 0; r < 8; ++r)
    {
        Item(AnswerId(r, aAnswers[r]))->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        Pump();
    }
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(Dlg().m_apRowQuestion[r]->GetSelected(), static_cast<std::uint32_t>(aAnswers[r]));
    EXPECT_NE(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS), "0.0%");

    const QString strDir = QString(VELKOR_BINARY_DIR) + "/screenshots";
    QDir().mkpath(strDir);
    const QPixmap shot = Dlg().grab();
    EXPECT_EQ(shot.size(), QSize(708, 564 + Dlg().findChild<QMenuBar*>()->height()));
    EXPECT_TRUE(shot.save(strDir + "/main-answered.png"));
    g_bAnswersModified = 0;
}
