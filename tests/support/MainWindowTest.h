// The main window as the program runs it, for the window suites: the
// application object around it, message boxes and file dialogs answered by
// their seams, and the first page shown before a test starts.
#pragma once

#include "GuiTestSupport.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "ui/MainDlg.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Gives the tests the window's message handling.
class CTestMainDlg : public CMainDlg
{
public:
    using CMainDlg::OnCommand;
};

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSeams();
        Open();
    }
    void TearDown() override
    {
        m_pDlg.reset(); // destroys an open summary window with it
        m_app.m_pMainWnd = nullptr;
        ResetSeams();
    }
    // The answers flag is program-wide and outlives the previous test's
    // window; a fresh run starts with it clear.
    static void ResetSeams()
    {
        CMessageBox::Reset();
        CFileDialog::Reset();
        g_bAnswersModified = 0;
    }

    // Opens a new window; a non-empty argument stands for a file named on the
    // command line, which start-up copies into path and title unchanged.
    void Open(const std::string& strArgument = {})
    {
        m_pDlg = std::make_unique<CTestMainDlg>();
        m_app.m_pMainWnd = m_pDlg.get();
        m_pDlg->m_strFilePath = strArgument;
        m_pDlg->m_strFileTitle = strArgument;
        ASSERT_TRUE(m_pDlg->Create());
        m_pDlg->show();
        Pump(); // WM_STARTUP, then the posted click of the Organization button
    }

    CTestMainDlg& Dlg() { return *m_pDlg; }
    QWidget* Item(int nID) { return Dlg().GetDlgItem(nID)->m_hWnd; }
    std::string Text(int nID) { return Dlg().GetDlgItemText(nID); }
    bool Checked(int nID) { return Dlg().IsDlgButtonChecked(nID) == BST_CHECKED; }
    void Click(int nID)
    {
        QTest::mouseClick(Item(nID), Qt::LeftButton);
        Pump();
    }
    void ShowPage(int k) { Click(IDC_CATEGORY_FIRST + k); }
    // A menu command, as the menu item runs it.
    void Menu(int nCommand)
    {
        AfxGetMenuAction(Dlg(), nCommand)->trigger();
        Pump();
    }

    CWinApp m_app;
    std::unique_ptr<CTestMainDlg> m_pDlg;
};
