// What team, sensitivity and calibrate write alike: a metric with the range
// it may take, a question's fields, numbers that may be undefined, and the
// texts of the string table they use.
#pragma once

#include "report/CommandOutput.h"
#include "report/Rows.h"

#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <string>

// A metric's value and the lowest and highest it takes.
struct SMetricRange
{
    double dValue = 0, dLow = 0, dHigh = 0;
};
using MetricRanges = std::array<SMetricRange, METRIC_COUNT>;

// The 18 metrics of the summary window, in its order: total, technical,
// cost, schedule, process, product, the six phases, the six activities.
std::span<const int> SummaryMetrics();

// null when undefined, else JsonNumber.
nlohmann::ordered_json JsonOptional(const std::optional<double>& value);
// The number as a CSV field; empty when undefined.
std::string CsvOptional(const std::optional<double>& value);
// The number with nPrecision decimals; "undefined" when undefined.
std::string TextOptional(const std::optional<double>& value, int nPrecision);

// {"question", "number", "category", "text"} of question nQuestion (0-based).
nlohmann::ordered_json JsonQuestion(std::uint32_t nQuestion);
// "question,number,category,text" and the row's four fields.
extern const char g_szCsvQuestion[];
std::string CsvQuestion(std::uint32_t nQuestion);

// [{"index", "label", "value", "low", "high"} x28].
nlohmann::ordered_json JsonMetricRanges(const MetricRanges& ranges);
// The summary metrics as a table: label, value, low, high as percentages
// under the given column headings, and the range in points.
std::string TextMetricRanges(const MetricRanges& ranges,
                             const std::array<std::string, 4>& headings);

// A project's answer to question nQuestion by its label.
std::string AnswerLabel(std::uint32_t nQuestion, std::uint32_t nAnswer);

// String-table text nId with %1, %2, ... replaced by args in turn.
std::string FormatText(int nId, std::initializer_list<std::string> args);

// A working model of a snapshot's answers and weights for what-if work; the
// program's answers flag is kept.
class CWorkModel
{
public:
    explicit CWorkModel(const SSnapshot& snapshot);
    void Set(std::uint32_t nQuestion, std::uint32_t nAnswer)
    {
        m_work.GetQuestion(nQuestion)->SetSelected(nAnswer);
    }
    void SetAll(const Answers& anAnswers);
    // Computes every metric; then Metric(k) reads one.
    void Compute() { m_work.ComputeAll(); }
    double Metric(int k) const { return m_work.GetMetricValue(k); }

private:
    CKeepAnswersFlag m_keep; // first member: restored after the model is gone
    CRiskModel m_work;
};

// The lowest and highest total with question i at each of answers in turn
// (a NaN total stays NaN); the question is left at the last of them.
std::pair<double, double> TotalRange(CWorkModel& work, std::uint32_t i,
                                     std::span<const std::uint32_t> answers);

// The order of swings, largest first: true when a comes before b. Swings
// that differ only by rounding (below 1e-12) tie, so that equal swings
// reached in different orders of arithmetic keep the order of their
// questions; NaN comes last.
inline bool LargerSwing(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return !std::isnan(a) && std::isnan(b);
    return std::round(a * 1e12) > std::round(b * 1e12);
}
