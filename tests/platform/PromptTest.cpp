// Message boxes and file dialogs through their seams, and the file dialog's
// filter and name rules.
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

#include <gtest/gtest.h>

namespace
{
const char* const s_pszSaveFilter =
    "Velkor File (*.vlk)|*.vlk|Text File (*.txt)|*.txt|HTML File (*.htm)|*.htm||";

class PromptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CMessageBox::Reset();
        CFileDialog::Reset();
    }
    void TearDown() override
    {
        CMessageBox::Reset();
        CFileDialog::Reset();
    }
};
} // namespace

TEST_F(PromptTest, MessageBoxAnswersInOrderAndRecordsEachBox)
{
    CMessageBox::SetNextAnswer(IDNO);
    CMessageBox::SetNextAnswer(IDYES);
    EXPECT_EQ(AfxMessageBox("First?", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(AfxMessageBox(IDS_NOT_SAVED, MB_YESNO), IDYES);
    ASSERT_EQ(CMessageBox::GetCount(), 2);
    EXPECT_EQ(CMessageBox::GetShown()[0].strText, "First?");
    EXPECT_EQ(CMessageBox::GetShown()[0].nType, MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(CMessageBox::GetLastText(),
              "Project has not been saved. Continue anyway without saving?");
    EXPECT_EQ(CMessageBox::GetLastCaption(), AfxGetAppName());
    // No answer left: the test main made boxes non-interactive.
    EXPECT_EQ(AfxMessageBox("Unexpected"), 0);
    EXPECT_EQ(CMessageBox::GetCount(), 3);
}

TEST_F(PromptTest, AppTitleIsTheProgramNameWithoutExtension)
{
    EXPECT_EQ(AfxGetAppName(), "velkor_platform_tests");
    CWinApp named("Named");
    EXPECT_EQ(AfxGetAppName(), "Named");
}

TEST_F(PromptTest, FilterStringsSplitIntoTypes)
{
    auto types = CFileDialog::ParseFilter(s_pszSaveFilter);
    ASSERT_EQ(types.size(), 3u);
    EXPECT_EQ(types[1].first, "Text File (*.txt)");
    EXPECT_EQ(types[1].second, "*.txt");
    EXPECT_EQ(CFileDialog::ParseFilter("Velkor Files (*.vlk)|*.vlk||").size(), 1u);
    EXPECT_TRUE(CFileDialog::ParseFilter("").empty());
}

TEST_F(PromptTest, BareNamesGetTheSelectedTypesExtension)
{
    CFileDialog dlg(FALSE, "*.vlk", nullptr, OFN_OVERWRITEPROMPT, s_pszSaveFilter);
    EXPECT_EQ(dlg.CompleteName("/tmp/plan", 1), "/tmp/plan.vlk");
    EXPECT_EQ(dlg.CompleteName("/tmp/plan", 2), "/tmp/plan.txt");
    EXPECT_EQ(dlg.CompleteName("/tmp/plan", 3), "/tmp/plan.htm");
    EXPECT_EQ(dlg.CompleteName("/tmp/plan.html", 1), "/tmp/plan.html");
    EXPECT_EQ(dlg.CompleteName("/tmp/a.b/plan", 2), "/tmp/a.b/plan.txt"); // dot in the folder
    CFileDialog all(FALSE, "vlk", nullptr, 0, "All Files (*.*)|*.*||");
    EXPECT_EQ(all.CompleteName("/tmp/plan", 1), "/tmp/plan.vlk");
    CFileDialog bare(FALSE, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(bare.CompleteName("/tmp/plan", 1), "/tmp/plan");
}

TEST_F(PromptTest, FileDialogAnswersFromTheSeam)
{
    CFileDialog::SetNextFileName("/tmp/plan.final.vlk");
    CFileDialog open(TRUE, "*.vlk", nullptr,
                     OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                     "Velkor Files (*.vlk)|*.vlk||");
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/tmp/plan.final.vlk");
    EXPECT_EQ(open.GetFileName(), "plan.final.vlk");
    EXPECT_EQ(open.GetFileExt(), "vlk");
    EXPECT_EQ(open.GetFileTitle(), "plan.final");
    EXPECT_TRUE(CFileDialog::GetLastOpenFileDialog());
    EXPECT_EQ(CFileDialog::GetLastFilter(), "Velkor Files (*.vlk)|*.vlk||");
    EXPECT_EQ(CFileDialog::GetLastDefExt(), "*.vlk");
    EXPECT_EQ(CFileDialog::GetLastFlags(),
              OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);

    CFileDialog::SetNextFileName("/tmp/report", 2); // "Text File" selected
    CFileDialog::SetNextCancel();
    CFileDialog save(FALSE, "*.vlk", nullptr, OFN_OVERWRITEPROMPT, s_pszSaveFilter);
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), "/tmp/report.txt");
    EXPECT_EQ(save.m_nFilterIndex, 2);
    EXPECT_FALSE(CFileDialog::GetLastOpenFileDialog());
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    EXPECT_EQ(save.GetPathName(), "");
    EXPECT_EQ(CFileDialog::GetCount(), 3);

    CFileDialog::SetNextFileName("/tmp/notes");
    CFileDialog noext(FALSE, nullptr, nullptr, 0, nullptr);
    ASSERT_EQ(noext.DoModal(), IDOK);
    EXPECT_EQ(noext.GetFileExt(), "");
    EXPECT_EQ(noext.GetFileTitle(), "notes");
}
