// The 28 metrics for the characteristic projects, and the single operations.
#include "model/RiskModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace
{
// Answers every five-level question with nFive and question 8 with nMethod.
void AnswerAll(CRiskModel& model, std::uint32_t nFive, std::uint32_t nMethod)
{
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(i == 8 ? nMethod : nFive);
}

// The flags word of each question, written out from the questionnaire
// rather than read from the model: category bit, phase bits 10-15, activity
// bits 16-21, and bit 24 (five levels) or 25 (the estimation method).
// clang-format off
constexpr std::uint32_t s_adwFlags[QUESTION_COUNT] = {
    // Organization, questions 0-7
    0x012DFC01, 0x01250401, 0x012FFC01, 0x0121FC01, 0x0121FC01, 0x0129F801,
    0x0129F801, 0x0129F801,
    // Estimation, questions 8-14
    0x02230402, 0x012F0402, 0x012F0402, 0x012F0402, 0x013FFC02, 0x0127FC02,
    0x0127FC02,
    // Monitoring, questions 15-21
    0x012BFC04, 0x0139FC04, 0x0139FC04, 0x0139FC04, 0x013DF804, 0x013DFC04,
    0x013DFC04,
    // Development, questions 22-28
    0x012B0408, 0x01297C08, 0x01257808, 0x01293808, 0x01294008, 0x01297C08,
    0x012D4008,
    // Tools, questions 29-37
    0x0129FC10, 0x01251010, 0x01254010, 0x01254010, 0x01254010, 0x0125FC10,
    0x01258010, 0x01212010, 0x01217C10,
    // Company Culture, questions 38-48
    0x0121FC20, 0x0121FC20, 0x0121FC20, 0x0121FC20, 0x0121FC20, 0x0121FC20,
    0x01210420, 0x01210420, 0x01210420, 0x01250420, 0x01270420,
    // Usability, questions 49-54
    0x01218040, 0x0121F840, 0x012D0840, 0x01251040, 0x01290840, 0x01251040,
    // Correctness, questions 55-63
    0x012D0880, 0x012D1080, 0x012D2080, 0x012D4080, 0x0125FC80, 0x012D2080,
    0x012D4080, 0x01258080, 0x01254080,
    // Reliability, questions 64-75
    0x01253100, 0x01213100, 0x01253900, 0x01252100, 0x01253100, 0x01252100,
    0x01254100, 0x012D8100, 0x012D4100, 0x012D4100, 0x012D4100, 0x012D4100,
    // Personnel, questions 76-80
    0x012F0600, 0x01290600, 0x01290600, 0x01290600, 0x01210600,
};
// clang-format on
constexpr double s_adFiveLevel[] = {0.0, 0.2, 0.5, 0.8, 1.0};
constexpr double s_adMethod[] = {0.2, 0.3, 0.3, 0.4, 0.5, 0.6, 0.7};

// An independent evaluation of the metric rules, in the same order of
// additions; of the model it reads only the answers the test chose.
double Average(const CRiskModel& model, std::uint32_t dwBit)
{
    double dSum = 0.0;
    int n = 0;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        if (s_adwFlags[i] & dwBit)
        {
            const std::uint32_t nSelected = model.GetQuestion(i)->GetSelected();
            dSum += i == 8 ? s_adMethod[nSelected] : s_adFiveLevel[nSelected];
            ++n;
        }
    return dSum / n;
}

double Weighted(const CRiskModel& model, const double (&ad)[10])
{
    double dSum = 0.0;
    for (int j = 0; j < 10; ++j)
        dSum += Average(model, 1u << j) * ad[j];
    return dSum;
}

void ExpectMatchesIndependentEvaluation(CRiskModel& model)
{
    model.ComputeAll();
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(model.GetMetricValue(4 + k), Average(model, 1u << k)) << k;
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(model.GetMetricValue(14 + k), Average(model, 1u << (10 + k))) << k;
    const double dTechnical =
        Weighted(model, {0.043, 0.043, 0.087, 0.087, 0.087, 0.13, 0.13, 0.13, 0.13, 0.13});
    const double dCost =
        Weighted(model, {0.136, 0.136, 0.136, 0.136, 0.09, 0.09, 0.045, 0.045, 0.045, 0.136});
    EXPECT_EQ(model.GetMetricValue(1), dTechnical);
    EXPECT_EQ(model.GetMetricValue(2), dCost);
    EXPECT_EQ(model.GetMetricValue(3), dCost);
    EXPECT_EQ(model.GetMetricValue(26),
              Weighted(model, {0.125, 0.125, 0.125, 0.125, 0.125, 0.125, 0.04, 0.04, 0.04, 0.125}));
    EXPECT_EQ(model.GetMetricValue(27),
              Weighted(model, {0.045, 0.045, 0.045, 0.045, 0.14, 0.14, 0.14, 0.14, 0.14, 0.14}));
    double dTotal = dTechnical * model.GetTechnicalWeight();
    dTotal += dCost * model.GetCostWeight();
    dTotal += dCost * model.GetScheduleWeight();
    EXPECT_EQ(model.GetMetricValue(0), dTotal);
}
// Each metric k near its value, to the six decimals a report shows.
void ExpectMetricsNear(const CRiskModel& model,
                       std::initializer_list<std::pair<int, double>> values)
{
    for (const auto& [k, dValue] : values)
        EXPECT_NEAR(model.GetMetricValue(k), dValue, 5e-7) << k;
}

// Every category at dValue but Estimation (metric 5), which is near dEstimation.
void ExpectCategories(const CRiskModel& model, double dValue, double dEstimation)
{
    for (int k : {4, 6, 7, 8, 9, 10, 11, 12, 13})
        EXPECT_EQ(model.GetMetricValue(k), dValue) << k;
    EXPECT_NEAR(model.GetMetricValue(5), dEstimation, 5e-7);
}
} // namespace

TEST(Metrics, EveryQuestionHasItsFlagsWord)
{
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        EXPECT_EQ(model.GetQuestion(i)->GetFlags(), s_adwFlags[i]) << "question " << i;
}

TEST(Metrics, NewProject)
{
    CRiskModel model;
    model.ComputeAll();
    EXPECT_NEAR(model.GetMetricValue(5), 0.2 / 7, 1e-15);
    ExpectMetricsNear(model, {{14, 0.004878},
                              {20, 0.002469},
                              {25, 0.002469},
                              {21, 0.016667},
                              {1, 0.001229},
                              {2, 0.003886},
                              {3, 0.003886},
                              {26, 0.003571},
                              {27, 0.001286},
                              {0, 0.002997}});
    for (int k : {4, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 19, 22, 23, 24})
        EXPECT_EQ(model.GetMetricValue(k), 0.0) << k;
    ExpectMatchesIndependentEvaluation(model);
}

TEST(Metrics, EverythingAllWithBottomUp)
{
    CRiskModel model;
    AnswerAll(model, 4, 6);
    model.ComputeAll();
    ExpectCategories(model, 1.0, 0.957143);
    ExpectMetricsNear(model, {{14, 0.992683}, {20, 0.996296}, {25, 0.996296}, {21, 0.975}});
    for (int k : {15, 16, 17, 18, 19, 22, 23, 24})
        EXPECT_EQ(model.GetMetricValue(k), 1.0) << k;
    ExpectMetricsNear(model, {{1, 0.995157},
                              {2, 0.989171},
                              {3, 0.989171},
                              {26, 0.989643},
                              {27, 1.018071},
                              {0, 0.990176}});
    ExpectMatchesIndependentEvaluation(model);

    // All priority on the technical side: the total is the technical probability.
    model.SetTechnicalWeight(1.0);
    model.SetCostWeight(0.0);
    model.SetScheduleWeight(0.0);
    model.ComputeAll();
    EXPECT_EQ(model.GetMetricValue(0), model.GetMetricValue(1));
    EXPECT_NEAR(model.GetMetricValue(0), 0.995157, 5e-7);
}

TEST(Metrics, EverythingSomeWithOther)
{
    CRiskModel model;
    AnswerAll(model, 2, 3);
    model.ComputeAll();
    ExpectCategories(model, 0.5, 0.485714);
    EXPECT_NEAR(model.GetMetricValue(0), 0.495837, 5e-7);
    ExpectMatchesIndependentEvaluation(model);
}

TEST(Metrics, MixedAnswersMatchAnIndependentEvaluation)
{
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected((i * 7 + 3) % 5);
    model.SetTechnicalWeight(0.57);
    model.SetCostWeight(0.26);
    model.SetScheduleWeight(0.17);
    ExpectMatchesIndependentEvaluation(model);
}

TEST(Metrics, MetricIndexForMasks)
{
    CRiskModel model;
    EXPECT_EQ(model.GetMetricIndex(1), 4);
    EXPECT_EQ(model.GetMetricIndex(1u << 9), 13);
    EXPECT_EQ(model.GetMetricIndex(1u << 10), 14);
    EXPECT_EQ(model.GetMetricIndex((1u << 20) | (1u << 21)), 24);
    EXPECT_EQ(model.GetMetricIndex(0x3u), 4); // lowest matching row wins
    EXPECT_EQ(model.GetMetricIndex(0), 0);
    EXPECT_EQ(model.GetMetricIndex(QF_FIVE_LEVEL), 0);
    EXPECT_EQ(model.GetMetricIndex(QF_ESTIMATION_METHOD), 0);
}

TEST(Metrics, SingleOperations)
{
    CRiskModel model;
    AnswerAll(model, 4, 6);
    model.ComputeAll();

    // A row without a weight vector: 0.0, and the row keeps its value.
    const double dEstimation = model.GetMetricValue(5);
    EXPECT_EQ(model.ComputeWeightedSum(5), 0.0);
    EXPECT_EQ(model.GetMetricValue(5), dEstimation);

    // A row without member questions averages to NaN, which the total replaces.
    EXPECT_TRUE(std::isnan(model.ComputeAverage(0)));
    EXPECT_TRUE(std::isnan(model.GetMetricValue(0)));
    EXPECT_TRUE(std::isfinite(model.ComputeTotal()));

    // After new weights, ComputeTotal changes metric 0 alone.
    double adBefore[METRIC_COUNT];
    for (int k = 0; k < METRIC_COUNT; ++k)
        adBefore[k] = model.GetMetricValue(k);
    model.SetTechnicalWeight(0.2);
    model.SetCostWeight(0.3);
    model.SetScheduleWeight(0.5);
    const double dTotal = model.ComputeTotal();
    EXPECT_EQ(model.GetMetricValue(0), dTotal);
    EXPECT_NE(dTotal, adBefore[0]);
    for (int k = 1; k < METRIC_COUNT; ++k)
        EXPECT_EQ(model.GetMetricValue(k), adBefore[k]) << k;

    // Indices outside the table are ignored rather than read or written.
    EXPECT_EQ(model.ComputeAverage(28), 0.0);
    EXPECT_EQ(model.ComputeAverage(-1), 0.0);
    EXPECT_EQ(model.GetMetricValue(99), 0.0);
    EXPECT_EQ(model.GetMetricLabel(28), "");
}

TEST(Metrics, Labels)
{
    CRiskModel model;
    EXPECT_EQ(model.GetMetricLabel(0), "Total Project Probability");
    EXPECT_EQ(model.GetMetricLabel(4), "Organization prob");
    EXPECT_EQ(model.GetMetricLabel(19), "Phase - Delivery and Maintenance Prob");
    EXPECT_EQ(model.GetMetricLabel(23), "Activity - Mitigation and Avoidance Prob");
    EXPECT_EQ(model.GetMetricLabel(27), "Summary - Product Prob");
    for (int k = 0; k < METRIC_COUNT; ++k)
        EXPECT_EQ(g_aMetricTable[k].nIndex, k);
}
