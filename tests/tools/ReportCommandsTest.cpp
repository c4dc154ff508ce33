// compare, improve and portfolio of velkor-report, as functions: their values
// against the model, the portfolio's order and its damaged files.
#include "FileTestSupport.h"
#include "RunReport.h"

#include "input/Numbers.h"
#include "report/Compare.h"
#include "report/Improve.h"
#include "report/Portfolio.h"

#include <nlohmann/json.hpp>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include <sys/file.h>

namespace
{
using Json = nlohmann::json;

// A project: each answer drawn from its scale, then the three weights.
struct SProject
{
    unsigned nSeed;
    double dTechnical, dCost, dSchedule;
};
const SProject s_aProjects[] = {
    {0, 0.333, 0.333, 0.333}, // seed 0: a new project, every answer 0
    {1, 0.45, 0.35, 0.2},
    {7, 2.5, -0.75, 1e-300},
    {11, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -0.0},
};

void Fill(CRiskModel& model, const SProject& project)
{
    std::mt19937 random(project.nSeed);
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        CQuestion* pQuestion = model.GetQuestion(i);
        pQuestion->SetSelected(project.nSeed == 0 ? 0 : random() % pQuestion->GetAnswerCount());
    }
    model.SetTechnicalWeight(project.dTechnical);
    model.SetCostWeight(project.dCost);
    model.SetScheduleWeight(project.dSchedule);
    model.ClearModified();
}

double Total(const CRiskModel& from, std::uint32_t nQuestion = QUESTION_COUNT,
             std::uint32_t nTo = 0)
{
    CRiskModel model;
    ApplyProjectBytes(model, MakeProjectBytes(from), "");
    if (nQuestion < QUESTION_COUNT)
        model.GetQuestion(nQuestion)->SetSelected(nTo);
    model.ComputeAll();
    return model.GetMetricValue(METRIC_TOTAL);
}

// A JSON value or CSV field as the double it stands for (numbers and the
// three words).
double Number(const Json& value)
{
    return ParseJsonNumber(value).value_or(12345.0);
}
double CsvNumber(const std::string& str)
{
    return ParseJsonNumber(Json(str)).value_or(std::strtod(str.c_str(), nullptr));
}

// A JSON document that starts with "format": pszFormat and "version": 1.
Json Document(const std::string& strText, const char* pszFormat)
{
    const auto ordered = nlohmann::ordered_json::parse(strText);
    EXPECT_EQ(ordered.begin().key(), "format");
    EXPECT_EQ(std::next(ordered.begin()).key(), "version");
    EXPECT_EQ(ordered["format"], pszFormat);
    EXPECT_EQ(ordered["version"], 1);
    return Json::parse(strText);
}

bool SameBits(double a, double b)
{
    return std::isnan(a) ? std::isnan(b)
                         : std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::vector<std::vector<std::string>> CsvRows(const std::string& strCsv)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(strCsv);
    for (std::string strLine; std::getline(lines, strLine);)
    {
        rows.emplace_back();
        std::istringstream cells(strLine);
        for (std::string strCell; std::getline(cells, strCell, ',');)
            rows.back().push_back(strCell);
    }
    return rows;
}

} // namespace

TEST(ReportImprove, RaisesEachAnswerToTheNextHigherValueAndSortsByGain)
{
    const double* adScales[] = {g_adFiveLevelValues, g_adEstimationMethodValues};
    for (const SProject& project : s_aProjects)
    {
        CRiskModel model;
        Fill(model, project);
        const std::string strBefore = MakeProjectBytes(model);

        // What improve must find, from the scale tables themselves.
        std::vector<SImprovement> expected;
        const double dBefore = Total(model);
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        {
            const CQuestion* pQuestion = model.GetQuestion(i);
            const double* adValues = adScales[i == 8];
            const std::uint32_t nFrom = pQuestion->GetSelected();
            std::uint32_t nTo = nFrom + 1;
            while (nTo < pQuestion->GetAnswerCount() && adValues[nTo] <= adValues[nFrom])
                ++nTo;
            if (nTo < pQuestion->GetAnswerCount() && Total(model, i, nTo) - dBefore > 0)
                expected.push_back(
                    {i, nFrom, nTo, Total(model, i, nTo) - dBefore, Total(model, i, nTo)});
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return a.dGain > b.dGain; });

        model.ClearModified(); // the reference above went through SetSelected
        const std::vector<SImprovement> all = FindImprovements(MakeSnapshot(model), 0);
        ASSERT_EQ(all.size(), expected.size()) << project.nSeed;
        for (std::size_t n = 0; n < all.size(); ++n)
        {
            EXPECT_EQ(all[n].nQuestion, expected[n].nQuestion) << n;
            EXPECT_EQ(all[n].nTo, expected[n].nTo) << n;
            EXPECT_TRUE(SameBits(all[n].dGain, expected[n].dGain)) << n;
            EXPECT_TRUE(SameBits(all[n].dTotal, expected[n].dTotal)) << n;
            if (n > 0 && all[n].dGain == all[n - 1].dGain)
            {
                EXPECT_GT(all[n].nQuestion, all[n - 1].nQuestion);
            }
        }
        EXPECT_FALSE(model.IsModified());
        EXPECT_EQ(FindImprovements(MakeSnapshot(model), 3).size(),
                  std::min<std::size_t>(3, expected.size()));
        EXPECT_EQ(MakeProjectBytes(model), strBefore);

        // The JSON document carries the same numbers.
        const Json doc = Document(MakeImproveOutput(MakeSnapshot(model), 10, EOutputFormat::json),
                                  "velkor-improve");
        EXPECT_TRUE(SameBits(Number(doc["total"]), dBefore));
        ASSERT_EQ(doc["suggestions"].size(), std::min<std::size_t>(10, expected.size()));
        for (std::size_t n = 0; n < doc["suggestions"].size(); ++n)
        {
            EXPECT_EQ(doc["suggestions"][n]["question"], expected[n].nQuestion);
            EXPECT_TRUE(SameBits(Number(doc["suggestions"][n]["gain"]), expected[n].dGain));
        }
    }
    // In a new project every answer can rise, and each one raises the total.
    EXPECT_EQ(FindImprovements(MakeSnapshot(CRiskModel()), 0).size(), QUESTION_COUNT);
}

TEST(ReportImprove, EstimationMethodSkipsEqualValuesAndTheTopAnswerHasNoSuggestion)
{
    struct
    {
        std::uint32_t nFrom;
        std::uint32_t nTo; // 7: no suggestion
    } const aCases[] = {{0, 1}, {1, 3}, {2, 3}, {3, 4}, {5, 6}, {6, 7}};
    for (const auto& c : aCases)
    {
        CRiskModel model;
        model.GetQuestion(8)->SetSelected(c.nFrom);
        std::uint32_t nTo = 7;
        for (const SImprovement& s : FindImprovements(MakeSnapshot(model), 0))
            if (s.nQuestion == 8)
                nTo = s.nTo;
        EXPECT_EQ(nTo, c.nTo) << c.nFrom;
    }
    CRiskModel best;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        best.GetQuestion(i)->SetSelected(6);
    EXPECT_TRUE(FindImprovements(MakeSnapshot(best), 0).empty());
    EXPECT_EQ(MakeImproveOutput(MakeSnapshot(best), 0, EOutputFormat::text),
              "Total Project Probability: 99.0%\nNo single answer raises it.\n");

    // Questions are numbered as people count them; one that describes the
    // project's circumstances is shown apart, not as advice.
    best.GetQuestion(2)->SetSelected(2);
    best.GetQuestion(3)->SetSelected(2);
    const std::string strText = MakeImproveOutput(MakeSnapshot(best), 0, EOutputFormat::text);
    EXPECT_NE(strText.find("   1  +"), std::string::npos) << strText;
    EXPECT_NE(strText.find(
                  "Q3  Organization  Some -> Most  Is there a documented organizational structure"),
              std::string::npos)
        << strText;
    const auto nContext = strText.find("circumstances rather than a practice:\n");
    ASSERT_NE(nContext, std::string::npos) << strText;
    EXPECT_NE(
        strText.find("Q4  Organization  Some -> Most  Is the organizational structure stable?\n",
                     nContext),
        std::string::npos)
        << strText;
    EXPECT_EQ(std::count(strText.begin(), strText.end(), '\n'), 9) << strText;
}

TEST(ReportCompare, MetricsAndChangedAnswersMatchTheModels)
{
    for (std::size_t n = 0; n + 1 < std::size(s_aProjects); ++n)
    {
        CRiskModel old, now, expectOld, expectNew;
        for (CRiskModel* p : {&old, &expectOld})
            Fill(*p, s_aProjects[n]);
        for (CRiskModel* p : {&now, &expectNew})
            Fill(*p, s_aProjects[n + 1]);
        expectOld.ComputeAll();
        expectNew.ComputeAll();
        const SCompareSide oldSide{MakeSnapshot(old, "old,plan"), "dir/old,plan.vlk"};
        const SCompareSide newSide{MakeSnapshot(now, "new.v2"), "new.v2.vlk"};

        const Json doc =
            Document(MakeCompareOutput(oldSide, newSide, EOutputFormat::json), "velkor-compare");
        EXPECT_EQ(doc["old"]["title"], "old,plan");
        EXPECT_EQ(doc["new"]["title"], "new.v2");
        EXPECT_TRUE(SameBits(Number(doc["new"]["weights"]["technical"]), now.GetTechnicalWeight()));
        ASSERT_EQ(doc["metrics"].size(), std::size_t(METRIC_COUNT));
        const std::vector<std::vector<std::string>> csv =
            CsvRows(MakeCompareOutput(oldSide, newSide, EOutputFormat::csv));
        ASSERT_EQ(csv.size(), std::size_t(METRIC_COUNT + 1));
        EXPECT_EQ(csv[0], (std::vector<std::string>{"index", "label", "old", "new", "delta"}));
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            const double dOld = expectOld.GetMetricValue(k), dNew = expectNew.GetMetricValue(k);
            const Json& metric = doc["metrics"][static_cast<std::size_t>(k)];
            EXPECT_EQ(metric["label"], expectOld.GetMetricLabel(k));
            EXPECT_TRUE(SameBits(Number(metric["old"]), dOld)) << k;
            EXPECT_TRUE(SameBits(Number(metric["new"]), dNew)) << k;
            EXPECT_TRUE(SameBits(Number(metric["delta"]), dNew - dOld)) << k;
            const auto& row = csv[static_cast<std::size_t>(k) + 1];
            EXPECT_TRUE(SameBits(CsvNumber(row[2]), dOld) && SameBits(CsvNumber(row[3]), dNew) &&
                        SameBits(CsvNumber(row[4]), dNew - dOld))
                << k;
        }
        std::size_t nAnswer = 0;
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        {
            const std::uint32_t nOld = old.GetQuestion(i)->GetSelected();
            const std::uint32_t nNew = now.GetQuestion(i)->GetSelected();
            if (nOld == nNew)
                continue;
            ASSERT_LT(nAnswer, doc["answers"].size());
            const Json& answer = doc["answers"][nAnswer++];
            EXPECT_EQ(answer["question"], i);
            EXPECT_EQ(answer["old"], nOld);
            EXPECT_EQ(answer["new_label"], now.GetQuestion(i)->GetAnswerLabel(nNew));
        }
        EXPECT_EQ(nAnswer, doc["answers"].size());
    }
}

TEST(ReportCompare, TextShowsPointsChangedAnswersAndWeights)
{
    CRiskModel old, now;
    now.GetQuestion(5)->SetSelected(3);
    const std::string strSame = MakeCompareOutput(
        {MakeSnapshot(old), "a.vlk"}, {MakeSnapshot(now), "b.vlk"}, EOutputFormat::text);
    EXPECT_NE(
        strSame.find("\nQ6  Organization  None -> Most  Does good communication exist between "
                     "different organizations or departments"),
        std::string::npos)
        << strSame;
    EXPECT_NE(strSame.find("\nOrganization prob                         0.0  10.0   +10.0\n"),
              std::string::npos)
        << strSame;
    EXPECT_EQ(strSame.find("Weight"), std::string::npos);
    EXPECT_EQ(strSame.find(" \n"), std::string::npos);

    now.SetCostWeight(0.5);
    const std::string strWeights = MakeCompareOutput(
        {MakeSnapshot(old), "a.vlk"}, {MakeSnapshot(now), "b.vlk"}, EOutputFormat::text);
    EXPECT_NE(strWeights.find("\nCost        33.3  50.0\n"), std::string::npos) << strWeights;
}

TEST(ReportFormat, PointsAndTables)
{
    const struct
    {
        double dFraction;
        const char* pszText;
    } aPoints[] = {
        {0.042, "+4.2"}, {-0.013, "-1.3"}, {0.0625, "+6.3"}, {-0.0000001, "0.0"}, {0.0, "0.0"}};
    for (const auto& c : aPoints)
        EXPECT_EQ(FormatPoints(c.dFraction), c.pszText) << c.dFraction;
    EXPECT_EQ(FormatTable({{"a", "1", "x"}, {"long", "22", ""}, {"é", "3", "yz"}}, "lrl"),
              "a      1  x\nlong  22\né      3  yz\n");
}

TEST(ReportPortfolio, ListsProjectsInByteOrderAndReportsDamagedFiles)
{
    CScratchDir dir;
    for (const char* psz : {"tree", "tree/b", "tree/a-c", "tree/.hidden"})
        std::filesystem::create_directory(dir / psz);
    CRiskModel model;
    int nSeed = 1;
    for (const char* psz : {"tree/b/z.vlk", "tree/B.VLK", "tree/a-c/x.Vlk", "tree/a.vlk",
                            "tree/.hidden/h.vlk", "one,two.vlk"})
    {
        Fill(model, {static_cast<unsigned>(nSeed), nSeed++ % 2 ? -0.0 : 0.5, 0.25, 0.125});
        SaveProject(model, dir / psz);
    }
    WriteBytes(dir / "tree/notes.txt", "not a project");
    WriteBytes(dir / "tree/b/short.vlk", std::string(100, '\0'));
    SaveProject(model, dir / "tree/b/locked.vlk");
    const int nLocked = open((dir / "tree/b/locked.vlk").c_str(), O_RDONLY);
    ASSERT_EQ(flock(nLocked, LOCK_EX), 0); // as a save in progress holds it
    std::filesystem::create_symlink("tree", dir / "tree/loop");

    std::vector<SPortfolioError> errors;
    const std::vector<std::string> inputs = {dir / "tree/", dir / "one,two.vlk", dir / "none"};
    const std::vector<std::string> projects = CollectProjects(inputs, errors);
    const std::string strTree = dir / "tree/";
    EXPECT_EQ(projects, (std::vector<std::string>{dir / "one,two.vlk", strTree + ".hidden/h.vlk",
                                                  strTree + "B.VLK", strTree + "a-c/x.Vlk",
                                                  strTree + "a.vlk", strTree + "b/locked.vlk",
                                                  strTree + "b/short.vlk", strTree + "b/z.vlk"}));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].strMessage, dir / "none" + " was not found.");

    for (const EOutputFormat format :
         {EOutputFormat::csv, EOutputFormat::json, EOutputFormat::text})
    {
        std::vector<SPortfolioError> fileErrors = errors;
        std::vector<std::string> reported;
        COutput out;
        WritePortfolio(projects, format, out, fileErrors,
                       [&](const SPortfolioError& e) { reported.push_back(e.strMessage); });
        EXPECT_EQ(reported,
                  (std::vector<std::string>{
                      "A sharing violation occurred while accessing " + strTree + "b/locked.vlk.",
                      "An attempt was made to access " + strTree + "b/short.vlk past its end."}));
        ASSERT_EQ(fileErrors.size(), 3u);

        // Every listed value is the model's for that file.
        const auto Expect = [&](const std::string& strPath, const std::vector<double>& values)
        {
            CRiskModel expected;
            LoadProject(expected, strPath);
            expected.ComputeAll();
            ASSERT_EQ(values.size(), std::size_t(METRIC_COUNT + 3)) << strPath;
            EXPECT_TRUE(SameBits(values[0], expected.GetTechnicalWeight()));
            for (int k = 0; k < METRIC_COUNT; ++k)
                EXPECT_TRUE(
                    SameBits(values[static_cast<std::size_t>(k) + 3], expected.GetMetricValue(k)))
                    << strPath << " " << k;
        };
        if (format == EOutputFormat::json)
        {
            const Json doc = Document(out.Memory(), "velkor-portfolio");
            ASSERT_EQ(doc["projects"].size(), projects.size() - 2);
            EXPECT_EQ(doc["projects"][2]["title"], "B");
            for (const Json& project : doc["projects"])
            {
                std::vector<double> values = {Number(project["weights"]["technical"]), 0, 0};
                for (const Json& metric : project["metrics"])
                    values.push_back(Number(metric));
                Expect(project["path"], values);
            }
            ASSERT_EQ(doc["errors"].size(), 3u);
            EXPECT_EQ(doc["errors"][2]["path"], strTree + "b/short.vlk");
        }
        else if (format == EOutputFormat::csv)
        {
            const auto rows = CsvRows(out.Memory());
            ASSERT_EQ(rows.size(), projects.size() - 1); // header, no damaged file
            EXPECT_EQ(rows[0].size(), std::size_t(5 + METRIC_COUNT));
            EXPECT_EQ(rows[0][5], "Total Project Probability");
            EXPECT_EQ(rows[1][0], "\"" + dir / "one"); // quoted: holds a comma
            for (std::size_t r = 2; r < rows.size(); ++r)
            {
                std::vector<double> values;
                for (std::size_t c = 2; c < rows[r].size(); ++c)
                    values.push_back(CsvNumber(rows[r][c]));
                Expect(rows[r][0], values);
            }
        }
        else
        {
            // Aligned: every line as long as the header, none ending in a blank.
            std::istringstream lines(out.Memory());
            std::string strHeader, strLine;
            std::getline(lines, strHeader);
            int nLines = 0;
            while (std::getline(lines, strLine) && ++nLines)
                EXPECT_EQ(strLine.size(), strHeader.size()) << strLine;
            EXPECT_EQ(nLines, int(projects.size()) - 2);
            EXPECT_NE(strHeader.back(), ' ');
            EXPECT_EQ(strHeader.substr(0, 4), "Path");
        }
    }
    close(nLocked);
}

TEST(ReportCommandLine, ExitStatusMessagesAndOutputFiles)
{
    CScratchDir dir;
    std::filesystem::create_directory(dir / "tree");
    CRiskModel model;
    for (const char* psz : {"a.vlk", "tree/b.vlk", "tree/c.VLK"})
    {
        Fill(model, {static_cast<unsigned>(std::strlen(psz)), 0.2, 0.3, 0.5});
        SaveProject(model, dir / psz);
    }
    WriteBytes(dir / "tree/damaged.vlk", std::string(347, '\0'));
    const std::string a = dir / "a.vlk", b = dir / "tree/b.vlk";
    // Files of the wrong kind, and a project file with more than its bytes.
    WriteBytes(dir / "plan.json", "{\"format\": \"velkor-project\"}");
    WriteBytes(dir / "plan.csv", ReadBytes(a));
    WriteBytes(dir / "notes.dat", std::string(100, 'n'));
    WriteBytes(dir / "long.vlk", ReadBytes(a) + "tail");
    const std::string strDamaged = "velkor-report: An attempt was made to access " +
                                   dir / "tree/damaged.vlk" + " past its end.\n";
    // Hostile names in a searched tree: control characters, a forged message
    // line, a link to standard output; a damaged file with its recovery copy.
    const std::string strForged = "e\x1b[31m\nvelkor-report: forged.vlk";
    std::filesystem::create_directory(dir / "hostile");
    WriteBytes(dir / ("hostile/" + strForged), std::string(347, '\0'));
    WriteBytes(dir / "hostile/good\x7f.vlk", ReadBytes(a));
    std::filesystem::create_symlink("/dev/stdout", dir / "hostile/x.vlk");
    WriteBytes(dir / "d.vlk", std::string(100, '\0'));
    WriteBytes(dir / ".d.vlk.velkor-backup", ReadBytes(a));
    // A weight that is a NaN with a sign and a payload.
    std::string strNan = ReadBytes(a);
    for (int n = 0; n < 8; ++n)
        strNan[4 * QUESTION_COUNT + n] = "\x01\0\0\0\0\0\xf8\xff"[n];
    WriteBytes(dir / "nan.vlk", strNan);
    const std::string strNanWarning = "velkor-report: warning: " + dir / "nan.vlk";

    const struct
    {
        std::vector<std::string> args;
        int nExit;
        std::string strErr; // the start of standard error
        std::string strOut; // the start of standard output
        std::size_t nLines; // of standard output, or of the file written (0: none written)
        SRunLimits limits = {};
    } aCases[] = {
        {{"compare", a, b}, 0, "", "Old: " + a + "\nNew: " + b + "\n\n", 94},
        {{"compare", a, b, "-o", dir / "c.CSV"}, 0, "", "", 29},
        {{"compare", a, b, "-o", dir / "c.json"}, 0, "", "", 105},
        {{"compare", a, dir / "none.vlk"},
         1,
         "velkor-report: " + dir / "none.vlk" + " was not found.\n",
         "",
         0},
        {{"compare", a, b, "-o", dir / "c.html"},
         2,
         "velkor-report: .html is not a supported",
         "",
         0},
        {{"compare", a}, 2, "velkor-report: NEW is required", "", 0},
        {{"improve", a, "--top", "2", "-o", dir / "i.csv"}, 0, "", "", 3},
        {{"improve", a, "--top", "-1"}, 2, "velkor-report: --top: needs a whole number", "", 0},
        {{"improve", dir / "tree/damaged.vlk"}, 1, strDamaged, "", 0},
        {{"portfolio", dir / "tree"}, 1, strDamaged, "Path", 3},
        {{"portfolio", "--format", "csv", dir / "tree"},
         1,
         strDamaged,
         "path,title,technical_weight,",
         3},
        {{"portfolio", "-o", dir / "p.json", dir / "tree"}, 1, strDamaged, "", 6},
        {{"portfolio", "-o", dir / "p.txt", b}, 0, "", "", 2},
        {{"portfolio"}, 2, "velkor-report: PATH is required", "", 0},
        {{"portfolio", "--sort", "size", a},
         2,
         "velkor-report: --sort: size not in {path,total}",
         "",
         0},
        {{dir / "plan.json", "-"},
         1,
         "velkor-report: " + dir / "plan.json" +
             " is a JSON export; turn it into a project with: velkor-report import " +
             dir / "plan.json" + " " + dir / "plan.vlk\n",
         "",
         0},
        {{"compare", a, dir / "plan.csv"},
         1,
         "velkor-report: " + dir / "plan.csv" + " is a CSV export",
         "",
         0},
        {{"trend", a, dir / "notes.dat"},
         1,
         "velkor-report: " + dir / "notes.dat" +
             " is no project file: a project file is 348 bytes, this one 100 bytes",
         "",
         0},
        {{dir / "long.vlk", "-"},
         0,
         "velkor-report: warning: " + dir / "long.vlk" + ": only its first 348 bytes are read\n",
         "Total Project Probability = ",
         28},
        {{"trend", a, b, "-o", dir / "t.svg"}, 0, "", "", 88},
        {{"trend", a, b, "--format", "csv"}, 0, "", "index,label,a,b,change\n", 15},
        {{"improve", a, "--target", "150"}, 2, "velkor-report: --target takes a percentage", "", 0},
        // The context questions take no step: more steps to the target.
        {{"improve", a, "--target", "90%", "--format", "json"},
         0,
         "",
         "{\n  \"format\": \"velkor-improve-plan\"",
         111},
        {{"improve", a, "--target", "90%", "--all-questions", "--format", "json"},
         0,
         "",
         "{\n  \"format\": \"velkor-improve-plan\"",
         97},
        {{"improve", a, "--top", "3", "--target", "90"},
         2,
         "velkor-report: --top excludes --target",
         "",
         0},
        {{"portfolio", dir / "hostile"},
         1,
         "velkor-report: " + dir / "hostile/x.vlk" +
             " is standard output, where this output goes; it was skipped.\n"
             "velkor-report: An attempt was made to access " +
             dir / "hostile" + "/e\\x1B[31m\\nvelkor-report: forged.vlk past its end.\n",
         "Path",
         2},
        {{"trend", dir / "hostile/good\x7f.vlk"},
         0,
         "",
         "1. " + dir / "hostile/good\\x7F.vlk\n",
         17},
        {{"/dev/zero", "-"},
         1,
         "velkor-report: /dev/zero is no project file: a project file is 348 bytes, this one has "
         "no size (a device or a pipe)",
         "",
         0},
        {{dir / "d.vlk", "-"},
         1,
         "velkor-report: An attempt was made to access " + dir / "d.vlk" +
             " past its end. Its content before an interrupted save is in " + dir.Path() +
             "/.d.vlk.velkor-backup.\n",
         "",
         0},
        {{dir / "nan.vlk", dir / "nan.json"}, 0, strNanWarning, "", 0},
        {{"import", "--any-weights", dir / "nan.json", dir / "nan2.vlk"}, 0, "", "", 0},

    };
    for (const auto& c : aCases)
    {
        const RunResult result = RunReport(dir, c.args, false, c.limits);
        const std::string strWhat = c.args[0] + " " + c.args.back();
        EXPECT_EQ(result.nExit, c.nExit) << strWhat << ": " << result.strErr;
        EXPECT_EQ(result.strErr.substr(0, c.strErr.size()), c.strErr) << strWhat;
        EXPECT_EQ(result.strErr.empty(), c.strErr.empty()) << strWhat;
        EXPECT_EQ(result.strOut.substr(0, c.strOut.size()), c.strOut) << strWhat;
        const auto it = std::find(c.args.begin(), c.args.end(), "-o");
        const std::string strWritten = it == c.args.end() ? result.strOut : ReadBytes(*(it + 1));
        const auto nLines =
            static_cast<std::size_t>(std::count(strWritten.begin(), strWritten.end(), '\n'));
        EXPECT_EQ(nLines, c.nLines) << strWhat;
        EXPECT_TRUE(c.nExit != 2 || strWritten.empty()) << strWhat;
    }
    // An OUTPUT that leads to a project read is refused before anything is written.
    const std::string strProject = ReadBytes(a);
    std::filesystem::create_symlink(a, dir / "a.csv");
    for (const auto& args : {std::vector<std::string>{"compare", b, a, "-o", dir / "a.csv"},
                             {"portfolio", "-o", dir / "a.csv", a}})
    {
        const RunResult result = RunReport(dir, args);
        EXPECT_EQ(result.nExit, 2);
        EXPECT_EQ(result.strErr, "velkor-report: " + dir / "a.csv" + " is " + a +
                                     ", a project to read; nothing was written.\n");
    }
    EXPECT_EQ(ReadBytes(a), strProject);
    EXPECT_EQ(ReadBytes(dir / "nan2.vlk"), strNan); // the NaN bit for bit

    Document(ReadBytes(dir / "c.json"), "velkor-compare");
    const Json portfolio = Document(ReadBytes(dir / "p.json"), "velkor-portfolio");
    EXPECT_EQ(portfolio["projects"].size(), 2u);
    EXPECT_EQ(portfolio["errors"][0]["path"], dir / "tree/damaged.vlk");

    // The riskiest first: totals rise down the list.
    const RunResult sorted =
        RunReport(dir, {"portfolio", "--sort", "total", "--format", "json", a, dir / "tree"});
    const Json rows = Json::parse(sorted.strOut)["projects"];
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t n = 1; n < rows.size(); ++n)
        EXPECT_LE(Number(rows[n - 1]["metrics"][0]), Number(rows[n]["metrics"][0]));
}

// Memory that runs out is one message and exit 1, nothing written. The
// address sanitizer needs more address space than the limit leaves, so the
// sanitizer build has no such case (a skipped case would fail CI there).
#if !defined(__SANITIZE_ADDRESS__)
TEST(ReportCommandLine, MemoryThatRunsOutIsOneMessage)
{
    CScratchDir dir;
    CRiskModel model;
    SaveProject(model, dir / "p.vlk");
    ASSERT_EQ(RunReport(dir, {dir / "p.vlk", dir / "p.json"}).nExit, 0);
    auto document = nlohmann::ordered_json::parse(ReadBytes(dir / "p.json"));
    document["title"] = std::string(1 << 20, 't');
    WriteBytes(dir / "big.json", document.dump());
    const RunResult result =
        RunReport(dir, {"import", dir / "big.json", dir / "big.vlk"}, false, {8000, 0});
    EXPECT_EQ(result.nExit, 1);
    EXPECT_EQ(result.strErr, "velkor-report: there is not enough memory to finish; nothing was "
                             "written. Close other programs or raise the memory limit, then run "
                             "again.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "big.vlk"));
}
#endif
