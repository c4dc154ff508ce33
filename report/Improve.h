// velkor-report improve: which answers raise the total probability most, one
// at a time (the ranked suggestions) or step by step up to a target (the plan).
#pragma once

#include "report/CommandOutput.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One raised answer: question nQuestion from answer nFrom to nTo.
struct SImprovement
{
    std::uint32_t nQuestion = 0;
    std::uint32_t nFrom = 0;  // answer index now
    std::uint32_t nTo = 0;    // the next answer along the scale with a higher value
    double dGain = 0.0;       // total after minus total before
    double dTotal = 0.0;      // total after
    double dCumulative = 0.0; // total after this and every practice ranked above it
    bool bContext = false;    // the question describes circumstances, not a practice
};

// The answers that raise the total, largest gain first, ties by question
// index; at most nTop of them (0: all). dCumulative counts the practices
// only: a context question's is the total of the practices above it.
std::vector<SImprovement> FindImprovements(const SSnapshot& snapshot, std::size_t nTop);

// The suggestions in the given format (text, JSON or CSV).
std::string MakeImproveOutput(const SSnapshot& snapshot, std::size_t nTop, EOutputFormat format);

// A greedy plan: one raised answer a step, each time the one with the largest
// gain given the steps before (ties to the lower question index), until the
// total reaches dTarget or no answer raises it. A question may be raised
// again in a later step. dTotal and dGain of each step are as above. The
// context questions (the project's circumstances) take no step unless
// bAllQuestions.
struct SPlan
{
    double dTarget = 0.0;
    bool bReached = false;
    double dStart = 0.0;     // the total before any step
    double dTotal = 0.0;     // after the last step
    double dReachable = 0.0; // the highest total the steps reach without a target
    std::vector<SImprovement> steps;
};
SPlan MakePlan(const SSnapshot& snapshot, double dTarget, bool bAllQuestions = false);

// The plan in the given format; JSON is {"format": "velkor-improve-plan", ...}
// with every step, the text one line per question ("Q12 None → Most, +3.1
// points": its first and last answer and the gain of all its steps).
std::string MakePlanOutput(const SSnapshot& snapshot, double dTarget, EOutputFormat format,
                           bool bAllQuestions = false);
