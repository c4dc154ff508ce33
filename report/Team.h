// velkor-report team: several assessors' answers to the same project, their
// consensus, how far they agree (Krippendorff's alpha) and which questions
// are worth talking over.
#pragma once

#include "report/Evidence.h"
#include "report/Statistics.h"

#include <optional>
#include <string>
#include <vector>

struct STeamMember
{
    std::string strPath;
    SSnapshot snapshot;
};

struct STeamQuestion
{
    std::uint32_t nConsensus = 0; // the median answer; with an even count the lower middle one
    std::uint32_t nLowest = 0, nHighest = 0; // of the answers given
    // The largest minus the smallest total among the answers given, every
    // other answer at the consensus, the consensus weights.
    double dSwing = 0;
};

struct STeamAssessor
{
    double dDistance = 0;               // mean |answer - consensus| over the 81 questions
    std::optional<double> alphaWithout; // with three or more assessors
};

struct STeam
{
    std::vector<STeamMember> members;
    SSnapshot consensus;      // answers and mean weights, its 28 metrics
    MetricRanges metrics;     // the consensus' value, the assessors' lowest and highest
    SAlphaInterval agreement; // over the five-level questions
    std::size_t nAgreementQuestions = 0;
    std::vector<STeamQuestion> questions; // 81, in catalogue order
    std::vector<STeamAssessor> assessors; // as members
    std::vector<std::uint32_t> discuss;   // questions (0-based) with a swing, largest first
};

// The team of at least one member (callers ask for two).
STeam AnalyseTeam(std::vector<STeamMember> members);

// "reliable" (alpha >= 0.800), "tentative" (>= 0.667), "unreliable";
// "undefined" without alpha.
std::string AgreementBand(const std::optional<double>& alpha);

// JSON {"format": "velkor-team", ...}, CSV a row per question, or text.
std::string MakeTeamOutput(const STeam& team, EOutputFormat format);
