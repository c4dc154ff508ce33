// The about box driven through its widgets: the version information of this
// test program, of the real program, of a program with every build flag, of
// files without version information and of hand-made blocks.
#include "ui/AboutDlg.h"
#include "platform/WinApp.h"
#include "platform/qt/Dialog.h"
#include "ui/MainDlg.h"
#include "version/VersionInfo.h"

#include "ElfImage.h"
#include "FileTestSupport.h"
#include "files/Path.h"
#include "version/VersionBlock.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

const std::vector<std::string> kEightNames = {"Language",         "CompanyName",     "ProductName",
                                              "ProductVersion",   "LegalTrademarks", "InternalName",
                                              "OriginalFilename", "Comments"};
const char* const kComments = "Assesses the risk of a software project from 81 questions.";
const char* const kCopyright = "Copyright \xC2\xA9 2026 Velkor Project";

// A file for one test, in a folder of its own so that it keeps its plain
// name; both are removed after the test.
class CTempFile
{
public:
    explicit CTempFile(const std::string& strName) : m_strPath(m_dir / strName) {}
    const std::string& Path() const { return m_strPath; }
    void Write(const std::vector<std::uint8_t>& ab) const
    {
        WriteBytes(m_strPath, std::string(ab.begin(), ab.end()));
    }

private:
    CScratchDir m_dir;
    std::string m_strPath;
};

// Runs the dialog modally; inspect runs inside the modal loop, then OK is
// clicked. Returns what DoModal returned.
INT_PTR RunModal(CAboutDlg& dlg, const std::function<void()>& inspect)
{
    QTimer::singleShot(0, &dlg,
                       [&]
                       {
                           inspect();
                           QTest::mouseClick(dlg.GetDlgItem(IDOK)->m_hWnd, Qt::LeftButton);
                       });
    return dlg.DoModal();
}

QListWidget* List(CAboutDlg& dlg)
{
    return qobject_cast<QListWidget*>(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd);
}

std::vector<std::string> ItemNames(CAboutDlg& dlg)
{
    std::vector<std::string> names;
    for (int i = 0; i < List(dlg)->count(); ++i)
        names.push_back(List(dlg)->item(i)->text().toStdString());
    return names;
}

// Clicks an item of the list as a user does.
void ClickItem(CAboutDlg& dlg, const std::string& strName)
{
    QListWidget* pList = List(dlg);
    const auto found = pList->findItems(QString::fromStdString(strName), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << strName;
    pList->scrollToItem(found[0]);
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {},
                      pList->visualItemRect(found[0]).center());
}

std::string Value(CAboutDlg& dlg)
{
    return dlg.GetDlgItemText(IDC_ITEM_VALUE);
}

bool ValueEnabled(CAboutDlg& dlg)
{
    return dlg.GetDlgItem(IDC_ITEM_VALUE)->IsWindowEnabled() != FALSE;
}

void SaveShot(CAboutDlg& dlg, const char* pszName)
{
    ASSERT_TRUE(dlg.grab().save(QString(VELKOR_BINARY_DIR) + "/" + pszName));
}

// An ELF file carrying a hand-made version block.
std::vector<std::uint8_t> MakeProgram(const versionblock::VersionValues& values)
{
    return elfimage::MakeElf(versionblock::BuildVersionBlock(values)).abBytes;
}

versionblock::VersionValues SampleValues()
{
    versionblock::VersionValues values;
    values.anFileVersion[0] = 3;
    values.strings = {{"FileVersion", "3.0"}, {"CompanyName", "Somebody"}};
    return values;
}

TEST(AboutDlg, ShowsTheRunningProgramsVersionInformation)
{
    CAboutDlg dlg; // the callers' nulls: this test program
    const INT_PTR nResult = RunModal(
        dlg,
        [&]
        {
            EXPECT_EQ(dlg.GetWindowText(), "About velkor_ui_about_tests");
            EXPECT_EQ(dlg.m_bVersionLoaded, 1);
            EXPECT_STREQ(dlg.m_szStringPrefix, "\\StringFileInfo\\040904B0\\");
            EXPECT_EQ(dlg.GetDlgItemText(IDC_FILE_VERSION), "1.0.0.1");
            EXPECT_EQ(dlg.GetDlgItemText(IDC_DESCRIPTION),
                      "Velkor software project risk assessment");
            EXPECT_EQ(dlg.GetDlgItemText(IDC_COPYRIGHT), kCopyright);
            EXPECT_EQ(dlg.GetDlgItemText(IDC_PRERELEASE), "");
            EXPECT_EQ(dlg.GetDlgItemText(IDC_DEBUG), "");
            EXPECT_EQ(ItemNames(dlg), kEightNames);
            // The last item is selected and its value shown at once.
            EXPECT_EQ(List(dlg)->currentRow(), 7);
            EXPECT_EQ(Value(dlg), kComments);
            EXPECT_TRUE(ValueEnabled(dlg));

            ClickItem(dlg, "Language");
            EXPECT_EQ(Value(dlg), "English (United States)");
            ClickItem(dlg, "LegalTrademarks");
            EXPECT_EQ(Value(dlg), "[none]");
            EXPECT_FALSE(ValueEnabled(dlg));
            ClickItem(dlg, "CompanyName");
            EXPECT_EQ(Value(dlg), "Velkor Project");
            EXPECT_TRUE(ValueEnabled(dlg));
            ClickItem(dlg, "OriginalFilename");
            EXPECT_EQ(Value(dlg), "velkor_ui_about_tests");
            ClickItem(dlg, "Comments");
            // The value box wraps its text: no horizontal scroll bar.
            // Its vertical scroll bar is always there, greyed while the text fits.
            const auto bars = dlg.GetDlgItem(IDC_ITEM_VALUE)->m_hWnd->findChildren<QScrollBar*>();
            int nVertical = 0;
            for (const QScrollBar* pBar : bars)
            {
                EXPECT_TRUE(pBar->orientation() != Qt::Horizontal || !pBar->isVisibleTo(&dlg));
                if (pBar->orientation() == Qt::Vertical && pBar->isVisibleTo(&dlg))
                {
                    ++nVertical;
                    EXPECT_FALSE(pBar->isEnabled());
                    dlg.SetDlgItemText(IDC_ITEM_VALUE, std::string(40, '\n'));
                    EXPECT_TRUE(pBar->isEnabled()); // text to scroll
                    dlg.SetDlgItemText(IDC_ITEM_VALUE, kComments);
                    EXPECT_FALSE(pBar->isEnabled());
                }
            }
            EXPECT_EQ(nVertical, 1);
            SaveShot(dlg, "about.png");
        });
    EXPECT_EQ(nResult, IDOK);
}

TEST(AboutDlg, TheRealProgramCarriesItsVersionInformation)
{
    CAboutDlg dlg(VELKOR_PROGRAM);
    RunModal(dlg,
             [&]
             {
                 EXPECT_EQ(dlg.GetWindowText(), "About velkor");
                 EXPECT_EQ(dlg.GetDlgItemText(IDC_FILE_VERSION), "1.0.0.1");
                 ClickItem(dlg, "ProductName");
                 EXPECT_EQ(Value(dlg), "Velkor");
                 ClickItem(dlg, "OriginalFilename");
                 EXPECT_EQ(Value(dlg), "velkor");
                 ClickItem(dlg, "Language");
                 SaveShot(dlg, "about_velkor.png");
             });
}

TEST(AboutDlg, EveryBuildFlagShowsAndAddsTheBuildItems)
{
    // A program file named tool.exe: the title takes its file name.
    CTempFile tool("tool.exe");
    ASSERT_TRUE(QFile::copy(VELKOR_FLAGGED_PROGRAM, QString::fromStdString(tool.Path())));
    CAboutDlg dlg(tool.Path().c_str());
    RunModal(dlg,
             [&]
             {
                 EXPECT_EQ(dlg.GetWindowText(), "About tool.exe");
                 EXPECT_EQ(dlg.GetDlgItemText(IDC_PRERELEASE), "Pre-Release version");
                 EXPECT_EQ(dlg.GetDlgItemText(IDC_DEBUG), "Debug version");
                 std::vector<std::string> ten = kEightNames;
                 ten.push_back("PrivateBuild");
                 ten.push_back("SpecialBuild");
                 EXPECT_EQ(ItemNames(dlg), ten);
                 EXPECT_EQ(List(dlg)->currentRow(), 9);
                 EXPECT_EQ(Value(dlg), "Special build for testing");
                 ClickItem(dlg, "PrivateBuild");
                 EXPECT_EQ(Value(dlg), "Private build on a developer machine");

                 // "Pre-Release version" to the right of the file version,
                 // "Debug version" centred under the list.
                 const CRect version = dlg.GetDlgItem(IDC_FILE_VERSION)->GetWindowRect();
                 const CRect pre = dlg.GetDlgItem(IDC_PRERELEASE)->GetWindowRect();
                 const CRect list = dlg.GetDlgItem(IDC_ITEM_LIST)->GetWindowRect();
                 const CRect debug = dlg.GetDlgItem(IDC_DEBUG)->GetWindowRect();
                 EXPECT_GE(pre.left, version.right);
                 EXPECT_EQ(pre.top, version.top);
                 EXPECT_GE(debug.top, list.bottom);
                 auto* pDebug = qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_DEBUG)->m_hWnd);
                 ASSERT_NE(pDebug, nullptr);
                 EXPECT_TRUE(pDebug->alignment() & Qt::AlignHCenter);
                 SaveShot(dlg, "about_flagged.png");
             });
}

TEST(AboutDlg, AFileWithoutVersionInformationStillListsTheNames)
{
    CTempFile empty("plain.txt");
    empty.Write({'n', 'o', ' ', 'v', 'e', 'r', 's', 'i', 'o', 'n'});
    CAboutDlg dlg(empty.Path().c_str());
    RunModal(dlg,
             [&]
             {
                 EXPECT_EQ(dlg.GetWindowText(), "About plain.txt");
                 EXPECT_EQ(dlg.m_bVersionLoaded, 0);
                 EXPECT_EQ(ItemNames(dlg), kEightNames);
                 for (int nId : {IDC_FILE_VERSION, IDC_DESCRIPTION, IDC_COPYRIGHT, IDC_PRERELEASE,
                                 IDC_DEBUG, IDC_ITEM_VALUE})
                     EXPECT_EQ(dlg.GetDlgItemText(nId), "") << nId;
                 const bool bEnabled = ValueEnabled(dlg);
                 ClickItem(dlg, "CompanyName");
                 ClickItem(dlg, "Language");
                 EXPECT_EQ(Value(dlg), "") << "selecting changes nothing";
                 EXPECT_EQ(ValueEnabled(dlg), bEnabled);
             });
}

TEST(AboutDlg, PresentButEmptyTextsAndOtherLanguages)
{
    versionblock::VersionValues values = SampleValues();
    values.wLanguage = 0x0407;
    values.wCodePage = 0x04E4;
    values.strings.push_back({"LegalTrademarks", ""});
    CTempFile file("german");
    file.Write(MakeProgram(values));
    CAboutDlg dlg(file.Path().c_str(), "Custom");
    RunModal(dlg,
             [&]
             {
                 EXPECT_EQ(dlg.GetWindowText(), "About Custom");
                 EXPECT_STREQ(dlg.m_szStringPrefix, "\\StringFileInfo\\040704E4\\");
                 EXPECT_EQ(dlg.GetDlgItemText(IDC_FILE_VERSION), "3.0");
                 ClickItem(dlg, "LegalTrademarks");
                 EXPECT_EQ(Value(dlg), "");
                 EXPECT_TRUE(ValueEnabled(dlg)) << "an empty text is not a missing one";
                 ClickItem(dlg, "Language");
                 EXPECT_EQ(Value(dlg), "German (Germany)");
                 ClickItem(dlg, "Comments");
                 EXPECT_EQ(Value(dlg), "[none]");
             });
}

TEST(AboutDlg, InferredInformationOrNoTranslationIsNotShown)
{
    versionblock::VersionValues inferred = SampleValues();
    inferred.dwFileFlags = VS_FF_INFOINFERRED | VS_FF_DEBUG;
    CTempFile file("inferred");
    file.Write(MakeProgram(inferred));
    CAboutDlg dlg(file.Path().c_str());
    RunModal(dlg,
             [&]
             {
                 EXPECT_EQ(dlg.m_bVersionLoaded, 0);
                 EXPECT_EQ(dlg.GetDlgItemText(IDC_FILE_VERSION), "");
                 EXPECT_EQ(dlg.GetDlgItemText(IDC_DEBUG), "");
                 EXPECT_EQ(ItemNames(dlg), kEightNames);
             });

    // The same block with its translation renamed away.
    std::vector<std::uint8_t> abBlock = versionblock::BuildVersionBlock(SampleValues());
    const std::string strKey = "Translation";
    bool bRenamed = false;
    for (std::size_t n = 0; !bRenamed && n + 2 * strKey.size() <= abBlock.size(); n += 2)
    {
        bool bMatch = true;
        for (std::size_t k = 0; k < strKey.size() && bMatch; ++k)
            bMatch = abBlock[n + 2 * k] == strKey[k] && abBlock[n + 2 * k + 1] == 0;
        if (bMatch)
        {
            abBlock[n] = 'X';
            bRenamed = true;
        }
    }
    ASSERT_TRUE(bRenamed);
    CTempFile untranslated("untranslated");
    untranslated.Write(elfimage::MakeElf(abBlock).abBytes);
    CAboutDlg dlg2(untranslated.Path().c_str());
    RunModal(dlg2, [&] { EXPECT_EQ(dlg2.m_bVersionLoaded, 0); });
}

TEST(AboutDlg, TitleAndPathAreNeverCut)
{
    EXPECT_EQ(CAboutDlg("tool.exe").m_szTitle, "About tool.exe");
    EXPECT_EQ(CAboutDlg("/opt/tools/").m_szTitle, "About ");
    EXPECT_EQ(CAboutDlg("/opt/tool.exe", "").m_szTitle, "About ");
    const std::string strFolder = "/" + std::string(200, 'd');
    const std::string strName = std::string(120, 'n') + ".exe";
    CAboutDlg dlg((strFolder + "/" + strName).c_str());
    EXPECT_EQ(dlg.m_szModulePath, strFolder + "/" + strName);
    EXPECT_EQ(dlg.m_szTitle, "About " + strName);
    EXPECT_EQ(CAboutDlg().m_szModulePath, GetOwnExecutablePath());
    EXPECT_EQ(GetOwnExecutablePath().substr(GetOwnExecutablePath().rfind('/') + 1),
              "velkor_ui_about_tests");
}

TEST(AboutDlg, EnterEscapeAndTheCloseBoxEndIt)
{
    for (int nKey : {int{Qt::Key_Return}, int{Qt::Key_Escape}, 0})
    {
        CAboutDlg dlg;
        QTimer::singleShot(0, &dlg,
                           [&]
                           {
                               if (nKey != 0)
                                   QTest::keyClick(&dlg, static_cast<Qt::Key>(nKey));
                               else
                                   dlg.close();
                           });
        const INT_PTR nResult = dlg.DoModal();
        EXPECT_EQ(nResult, nKey == Qt::Key_Return ? IDOK : IDCANCEL) << nKey;
    }
}

TEST(AboutDlg, HelpAboutRunsItModallyOverTheMainWindow)
{
    g_bAnswersModified = 0;
    CMainDlg main;
    CWinApp app;
    ASSERT_TRUE(main.Create());
    main.show();
    std::string strTitle;
    bool bModal = false;
    QTimer::singleShot(0, &main,
                       [&]
                       {
                           auto* pAbout =
                               dynamic_cast<CAboutDlg*>(QApplication::activeModalWidget());
                           ASSERT_NE(pAbout, nullptr);
                           strTitle = pAbout->GetWindowText();
                           bModal = pAbout->isModal();
                           QTest::mouseClick(pAbout->GetDlgItem(IDOK)->m_hWnd, Qt::LeftButton);
                       });
    QAction* pAction = AfxGetMenuAction(main, IDM_HELP_ABOUT);
    ASSERT_NE(pAction, nullptr);
    EXPECT_EQ(pAction->text().toStdString(), "&About Velkor");
    pAction->trigger();
    EXPECT_EQ(strTitle, "About velkor_ui_about_tests");
    EXPECT_TRUE(bModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "OK ended it";
    EXPECT_EQ(g_bAnswersModified, 0) << "nothing in it changes the project";
}

} // namespace
