// The project as data (JSON), its probabilities as a table (CSV) and as a
// chart (SVG). Each recomputes the metrics first.
#pragma once

#include "model/RiskModel.h"

#include <string>
#include <string_view>

// Display names of the chart's groups, in metric order.
extern const char* const g_apszCategoryNames[CATEGORY_COUNT]; // metrics 4..13
extern const char* const g_apszPhaseNames[6];                 // metrics 14..19
extern const char* const g_apszActivityNames[6];              // metrics 20..25

// The category name of a question ("Organization" ... "Personnel").
std::string GetCategoryName(const CQuestion& question);

// {"format": "velkor-project", "version": 1, "title", "weights", "answers"
// (81 objects), "metrics" (28 objects)}, a line feed at the end.
std::string MakeJsonExport(CRiskModel& model, const std::string& strTitle);

// "index,label,value" and one row per metric, values as fractions, LF ends.
std::string MakeCsvExport(CRiskModel& model);

// The chart: a radar of the ten categories with its 100 % ring, bars of the
// six phases and the six activities, the title and the total. Every plotted
// value carries a <title> "<name>: <value>%" with one decimal.
std::string MakeSvgChart(CRiskModel& model, const std::string& strTitle);

// strText with &, <, >, " and ' as XML entities and bytes that are not UTF-8
// as U+FFFD, so that any file name makes a well-formed document.
std::string EscapeXml(std::string_view strText);
