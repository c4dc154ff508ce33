#include "report/Sensitivity.h"

#include "model/Format.h"
#include "report/Export.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <algorithm>
#include <cmath>

namespace
{
std::vector<std::uint32_t> AnswersWithin(const SSnapshot& snapshot, std::uint32_t i,
                                         std::uint32_t nLevels)
{
    const std::uint32_t nSaved = snapshot.anAnswers[i];
    const std::uint32_t nLast = CatalogueQuestion(i).GetAnswerCount() - 1;
    std::vector<std::uint32_t> answers;
    for (std::uint32_t a = nSaved > nLevels ? nSaved - nLevels : 0;
         a <= std::min(nLast, nSaved + std::min(nLevels, nLast)); ++a)
        answers.push_back(a);
    return answers;
}
} // namespace

SUnsure FindUnsureRanges(const SSnapshot& snapshot, std::vector<std::uint32_t> questions,
                         std::uint32_t nLevels)
{
    SUnsure unsure;
    std::sort(questions.begin(), questions.end());
    questions.erase(std::unique(questions.begin(), questions.end()), questions.end());
    unsure.questions = std::move(questions);
    unsure.nLevels = nLevels;

    // The answers of each metric's lowest and highest combination. A metric
    // moves with each answer on its own, so each question's extreme is the
    // answer that gives the metric its extreme with the others as saved.
    std::array<Answers, METRIC_COUNT> lows, highs;
    lows.fill(snapshot.anAnswers);
    highs.fill(snapshot.anAnswers);
    CWorkModel work(snapshot);
    for (const std::uint32_t i : unsure.questions)
    {
        std::array<double, METRIC_COUNT> adLow = snapshot.adMetrics, adHigh = snapshot.adMetrics;
        for (const std::uint32_t a : AnswersWithin(snapshot, i, nLevels))
        {
            work.Set(i, a);
            work.Compute();
            for (std::size_t k = 0; k < METRIC_COUNT; ++k)
            {
                const double dValue = work.Metric(static_cast<int>(k));
                if (dValue < adLow[k])
                    adLow[k] = dValue, lows[k][i] = a;
                if (dValue > adHigh[k])
                    adHigh[k] = dValue, highs[k][i] = a;
            }
        }
        work.Set(i, snapshot.anAnswers[i]);
    }
    // Each extreme computed as the model computes it, for that combination.
    for (std::size_t k = 0; k < METRIC_COUNT; ++k)
    {
        SMetricRange& range = unsure.metrics[k];
        range.dValue = snapshot.adMetrics[k];
        work.SetAll(lows[k]);
        work.Compute();
        range.dLow = std::min(range.dValue, work.Metric(static_cast<int>(k)));
        work.SetAll(highs[k]);
        work.Compute();
        range.dHigh = std::max(range.dValue, work.Metric(static_cast<int>(k)));
    }
    return unsure;
}

SSensitivity AnalyseSensitivity(const SSnapshot& snapshot,
                                const std::optional<std::vector<std::uint32_t>>& unsure,
                                std::uint32_t nLevels)
{
    SSensitivity sensitivity;
    sensitivity.snapshot = snapshot;
    CWorkModel work(snapshot);
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        std::vector<std::uint32_t> scale(CatalogueQuestion(i).GetAnswerCount());
        for (std::uint32_t a = 0; a < scale.size(); ++a)
            scale[a] = a;
        const auto [dLow, dHigh] = TotalRange(work, i, scale);
        work.Set(i, snapshot.anAnswers[i]);
        sensitivity.swings.push_back({i, dLow, dHigh, dHigh - dLow});
    }
    std::stable_sort(sensitivity.swings.begin(), sensitivity.swings.end(),
                     [](const SSwing& a, const SSwing& b)
                     { return LargerSwing(a.dSwing, b.dSwing); });
    if (unsure)
        sensitivity.unsure = FindUnsureRanges(snapshot, *unsure, nLevels);
    return sensitivity;
}

namespace
{
std::string QuestionText(std::uint32_t i)
{
    return OneLine(CatalogueQuestion(i).GetText());
}

nlohmann::ordered_json SensitivityJson(const SSensitivity& sensitivity)
{
    const SSnapshot& snapshot = sensitivity.snapshot;
    nlohmann::ordered_json doc;
    doc["format"] = "velkor-sensitivity";
    doc["version"] = 1;
    doc["total"] = JsonNumber(snapshot.Metric(METRIC_TOTAL));
    doc["questions"] = nlohmann::ordered_json::array();
    for (const SSwing& swing : sensitivity.swings)
    {
        nlohmann::ordered_json item = JsonQuestion(swing.nQuestion);
        item["answer"] = snapshot.anAnswers[swing.nQuestion];
        item["low"] = JsonNumber(swing.dLow);
        item["high"] = JsonNumber(swing.dHigh);
        item["swing"] = JsonNumber(swing.dSwing);
        doc["questions"].push_back(std::move(item));
    }
    if (sensitivity.unsure)
    {
        nlohmann::ordered_json& unsure = doc["unsure"];
        unsure["questions"] = nlohmann::ordered_json::array();
        for (const std::uint32_t i : sensitivity.unsure->questions)
            unsure["questions"].push_back(i + 1);
        unsure["levels"] = sensitivity.unsure->nLevels;
        unsure["metrics"] = JsonMetricRanges(sensitivity.unsure->metrics);
    }
    return doc;
}

std::string SensitivityCsv(const SSensitivity& sensitivity)
{
    std::string strOut = std::string("rank,") + g_szCsvQuestion + ",answer,low,high,swing\n";
    for (std::size_t n = 0; n < sensitivity.swings.size(); ++n)
    {
        const SSwing& swing = sensitivity.swings[n];
        strOut += std::to_string(n + 1) + ',' + CsvQuestion(swing.nQuestion) + ',' +
                  std::to_string(sensitivity.snapshot.anAnswers[swing.nQuestion]);
        for (const double d : {swing.dLow, swing.dHigh, swing.dSwing})
        {
            strOut += ',';
            AppendCsvNumber(strOut, d);
        }
        strOut += '\n';
    }
    return strOut;
}

std::string TotalLine(const SSensitivity& sensitivity)
{
    const std::string strTotal = PercentText(sensitivity.snapshot.Metric(METRIC_TOTAL));
    if (!sensitivity.unsure)
        return FormatText(IDS_SENSITIVITY_TOTAL, {strTotal});
    const SUnsure& unsure = *sensitivity.unsure;
    const SMetricRange& total = unsure.metrics[METRIC_TOTAL];
    const std::string strLevels =
        unsure.nLevels == 1 ? LoadResString(IDS_SENSITIVITY_ONE_LEVEL)
                            : FormatText(IDS_SENSITIVITY_LEVELS, {std::to_string(unsure.nLevels)});
    return FormatText(unsure.questions.size() == 1 ? IDS_SENSITIVITY_UNSURE_ONE
                                                   : IDS_SENSITIVITY_UNSURE,
                      {strTotal, PercentText(total.dLow), PercentText(total.dHigh),
                       std::to_string(unsure.questions.size()), strLevels});
}

std::string SensitivityText(const SSensitivity& sensitivity)
{
    const SSnapshot& snapshot = sensitivity.snapshot;
    std::string strOut = TotalLine(sensitivity) + "\n\n";
    if (sensitivity.unsure)
        strOut +=
            TextMetricRanges(sensitivity.unsure->metrics, {LoadResString(IDS_EVIDENCE_PROBABILITY),
                                                           LoadResString(IDS_SENSITIVITY_SAVED),
                                                           LoadResString(IDS_EVIDENCE_LOWEST),
                                                           LoadResString(IDS_EVIDENCE_HIGHEST)}) +
            '\n';
    std::vector<std::vector<std::string>> rows = {
        {"Rank", "Q", LoadResString(IDS_TEAM_SWING), LoadResString(IDS_EVIDENCE_LOWEST),
         LoadResString(IDS_EVIDENCE_HIGHEST), LoadResString(IDS_SENSITIVITY_ANSWER),
         LoadResString(IDS_TEAM_QUESTION)}};
    for (std::size_t n = 0; n < sensitivity.swings.size(); ++n)
    {
        const SSwing& swing = sensitivity.swings[n];
        const std::uint32_t i = swing.nQuestion;
        rows.push_back({std::to_string(n + 1), "Q" + std::to_string(i + 1),
                        FormatFixed(swing.dSwing * 100, 1), FormatPercent(swing.dLow),
                        FormatPercent(swing.dHigh), AnswerLabel(i, snapshot.anAnswers[i]),
                        QuestionText(i)});
    }
    return strOut + LoadResString(IDS_SENSITIVITY_RANKED) + '\n' + FormatTable(rows, "rrrrrll");
}
} // namespace

std::string MakeSensitivityOutput(const SSensitivity& sensitivity, EOutputFormat format)
{
    return WriteData(format, {[&] { return SensitivityText(sensitivity); },
                              [&] { return SensitivityCsv(sensitivity); },
                              [&] { return SensitivityJson(sensitivity); },
                              [&] { return WriteSvg(MakeTornadoChart(sensitivity)); }});
}
