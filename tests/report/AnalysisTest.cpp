// The snapshot, improve's plan and the trend, against values computed here
// on models of their own.
#include "input/Numbers.h"
#include "report/Export.h"
#include "report/Improve.h"
#include "report/Trend.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <set>

namespace
{
// Three hand-checked projects: new, middling with odd weights, nearly best.
Answers ProjectAnswers(int n)
{
    Answers an{};
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        an[i] = n == 0 ? 0 : n == 1 ? (i * 5 + 1) % 4 : (i % 9 == 0 ? 3 : 6);
    return an;
}
const SWeights s_aWeights[] = {{}, {0.5, 0.2, 0.3}, {0.1, 0.1, 0.8}};

double TotalOf(const Answers& an, const SWeights& w)
{
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(an[i]);
    model.SetTechnicalWeight(w.dTechnical);
    model.SetCostWeight(w.dCost);
    model.SetScheduleWeight(w.dSchedule);
    model.ComputeAll();
    return model.GetMetricValue(METRIC_TOTAL);
}
} // namespace

TEST(Snapshot, TakesEveryValueAndLeavesTheModelAndFlagAlone)
{
    CRiskModel model;
    model.GetQuestion(8)->SetSelected(5);
    model.SetCostWeight(0.5);
    model.ClearModified();
    g_bAnswersModified = 0;
    const SSnapshot snapshot = MakeSnapshot(model, "t");
    EXPECT_EQ(g_bAnswersModified, 0);
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(model.GetMetricValue(METRIC_TOTAL), 0.0); // nothing computed on the model itself
    model.ComputeAll();
    for (int k = 0; k < METRIC_COUNT; ++k)
        EXPECT_EQ(snapshot.Metric(k), model.GetMetricValue(k)) << k;
    EXPECT_EQ(snapshot.SelectedAnswers()[8], 5u);
    EXPECT_EQ(snapshot.Weights().dCost, 0.5);
    EXPECT_EQ(snapshot.Title(), "t");
    // Names come from the string table.
    const std::pair<int, const char*> aNames[] = {{METRIC_TOTAL, "Total"},
                                                  {METRIC_CATEGORY_FIRST, "Organization"},
                                                  {METRIC_PHASE_FIRST, "Pre-requirements"},
                                                  {METRIC_ACTIVITY_FIRST + 2, "Assessment"},
                                                  {METRIC_CATEGORY_FIRST + 9, "Personnel"}};
    for (const auto& [k, pszName] : aNames)
        EXPECT_EQ(MetricName(k), pszName);
    EXPECT_EQ(CategoryName(80), "Personnel");
}

TEST(ImprovePlan, EachStepIsTheLargestGainGivenTheStepsBefore)
{
    for (int n = 0; n < 3; ++n)
        for (const double dTarget : {0.5, 0.8, 0.95, 1.0})
        {
            SCOPED_TRACE(std::to_string(n) + " " + std::to_string(dTarget));
            const SSnapshot snapshot = MakeSnapshot(ProjectAnswers(n), s_aWeights[n]);
            const SPlan plan = MakePlan(snapshot, dTarget, true); // every question, as below
            // The same greedy search, written out on plain models.
            Answers an = snapshot.SelectedAnswers();
            double dTotal = TotalOf(an, snapshot.Weights());
            std::vector<SImprovement> expected;
            double dReachable = dTotal;
            bool bReached = dTotal >= dTarget;
            for (;;)
            {
                std::optional<SImprovement> best;
                for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
                {
                    std::uint32_t nTo = an[i] + 1;
                    while (nTo < CatalogueQuestion(i).GetAnswerCount() &&
                           CatalogueQuestion(i).GetAnswerValue(nTo) <=
                               CatalogueQuestion(i).GetAnswerValue(an[i]))
                        ++nTo;
                    if (nTo >= CatalogueQuestion(i).GetAnswerCount())
                        continue;
                    Answers next = an;
                    next[i] = nTo;
                    const double dAfter = TotalOf(next, snapshot.Weights());
                    if (dAfter - dReachable > 0 && (!best || dAfter - dReachable > best->dGain))
                        best = SImprovement{i, an[i], nTo, dAfter - dReachable, dAfter};
                }
                if (!best)
                    break;
                an[best->nQuestion] = best->nTo;
                dReachable = best->dTotal;
                if (!bReached)
                {
                    expected.push_back(*best);
                    bReached = best->dTotal >= dTarget;
                }
            }
            ASSERT_EQ(plan.steps.size(), expected.size());
            for (std::size_t s = 0; s < expected.size(); ++s)
            {
                EXPECT_EQ(plan.steps[s].nQuestion, expected[s].nQuestion) << s;
                EXPECT_EQ(plan.steps[s].nFrom, expected[s].nFrom) << s;
                EXPECT_EQ(plan.steps[s].nTo, expected[s].nTo) << s;
                EXPECT_EQ(plan.steps[s].dGain, expected[s].dGain) << s;
                EXPECT_EQ(plan.steps[s].dTotal, expected[s].dTotal) << s;
            }
            EXPECT_EQ(plan.bReached, bReached);
            EXPECT_EQ(plan.dReachable, dReachable);
            EXPECT_EQ(plan.dTotal,
                      expected.empty() ? snapshot.Metric(METRIC_TOTAL) : expected.back().dTotal);

            const auto doc = nlohmann::ordered_json::parse(
                MakePlanOutput(snapshot, dTarget, EOutputFormat::json, true));
            EXPECT_EQ(doc["format"], "velkor-improve-plan");
            EXPECT_EQ(doc["target"].get<double>(), dTarget);
            EXPECT_EQ(doc["reached"], bReached);
            ASSERT_EQ(doc["steps"].size(), expected.size());
            if (!expected.empty())
            {
                const auto& last = doc["steps"].back();
                EXPECT_EQ(last["step"], expected.size());
                EXPECT_EQ(last["number"], expected.back().nQuestion + 1);
                EXPECT_EQ(last["to_label"], CatalogueQuestion(expected.back().nQuestion)
                                                .GetAnswerLabel(expected.back().nTo));
                EXPECT_EQ(doc["total"].get<double>(), expected.back().dTotal);
            }
        }
    // The summary line says what was reached and what could be.
    const SSnapshot fresh = MakeSnapshot(ProjectAnswers(0), {});
    const std::string strText = MakePlanOutput(fresh, 0.5, EOutputFormat::text);
    EXPECT_TRUE(std::regex_search(
        strText,
        std::regex("\n\\d+ changes reach \\d+\\.\\d %; the most reachable is \\d+\\.\\d %\\.\n$")))
        << strText;
    EXPECT_NE(MakePlanOutput(fresh, 1.0, EOutputFormat::text).find("The target is out of reach"),
              std::string::npos);
}

TEST(Trend, EverySeriesValueChangeAndPointTitle)
{
    std::vector<STrendPoint> points;
    for (int n = 0; n < 3; ++n)
        points.push_back({MakeSnapshot(ProjectAnswers(n), s_aWeights[n], "v" + std::to_string(n)),
                          "p/v" + std::to_string(n) + ".vlk"});
    const auto doc = nlohmann::ordered_json::parse(MakeTrendOutput(points, EOutputFormat::json));
    EXPECT_EQ(doc["format"], "velkor-trend");
    EXPECT_EQ(doc["projects"][1]["path"], "p/v1.vlk");
    EXPECT_EQ(doc["projects"][1]["title"], "v1");
    ASSERT_EQ(doc["series"].size(), 14u);
    const std::string strSvg = MakeTrendOutput(points, EOutputFormat::svg);
    std::set<std::string> titles;
    const std::regex title("<title>([^<]*)</title>");
    for (auto it = std::sregex_iterator(strSvg.begin(), strSvg.end(), title);
         it != std::sregex_iterator(); ++it)
        titles.insert((*it)[1]);
    EXPECT_EQ(titles.size(), 14u * 3u);
    const std::string strCsv = MakeTrendOutput(points, EOutputFormat::csv);
    EXPECT_EQ(strCsv.substr(0, strCsv.find('\n')), "index,label,v0,v1,v2,change");
    for (int k = 0; k < 14; ++k)
    {
        const auto& series = doc["series"][static_cast<std::size_t>(k)];
        EXPECT_EQ(series["label"], MetricLabel(k));
        for (std::size_t n = 0; n < 3; ++n)
        {
            EXPECT_EQ(series["values"][n].get<double>(), points[n].snapshot.Metric(k));
            EXPECT_EQ(titles.count("v" + std::to_string(n) + ": " + MetricName(k) + " " +
                                   PercentText(points[n].snapshot.Metric(k))),
                      1u)
                << k;
        }
        EXPECT_EQ(series["change"].get<double>(),
                  points[2].snapshot.Metric(k) - points[0].snapshot.Metric(k));
        EXPECT_NE(strCsv.find("\n" + std::to_string(k) + "," + MetricLabel(k) + "," +
                              FormatShortest(points[0].snapshot.Metric(k)) + ","),
                  std::string::npos);
    }
    EXPECT_NE(MakeTrendOutput(points, EOutputFormat::text).find("\nTotal Project Probability  "),
              std::string::npos);
}
