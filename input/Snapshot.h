// An assessment as every report sees it: the answers, the weights, the 28
// success probabilities and the title, taken once from a loaded project.
// Renderers read a snapshot and never touch a CRiskModel or the program's
// answers-modified flag.
#pragma once

#include "model/RiskModel.h"

#include <array>
#include <cstdint>
#include <string>

// Puts back the program-wide answers flag, which SetSelected on a working
// model raises.
class CKeepAnswersFlag
{
public:
    CKeepAnswersFlag() = default;
    CKeepAnswersFlag(const CKeepAnswersFlag&) = delete;
    CKeepAnswersFlag& operator=(const CKeepAnswersFlag&) = delete;
    ~CKeepAnswersFlag() { g_bAnswersModified = m_bAnswersModified; }

private:
    int m_bAnswersModified = g_bAnswersModified;
};

struct SWeights
{
    double dTechnical = DEFAULT_WEIGHT;
    double dCost = DEFAULT_WEIGHT;
    double dSchedule = DEFAULT_WEIGHT;
};

using Answers = std::array<std::uint32_t, QUESTION_COUNT>;

// Immutable: built only by MakeSnapshot, read through its accessors.
class SSnapshot
{
public:
    const std::string& Title() const { return m_strTitle; }
    const Answers& SelectedAnswers() const { return m_anAnswers; }
    const SWeights& Weights() const { return m_weights; }
    // Metric k (0..27); 0.0 outside.
    double Metric(int k) const;

    // The same assessment under another title.
    SSnapshot Retitled(std::string strTitle) const;

private:
    SSnapshot() = default;
    friend SSnapshot MakeSnapshot(const Answers&, const SWeights&, std::string);

    std::string m_strTitle;
    Answers m_anAnswers{};
    SWeights m_weights;
    std::array<double, METRIC_COUNT> m_adMetrics{};
};

// The snapshot of a model's answers and weights, computed on a copy: the
// model, its metrics and the answers-modified flag are left as they were.
SSnapshot MakeSnapshot(const CRiskModel& model, std::string strTitle = {});

// The snapshot of answers and weights (what-if work); the flag is kept too.
SSnapshot MakeSnapshot(const Answers& anAnswers, const SWeights& weights,
                       std::string strTitle = {});

// The 81 questions of the catalogue, shared by every renderer (texts, answer
// labels and values, flags).
const CQuestion& CatalogueQuestion(std::uint32_t nQuestion);

// Names from the string table, the one source of every name:
// the metric's label ("Phase - Design Prob"),
std::string MetricLabel(int k);
// and its short name ("Design", "Company Culture", "Total", "Technical").
std::string MetricName(int k);
// The category of a question ("Organization" ... "Personnel").
std::string CategoryName(std::uint32_t nQuestion);
