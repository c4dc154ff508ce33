// velkor-report: the reports it writes, and its exit codes.
#include "FileTestSupport.h"
#include "RunReport.h"

#include "files/Path.h"
#include "model/Format.h"
#include "report/Formats.h"
#include "report/HtmlReport.h"
#include "report/PdfReport.h"
#include "report/TextReport.h"

#include <cstdlib>
#include <optional>

#include <chrono>
#include <csignal>
#include <random>

#include <fcntl.h>

namespace
{
class VelkorReport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            m_model.GetQuestion(i)->SetSelected((i * 3) % 5);
        m_model.SetTechnicalWeight(0.45);
        m_model.SetCostWeight(0.35);
        m_model.SetScheduleWeight(0.2);
        m_strProject = m_dir / "plan.final.vlk";
        SaveProject(m_model, m_strProject);
    }

    CScratchDir m_dir;
    CRiskModel m_model;
    std::string m_strProject;
};
} // namespace

TEST_F(VelkorReport, WritesWhatSaveAsWritesAfterOpening)
{
    // What the program writes after opening plan.final.vlk.
    CRiskModel opened;
    LoadProject(opened, m_strProject);
    WriteTextReport(MakeSnapshot(opened), m_dir / "expected.txt");
    WriteHtmlReport(MakeSnapshot(opened, GetFileTitle(m_strProject)), m_dir / "expected.htm");

    for (const char* pszName : {"out.txt", "OUT.TXT", "out.Txt"})
    {
        const RunResult result = RunReport(m_dir, {m_strProject, m_dir / pszName});
        EXPECT_EQ(result.nExit, 0) << result.strErr;
        EXPECT_EQ(ReadBytes(m_dir / pszName), ReadBytes(m_dir / "expected.txt")) << pszName;
        EXPECT_EQ(result.strOut + result.strErr, "");
    }
    for (const char* pszName : {"out.htm", "OUT.HTM"})
    {
        const RunResult result = RunReport(m_dir, {m_strProject, m_dir / pszName});
        EXPECT_EQ(result.nExit, 0) << result.strErr;
        EXPECT_EQ(ReadBytes(m_dir / pszName), ReadBytes(m_dir / "expected.htm")) << pszName;
    }
    EXPECT_NE(ReadBytes(m_dir / "out.htm").find("<h2>Project plan.final</h2>"), std::string::npos);

    const RunResult stdoutResult = RunReport(m_dir, {m_strProject, "-"});
    EXPECT_EQ(stdoutResult.nExit, 0);
    EXPECT_EQ(stdoutResult.strOut, ReadBytes(m_dir / "expected.txt"));
    EXPECT_EQ(stdoutResult.strErr, "");
}

TEST_F(VelkorReport, FileErrorsPrintTheMessageAndExit1)
{
    const RunResult missing = RunReport(m_dir, {m_dir / "none.vlk", m_dir / "out.txt"});
    EXPECT_EQ(missing.nExit, 1);
    EXPECT_EQ(missing.strErr, "velkor-report: " + m_dir / "none.vlk" + " was not found.\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.txt"));

    WriteBytes(m_dir / "short.vlk", std::string(100, '\0'));
    const RunResult damaged = RunReport(m_dir, {m_dir / "short.vlk", "-"});
    EXPECT_EQ(damaged.nExit, 1);
    EXPECT_EQ(damaged.strOut, "");
    EXPECT_EQ(damaged.strErr, "velkor-report: An attempt was made to access " +
                                  m_dir / "short.vlk" + " past its end.\n");

    const RunResult badPath = RunReport(m_dir, {m_strProject, m_dir / "no/out.htm"});
    EXPECT_EQ(badPath.nExit, 1);
    EXPECT_EQ(badPath.strErr,
              "velkor-report: " + m_dir / "no/out.htm" + " contains an invalid path.\n");
}

TEST_F(VelkorReport, BadUsageExits2AndHelpAndVersionExit0)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {m_strProject},
                                                 {m_strProject, m_dir / "a.txt", "extra"},
                                                 {m_strProject, m_dir / "page.html"},
                                                 {m_strProject, m_dir / "notes"},
                                                 {m_strProject, m_dir / "plan.vlk"},
                                                 {"--frobnicate", m_strProject, m_dir / "a.txt"}})
    {
        const RunResult result = RunReport(m_dir, args);
        EXPECT_EQ(result.nExit, 2) << args.size();
        EXPECT_NE(result.strErr.find("Usage: velkor-report PROJECT.vlk OUTPUT"), std::string::npos);
        EXPECT_EQ(result.strOut, "");
    }
    // Nothing was written by any of them.
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"plan.final.vlk"});

    const RunResult help = RunReport(m_dir, {"--help"});
    EXPECT_EQ(help.nExit, 0);
    EXPECT_NE(help.strOut.find("Usage: velkor-report PROJECT.vlk OUTPUT"), std::string::npos);
    EXPECT_NE(help.strOut.find("velkor-analysis.html (Velkor Analysis)"), std::string::npos);
    const RunResult version = RunReport(m_dir, {"--version"});
    EXPECT_EQ(version.nExit, 0);
    EXPECT_EQ(version.strOut, "velkor-report 1.0.0.1\n");
}

TEST_F(VelkorReport, HostileOutputsAndProjects)
{
    CRiskModel opened;
    LoadProject(opened, m_strProject);
    const std::string strHtml = MakeHtmlReport(MakeSnapshot(opened, "plan.final"));
    const std::string strProjectBytes = ReadBytes(m_strProject);
    ASSERT_EQ(symlink("/dev/stdout", (m_dir / "out.htm").c_str()), 0);
    ASSERT_EQ(symlink(m_strProject.c_str(), (m_dir / "link.htm").c_str()), 0);
    ASSERT_EQ(link(m_strProject.c_str(), (m_dir / "hard.txt").c_str()), 0);
    ASSERT_EQ(mkfifo((m_dir / "pipe.vlk").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo((m_dir / "pipe.txt").c_str(), 0644), 0);

    struct Case
    {
        std::vector<std::string> args;
        int nExit;
        std::string strOut; // after "log\n", which standard output held before
        std::string strErr; // the start of standard error
    };
    const std::string strSelf = "velkor-report: ";
    const Case cases[] = {
        {{m_strProject, m_dir / "out.htm"}, 0, strHtml, ""}, // appended, not truncated
        {{m_strProject, m_dir / "link.htm"}, 2, "", strSelf + m_dir / "link.htm"},
        {{m_strProject, m_dir / "hard.txt"}, 2, "", strSelf + m_dir / "hard.txt"},
        {{m_dir / "pipe.vlk", "-"},
         1,
         "",
         strSelf + m_dir / "pipe.vlk" + " is a pipe, not a project file.\n"},
        {{m_strProject, m_dir / "pipe.txt"}, 1, "", strSelf + "Access to " + m_dir / "pipe.txt"},
    };
    alarm(60); // a run that waits for a pipe's peer ends the test instead
    for (const Case& c : cases)
    {
        WriteBytes(m_dir / ".stdout", "log\n");
        const RunResult result = RunReport(m_dir, c.args, true);
        EXPECT_EQ(result.nExit, c.nExit) << c.args[1];
        EXPECT_EQ(result.strOut, "log\n" + c.strOut) << c.args[1];
        EXPECT_TRUE(result.strErr.starts_with(c.strErr)) << result.strErr;
        EXPECT_EQ(ReadBytes(m_strProject), strProjectBytes);
    }
    alarm(0);
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "out.htm"));
}

TEST_F(VelkorReport, KilledAtAnyMomentLeavesTheOldOrNewFileAndNothingElse)
{
    CRiskModel opened;
    LoadProject(opened, m_strProject);
    const std::string strNew = MakeHtmlReport(MakeSnapshot(opened, "plan.final"));
    const std::string strOut = m_dir / "out.htm";
    WriteBytes(strOut, "old");
    std::mt19937 random(std::random_device{}());
    int nReplaced = 0;
    int nLeftovers = 0;
    for (int i = 0; i < 100; ++i)
    {
        const pid_t pid = fork();
        if (pid == 0)
        {
            const int nNull = open("/dev/null", O_WRONLY);
            dup2(nNull, STDOUT_FILENO);
            dup2(nNull, STDERR_FILENO);
            execl(VELKOR_REPORT_EXE, VELKOR_REPORT_EXE, m_strProject.c_str(), strOut.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        usleep(random() % 4000); // start-up and report take about 3 ms
        const int nSignal = (i % 3 == 0) ? SIGKILL : (i % 3 == 1) ? SIGTERM : SIGINT;
        kill(pid, nSignal);
        waitpid(pid, nullptr, 0);
        const std::string strBytes = ReadBytes(strOut);
        ASSERT_TRUE(strBytes == "old" || strBytes == strNew) << i << ": " << strBytes.size();
        // Only SIGKILL between link and rename, a few microseconds, can
        // leave a name, and only this one, which the next save removes.
        auto names = m_dir.Names();
        if (nSignal == SIGKILL &&
            std::erase(names, ".out.htm." + std::to_string(pid) + ".velkor-tmp") == 1)
            ++nLeftovers;
        ASSERT_EQ(names, (std::vector<std::string>{"out.htm", "plan.final.vlk"})) << i;
        if (strBytes == strNew)
        {
            ++nReplaced;
            WriteBytes(strOut, "old");
        }
    }
    WriteBytes(m_dir / ".out.htm.1.velkor-tmp", "left by a kill");
    WriteBytes(m_dir / ".out.htm.999999999.velkor-tmp", "left by a kill");
    EXPECT_EQ(RunReport(m_dir, {m_strProject, strOut}).nExit, 0);
    EXPECT_EQ(m_dir.Names(), (std::vector<std::string>{"out.htm", "plan.final.vlk"}));
    EXPECT_EQ(ReadBytes(strOut), strNew);
    EXPECT_LE(nLeftovers, 5);
    std::cout << nReplaced << " of 100 runs finished before the kill, " << nLeftovers
              << " left a name\n";
}

TEST_F(VelkorReport, KilledRewritesInPlaceLeaveTheOldContentInTheRecoveryCopy)
{
    // A hard link makes the export a rewrite in place; the old file is
    // longer than the new one, so a kill between write and truncate tears it.
    CRiskModel opened;
    LoadProject(opened, m_strProject);
    const std::string strOut = m_dir / "out.json";
    const std::string strCopy = m_dir / ".out.json.velkor-backup";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(RunReport(m_dir, {m_strProject, strOut}).nExit, 0);
    // Kills fall anywhere in a run, however fast this build is.
    const auto nRunMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
    const std::string strNew = ReadBytes(strOut);
    const std::string strOld(strNew.size() * 2, 'o');
    WriteBytes(strOut, strOld);
    ASSERT_EQ(link(strOut.c_str(), (m_dir / "linked.json").c_str()), 0);
    std::mt19937 random(std::random_device{}());
    int nTorn = 0;
    int nCopies = 0;
    int nReplaced = 0;
    for (int i = 0; i < 60; ++i)
    {
        const pid_t pid = fork();
        if (pid == 0)
        {
            const int nNull = open("/dev/null", O_WRONLY);
            dup2(nNull, STDOUT_FILENO);
            dup2(nNull, STDERR_FILENO);
            execl(VELKOR_REPORT_EXE, VELKOR_REPORT_EXE, m_strProject.c_str(), strOut.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        usleep(static_cast<useconds_t>(random() % (nRunMicros + nRunMicros / 4 + 1)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const std::string strBytes = ReadBytes(strOut);
        const bool bCopy = std::filesystem::exists(strCopy);
        if (strBytes != strOld && strBytes != strNew)
        {
            ++nTorn;
            ASSERT_TRUE(bCopy && ReadBytes(strCopy) == strOld) << i << ": torn without its copy";
        }
        nCopies += bCopy;
        nReplaced += strBytes == strNew && !bCopy;
        // Reset: the old content in place, and no copy, as a completed save leaves it.
        std::filesystem::remove(strCopy);
        std::ofstream(strOut, std::ios::binary | std::ios::in | std::ios::out) << strOld;
        ASSERT_EQ(ReadBytes(strOut), strOld);
        ASSERT_EQ(ReadBytes(m_dir / "linked.json"), strOld);
    }
    std::cout << nTorn << " of 60 kills tore the file, " << nCopies << " left the copy, "
              << nReplaced << " came after the save\n";
    EXPECT_EQ(RunReport(m_dir, {m_strProject, strOut}).nExit, 0);
    EXPECT_EQ(ReadBytes(m_dir / "linked.json"), strNew);
    EXPECT_EQ(m_dir.Names(),
              (std::vector<std::string>{"linked.json", "out.json", "plan.final.vlk"}));
}

namespace
{
// Standard output of a shell command, or nothing when it failed.
std::optional<std::string> Shell(const CScratchDir& dir, const std::string& strCommand)
{
    const std::string strOut = dir / ".shell";
    if (std::system((strCommand + " > '" + strOut + "' 2>/dev/null").c_str()) != 0)
        return std::nullopt;
    return ReadBytes(strOut);
}

bool HaveProgram(const char* pszName)
{
    return std::system(("command -v " + std::string(pszName) + " >/dev/null 2>&1").c_str()) == 0;
}
} // namespace

TEST_F(VelkorReport, PdfIsOneA4PageWithEveryValueInEmbeddedFonts)
{
    if (!HaveProgram("pdftotext") || !HaveProgram("pdffonts"))
        GTEST_SKIP() << "poppler-utils is not installed; the PDF is not checked";
    const std::string strPdf = m_dir / "report.PDF";
    const RunResult result = RunReport(m_dir, {m_strProject, strPdf});
    ASSERT_EQ(result.nExit, 0) << result.strErr;
    EXPECT_EQ(result.strOut + result.strErr, "");

    const auto text = Shell(m_dir, "pdftotext -layout '" + strPdf + "' -");
    ASSERT_TRUE(text);
    m_model.ComputeAll();
    EXPECT_NE(text->find("Project plan.final"), std::string::npos);
    // The label's line holds the value (and the weight, on a weighted line).
    const auto Expect = [&](const std::string& strLabel, double dValue, const char* pszWeight = "",
                            double dWeight = -1)
    {
        const auto nLabel = text->find(strLabel);
        ASSERT_NE(nLabel, std::string::npos) << strLabel;
        const std::string strLine = text->substr(nLabel, text->find('\n', nLabel) - nLabel);
        std::string strExpected = FormatNumbers("%.1f%%", {dValue * 100.0});
        if (dWeight >= 0)
            strExpected += std::string(" ") + pszWeight +
                           " Weighting: " + FormatNumbers("%.1f%%", {dWeight * 100.0});
        std::string strSqueezed; // the line with runs of blanks as one
        for (const char c : strLine)
            if (c != ' ' || strSqueezed.empty() || strSqueezed.back() != ' ')
                strSqueezed += c;
        EXPECT_NE(strSqueezed.find(strExpected), std::string::npos) << strLine;
    };
    Expect("Total Project Probability of Success:", m_model.GetMetricValue(METRIC_TOTAL));
    Expect("Technical Success Probability:", m_model.GetMetricValue(METRIC_TECHNICAL), "Technical",
           0.45);
    Expect("Schedule Success Probability:", m_model.GetMetricValue(METRIC_SCHEDULE), "Schedule",
           0.2);
    Expect("Cost Success Probability:", m_model.GetMetricValue(METRIC_COST), "Cost", 0.35);
    Expect("Process Probability:", m_model.GetMetricValue(METRIC_PROCESS));
    Expect("Product Probability:", m_model.GetMetricValue(METRIC_PRODUCT));
    Expect("Organization:", m_model.GetMetricValue(METRIC_CATEGORY_FIRST));
    Expect("Personnel:", m_model.GetMetricValue(METRIC_CATEGORY_FIRST + 9));
    Expect("Pre-requirements:", m_model.GetMetricValue(METRIC_PHASE_FIRST));
    Expect("Delivery and Maintenance:", m_model.GetMetricValue(METRIC_PHASE_FIRST + 5));
    Expect("Assessment:", m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 2));
    Expect("Prediction:", m_model.GetMetricValue(METRIC_ACTIVITY_FIRST + 5));

    const auto info = Shell(m_dir, "pdfinfo '" + strPdf + "'");
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("Pages:           1\n"), std::string::npos);
    EXPECT_NE(info->find("Page size:       595 x 842 pts (A4)"), std::string::npos);
    const auto fonts =
        Shell(m_dir, "pdffonts '" + strPdf + "' | tail -n +3 | awk '{print $(NF-4)}'");
    ASSERT_TRUE(fonts);
    EXPECT_NE(*fonts, "");
    EXPECT_EQ(fonts->find("no"), std::string::npos) << *fonts;
    // The dates a reader needs: when the page was made and the project saved.
    EXPECT_NE(text->find("Made "), std::string::npos);
    EXPECT_NE(text->find("project file of "), std::string::npos);
    // The chart's own title and total are not repeated as hidden text.
    EXPECT_EQ(text->find("Project plan.final"), text->rfind("Project plan.final"));
    EXPECT_EQ(text->find("Total Project Probability of Success:"),
              text->rfind("Total Project Probability of Success:"));
}

TEST_F(VelkorReport, PdfTitlesOfAnyLengthAndScriptStayOnThePage)
{
    if (!HaveProgram("pdftotext"))
        GTEST_SKIP() << "poppler-utils is not installed; the PDF is not checked";
    for (const std::string& strTitle :
         {std::string(200, 'W'), std::string("Caf\xC3\xA9 \xC3\x84rger & <Co> 'x'"),
          std::string("bad \xFF byte")})
    {
        const std::string strProject = m_dir / (strTitle + ".vlk");
        SaveProject(m_model, strProject);
        const RunResult result = RunReport(m_dir, {strProject, m_dir / "t.pdf"});
        ASSERT_EQ(result.nExit, 0) << result.strErr;
        const auto text = Shell(m_dir, "pdftotext -layout '" + m_dir / "t.pdf" + "' -");
        ASSERT_TRUE(text);
        if (strTitle[0] == 'C')
        {
            EXPECT_NE(text->find("Project " + strTitle), std::string::npos) << *text;
        }
        if (strTitle[0] == 'W')
        {
            // Wrapped between letters, every one of them on the page.
            const auto nCount =
                std::count(text->begin(), text->begin() + text->find("Summary"), 'W');
            EXPECT_EQ(nCount, 200) << *text;
        }
    }
}

TEST_F(VelkorReport, PdfWithoutItsFontSaysWhatToInstall)
{
    // A copy of the program with no font beside it and none on the system
    // path it knows: only a machine without fonts-liberation2 meets this, so
    // the message is checked through the function that builds the PDF.
    SPdfOptions options;
    options.fontFolders = {m_dir / "nowhere"};
    try
    {
        MakePdfReport(MakeSnapshot(m_model, "t"), options);
        ADD_FAILURE() << "no error";
    }
    catch (const CPdfError& e)
    {
        EXPECT_NE(std::string(e.what()).find("LiberationSans-Regular.ttf"), std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("fonts-liberation2"), std::string::npos) << e.what();
    }
}

TEST_F(VelkorReport, LinksNoQtAndListsTheTableOfFormatsInItsHelpAndManual)
{
    const auto libraries = Shell(m_dir, std::string("ldd ") + VELKOR_REPORT_EXE);
    ASSERT_TRUE(libraries);
    EXPECT_EQ(libraries->find("libQt"), std::string::npos) << *libraries;

    const RunResult help = RunReport(m_dir, {"--help"});
    EXPECT_NE(help.strOut.find(ReportFormatsHelp()), std::string::npos) << help.strOut;
    const std::string strManual =
        ReadBytes(std::string(VELKOR_SOURCE_DIR) + "/docs/man/velkor-report.1");
    for (const SOutputFormat& format : OutputFormats())
    {
        // The manual's list: ".TP\n.B .txt\n<the help line>".
        const std::string strEntry =
            std::string(".B .") + format.pszExtension + "\n" + format.pszReportHelp;
        EXPECT_NE(strManual.find(strEntry), std::string::npos) << strEntry;
    }
    for (const char* pszCommand : {"compare", "improve", "portfolio", "trend", "import"})
    {
        EXPECT_NE(strManual.find(std::string(".SS ") + pszCommand), std::string::npos)
            << pszCommand;
        const RunResult usage = RunReport(m_dir, {pszCommand});
        EXPECT_EQ(usage.nExit, 2);
        EXPECT_NE(usage.strErr.find(std::string("Usage: velkor-report ") + pszCommand),
                  std::string::npos)
            << usage.strErr;
    }
    const RunResult improveHelp = RunReport(m_dir, {"improve", "--help"});
    EXPECT_NE(improveHelp.strOut.find("--top N "), std::string::npos) << improveHelp.strOut;
    EXPECT_EQ(improveHelp.strOut.find("N:N"), std::string::npos) << improveHelp.strOut;
}

TEST_F(VelkorReport, ChartIsWellFormedXml)
{
    if (!HaveProgram("xmllint"))
        GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils)";
    const std::string strSvg = m_dir / "chart.svg";
    ASSERT_EQ(RunReport(m_dir, {m_strProject, strSvg}).nExit, 0);
    EXPECT_TRUE(Shell(m_dir, "xmllint --noout '" + strSvg + "'"));
}

TEST_F(VelkorReport, ChartRendersInAHeadlessBrowser)
{
    if (!HaveProgram("chromium"))
        GTEST_SKIP() << "chromium is not installed; the chart's rendering is not checked";
    const std::string strSvg = m_dir / "chart.svg";
    ASSERT_EQ(RunReport(m_dir, {m_strProject, strSvg}).nExit, 0);
    const std::string strShots = std::string(VELKOR_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strShots);
    const std::string strPng = strShots + "/chart.png";
    std::filesystem::remove(strPng);
    EXPECT_TRUE(
        Shell(m_dir, "timeout 100 chromium --headless --no-sandbox --disable-gpu --no-first-run "
                     "--hide-scrollbars --user-data-dir='" +
                         m_dir / "profile" + "' --window-size=940,510 --screenshot='" + strPng +
                         "' 'file://" + strSvg + "'"));
    EXPECT_GT(std::filesystem::exists(strPng) ? std::filesystem::file_size(strPng) : 0, 20000u);
}

TEST_F(VelkorReport, ImportGivesBackTheProjectFileAndRefusesBrokenDocuments)
{
    const std::string strJson = m_dir / "plan.json";
    ASSERT_EQ(RunReport(m_dir, {m_strProject, strJson}).nExit, 0);
    const RunResult imported = RunReport(m_dir, {"import", strJson, m_dir / "back.vlk"});
    EXPECT_EQ(imported.nExit, 0) << imported.strErr;
    EXPECT_EQ(ReadBytes(m_dir / "back.vlk"), ReadBytes(m_strProject));

    WriteBytes(m_dir / "broken.json", ReadBytes(strJson).substr(0, 200));
    const struct
    {
        std::vector<std::string> args;
        int nExit;
        std::string strMessage;
    } aCases[] = {
        {{"import", m_dir / "broken.json", m_dir / "new.vlk"},
         1,
         "velkor-report: " + m_dir / "broken.json" + ": not JSON: parse error"},
        {{"import", m_dir / "none.json", m_dir / "new.vlk"},
         1,
         "velkor-report: " + m_dir / "none.json" + " was not found."},
        {{"import", strJson, m_dir / "new.txt"}, 2, "velkor-report: import writes a project file"},
        {{"import", strJson}, 2, "velkor-report: OUTPUT is required"},
        {{"./import", m_dir / "new.txt"}, 1, "velkor-report: ./import was not found."},
        {{"compare", m_strProject}, 2, "velkor-report: NEW is required"},
        {{m_strProject, m_dir / "new.xyz"},
         2,
         "velkor-report: .xyz is not a supported output format"},
    };
    for (const auto& c : aCases)
    {
        const RunResult result = RunReport(m_dir, c.args);
        EXPECT_EQ(result.nExit, c.nExit) << c.strMessage;
        EXPECT_EQ(result.strErr.rfind(c.strMessage, 0), 0u) << result.strErr;
        EXPECT_EQ(result.strErr.find("--help") != std::string::npos, c.nExit == 2) << result.strErr;
    }
    EXPECT_EQ(m_dir.Names(),
              (std::vector<std::string>{"back.vlk", "broken.json", "plan.final.vlk", "plan.json"}));
}
