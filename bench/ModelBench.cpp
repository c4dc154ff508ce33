// The model's hot paths: a full recomputation (the summary window's refresh and
// the reports) and one category average (every answer click).
#include "model/RiskModel.h"

#include <benchmark/benchmark.h>

namespace
{
void AnswerMixed(CRiskModel& model)
{
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected((i * 7 + 3) % 5);
}

void BM_ComputeAll(benchmark::State& state)
{
    CRiskModel model;
    AnswerMixed(model);
    for (auto _ : state)
    {
        model.ComputeAll();
        benchmark::DoNotOptimize(model.GetMetricValue(METRIC_TOTAL));
    }
}
BENCHMARK(BM_ComputeAll);

void BM_ComputeAverageOfCategory(benchmark::State& state)
{
    CRiskModel model;
    AnswerMixed(model);
    const int nMetric = model.GetMetricIndex(1u << 8); // Reliability, the largest page
    for (auto _ : state)
        benchmark::DoNotOptimize(model.ComputeAverage(nMetric));
}
BENCHMARK(BM_ComputeAverageOfCategory);
} // namespace
