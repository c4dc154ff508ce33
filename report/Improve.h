// velkor-report improve: which single answer raises the total probability most.
#pragma once

#include "report/CommandOutput.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SImprovement
{
    std::uint32_t nQuestion = 0;
    std::uint32_t nFrom = 0; // answer index now
    std::uint32_t nTo = 0;   // the next answer along the scale with a higher value
    double dGain = 0.0;      // total after minus total before
    double dTotal = 0.0;     // total after
};

// The answers that raise the total, largest gain first, ties by question
// index; at most nTop of them (0: all). The model is not changed.
std::vector<SImprovement> FindImprovements(const CRiskModel& model, std::size_t nTop);

// The suggestions in the given format (text, JSON or CSV).
std::string MakeImproveOutput(const CRiskModel& model, std::size_t nTop, EOutputFormat format);
