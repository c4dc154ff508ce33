#include "report/Compare.h"

#include "files/Path.h"
#include "model/Bits.h"
#include "report/Rows.h"

#include <array>
#include <cstdint>
#include <vector>

namespace
{
std::vector<std::uint32_t> ChangedAnswers(const SSnapshot& old, const SSnapshot& now)
{
    std::vector<std::uint32_t> changed;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        if (old.anAnswers[i] != now.anAnswers[i])
            changed.push_back(i);
    return changed;
}

bool SameBits(double a, double b)
{
    return BitsOfDouble(a) == BitsOfDouble(b);
}

bool WeightsChanged(const SWeights& old, const SWeights& now)
{
    return !SameBits(old.dTechnical, now.dTechnical) || !SameBits(old.dCost, now.dCost) ||
           !SameBits(old.dSchedule, now.dSchedule);
}

JsonRow JsonSide(const SCompareSide& side)
{
    JsonRow json;
    json["path"] = side.strPath;
    json["title"] = GetFileTitle(side.strPath);
    json["weights"] = JsonWeightsRow(side.snapshot.weights);
    return json;
}

struct SComparison
{
    const SCompareSide& old;
    const SCompareSide& now;
    std::vector<SAnswerChange> changed;

    SComparison(const SCompareSide& o, const SCompareSide& n) : old(o), now(n)
    {
        for (const std::uint32_t i : ChangedAnswers(old.snapshot, now.snapshot))
            changed.push_back({i, old.snapshot.anAnswers[i], now.snapshot.anAnswers[i]});
    }
    std::array<double, 3> Values(int k) const
    {
        const double dOld = old.snapshot.Metric(k), dNew = now.snapshot.Metric(k);
        return {dOld, dNew, dNew - dOld};
    }

    JsonRow Json() const
    {
        JsonRow doc;
        doc["format"] = "velkor-compare";
        doc["version"] = 1;
        doc["old"] = JsonSide(old);
        doc["new"] = JsonSide(now);
        doc["metrics"] = JsonRow::array();
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            const auto v = Values(k);
            doc["metrics"].push_back(JsonMetric(k, {{"old", JsonNumber(v[0])},
                                                    {"new", JsonNumber(v[1])},
                                                    {"delta", JsonNumber(v[2])}}));
        }
        doc["answers"] = JsonRow::array();
        for (const SAnswerChange& change : changed)
            doc["answers"].push_back(JsonAnswerChange(change, CHANGE_OLD_NEW));
        return doc;
    }

    std::string Csv() const
    {
        std::string strOut = CsvMetricHeader({"old", "new", "delta"});
        for (int k = 0; k < METRIC_COUNT; ++k)
            AppendCsvMetric(strOut, k, Values(k));
        return strOut;
    }

    std::string Text() const
    {
        std::string strOut = "Old: " + EscapeForDisplay(old.strPath) +
                             "\nNew: " + EscapeForDisplay(now.strPath) + "\n\n";
        std::vector<TextRow> rows = {{"Probability (%)", "Old", "New", "Change"}};
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            const auto v = Values(k);
            rows.push_back(TextMetric(k, std::span(v).first(2), v[2]));
        }
        strOut += FormatTable(rows, "lrrr") + "\n";
        if (changed.empty())
            strOut += "No answer changed.\n";
        else
        {
            rows = {{"Q", "Category", "Answer", "Question"}};
            for (const SAnswerChange& change : changed)
                rows.push_back(TextAnswerChange(change));
            strOut +=
                (changed.size() == 1 ? "1 answer changed:\n"
                                     : std::to_string(changed.size()) + " answers changed:\n") +
                FormatTable(rows, "rlll");
        }
        if (WeightsChanged(old.snapshot.weights, now.snapshot.weights))
        {
            rows = {{"Weight (%)", "Old", "New"}};
            for (TextRow& row : TextWeights(old.snapshot.weights, now.snapshot.weights))
                rows.push_back(std::move(row));
            strOut += '\n' + FormatTable(rows, "lrr");
        }
        return strOut;
    }
};
} // namespace

std::string MakeCompareOutput(const SCompareSide& old, const SCompareSide& now,
                              EOutputFormat format)
{
    const SComparison comparison(old, now);
    return WriteData(format, {.text = [&] { return comparison.Text(); },
                              .csv = [&] { return comparison.Csv(); },
                              .json = [&] { return comparison.Json(); },
                              .svg = nullptr});
}
