// The HTML report as a browser shows it: Debian's headless Chromium renders
// a written report; the values must show and no placeholder code remain.
// A screenshot goes to <build>/screenshots/html-report.png.
#include "FileTestSupport.h"

#include "report/HtmlReport.h"
#include "model/Format.h"

#include <cstdlib>
#include <filesystem>

namespace
{
std::string FindChromium()
{
    const char* pszPath = std::getenv("PATH");
    std::string strPath = pszPath != nullptr ? pszPath : "/usr/bin";
    for (std::size_t nStart = 0; nStart <= strPath.size();)
    {
        auto nEnd = strPath.find(':', nStart);
        if (nEnd == std::string::npos)
            nEnd = strPath.size();
        for (const char* pszName : {"chromium", "chromium-browser"})
        {
            const std::string strCandidate = strPath.substr(nStart, nEnd - nStart) + "/" + pszName;
            if (access(strCandidate.c_str(), X_OK) == 0)
                return strCandidate;
        }
        nStart = nEnd + 1;
    }
    return {};
}

// Runs headless Chromium on the file with extra arguments; its standard
// output goes to strOutput. Returns the exit status.
int RunChromium(const std::string& strChromium, const CScratchDir& dir, const std::string& strArgs,
                const std::string& strFile, const std::string& strOutput)
{
    const std::string strCommand =
        "timeout 100 '" + strChromium +
        "' --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking"
        " --disable-component-update --disable-sync --user-data-dir='" +
        dir / "profile" + "' " + strArgs + " 'file://" + strFile + "' > '" + strOutput + "' 2> '" +
        dir / "chromium.log" + "'";
    return std::system(strCommand.c_str());
}
} // namespace

TEST(HtmlRender, ChromiumShowsTheValuesAndNoPlaceholders)
{
    const std::string strChromium = FindChromium();
    if (strChromium.empty())
        GTEST_SKIP()
            << "chromium is not installed; the rendering of the HTML report is not checked";

    CScratchDir dir;
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(i == 8 ? 6 : 4);
    model.SetTechnicalWeight(0.5);
    model.SetCostWeight(0.3);
    model.SetScheduleWeight(0.2);
    const std::string strReport = dir / "report.htm";
    WriteHtmlReport(MakeSnapshot(model, "R&D <b>Pr\xC3\xBC"
                                        "fung</b>"),
                    strReport);

    const std::string strDom = dir / "dom.html";
    ASSERT_EQ(RunChromium(strChromium, dir, "--dump-dom", strReport, strDom), 0)
        << ReadBytes(dir / "chromium.log");
    const std::string strText = ReadBytes(strDom);
    // The title shows as text: no element made from it, the umlaut decoded.
    EXPECT_NE(strText.find("<h2>Project R&amp;D &lt;b&gt;Pr\xC3\xBC"
                           "fung&lt;/b&gt;</h2>"),
              std::string::npos)
        << strText;
    EXPECT_EQ(strText.find("<b>"), std::string::npos);
    // No code of a placeholder is left anywhere in the page.
    for (const char* pszCode : {"&lt;P", "&lt;D", "&lt;FILENAME"})
        EXPECT_EQ(strText.find(pszCode), std::string::npos) << pszCode;
    model.ComputeAll();
    for (const int k : {0, 1, 2, 3, 4, 5, 13, 14, 19, 20, 25, 26, 27})
    {
        const std::string strValue = FormatFixed(model.GetMetricValue(k) * 100.0, 1) + "%";
        EXPECT_NE(strText.find(strValue), std::string::npos) << "metric " << k << ": " << strValue;
    }
    for (const char* pszWeight : {"50.0%", "30.0%", "20.0%", "101.8%", "Weighting", "By Activity"})
        EXPECT_NE(strText.find(pszWeight), std::string::npos) << pszWeight;

    // A picture of the page, to look at.
    const std::string strShots = std::string(VELKOR_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strShots);
    const std::string strPng = strShots + "/html-report.png";
    std::error_code ec;
    std::filesystem::remove(strPng, ec);
    ASSERT_EQ(RunChromium(strChromium, dir,
                          "--hide-scrollbars --window-size=800,900 --screenshot='" + strPng + "'",
                          strReport, dir / "screenshot.log"),
              0)
        << ReadBytes(dir / "chromium.log");
    EXPECT_TRUE(ReadBytes(strPng).starts_with("\x89PNG"));
}
