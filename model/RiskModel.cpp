#include "model/RiskModel.h"

#include "res/Strings.h"
#include "res/resource.h"

#include <array>
#include <bit>
#include <cmath>

const double g_adTechnicalVector[CATEGORY_COUNT] = {0.043, 0.043, 0.087, 0.087, 0.087,
                                                    0.13,  0.13,  0.13,  0.13,  0.13};
const double g_adCostVector[CATEGORY_COUNT] = {0.136, 0.136, 0.136, 0.136, 0.09,
                                               0.09,  0.045, 0.045, 0.045, 0.136};
// The same numbers as the cost vector, kept as an array of its own.
const double g_adScheduleVector[CATEGORY_COUNT] = {0.136, 0.136, 0.136, 0.136, 0.09,
                                                   0.09,  0.045, 0.045, 0.045, 0.136};
const double g_adProcessVector[CATEGORY_COUNT] = {0.125, 0.125, 0.125, 0.125, 0.125,
                                                  0.125, 0.04,  0.04,  0.04,  0.125};
// Sums to 1.02, so the product probability can exceed 1.
const double g_adProductVector[CATEGORY_COUNT] = {0.045, 0.045, 0.045, 0.045, 0.14,
                                                  0.14,  0.14,  0.14,  0.14,  0.14};

static_assert(IDS_METRIC_FIRST + METRIC_COUNT <= IDS_QUESTION_FIRST, "metric labels overlap");

constexpr MetricEntry g_aMetricTable[METRIC_COUNT] = {
    {0, 0, nullptr, 0.0, IDS_METRIC_FIRST + 0},
    {1, 0, g_adTechnicalVector, 0.0, IDS_METRIC_FIRST + 1},
    {2, 0, g_adCostVector, 0.0, IDS_METRIC_FIRST + 2},
    {3, 0, g_adScheduleVector, 0.0, IDS_METRIC_FIRST + 3},
    {4, 1u << 0, nullptr, 0.0, IDS_METRIC_FIRST + 4},
    {5, 1u << 1, nullptr, 0.0, IDS_METRIC_FIRST + 5},
    {6, 1u << 2, nullptr, 0.0, IDS_METRIC_FIRST + 6},
    {7, 1u << 3, nullptr, 0.0, IDS_METRIC_FIRST + 7},
    {8, 1u << 4, nullptr, 0.0, IDS_METRIC_FIRST + 8},
    {9, 1u << 5, nullptr, 0.0, IDS_METRIC_FIRST + 9},
    {10, 1u << 6, nullptr, 0.0, IDS_METRIC_FIRST + 10},
    {11, 1u << 7, nullptr, 0.0, IDS_METRIC_FIRST + 11},
    {12, 1u << 8, nullptr, 0.0, IDS_METRIC_FIRST + 12},
    {13, 1u << 9, nullptr, 0.0, IDS_METRIC_FIRST + 13},
    {14, 1u << 10, nullptr, 0.0, IDS_METRIC_FIRST + 14},
    {15, 1u << 11, nullptr, 0.0, IDS_METRIC_FIRST + 15},
    {16, 1u << 12, nullptr, 0.0, IDS_METRIC_FIRST + 16},
    {17, 1u << 13, nullptr, 0.0, IDS_METRIC_FIRST + 17},
    {18, 1u << 14, nullptr, 0.0, IDS_METRIC_FIRST + 18},
    {19, 1u << 15, nullptr, 0.0, IDS_METRIC_FIRST + 19},
    {20, 1u << 16, nullptr, 0.0, IDS_METRIC_FIRST + 20},
    {21, 1u << 17, nullptr, 0.0, IDS_METRIC_FIRST + 21},
    {22, 1u << 18, nullptr, 0.0, IDS_METRIC_FIRST + 22},
    {23, 1u << 19, nullptr, 0.0, IDS_METRIC_FIRST + 23},
    {24, 1u << 20, nullptr, 0.0, IDS_METRIC_FIRST + 24},
    {25, 1u << 21, nullptr, 0.0, IDS_METRIC_FIRST + 25},
    {26, 0, g_adProcessVector, 0.0, IDS_METRIC_FIRST + 26},
    {27, 0, g_adProductVector, 0.0, IDS_METRIC_FIRST + 27},
};

namespace
{
bool IsMetric(int nMetric)
{
    return nMetric >= 0 && nMetric < METRIC_COUNT;
}

// Row of each averaged flag bit, for ComputeAll's single sweep.
constexpr std::uint32_t MaskOfRows()
{
    std::uint32_t dw = 0;
    for (const auto& metric : g_aMetricTable)
        dw |= metric.dwMask;
    return dw;
}

constexpr bool EveryMaskIsOneDistinctBit()
{
    std::uint32_t dwSeen = 0;
    for (const auto& metric : g_aMetricTable)
    {
        if (metric.dwMask == 0)
            continue;
        if (std::popcount(metric.dwMask) != 1 || (dwSeen & metric.dwMask) != 0)
            return false;
        dwSeen |= metric.dwMask;
    }
    return true;
}
static_assert(EveryMaskIsOneDistinctBit(), "ComputeAll sweeps one row per flag bit");

constexpr std::uint32_t s_dwAveragedBits = MaskOfRows();

constexpr std::array<int, 32> RowOfBit()
{
    std::array<int, 32> an{};
    for (const auto& metric : g_aMetricTable)
        if (metric.dwMask != 0)
            an[static_cast<std::size_t>(std::countr_zero(metric.dwMask))] = metric.nIndex;
    return an;
}
constexpr std::array<int, 32> s_anRowOfBit = RowOfBit();
} // namespace

CRiskModel::CRiskModel()
{
    for (int k = 0; k < METRIC_COUNT; ++k)
        m_aMetrics[k] = g_aMetricTable[k];

    // A row with text id 0 would end the catalogue and leave later slots null.
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const QuestionEntry& entry = g_aQuestionCatalogue[m_nQuestions];
        if (entry.nTextId == 0)
            break;
        m_apQuestions[i] = new CQuestion(entry);
        ++m_nQuestions;
    }
}

CRiskModel::~CRiskModel()
{
    for (auto& pQuestion : m_apQuestions)
    {
        delete pQuestion;
        pQuestion = nullptr;
    }
}

CQuestion* CRiskModel::GetQuestion(std::uint32_t nIndex) const
{
    return nIndex < m_nQuestions ? m_apQuestions[nIndex] : nullptr;
}

void CRiskModel::SetTechnicalWeight(double d)
{
    m_dTechnicalWeight = d;
    m_bModified = 1;
}

void CRiskModel::SetCostWeight(double d)
{
    m_dCostWeight = d;
    m_bModified = 1;
}

void CRiskModel::SetScheduleWeight(double d)
{
    m_dScheduleWeight = d;
    m_bModified = 1;
}

void CRiskModel::Reset()
{
    for (std::uint32_t i = 0; i < m_nQuestions; ++i)
        m_apQuestions[i]->SetSelected(0);
    for (auto& metric : m_aMetrics)
        metric.dValue = 0.0;
    m_dTechnicalWeight = DEFAULT_WEIGHT;
    m_dCostWeight = DEFAULT_WEIGHT;
    m_dScheduleWeight = DEFAULT_WEIGHT;
    ClearModified();
}

int CRiskModel::IsModified() const
{
    return m_bModified == 1 || g_bAnswersModified != 0;
}

void CRiskModel::ClearModified()
{
    m_bModified = 0;
    g_bAnswersModified = 0;
}

void CRiskModel::ComputeAll()
{
    // Pass 1 in one sweep over the questions: every averaged row has a single
    // bit as its mask, so each question adds its value to the rows of its set
    // bits. Each row still sums its members in question order, so the result
    // is the same as ComputeAverage row by row.
    int anCount[METRIC_COUNT] = {};
    double adSum[METRIC_COUNT] = {};
    for (std::uint32_t i = 0; i < m_nQuestions; ++i)
    {
        const double dValue = m_apQuestions[i]->GetValue();
        for (std::uint32_t dw = m_apQuestions[i]->GetFlags() & s_dwAveragedBits; dw != 0;
             dw &= dw - 1)
        {
            const int k = s_anRowOfBit[std::countr_zero(dw)];
            ++anCount[k];
            adSum[k] += dValue;
        }
    }
    for (int k = 0; k < METRIC_COUNT; ++k)
        m_aMetrics[k].dValue = anCount[k] != 0 ? adSum[k] / anCount[k] : std::nan("");
    for (int k = 0; k < METRIC_COUNT; ++k)
        ComputeWeightedSum(k);
    ComputeTotal();
}

double CRiskModel::ComputeAverage(int nMetric)
{
    if (!IsMetric(nMetric))
        return 0.0;
    const std::uint32_t dwMask = m_aMetrics[nMetric].dwMask;
    int nCount = 0;
    double dSum = 0.0;
    for (std::uint32_t i = 0; i < m_nQuestions; ++i)
    {
        if (m_apQuestions[i]->GetFlags() & dwMask)
        {
            ++nCount;
            dSum += m_apQuestions[i]->GetValue();
        }
    }
    // A row without members gives 0.0 / 0, a quiet NaN, stored like any value.
    const double dAverage = nCount != 0 ? dSum / nCount : std::nan("");
    m_aMetrics[nMetric].dValue = dAverage;
    return dAverage;
}

double CRiskModel::ComputeWeightedSum(int nMetric)
{
    if (!IsMetric(nMetric) || m_aMetrics[nMetric].pWeights == nullptr)
        return 0.0;
    const double* pWeights = m_aMetrics[nMetric].pWeights;
    double dSum = 0.0;
    for (std::uint32_t j = 0; j < CATEGORY_COUNT; ++j)
        dSum += m_aMetrics[METRIC_CATEGORY_FIRST + j].dValue * pWeights[j];
    m_aMetrics[nMetric].dValue = dSum;
    return dSum;
}

double CRiskModel::ComputeTotal()
{
    double dTotal = m_aMetrics[METRIC_TECHNICAL].dValue * m_dTechnicalWeight;
    dTotal += m_aMetrics[METRIC_COST].dValue * m_dCostWeight;
    dTotal += m_aMetrics[METRIC_SCHEDULE].dValue * m_dScheduleWeight;
    m_aMetrics[METRIC_TOTAL].dValue = dTotal;
    return dTotal;
}

double CRiskModel::GetMetricValue(int nMetric) const
{
    return IsMetric(nMetric) ? m_aMetrics[nMetric].dValue : 0.0;
}

std::string CRiskModel::GetMetricLabel(int nMetric) const
{
    return IsMetric(nMetric) ? LoadResString(m_aMetrics[nMetric].nLabelId) : std::string();
}

int CRiskModel::GetMetricIndex(std::uint32_t dwMask) const
{
    for (const auto& metric : m_aMetrics)
        if (metric.dwMask & dwMask)
            return metric.nIndex;
    return 0;
}
