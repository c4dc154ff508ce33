// The text report and the HTML report: bytes, rounding, padding, the
// template and the title.
#include "FileTestSupport.h"

#include "report/HtmlReport.h"
#include "report/TextReport.h"
#include "model/Format.h"
#include "res/ReportTemplate.h"

namespace
{
std::size_t Count(std::string_view strText, std::string_view strPart)
{
    std::size_t nCount = 0;
    for (auto nPos = strText.find(strPart); nPos != std::string_view::npos;
         nPos = strText.find(strPart, nPos + 1))
        ++nCount;
    return nCount;
}

std::string Filled(const std::string& strTemplate, const CRiskModel& model,
                   const std::string& strTitle = "")
{
    std::string strText = strTemplate;
    FillReportTemplate(strText, MakeSnapshot(model, strTitle));
    return strText;
}
} // namespace

TEST(TextReport, NewProjectByteForByte)
{
    CScratchDir dir;
    CRiskModel model;
    model.ClearModified(); // the answers flag is program-wide
    WriteTextReport(MakeSnapshot(model), dir / "r.txt");
    EXPECT_EQ(ReadBytes(dir / "r.txt"), "Total Project Probability = 0.3%\r\n"
                                        "Summary - Technical Prob = 0.1%\r\n"
                                        "Summary - Cost Prob = 0.4%\r\n"
                                        "Summary - Schedule Prob = 0.4%\r\n"
                                        "Organization prob = 0.0%\r\n"
                                        "Estimation Prob = 2.9%\r\n"
                                        "Monitoring Prob = 0.0%\r\n"
                                        "Development Prob = 0.0%\r\n"
                                        "Tools Prob = 0.0%\r\n"
                                        "Company Culture Prob = 0.0%\r\n"
                                        "Usability Prob = 0.0%\r\n"
                                        "Correctness Prob = 0.0%\r\n"
                                        "Reliability Prob = 0.0%\r\n"
                                        "Personnel Prob = 0.0%\r\n"
                                        "Phase - Pre-requirements Prob = 0.5%\r\n"
                                        "Phase - Requirements Prob = 0.0%\r\n"
                                        "Phase - Design Prob = 0.0%\r\n"
                                        "Phase - Coding Prob = 0.0%\r\n"
                                        "Phase - Testing Prob = 0.0%\r\n"
                                        "Phase - Delivery and Maintenance Prob = 0.0%\r\n"
                                        "Activity - Identification Prob = 0.2%\r\n"
                                        "Activity - Strategy and Planning Prob = 1.7%\r\n"
                                        "Activity - Assessment Prob = 0.0%\r\n"
                                        "Activity - Mitigation and Avoidance Prob = 0.0%\r\n"
                                        "Activity - Reporting Prob = 0.0%\r\n"
                                        "Activity - Prediction Prob = 0.2%\r\n"
                                        "Summary - Process Prob = 0.4%\r\n"
                                        "Summary - Product Prob = 0.1%\r\n");
    EXPECT_FALSE(model.IsModified());
}

TEST(TextReport, RoundsHalvesAwayFromZeroAndWritesLargeValuesUnpadded)
{
    CRiskModel model;
    model.GetQuestion(0)->SetSelected(2); // Some: the Organization average is 0.0625
    const std::string strHalf = MakeTextReport(MakeSnapshot(model));
    EXPECT_NE(strHalf.find("\r\nOrganization prob = 6.3%\r\n"), std::string::npos) << strHalf;

    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(i == 8 ? 6 : 4);
    model.ClearModified(); // a report that marked it would show below
    CScratchDir dir;
    WriteTextReport(MakeSnapshot(model), dir / "all.txt");
    EXPECT_FALSE(model.IsModified());
    const std::string strAll = ReadBytes(dir / "all.txt");
    EXPECT_NE(strAll.find("\r\nSummary - Product Prob = 101.8%\r\n"), std::string::npos) << strAll;
    EXPECT_NE(strAll.find("\r\nOrganization prob = 100.0%\r\n"), std::string::npos);
    // The report leaves the modified state as it found it, set or not.
    model.GetQuestion(0)->SetSelected(1);
    MakeTextReport(MakeSnapshot(model));
    EXPECT_TRUE(model.IsModified());
}

TEST(ReportTemplate, HoldsEveryPlaceholderOnceWithCrLfLineEnds)
{
    const std::string_view strTemplate = GetReportTemplate();
    ASSERT_FALSE(strTemplate.empty());
    for (const PlaceholderEntry& entry : g_aReportPlaceholders)
        EXPECT_EQ(Count(strTemplate, entry.pszPlaceholder), 1u) << entry.pszPlaceholder;
    for (const char* psz : {"&lt;DS__&gt;", "&lt;DC__&gt;", "&lt;DT__&gt;", "&lt;FILENAME&gt;"})
        EXPECT_EQ(Count(strTemplate, psz), 1u) << psz;
    EXPECT_EQ(Count(strTemplate, "&lt;"), 32u);

    EXPECT_EQ(Count(strTemplate, "\n"), Count(strTemplate, "\r\n"));
    EXPECT_EQ(Count(strTemplate, "\r"), Count(strTemplate, "\r\n"));
    EXPECT_TRUE(strTemplate.ends_with("</html>"));
    EXPECT_TRUE(strTemplate.starts_with("<html>"));

    for (const char* psz : {R"(content="en-us")", R"(content="text/html; charset=windows-1252")",
                            "<title>Velkor Project Report</title>",
                            "<h2>Project &lt;FILENAME&gt;</h2>", R"(width="539")", R"(width="615")",
                            R"(width="614")", "Total Project Probability of Success:", "Weighting",
                            "Delivery and Maintenance:&nbsp;", "Risk Reporting:&nbsp;"})
        EXPECT_EQ(Count(strTemplate, psz), 1u) << psz;
    EXPECT_EQ(Count(strTemplate, "<table "), 3u);
    EXPECT_EQ(Count(strTemplate, "<hr>"), 3u);
    // Highlighted: summary rows 1 and 2 (two cells each), category rows 3
    // and 5, phase rows 3, 5 and 7 (four cells each).
    EXPECT_EQ(Count(strTemplate, R"(bgcolor="#FFFF99")"), 24u);
    EXPECT_EQ(Count(strTemplate, "<td "), Count(strTemplate, R"(style="border-style: none")"));
}

TEST(HtmlReport, NewProjectWithoutTitle)
{
    CRiskModel model;
    const std::string strReport = MakeHtmlReport(MakeSnapshot(model, ""));
    // 31 numbers of six characters for twelve, and the title placeholder gone.
    EXPECT_EQ(strReport.size(), GetReportTemplate().size() - 202);
    EXPECT_EQ(Count(strReport, "<h2>Project </h2>"), 1u);
    EXPECT_EQ(Count(strReport, "&lt;"), 0u);
    EXPECT_EQ(Count(strReport, "<font size=\"4\">&nbsp;  0.3%</font>"), 1u); // total
    EXPECT_EQ(Count(strReport, "> 33.3%</td>"), 3u);                         // weights
    EXPECT_EQ(Count(strReport, "&nbsp;  2.9%"), 1u);                         // Estimation
    EXPECT_NE(strReport.find("Organization:&nbsp;</p></td>"), std::string::npos);
    EXPECT_EQ(Count(strReport, "&nbsp;  0.0%"), 17u); // 9 categories, 5 phases, 3 activities

    CScratchDir dir;
    WriteHtmlReport(MakeSnapshot(model, ""), dir / "r.htm");
    EXPECT_EQ(ReadBytes(dir / "r.htm"), strReport);
}

TEST(HtmlReport, NumbersArePaddedToSixCharacters)
{
    const std::pair<double, const char*> cases[] = {
        {0.5, " 50.0%"},   {1.0, "100.0%"},   {0.003, "  0.3%"},  {0.333, " 33.3%"},
        {1.018, "101.8%"}, {-0.05, " -5.0%"}, {0.0625, "  6.3%"}, {12.345, "1234.5%"},
    };
    for (const auto& [dValue, pszText] : cases)
    {
        CRiskModel model;
        model.SetScheduleWeight(dValue);
        model.SetCostWeight(0.0);
        model.SetTechnicalWeight(1.0);
        EXPECT_EQ(Filled("[&lt;DS__&gt;|&lt;DC__&gt;|&lt;DT__&gt;]", model),
                  std::string("[") + pszText + "|  0.0%|100.0%]");
    }
}

TEST(HtmlReport, FillsMetricsInTableOrderAndOnlyFirstOccurrences)
{
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(i == 8 ? 6 : 4);
    model.ComputeAll();
    std::string strText;
    for (const PlaceholderEntry& entry : g_aReportPlaceholders)
        strText += std::string(entry.pszPlaceholder) + "|";
    std::string strExpected;
    for (int k = 0; k < METRIC_COUNT; ++k)
        strExpected += FormatNumbers("%5.1f%%", {model.GetMetricValue(k) * 100.0}) + "|";
    EXPECT_EQ(Filled(strText, model), strExpected);
    EXPECT_NE(strExpected.find("101.8%|"), std::string::npos); // product, last

    EXPECT_EQ(Filled("&lt;PA4_&gt;&lt;PA4_&gt;&lt;FILENAME&gt;&lt;FILENAME&gt;", model, "t"),
              "100.0%&lt;PA4_&gt;t&lt;FILENAME&gt;");
    EXPECT_EQ(Filled("no placeholders", model, "t"), "no placeholders");
}

TEST(HtmlReport, TitleIsInsertedAsText)
{
    CRiskModel model;
    const std::pair<const char*, const char*> cases[] = {
        {"plan", "plan"},
        {"<script>alert(\"x\")</script>", "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;"},
        {"R&D's plan", "R&amp;D&#39;s plan"},
        {"&lt;PA__&gt;", "&amp;lt;PA__&amp;gt;"}, // never taken for a placeholder
        {"Pr\xC3\xBC"
         "fung \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80",
         "Pr&#252;fung &#26085;&#26412; &#128512;"},
        {"caf\xC3\xA9"
         "\xE2\x82\xAC",
         "caf&#233;&#8364;"},
        // Not UTF-8: a stray byte, a cut sequence, an overlong form, a surrogate.
        {"a\xFF"
         "b",
         "a&#65533;b"},
        {"a\xE2\x82"
         "b",
         "a&#65533;b"},
        {"a\xC0\xAF"
         "b",
         "a&#65533;&#65533;b"},
        {"a\xED\xA0\x80"
         "b",
         "a&#65533;&#65533;&#65533;b"},
        {"end\xF0\x9F", "end&#65533;"},
    };
    for (const auto& [pszTitle, pszExpected] : cases)
        EXPECT_EQ(Filled("<h2>Project &lt;FILENAME&gt;</h2>", model, pszTitle),
                  std::string("<h2>Project ") + pszExpected + "</h2>")
            << pszTitle;
}

TEST(HtmlReport, LeavesTheProjectAlone)
{
    CScratchDir dir;
    CRiskModel model;
    MakeDistinctive(model);
    model.ClearModified(); // unmodified, so a report that marks it shows
    const std::string strBefore = Snapshot(model);
    WriteHtmlReport(MakeSnapshot(model, "plan"), dir / "r.HTM");
    EXPECT_EQ(Snapshot(model), strBefore);
    MakeHtmlReport(MakeSnapshot(model, "plan"));
    EXPECT_EQ(Snapshot(model), strBefore);
    EXPECT_EQ(Count(ReadBytes(dir / "r.HTM"), "<h2>Project plan</h2>"), 1u);
}
