// velkor-report trend: a project's history, one assessment after another.
#pragma once

#include "report/Chart.h"
#include "report/CommandOutput.h"

#include <string>
#include <vector>

// One assessment of the history: the project as loaded and its path.
struct STrendPoint
{
    SSnapshot snapshot; // titled by the file's title
    std::string strPath;
};

// The series of a trend: the total, the technical, cost and schedule
// probabilities and the ten categories (metrics 0 to 13).
constexpr int TREND_SERIES = METRIC_CATEGORY_FIRST + int(CATEGORY_COUNT);

// The trend in the given format (text, JSON, CSV or SVG), the assessments
// in the order given.
std::string MakeTrendOutput(const std::vector<STrendPoint>& points, EOutputFormat format);

// The line chart of the trend: one line per series, a point per assessment
// with the tooltip "<project title>: <name> <value>%".
SChart MakeTrendChart(const std::vector<STrendPoint>& points);
