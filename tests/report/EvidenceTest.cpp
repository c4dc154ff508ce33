// team, sensitivity and calibrate as functions: the statistics against cases
// worked by hand, the swings against the weight vectors, the unsure ranges
// against every combination.
#include "report/Calibrate.h"
#include "report/Sensitivity.h"
#include "report/Team.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>
#include <random>

namespace
{
// Raters' values per unit (-1: not rated) as counts of the ranks 0..nValues-1.
CValueCounts Counts(const std::vector<std::vector<int>>& units, std::size_t nValues)
{
    CValueCounts counts(units.size(), nValues);
    for (std::size_t u = 0; u < units.size(); ++u)
        for (const int v : units[u])
            if (v >= 0)
                ++counts.At(u, static_cast<std::size_t>(v));
    return counts;
}

// The coefficient of question i's value in the total: its category's share
// of the three weight vectors, split over the category's questions.
double TotalCoefficient(std::uint32_t i, const SWeights& w)
{
    const std::uint32_t dwCategory = CatalogueQuestion(i).GetFlags() & QF_CATEGORY_MASK;
    int nMembers = 0;
    for (std::uint32_t j = 0; j < QUESTION_COUNT; ++j)
        nMembers += (CatalogueQuestion(j).GetFlags() & dwCategory) != 0;
    const int c = std::countr_zero(dwCategory);
    return (w.dTechnical * g_adTechnicalVector[c] + w.dCost * g_adCostVector[c] +
            w.dSchedule * g_adScheduleVector[c]) /
           nMembers;
}

double ValueSpan(std::uint32_t i)
{
    const std::uint32_t nCount = CatalogueQuestion(i).GetAnswerCount();
    double dLow = 1, dHigh = 0;
    for (std::uint32_t a = 0; a < nCount; ++a)
        dLow = std::min(dLow, AnswerValue(i, a)), dHigh = std::max(dHigh, AnswerValue(i, a));
    return dHigh - dLow;
}

SSnapshot Project(unsigned nSeed, SWeights weights = {})
{
    std::mt19937 random(nSeed);
    Answers an{};
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        an[i] = random() % CatalogueQuestion(i).GetAnswerCount();
    return MakeSnapshot(an, weights);
}

SSnapshot Uniform(std::uint32_t nAnswer, SWeights weights = {})
{
    Answers an;
    an.fill(nAnswer);
    return MakeSnapshot(an, weights);
}
} // namespace

TEST(ReportStatistics, OrdinalAlphaOfCasesWorkedByHand)
{
    struct SCase
    {
        const char* pszName;
        std::vector<std::vector<int>> units;
        std::size_t nValues;
        std::optional<double> alpha;
    };
    const SCase aCases[] = {
        // Krippendorff's own example: 4 observers, 12 units, values 1..5 (here
        // 0..4), gaps missing. Pairable values n_c = 9, 13, 10, 5, 3 (n = 40;
        // unit 12 has one value and drops out); his published ordinal alpha
        // is 0.815, 1 - 39 D_o / D_e to more places 0.81538750375...
        {"published",
         {{0, 0, -1, 0},
          {1, 1, 2, 1},
          {2, 2, 2, 2},
          {2, 2, 2, 2},
          {1, 1, 1, 1},
          {0, 1, 2, 3},
          {3, 3, 3, 3},
          {0, 0, 1, 0},
          {1, 1, 1, 1},
          {-1, 4, 4, 4},
          {-1, -1, 0, 0},
          {-1, 2, -1, -1}},
         5,
         0.8153875037548814},
        // Full agreement on varied values: no observed disagreement.
        {"agreement", {{0, 0}, {2, 2}, {4, 4}}, 5, 1.0},
        // Two units rated 0 and 4: o_04 = o_40 = 2, n_0 = n_4 = 2, n = 4,
        // delta^2 = (1 + 1)^2 = 4: 1 - 3 * 16 / 32 = -0.5.
        {"disagreement", {{0, 4}, {4, 0}}, 5, -0.5},
        // One value everywhere: no disagreement expected, alpha undefined.
        {"one value", {{3, 3}, {3, 3, 3}}, 5, std::nullopt},
    };
    for (const SCase& c : aCases)
    {
        const auto alpha = OrdinalAlpha(Counts(c.units, c.nValues));
        ASSERT_EQ(alpha.has_value(), c.alpha.has_value()) << c.pszName;
        if (alpha)
        {
            EXPECT_NEAR(*alpha, *c.alpha, 1e-12) << c.pszName;
        }
    }
}

TEST(ReportStatistics, JackknifeIntervalOfThreeUnits)
{
    // Units (0,0), (1,1), (0,1): n_0 = n_1 = 3, delta^2 = 9, alpha =
    // 1 - 5 * 18 / 162 = 4/9. Leaving out each unit: 0, 0, 1; mean 1/3,
    // SE = sqrt(2/3 * 6/9) = 2/3, so 4/9 -/+ 1.96 * 2/3.
    const SAlphaInterval interval = OrdinalAlphaInterval(Counts({{0, 0}, {1, 1}, {0, 1}}, 2));
    ASSERT_TRUE(interval.alpha && interval.low && interval.high);
    EXPECT_NEAR(*interval.alpha, 4.0 / 9, 1e-12);
    EXPECT_NEAR(*interval.low, 4.0 / 9 - 1.96 * 2 / 3, 1e-12);
    EXPECT_NEAR(*interval.high, 4.0 / 9 + 1.96 * 2 / 3, 1e-12);
    // Without the one disagreeing unit nothing is expected: no interval.
    const SAlphaInterval none = OrdinalAlphaInterval(Counts({{0, 0}, {0, 1}}, 2));
    EXPECT_TRUE(none.alpha && !none.low && !none.high);
}

TEST(ReportStatistics, ForecastChecksOfFourProjectsByHand)
{
    // Forecasts 0.2, 0.6, 0.6 and 1.3 (clamped to 1), outcomes missed, met,
    // missed, met. Brier (0.04 + 0.16 + 0.36 + 0) / 4 = 0.14, reference
    // 0.5 * 0.5, skill 1 - 0.14 / 0.25 = 0.44; AUC: the met 0.6 beats 0.2 and
    // ties 0.6, the met 1 beats both: 3.5 / 4.
    const double adForecasts[] = {0.2, 0.6, 0.6, 1.3};
    const bool abMet[] = {false, true, false, true};
    const SForecastCheck check = CheckForecasts(adForecasts, abMet);
    EXPECT_EQ(check.n, 4u);
    EXPECT_NEAR(check.dForecast, 0.6, 1e-15);
    EXPECT_DOUBLE_EQ(check.dObserved, 0.5);
    EXPECT_NEAR(check.dBrier, 0.14, 1e-15);
    EXPECT_DOUBLE_EQ(check.dReference, 0.25);
    EXPECT_NEAR(check.skill.value_or(-9), 0.44, 1e-14);
    EXPECT_DOUBLE_EQ(check.auc.value_or(-9), 0.875);
    const std::size_t anCounts[] = {0, 0, 1, 0, 0, 0, 2, 0, 0, 1};
    for (std::size_t b = 0; b < RELIABILITY_BINS; ++b)
    {
        EXPECT_EQ(check.bins[b].nCount, anCounts[b]) << b;
        EXPECT_EQ(check.bins[b].observed.has_value(), anCounts[b] > 0) << b;
    }
    EXPECT_DOUBLE_EQ(check.bins[6].observed.value_or(-9), 0.5);
    EXPECT_DOUBLE_EQ(check.bins[9].forecast.value_or(-9), 1.0);
    // All met: no reference to beat and nothing to rank against.
    const bool abAll[] = {true, true, true, true};
    const SForecastCheck all = CheckForecasts(adForecasts, abAll);
    EXPECT_FALSE(all.skill || all.auc);
}

TEST(ReportSensitivity, SwingsFollowFromTheWeightVectors)
{
    for (const SWeights& weights : {SWeights{}, SWeights{0.7, 0.1, 0.2}, SWeights{1, -0.5, 0}})
    {
        const SSensitivity sensitivity = AnalyseSensitivity(Project(3, weights), std::nullopt);
        ASSERT_EQ(sensitivity.swings.size(), QUESTION_COUNT);
        for (std::size_t n = 0; n < QUESTION_COUNT; ++n)
        {
            const SSwing& swing = sensitivity.swings[n];
            EXPECT_NEAR(swing.dSwing,
                        ValueSpan(swing.nQuestion) *
                            std::fabs(TotalCoefficient(swing.nQuestion, weights)),
                        1e-12)
                << swing.nQuestion;
            EXPECT_DOUBLE_EQ(swing.dHigh - swing.dLow, swing.dSwing);
            if (n > 0) // largest first; equal swings by question
            {
                const SSwing& before = sensitivity.swings[n - 1];
                EXPECT_TRUE(before.dSwing > swing.dSwing + 1e-12 ||
                            (std::fabs(before.dSwing - swing.dSwing) < 1e-12 &&
                             before.nQuestion < swing.nQuestion))
                    << n;
            }
        }
    }
}

TEST(ReportSensitivity, UnsureRangesAreTheExtremesOfEveryCombination)
{
    // The estimation method (question 9) is not monotone in its index; the
    // negative cost weight turns coefficients round.
    const std::vector<std::uint32_t> unsure = {0, 8, 40, 79};
    for (const std::uint32_t nLevels : {1u, 2u})
        for (const SWeights& weights : {SWeights{}, SWeights{0.9, -0.4, 0.5}})
        {
            const SSnapshot snapshot = Project(nLevels + 10, weights);
            const SUnsure found = FindUnsureRanges(snapshot, unsure, nLevels);
            MetricRanges brute;
            for (int k = 0; k < METRIC_COUNT; ++k)
                brute[k] = {snapshot.Metric(k), snapshot.Metric(k), snapshot.Metric(k)};
            Answers an = snapshot.anAnswers;
            const std::function<void(std::size_t)> Visit = [&](std::size_t n)
            {
                if (n == unsure.size())
                {
                    const SSnapshot combination = MakeSnapshot(an, weights);
                    for (int k = 0; k < METRIC_COUNT; ++k)
                        brute[k].dLow = std::min(brute[k].dLow, combination.Metric(k)),
                        brute[k].dHigh = std::max(brute[k].dHigh, combination.Metric(k));
                    return;
                }
                const std::uint32_t i = unsure[n], nSaved = snapshot.anAnswers[i];
                for (std::uint32_t a = 0; a < CatalogueQuestion(i).GetAnswerCount(); ++a)
                    if (a + nLevels >= nSaved && a <= nSaved + nLevels)
                        an[i] = a, Visit(n + 1);
                an[i] = nSaved;
            };
            Visit(0);
            for (int k = 0; k < METRIC_COUNT; ++k)
            {
                EXPECT_NEAR(found.metrics[k].dLow, brute[k].dLow, 1e-15) << k;
                EXPECT_NEAR(found.metrics[k].dHigh, brute[k].dHigh, 1e-15) << k;
            }
        }
}

TEST(ReportTeam, ConsensusSwingsAndAgreement)
{
    struct SCase
    {
        std::vector<SSnapshot> assessors;
        std::optional<double> alpha;
        std::uint32_t nConsensus; // of every question
        std::vector<double> distances;
    };
    const SWeights a{0.2, 0.3, 0.5}, b{0.4, 0.5, 0.1};
    const SCase aCases[] = {
        // All 0 against all 4: o_04 = o_40 = 80, n_0 = n_4 = 80, delta^2 =
        // 80^2: 1 - 159 * 160 / (2 * 80 * 80) = -0.9875. The lower middle
        // of two is the first's 0; the second is 4 away on every question.
        {{Uniform(0, a), Uniform(4, b)}, -0.9875, 0, {0, 4}},
        // Same answers everywhere: undefined.
        {{Uniform(2, a), Uniform(2, b)}, std::nullopt, 2, {0, 0}},
        // The median of 0, 4, 4, 1: the lower middle of 0 1 4 4 is 1.
        {{Uniform(0, a), Uniform(4, b), Uniform(4, a), Uniform(1, b)}, {}, 1, {1, 3, 3, 0}},
    };
    for (const SCase& c : aCases)
    {
        std::vector<STeamMember> members;
        for (const SSnapshot& snapshot : c.assessors)
            members.push_back({"p" + std::to_string(members.size()), snapshot});
        const STeam team = AnalyseTeam(members);
        const std::size_t n = members.size();
        if (n == 2)
        {
            ASSERT_EQ(team.agreement.alpha.has_value(), c.alpha.has_value());
            if (c.alpha)
            {
                EXPECT_NEAR(*team.agreement.alpha, *c.alpha, 1e-12);
            }
        }
        EXPECT_EQ(team.nAgreementQuestions, QUESTION_COUNT - 1);
        EXPECT_DOUBLE_EQ(team.consensus.weights.dTechnical, n == 2 ? 0.3 : (0.4 + 0.8) / 4);
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        {
            const std::uint32_t nLast = CatalogueQuestion(i).GetAnswerCount() - 1;
            EXPECT_EQ(team.questions[i].nConsensus, c.nConsensus);
            // Every other answer at the consensus: the swing is the value
            // span of the answers given times the question's coefficient.
            const std::uint32_t nLow = team.questions[i].nLowest,
                                nHigh = team.questions[i].nHighest;
            EXPECT_LE(nHigh, nLast);
            EXPECT_NEAR(team.questions[i].dSwing,
                        std::fabs(AnswerValue(i, nHigh) - AnswerValue(i, nLow)) *
                            std::fabs(TotalCoefficient(i, team.consensus.weights)),
                        1e-12);
        }
        for (std::size_t m = 0; m < n; ++m)
        {
            EXPECT_NEAR(team.assessors[m].dDistance, c.distances[m], 1e-12) << m;
            EXPECT_EQ(team.assessors[m].alphaWithout.has_value(), n >= 3) << m;
        }
        for (std::size_t d = 1; d < team.discuss.size(); ++d)
            EXPECT_GE(team.questions[team.discuss[d - 1]].dSwing + 1e-12,
                      team.questions[team.discuss[d]].dSwing);
        const auto json = nlohmann::json::parse(MakeTeamOutput(team, EOutputFormat::json));
        EXPECT_EQ(json["questions"].size(), QUESTION_COUNT);
        EXPECT_EQ(json["questions"][8]["answers"].size(), n);
        EXPECT_EQ(json["consensus"]["metrics"].size(), std::size_t(METRIC_COUNT));
        EXPECT_EQ(json["agreement"]["band"].is_null(), !team.agreement.alpha);
        EXPECT_EQ(json["discuss"].size(), team.discuss.size());
    }
}

TEST(ReportCalibrate, OutcomesFileAgainstTheColumnsForecasts)
{
    const SOutcomeTable table =
        ParseOutcomes("\xEF\xBB\xBF"
                      "cost,file,total\r\n1,a.vlk,0\r\n,\"sub/b,1.vlk\",1\n\n0,/abs/c.vlk,\n",
                      "o.csv", "dir");
    ASSERT_EQ(table.columns.size(), 2u);
    EXPECT_EQ(table.columns[0].nMetric, METRIC_COST);
    EXPECT_EQ(table.columns[1].nMetric, METRIC_TOTAL);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].strPath, "dir/a.vlk");
    EXPECT_EQ(table.rows[1].strPath, "dir/sub/b,1.vlk");
    EXPECT_EQ(table.rows[2].strPath, "/abs/c.vlk");
    EXPECT_EQ(table.rows[2].nLine, 5u);
    EXPECT_FALSE(table.rows[1].outcomes[0].has_value());

    const std::vector<SSnapshot> projects = {Project(1), Project(2), Project(3)};
    const std::vector<SCalibration> calibrations = Calibrate(table, projects);
    ASSERT_EQ(calibrations.size(), 2u);
    // cost: rows 1 and 3 known; total: rows 1 and 2.
    const double adCost[] = {projects[0].Metric(METRIC_COST), projects[2].Metric(METRIC_COST)};
    const bool abCost[] = {true, false};
    EXPECT_DOUBLE_EQ(calibrations[0].check.dBrier, CheckForecasts(adCost, abCost).dBrier);
    EXPECT_EQ(calibrations[1].check.n, 2u);

    const std::pair<const char*, const char*> aBad[] = {
        {"file,budget\n", "column \"budget\""},
        {"total\n1\n", "no column \"file\""},
        {"file,cost,cost\n", "\"cost\" is named twice"},
        {"file,total\na.vlk,1\nb.vlk,yes\n", "row 2 (line 3), column total: \"yes\""},
        {"file,total\na.vlk\n", "row 1 (line 2): 1 fields"},
        {"file,total\n,1\n", "row 1 (line 2), column file"},
        {"file\n\"a.vlk\n", "never closed"},
    };
    for (const auto& [pszCsv, pszMessage] : aBad)
    {
        try
        {
            ParseOutcomes(pszCsv, "o.csv", ".");
            ADD_FAILURE() << pszCsv;
        }
        catch (const CWrongFileError& e)
        {
            EXPECT_NE(std::string(e.what()).find(pszMessage), std::string::npos) << e.what();
        }
    }
}
