// One writer per kind of row, in each form the commands write: a metric, the
// weights, a changed answer, a plan step, a portfolio row and a trend point.
// Export, compare, improve, portfolio and trend build their outputs from
// these, so a row reads the same wherever it appears.
//
// Text rows are cells for FormatTable (or one aligned line for the
// portfolio); CSV rows are appended to a string, line feed included; JSON
// rows are objects for DumpJson or DumpJsonLine.
#pragma once

#include "report/CommandOutput.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>
#include <vector>

using JsonRow = nlohmann::ordered_json;
using TextRow = std::vector<std::string>;

// ---- Metric k and its numbers (one value, old/new/delta, a series).
// "index,label" and the names of the numbers' columns.
std::string CsvMetricHeader(std::initializer_list<std::string_view> columns);
// "k,<label>,v1,v2,...\n".
void AppendCsvMetric(std::string& strOut, int k, std::span<const double> values);
// {"index": k, "label": ..., then the named fields}.
JsonRow JsonMetric(int k, std::initializer_list<std::pair<const char*, JsonRow>> fields);
// {label, values as percentages..., the change in points}.
TextRow TextMetric(int k, std::span<const double> values, double dChange);

// ---- The weights.
// {"technical", "cost", "schedule"}.
JsonRow JsonWeightsRow(const SWeights& weights);
// ",technical,cost,schedule" numbers as in CSV.
void AppendCsvWeights(std::string& strOut, const SWeights& weights);
// The three rows "Technical", "Cost", "Schedule" with the old and new
// percentages.
std::vector<TextRow> TextWeights(const SWeights& old, const SWeights& now);

// ---- A changed answer: question i from answer nFrom to nTo.
struct SAnswerChange
{
    std::uint32_t nQuestion = 0;
    std::uint32_t nFrom = 0;
    std::uint32_t nTo = 0;
};
// The names of the two answers' fields: {"old", "new"} or {"from", "to"}.
struct SChangeNames
{
    const char* pszFrom;
    const char* pszTo;
};
constexpr SChangeNames CHANGE_OLD_NEW = {"old", "new"};
constexpr SChangeNames CHANGE_FROM_TO = {"from", "to"};
// {"question", "number", "category", "text", from, to, from_label, to_label}.
JsonRow JsonAnswerChange(const SAnswerChange& change, SChangeNames names);
// "question,number,category,text,from,to,from_label,to_label" as a row.
void AppendCsvAnswerChange(std::string& strOut, const SAnswerChange& change);
extern const char g_szCsvAnswerChangeHeader[];
// {"Q<n>", category, "<from label> -> <to label>", the question on one line}.
TextRow TextAnswerChange(const SAnswerChange& change);

// ---- A plan step or a suggestion: a changed answer with its gain and total.
struct SStepRow
{
    SAnswerChange change;
    double dGain = 0.0;
    double dTotal = 0.0;
};
// The changed answer's fields, "gain" and "total".
JsonRow JsonStep(const SStepRow& step);
// The changed answer's columns, gain and total (no line end).
void AppendCsvStep(std::string& strOut, const SStepRow& step);
extern const char g_szCsvStepHeader[]; // the columns of AppendCsvStep
// {n, gain in points, total (or cumulative) %, "Q<n>", category, change, question}.
TextRow TextStep(const std::string& strNumber, const SStepRow& step, double dShownTotal,
                 const std::string& strQuestionEnd = {});

// ---- A portfolio row: a project's path, title, weights and 28 metrics.
// The CSV header "path,title,technical_weight,...,<28 labels>\n".
void AppendCsvPortfolioHeader(std::string& strOut);
void AppendCsvPortfolioRow(std::string& strOut, const std::string& strPath,
                           const SSnapshot& snapshot);
// {"path", "title", "weights", "metrics": [28 numbers]}.
JsonRow JsonPortfolioRow(const std::string& strPath, const SSnapshot& snapshot);
// The text table: "Path" padded to nPathWidth and the summary's six names.
void AppendTextPortfolioHeader(std::string& strOut, std::size_t nPathWidth);
void AppendTextPortfolioRow(std::string& strOut, const std::string& strPath,
                            const SSnapshot& snapshot, std::size_t nPathWidth);
// The width of a path in the text table.
std::size_t TextPortfolioPathWidth(const std::string& strPath);

// ---- A trend point: one assessment of the history.
// {"path", "title"}.
JsonRow JsonTrendPoint(const std::string& strPath, const SSnapshot& snapshot);
// "<n>. <path>\n".
void AppendTextTrendPoint(std::string& strOut, std::size_t n, const std::string& strPath);
