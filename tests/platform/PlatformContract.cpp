// The contract every backend of platform/ keeps, written over the shared
// vocabulary only, so that each backend runs the same cases: control texts,
// radio groups and check state, menu check marks, data exchange, the order
// of sent and posted messages, command routing, the file-error guard and
// the prompt seams.
#include "PlatformContract.h"
#include "files/FileException.h"
#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr UINT WM_PROBE = WM_USER + 7;

// A dialog that records the messages and commands reaching it.
class CContractDlg : public CDialog
{
public:
    explicit CContractDlg(int nIDTemplate) : CDialog(nIDTemplate) {}

    std::vector<LPARAM> m_probes;
    std::vector<std::pair<UINT, UINT>> m_commands;
    std::string m_strLabel;
    bool m_bThrow = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (GetTemplateId() == IDD_PRIORITY)
            DDX_Text(pDX, IDC_COST_LABEL, m_strLabel);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_PROBE)
            return CDialog::WindowProc(message, wParam, lParam);
        m_probes.push_back(lParam);
        if (m_bThrow)
            throw CFileException(CFileException::fileNotFound, "missing.vlk");
        if (lParam == 100) // a handler that posts and then sends
        {
            PostMessage(WM_PROBE, 0, 101);
            SendMessage(WM_PROBE, 0, 102);
        }
        return lParam * 2;
    }
    BOOL OnCommand(UINT nID, UINT nCode) override
    {
        m_commands.emplace_back(nID, nCode);
        return TRUE;
    }
};

class PlatformContract : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CMessageBox::Reset();
        CMessageBox::SetNonInteractive(true);
        CFileDialog::Reset();
    }
    void TearDown() override
    {
        CMessageBox::Reset();
        CFileDialog::Reset();
    }
};
} // namespace

TEST_F(PlatformContract, ControlTextsRoundTrip)
{
    struct Row
    {
        int nTemplate, nID;
        std::string strText;
    };
    const Row rows[] = {
        {IDD_PRIORITY, IDC_COST_LABEL, "Cost  33%"},
        {IDD_PRIORITY, IDC_COST_LABEL, "Cost <b>1</b> & 2"}, // as typed, no markup
        {IDD_PRIORITY, IDC_DEFAULT, "Default"},
        {IDD_ABOUT, IDC_ITEM_VALUE, "two\nlines"}, // an edit keeps its line breaks
        {IDD_ABOUT, IDC_ITEM_VALUE, "na\xC3\xAFve \xE2\x82\xAC"},
        {IDD_PRIORITY, 4711, ""}, // an unknown id is no fault and reads empty
    };
    for (const Row& row : rows)
    {
        CContractDlg dlg(row.nTemplate);
        ASSERT_TRUE(dlg.Create(row.nTemplate));
        dlg.SetDlgItemText(row.nID, row.strText);
        EXPECT_EQ(dlg.GetDlgItemText(row.nID), row.strText) << row.nID;
        dlg.SetWindowText("Caption " + row.strText);
        EXPECT_EQ(dlg.GetWindowText(), "Caption " + row.strText);
    }
}

TEST_F(PlatformContract, RadioGroupsCheckOneButton)
{
    // Row 0 of the answers: IDC_ANSWER_FIRST + 0..4.
    struct Row
    {
        int nFirst, nLast, nCheck;
        std::vector<UINT> expected;
    };
    const int a = IDC_ANSWER_FIRST;
    const Row rows[] = {
        {a, a + 4, a + 2, {0, 0, 1, 0, 0}},
        {a, a + 4, a + 4, {0, 0, 0, 0, 1}},
        {a, a + 4, a - 1, {0, 0, 0, 0, 0}}, // outside the range: none checked
        {a, a + 2, a + 1, {0, 1, 0, 0, 0}}, // a part of the row
    };
    CContractDlg dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    dlg.CheckRadioButton(a, a + 4, a + 3);
    for (const Row& row : rows)
    {
        dlg.CheckRadioButton(row.nFirst, row.nLast, row.nCheck);
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(dlg.IsDlgButtonChecked(a + j), row.expected[j]) << row.nCheck << " " << j;
    }
    dlg.CheckDlgButton(a + 1, BST_UNCHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(a + 1), (UINT)BST_UNCHECKED);
    dlg.CheckDlgButton(a, BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(a), (UINT)BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(4711), (UINT)BST_UNCHECKED);
    EXPECT_TRUE(dlg.m_commands.empty()); // program-side changes never notify
}

TEST_F(PlatformContract, MenuCheckMarksReturnThePreviousState)
{
    CContractDlg dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    struct Row
    {
        UINT nID, nCheck, nPrevious, nAfter;
    };
    const Row rows[] = {
        {IDM_VIEW_SUMMARY, MF_CHECKED, MF_UNCHECKED, MF_CHECKED},
        {IDM_VIEW_SUMMARY, MF_CHECKED, MF_CHECKED, MF_CHECKED},
        {IDM_VIEW_SUMMARY, MF_UNCHECKED, MF_CHECKED, MF_UNCHECKED},
        {IDM_VIEW_PRIORITIES, MF_CHECKED, MF_UNCHECKED, MF_CHECKED},
        {4711, MF_CHECKED, (UINT)-1, (UINT)-1}, // no such item
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(dlg.CheckMenuItem(row.nID, row.nCheck), row.nPrevious) << row.nID;
        EXPECT_EQ(dlg.GetMenuState(row.nID), row.nAfter) << row.nID;
    }
    CContractDlg without(IDD_PRIORITY); // a dialog without a menu
    ASSERT_TRUE(without.Create(IDD_PRIORITY));
    EXPECT_EQ(without.CheckMenuItem(IDM_VIEW_SUMMARY, MF_CHECKED), (UINT)-1);
    EXPECT_TRUE(dlg.m_commands.empty());
}

TEST_F(PlatformContract, DataExchangeGoesBothWays)
{
    CContractDlg dlg(IDD_PRIORITY);
    dlg.m_strLabel = "Cost  33%";
    ASSERT_TRUE(dlg.Create(IDD_PRIORITY)); // OnInitDialog pushes the fields
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COST_LABEL), "Cost  33%");
    dlg.SetDlgItemText(IDC_COST_LABEL, "Cost  50%");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strLabel, "Cost  50%");
    dlg.m_strLabel = "Cost  25%";
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COST_LABEL), "Cost  25%");
}

TEST_F(PlatformContract, SentMessagesRunAtOncePostedOnesLaterInOrder)
{
    CContractDlg dlg(IDD_PRIORITY);
    ASSERT_TRUE(dlg.Create(IDD_PRIORITY));
    EXPECT_EQ(dlg.SendMessage(WM_PROBE, 0, 21), 42);
    EXPECT_TRUE(dlg.PostMessage(WM_PROBE, 0, 1));
    dlg.PostMessage(WM_PROBE, 0, 2);
    EXPECT_EQ(dlg.m_probes, (std::vector<LPARAM>{21}));
    dlg.SendMessage(WM_PROBE, 0, 100); // posts 101, sends 102
    EXPECT_EQ(dlg.m_probes, (std::vector<LPARAM>{21, 100, 102}));
    ContractPump();
    EXPECT_EQ(dlg.m_probes, (std::vector<LPARAM>{21, 100, 102, 1, 2, 101}));
}

TEST_F(PlatformContract, CommandsRouteToOnCommand)
{
    CContractDlg dlg(IDD_PRIORITY);
    ASSERT_TRUE(dlg.Create(IDD_PRIORITY));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DEFAULT, BN_CLICKED), 0);
    dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_EYEBALL, BN_CLICKED), 0);
    dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDM_VIEW_SUMMARY, CBN_SELCHANGE), 0);
    EXPECT_EQ(dlg.m_commands.size(), 1u);
    ContractPump();
    const std::vector<std::pair<UINT, UINT>> expected = {
        {IDC_DEFAULT, BN_CLICKED}, {IDC_EYEBALL, BN_CLICKED}, {IDM_VIEW_SUMMARY, CBN_SELCHANGE}};
    EXPECT_EQ(dlg.m_commands, expected);
}

TEST_F(PlatformContract, FileErrorGuardShowsTheStopBoxAndCarriesOn)
{
    CContractDlg dlg(IDD_PRIORITY);
    ASSERT_TRUE(dlg.Create(IDD_PRIORITY));
    dlg.m_bThrow = true;
    EXPECT_EQ(dlg.SendMessage(WM_PROBE, 0, 5), 0);
    dlg.PostMessage(WM_PROBE, 0, 6); // a posted one the same way
    ContractPump();
    ASSERT_EQ(CMessageBox::GetCount(), 2);
    for (const CMessageBox::Shown& shown : CMessageBox::GetShown())
    {
        EXPECT_EQ(shown.strText, "missing.vlk was not found.");
        EXPECT_EQ(shown.nType, MB_OK | MB_ICONSTOP);
        EXPECT_EQ(shown.strCaption, AfxGetAppName());
    }
    EXPECT_FALSE(AfxGetAppName().empty());
    EXPECT_FALSE(AfxCallGuarded([] { throw CFileException(CFileException::fileNotFound, "x"); }));
    EXPECT_TRUE(AfxCallGuarded([] {}));
    dlg.m_bThrow = false;
    EXPECT_EQ(dlg.SendMessage(WM_PROBE, 0, 7), 14);
}

TEST_F(PlatformContract, PromptSeamsAnswerAndRecord)
{
    CMessageBox::SetNextAnswer(IDNO);
    CMessageBox::SetNextAnswer(IDYES);
    EXPECT_EQ(AfxMessageBox("Save changes?", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(AfxMessageBox("Again?", MB_YESNO), IDYES);
    EXPECT_EQ(CMessageBox::GetCount(), 2);
    EXPECT_EQ(CMessageBox::GetLastText(), "Again?");
    EXPECT_EQ(CMessageBox::GetLastCaption(), AfxGetAppName());
    EXPECT_EQ(CMessageBox::GetLastType(), (UINT)MB_YESNO);
    EXPECT_EQ(AfxMessageBox("Nobody answers"), 0); // non-interactive: at once

    CFileDialog::SetNextFileName("plan", 2);
    CFileDialog::SetNextCancel();
    CFileDialog save(FALSE, "vlk", nullptr, OFN_OVERWRITEPROMPT,
                     "Project (*.vlk)|*.vlk|Text (*.txt)|*.txt||");
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetFileName(), "plan.txt"); // the selected type's extension
    EXPECT_EQ(save.m_nFilterIndex, 2);
    EXPECT_EQ(CFileDialog::GetLastFlags(), (DWORD)OFN_OVERWRITEPROMPT);
    EXPECT_EQ(CFileDialog::GetLastDefExt(), "vlk");
    EXPECT_FALSE(CFileDialog::GetLastOpenFileDialog());
    CFileDialog open(TRUE);
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(CFileDialog::GetCount(), 2);
    EXPECT_TRUE(CFileDialog::GetLastOpenFileDialog());
}
