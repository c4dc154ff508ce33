// The project: 81 questions, three priority weights, the modified state and
// the 28 success probabilities computed from them.
#pragma once

#include "model/Question.h"

#include <cstdint>
#include <string>

constexpr int METRIC_COUNT = 28;

// The weight of each priority in a new project and after Default: the double
// nearest to 0.333, not one third.
constexpr double DEFAULT_WEIGHT = 0.333;

// Metric indices.
enum : int
{
    METRIC_TOTAL = 0,
    METRIC_TECHNICAL = 1,
    METRIC_COST = 2,
    METRIC_SCHEDULE = 3,
    METRIC_CATEGORY_FIRST = 4,  // 4..13, category k is 4 + k
    METRIC_PHASE_FIRST = 14,    // 14..19
    METRIC_ACTIVITY_FIRST = 20, // 20..25
    METRIC_PROCESS = 26,
    METRIC_PRODUCT = 27,
};

// One row of the metric table.
struct MetricEntry
{
    std::int32_t nIndex;
    std::uint32_t dwMask;   // question flag bits averaged; 0 for computed rows
    const double* pWeights; // 10 category weights of a weighted-sum row, or null
    double dValue;          // last computed value
    std::int32_t nLabelId;  // string id of the label
};

// The five category weight vectors (element k is category k, metric 4 + k).
extern const double g_adTechnicalVector[CATEGORY_COUNT];
extern const double g_adCostVector[CATEGORY_COUNT];
extern const double g_adScheduleVector[CATEGORY_COUNT];
extern const double g_adProcessVector[CATEGORY_COUNT];
extern const double g_adProductVector[CATEGORY_COUNT];

// The constant metric table; every model starts from a copy of it.
extern const MetricEntry g_aMetricTable[METRIC_COUNT];

class CRiskModel
{
public:
    CRiskModel();
    virtual ~CRiskModel();
    CRiskModel(const CRiskModel&) = delete;
    CRiskModel& operator=(const CRiskModel&) = delete;

    // Null for an index of m_nQuestions (81) or more.
    CQuestion* GetQuestion(std::uint32_t nIndex) const;

    double GetTechnicalWeight() const { return m_dTechnicalWeight; }
    double GetCostWeight() const { return m_dCostWeight; }
    double GetScheduleWeight() const { return m_dScheduleWeight; }
    void SetTechnicalWeight(double d);
    void SetCostWeight(double d);
    void SetScheduleWeight(double d);

    // The File New state: answer 0 everywhere, weights DEFAULT_WEIGHT, metrics 0.0,
    // unmodified. Computes nothing.
    void Reset();
    int IsModified() const;
    void ClearModified();

    // Metric operations. Indices outside 0..27 are ignored (0.0, nothing stored).
    void ComputeAll();
    double ComputeAverage(int nMetric);
    double ComputeWeightedSum(int nMetric);
    double ComputeTotal();
    double GetMetricValue(int nMetric) const;
    std::string GetMetricLabel(int nMetric) const;
    // First row whose mask shares a bit with dwMask; 0 when none does.
    int GetMetricIndex(std::uint32_t dwMask) const;

private:
    CQuestion* m_apQuestions[QUESTION_COUNT] = {};
    int m_bModified = 0;
    std::uint32_t m_nQuestions = 0;
    double m_dTechnicalWeight = DEFAULT_WEIGHT;
    double m_dCostWeight = DEFAULT_WEIGHT;
    double m_dScheduleWeight = DEFAULT_WEIGHT;
    MetricEntry m_aMetrics[METRIC_COUNT];
};
