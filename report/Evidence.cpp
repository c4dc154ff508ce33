#include "report/Evidence.h"

#include "model/Format.h"
#include "res/Strings.h"
#include "res/resource.h"

namespace
{
constexpr int s_anSummary[] = {METRIC_TOTAL,
                               METRIC_TECHNICAL,
                               METRIC_COST,
                               METRIC_SCHEDULE,
                               METRIC_PROCESS,
                               METRIC_PRODUCT,
                               14,
                               15,
                               16,
                               17,
                               18,
                               19,
                               20,
                               21,
                               22,
                               23,
                               24,
                               25};
static_assert(std::size(s_anSummary) == 18);
} // namespace

std::span<const int> SummaryMetrics()
{
    return s_anSummary;
}

nlohmann::ordered_json JsonOptional(const std::optional<double>& value)
{
    return value ? JsonNumber(*value) : nlohmann::ordered_json();
}

std::string CsvOptional(const std::optional<double>& value)
{
    std::string str;
    if (value)
        AppendCsvNumber(str, *value);
    return str;
}

std::string TextOptional(const std::optional<double>& value, int nPrecision)
{
    return value ? FormatFixed(*value, nPrecision) : LoadResString(IDS_EVIDENCE_UNDEFINED);
}

nlohmann::ordered_json JsonQuestion(std::uint32_t nQuestion)
{
    nlohmann::ordered_json item;
    item["question"] = nQuestion;
    item["number"] = nQuestion + 1;
    item["category"] = CategoryName(nQuestion);
    item["text"] = CatalogueQuestion(nQuestion).GetText();
    return item;
}

const char g_szCsvQuestion[] = "question,number,category,text";

std::string CsvQuestion(std::uint32_t nQuestion)
{
    return std::to_string(nQuestion) + ',' + std::to_string(nQuestion + 1) + ',' +
           CsvField(CategoryName(nQuestion)) + ',' +
           CsvField(CatalogueQuestion(nQuestion).GetText());
}

nlohmann::ordered_json JsonMetricRanges(const MetricRanges& ranges)
{
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (int k = 0; k < METRIC_COUNT; ++k)
    {
        const SMetricRange& range = ranges[static_cast<std::size_t>(k)];
        rows.push_back(JsonMetric(k, {{"value", JsonNumber(range.dValue)},
                                      {"low", JsonNumber(range.dLow)},
                                      {"high", JsonNumber(range.dHigh)}}));
    }
    return rows;
}

std::string TextMetricRanges(const MetricRanges& ranges, const std::array<std::string, 4>& headings)
{
    std::vector<TextRow> rows = {
        {headings[0], headings[1], headings[2], headings[3], LoadResString(IDS_EVIDENCE_RANGE)}};
    for (const int k : SummaryMetrics())
    {
        const SMetricRange& range = ranges[static_cast<std::size_t>(k)];
        const double adValues[] = {range.dValue, range.dLow, range.dHigh};
        rows.push_back(TextMetric(k, adValues, range.dHigh - range.dLow));
    }
    return FormatTable(rows, "lrrrr");
}

std::string AnswerLabel(std::uint32_t nQuestion, std::uint32_t nAnswer)
{
    return CatalogueQuestion(nQuestion).GetAnswerLabel(nAnswer);
}

std::string FormatText(int nId, std::initializer_list<std::string> args)
{
    const std::string& strFormat = LoadResString(nId);
    std::string strOut;
    for (std::size_t i = 0; i < strFormat.size(); ++i)
    {
        const char c = i + 1 < strFormat.size() ? strFormat[i + 1] : '\0';
        if (strFormat[i] == '%' && c >= '1' && c <= '9' &&
            static_cast<std::size_t>(c - '1') < args.size())
        {
            strOut += args.begin()[c - '1'];
            ++i;
        }
        else
            strOut += strFormat[i];
    }
    return strOut;
}

CWorkModel::CWorkModel(const SSnapshot& snapshot)
{
    SetAll(snapshot.anAnswers);
    m_work.SetTechnicalWeight(snapshot.weights.dTechnical);
    m_work.SetCostWeight(snapshot.weights.dCost);
    m_work.SetScheduleWeight(snapshot.weights.dSchedule);
}

void CWorkModel::SetAll(const Answers& anAnswers)
{
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        m_work.GetQuestion(i)->SetSelected(anAnswers[i]);
}

std::pair<double, double> TotalRange(CWorkModel& work, std::uint32_t i,
                                     std::span<const std::uint32_t> answers)
{
    double dLow = 0, dHigh = 0;
    for (std::size_t n = 0; n < answers.size(); ++n)
    {
        work.Set(i, answers[n]);
        work.Compute();
        const double dTotal = work.Metric(METRIC_TOTAL);
        dLow = n == 0 ? dTotal : std::min(dLow, dTotal); // a NaN total stays NaN
        dHigh = n == 0 ? dTotal : std::max(dHigh, dTotal);
    }
    return {dLow, dHigh};
}
