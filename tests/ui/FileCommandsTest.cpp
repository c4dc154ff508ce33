// The File commands through the real menu, with the file-dialog and
// message-box seams answering in place of the user.
#include "FileTestSupport.h"
#include "MainWindowTest.h"
#include "input/Snapshot.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "report/TextReport.h"
#include "ui/MainDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>

#include <sys/resource.h>

namespace
{
bool Exists(const std::string& strPath)
{
    return std::ifstream(strPath).good();
}

// The window opens in each test, after its files are in place.
class FileCommandsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        ResetSeams();
        ASSERT_TRUE(m_dir.isValid());
    }
    std::string Path(const char* pszName) const { return m_dir.filePath(pszName).toStdString(); }
    void Answer(int r, int j)
    {
        Dlg().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ANSWER_FIRST + 5 * r + j, BN_CLICKED), 0);
    }
    void SaveAs(const std::string& strPath)
    {
        CFileDialog::SetNextFileName(strPath);
        Menu(IDM_FILE_SAVE_AS);
    }

    QTemporaryDir m_dir;
};

std::string NewProjectBytes()
{
    std::string str(324, '\0');
    for (int i = 0; i < 3; ++i)
        str += std::string("\x1D\x5A\x64\x3B\xDF\x4F\xD5\x3F", 8);
    return str;
}
} // namespace

TEST_F(FileCommandsTest, SaveWithoutFileAsksForANameThenSavesAtOnce)
{
    Open();
    Answer(0, 3);
    ASSERT_TRUE(Dlg().m_model.IsModified());
    CFileDialog::SetNextFileName(Path("plan.final.vlk"));
    Menu(IDM_FILE_SAVE); // posts Save As, which runs as a command of its own
    EXPECT_EQ(CFileDialog::GetCount(), 1);
    EXPECT_FALSE(CFileDialog::GetLastOpenFileDialog());
    EXPECT_EQ(CFileDialog::GetLastFilter(),
              "Velkor File (*.vlk)|*.vlk|Text File (*.txt)|*.txt|HTML File (*.htm)|*.htm||");
    EXPECT_EQ(CFileDialog::GetLastFlags(),
              DWORD(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_EQ(CFileDialog::GetLastDefExt(), "*.vlk");

    std::string strExpected = NewProjectBytes();
    strExpected[0] = 3;
    EXPECT_EQ(ReadBytes(Path("plan.final.vlk")), strExpected);
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - plan.final");
    EXPECT_EQ(Dlg().m_strFilePath, Path("plan.final.vlk"));
    EXPECT_FALSE(Dlg().m_model.IsModified());

    // With a file, Save writes straight away and asks nothing.
    Answer(1, 4);
    Menu(IDM_FILE_SAVE);
    EXPECT_EQ(CFileDialog::GetCount(), 1);
    EXPECT_EQ(CMessageBox::GetCount(), 0);
    EXPECT_EQ(ReadBytes(Path("plan.final.vlk"))[4], 4);
    EXPECT_FALSE(Dlg().m_model.IsModified());
}

TEST_F(FileCommandsTest, SaveAsChoosesByExtensionIgnoringCase)
{
    Open();
    Answer(0, 2);
    SaveAs(Path("copy.VLK"));
    EXPECT_EQ(ReadBytes(Path("copy.VLK")).size(), 348u);
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - copy");

    // Reports leave path, title and modified state alone.
    SaveAs(Path("REPORT.TXT"));
    const std::string strText = ReadBytes(Path("REPORT.TXT"));
    EXPECT_EQ(strText, MakeTextReport(MakeSnapshot(Dlg().m_model)));
    EXPECT_EQ(std::count(strText.begin(), strText.end(), '\n'), 28);
    EXPECT_NE(strText.find("Organization prob = 6.3%\r\n"), std::string::npos);
    SaveAs(Path("page.HTM"));
    const std::string strHtml = ReadBytes(Path("page.HTM"));
    EXPECT_NE(strHtml.find("Project copy"), std::string::npos);
    EXPECT_EQ(strHtml.find("&lt;PA"), std::string::npos);
    EXPECT_EQ(Dlg().m_strFilePath, Path("copy.VLK"));
    EXPECT_EQ(Dlg().m_strFileTitle, "copy");
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - copy");
    EXPECT_FALSE(Dlg().m_model.IsModified());
    Answer(0, 2);
    SaveAs(Path("page.HTM"));
    EXPECT_TRUE(Dlg().m_model.IsModified());
    EXPECT_EQ(CMessageBox::GetCount(), 0);
}

TEST_F(FileCommandsTest, OtherExtensionsWriteNothingAndSaySo)
{
    Open();
    for (const char* pszName : {"page.html", "notes."})
    {
        SaveAs(Path(pszName));
        EXPECT_FALSE(Exists(Path(pszName))) << pszName;
        EXPECT_EQ(CMessageBox::GetLastText(),
                  "Nothing was written to " + Path(pszName) +
                      ".\n\nSave As writes a project for a name ending in .vlk, a text report "
                      "for .txt and an HTML report for .htm.");
        EXPECT_EQ(CMessageBox::GetLastType() & MB_ICONEXCLAMATION, UINT(MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(Dlg().m_strFilePath, "");
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - ");
}

TEST_F(FileCommandsTest, OpenLoadsAndShowsTheOrganizationPage)
{
    std::string strBytes = NewProjectBytes();
    strBytes[0] = 4;     // question 0: All
    strBytes[4 * 8] = 9; // question 8: clamped to Bottom-Up
    strBytes[4 * 9] = 2; // question 9: Some
    WriteBytes(Path("plan.vlk"), strBytes);
    Open();
    Dlg().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CATEGORY_FIRST + 3, BN_CLICKED), 0);
    Dlg().CheckRadioButton(IDC_CATEGORY_FIRST, IDC_CATEGORY_FIRST + 9, IDC_CATEGORY_FIRST + 3);

    CFileDialog::SetNextFileName(Path("plan.vlk"));
    Menu(IDM_FILE_OPEN);
    EXPECT_TRUE(CFileDialog::GetLastOpenFileDialog());
    EXPECT_EQ(CFileDialog::GetLastFilter(), "Velkor Files (*.vlk)|*.vlk||");
    EXPECT_EQ(CFileDialog::GetLastFlags(),
              DWORD(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_EQ(Dlg().m_model.GetQuestion(0)->GetSelected(), 4u);
    EXPECT_EQ(Dlg().m_model.GetQuestion(8)->GetSelected(), 6u);
    EXPECT_EQ(Dlg().m_dwCategory, 1u);
    EXPECT_EQ(Dlg().IsDlgButtonChecked(IDC_CATEGORY_FIRST), BST_CHECKED);
    EXPECT_EQ(Dlg().IsDlgButtonChecked(IDC_CATEGORY_FIRST + 3), 0u);
    EXPECT_EQ(Dlg().IsDlgButtonChecked(IDC_ANSWER_FIRST + 4), BST_CHECKED);
    EXPECT_EQ(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS), "12.5%");
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - plan");
    EXPECT_FALSE(Dlg().m_model.IsModified());

    // A modified project asks first; No shows no dialog and changes nothing.
    Answer(2, 1);
    CMessageBox::SetNextAnswer(IDNO);
    Menu(IDM_FILE_OPEN);
    EXPECT_EQ(CMessageBox::GetLastText(),
              "Project has not been saved. Continue anyway without saving?");
    EXPECT_EQ(CFileDialog::GetCount(), 1);
    EXPECT_EQ(Dlg().m_model.GetQuestion(2)->GetSelected(), 1u);
}

// Open and Save As start in the project's folder, else in that of the last
// file opened or saved; before either, where the platform likes.
TEST_F(FileCommandsTest, FileDialogsStartWhereTheWorkIs)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("a") && QDir(m_dir.path()).mkpath("b"));
    WriteBytes(Path("a/plan.vlk"), NewProjectBytes());
    Open();
    const struct
    {
        int nCommand;
        std::string strChosen; // empty: cancelled
        std::string strStartsIn;
    } steps[] = {
        {IDM_FILE_OPEN, "", ""},
        {IDM_FILE_OPEN, Path("a/plan.vlk"), ""},
        {IDM_FILE_SAVE_AS, Path("b/report.txt"), Path("a")}, // a report keeps the project's file
        {IDM_FILE_OPEN, "", Path("a")},
        {IDM_FILE_NEW, "", ""},
        {IDM_FILE_SAVE_AS, "", Path("b")}, // no project file: the last file saved
    };
    for (const auto& step : steps)
    {
        if (step.nCommand == IDM_FILE_NEW)
        {
            Menu(IDM_FILE_NEW);
            continue;
        }
        if (step.strChosen.empty())
            CFileDialog::SetNextCancel();
        else
            CFileDialog::SetNextFileName(step.strChosen);
        Menu(step.nCommand);
        EXPECT_EQ(CFileDialog::GetLastInitialDir(), step.strStartsIn) << step.strChosen;
    }
    EXPECT_TRUE(Exists(Path("b/report.txt")));
}

TEST_F(FileCommandsTest, FailedOpenKeepsProjectAndFile)
{
    WriteBytes(Path("good.vlk"), NewProjectBytes());
    WriteBytes(Path("short.vlk"), NewProjectBytes().substr(0, 100));
    Open();
    CFileDialog::SetNextFileName(Path("good.vlk"));
    Menu(IDM_FILE_OPEN);
    Answer(0, 4);
    CMessageBox::SetNextAnswer(IDYES);
    CFileDialog::SetNextFileName(Path("short.vlk"));
    Menu(IDM_FILE_OPEN);
    EXPECT_EQ(CMessageBox::GetLastText(),
              "An attempt was made to access " + Path("short.vlk") + " past its end.");
    EXPECT_EQ(CMessageBox::GetLastType() & MB_ICONSTOP, UINT(MB_ICONSTOP));
    EXPECT_EQ(Dlg().m_model.GetQuestion(0)->GetSelected(), 4u);
    EXPECT_TRUE(Dlg().m_model.IsModified());
    EXPECT_EQ(Dlg().m_strFilePath, Path("good.vlk"));
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - good");

    // Save goes to the file that was open, never to the damaged one.
    Menu(IDM_FILE_SAVE);
    EXPECT_EQ(ReadBytes(Path("good.vlk"))[0], 4);
    EXPECT_EQ(ReadBytes(Path("short.vlk")).size(), 100u);
}

TEST_F(FileCommandsTest, FailedSaveAsLeavesSaveOnTheCaptionsFile)
{
    Open();
    SaveAs(Path("mine.vlk"));
    Answer(0, 4);
    // A file size limit of 0 fails every write as a full disk does.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limit = old;
    limit.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    SaveAs(Path("other.vlk"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(CMessageBox::GetLastText(), "Disk full while accessing " + Path("other.vlk") + ".");
    EXPECT_EQ(Dlg().m_strFilePath, Path("mine.vlk"));
    EXPECT_EQ(Dlg().m_strFileTitle, "mine");
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - mine");
    EXPECT_TRUE(Dlg().m_model.IsModified());

    Menu(IDM_FILE_SAVE);
    EXPECT_EQ(ReadBytes(Path("mine.vlk"))[0], 4);
    EXPECT_FALSE(Exists(Path("other.vlk")));
    EXPECT_FALSE(Dlg().m_model.IsModified());
}

TEST_F(FileCommandsTest, AReportNeverReplacesItsOwnProject)
{
    Open();
    SaveAs(Path("plan.vlk"));
    Answer(0, 4);
    const std::string strSaved = ReadBytes(Path("plan.vlk"));
    // Through a symbolic link, a hard link or the project's own name.
    ASSERT_EQ(symlink(Path("plan.vlk").c_str(), Path("rep.txt").c_str()), 0);
    ASSERT_EQ(link(Path("plan.vlk").c_str(), Path("hard.htm").c_str()), 0);
    for (const char* pszName : {"rep.txt", "hard.htm"})
    {
        SaveAs(Path(pszName));
        EXPECT_EQ(CMessageBox::GetLastText(), "Access to " + Path(pszName) + " was denied.");
        EXPECT_EQ(CMessageBox::GetLastType() & MB_ICONSTOP, UINT(MB_ICONSTOP));
        EXPECT_EQ(ReadBytes(Path("plan.vlk")), strSaved) << pszName;
        EXPECT_EQ(Dlg().m_strFilePath, Path("plan.vlk"));
        EXPECT_EQ(Dlg().GetWindowText(), "Velkor - plan");
        EXPECT_TRUE(Dlg().m_model.IsModified()) << pszName;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(Path("rep.txt")));
    // Another report is written as before; Save still saves the project.
    SaveAs(Path("other.txt"));
    EXPECT_EQ(ReadBytes(Path("other.txt")), MakeTextReport(MakeSnapshot(Dlg().m_model)));
    Menu(IDM_FILE_SAVE);
    EXPECT_EQ(ReadBytes(Path("plan.vlk"))[0], 4);
    EXPECT_FALSE(Dlg().m_model.IsModified());
}

TEST_F(FileCommandsTest, CommandLineLoad)
{
    std::string strBytes = NewProjectBytes();
    strBytes[4 * 3] = 1;
    WriteBytes(Path("arg.vlk"), strBytes);
    Open(Path("arg.vlk"));
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - " + Path("arg.vlk"));
    EXPECT_EQ(Dlg().m_model.GetQuestion(3)->GetSelected(), 1u);
    EXPECT_EQ(Dlg().IsDlgButtonChecked(IDC_CATEGORY_FIRST), BST_CHECKED);
    EXPECT_EQ(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS), "2.5%");
    EXPECT_FALSE(Dlg().m_model.IsModified());
    EXPECT_EQ(CMessageBox::GetCount(), 0);
}

TEST_F(FileCommandsTest, FailedCommandLineLoadShowsANewProjectWithoutFile)
{
    const std::string strMissing = Path("missing.vlk");
    Open(strMissing);
    EXPECT_EQ(CMessageBox::GetLastText(), strMissing + " was not found.");
    EXPECT_EQ(CMessageBox::GetLastType() & MB_ICONSTOP, UINT(MB_ICONSTOP));
    EXPECT_EQ(Dlg().m_strFilePath, "");
    EXPECT_EQ(Dlg().GetWindowText(), "Velkor - ");
    EXPECT_EQ(Dlg().m_dwCategory, 1u);
    EXPECT_EQ(Dlg().GetDlgItemText(IDC_CATEGORY_SUCCESS), "0.0%");
    // Save now asks for a name instead of writing the missing file.
    CFileDialog::SetNextCancel();
    Menu(IDM_FILE_SAVE);
    EXPECT_EQ(CFileDialog::GetCount(), 1);
    EXPECT_FALSE(Exists(strMissing));
}
