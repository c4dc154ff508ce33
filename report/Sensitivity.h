// velkor-report sensitivity: how much each answer moves the total, and the
// exact range of every metric when some answers may be a few levels off.
#pragma once

#include "report/Chart.h"
#include "report/Evidence.h"

#include <optional>
#include <vector>

struct SSwing
{
    std::uint32_t nQuestion = 0;
    double dLow = 0, dHigh = 0; // the total over every answer of the scale
    double dSwing = 0;          // high - low
};

struct SUnsure
{
    std::vector<std::uint32_t> questions; // 0-based, ascending
    std::uint32_t nLevels = 1;
    // Each metric over every combination of the unsure answers, each within
    // nLevels of the saved one and within its scale; the others as saved.
    MetricRanges metrics;
};

struct SSensitivity
{
    SSnapshot snapshot;
    std::vector<SSwing> swings; // largest swing first, ties by question
    std::optional<SUnsure> unsure;
};

// The swings of every question; with unsure questions (0-based) their exact
// ranges too. Every metric is a sum of answer values times coefficients
// fixed by the weights, so each extreme takes each unsure question at its
// own extreme: found one question at a time, then computed as the model does.
SSensitivity AnalyseSensitivity(const SSnapshot& snapshot,
                                const std::optional<std::vector<std::uint32_t>>& unsure,
                                std::uint32_t nLevels = 1);

// The ranges of the unsure answers alone.
SUnsure FindUnsureRanges(const SSnapshot& snapshot, std::vector<std::uint32_t> questions,
                         std::uint32_t nLevels);

// The tornado chart: the 15 largest swings as bars around the total.
SChart MakeTornadoChart(const SSensitivity& sensitivity);

// JSON {"format": "velkor-sensitivity", ...}, CSV a row per question, SVG
// the tornado chart, or text.
std::string MakeSensitivityOutput(const SSensitivity& sensitivity, EOutputFormat format);
