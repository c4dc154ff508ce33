#include "input/Snapshot.h"

#include "res/Strings.h"

#include <bit>
#include <memory>

namespace
{
bool EndsWith(const std::string& str, std::string_view strEnd)
{
    return str.size() >= strEnd.size() &&
           str.compare(str.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}
} // namespace

double SSnapshot::Metric(int k) const
{
    return k >= 0 && k < METRIC_COUNT ? m_adMetrics[static_cast<std::size_t>(k)] : 0.0;
}

SSnapshot SSnapshot::Retitled(std::string strTitle) const
{
    SSnapshot snapshot = *this;
    snapshot.m_strTitle = std::move(strTitle);
    return snapshot;
}

SSnapshot MakeSnapshot(const CRiskModel& model, std::string strTitle)
{
    Answers anAnswers{};
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        anAnswers[i] = model.GetQuestion(i)->GetSelected();
    return MakeSnapshot(
        anAnswers, {model.GetTechnicalWeight(), model.GetCostWeight(), model.GetScheduleWeight()},
        std::move(strTitle));
}

SSnapshot MakeSnapshot(const Answers& anAnswers, const SWeights& weights, std::string strTitle)
{
    const CKeepAnswersFlag keep;
    // One working model a thread, every answer and weight set afresh: a team
    // of a thousand files builds one, not a thousand.
    thread_local CRiskModel work;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        work.GetQuestion(i)->SetSelected(anAnswers[i]);
    work.SetTechnicalWeight(weights.dTechnical);
    work.SetCostWeight(weights.dCost);
    work.SetScheduleWeight(weights.dSchedule);
    work.ComputeAll();
    SSnapshot snapshot;
    snapshot.m_strTitle = std::move(strTitle);
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        snapshot.m_anAnswers[i] = work.GetQuestion(i)->GetSelected(); // clamped to the scale
    snapshot.m_weights = weights;
    for (int k = 0; k < METRIC_COUNT; ++k)
        snapshot.m_adMetrics[static_cast<std::size_t>(k)] = work.GetMetricValue(k);
    return snapshot;
}

const CQuestion& CatalogueQuestion(std::uint32_t nQuestion)
{
    static const auto s_apQuestions = []
    {
        std::array<std::unique_ptr<const CQuestion>, QUESTION_COUNT> ap;
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            ap[i] = std::make_unique<const CQuestion>(g_aQuestionCatalogue[i]);
        return ap;
    }();
    return *s_apQuestions.at(nQuestion);
}

std::string MetricLabel(int k)
{
    return k >= 0 && k < METRIC_COUNT ? LoadResString(g_aMetricTable[k].nLabelId) : std::string();
}

std::string MetricName(int k)
{
    switch (k)
    {
    case METRIC_TOTAL:
        return "Total";
    case METRIC_TECHNICAL:
        return "Technical";
    case METRIC_COST:
        return "Cost";
    case METRIC_SCHEDULE:
        return "Schedule";
    case METRIC_PROCESS:
        return "Process";
    case METRIC_PRODUCT:
        return "Product";
    default:
        break;
    }
    std::string str = MetricLabel(k);
    for (const std::string_view strPrefix : {"Phase - ", "Activity - "})
        if (str.rfind(strPrefix, 0) == 0)
            str.erase(0, strPrefix.size());
    for (const std::string_view strSuffix : {" Prob", " prob"})
        if (EndsWith(str, strSuffix))
            str.erase(str.size() - strSuffix.size());
    return str;
}

std::string CategoryName(std::uint32_t nQuestion)
{
    const std::uint32_t dwCategory = CatalogueQuestion(nQuestion).GetFlags() & QF_CATEGORY_MASK;
    return dwCategory == 0 ? std::string()
                           : MetricName(METRIC_CATEGORY_FIRST + std::countr_zero(dwCategory));
}
