#include "report/Compare.h"

#include "files/Path.h"
#include "model/Bits.h"

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

nlohmann::ordered_json JsonSide(const SCompareSide& side)
{
    nlohmann::ordered_json json;
    json["path"] = side.strPath;
    json["title"] = GetFileTitle(side.strPath);
    json["weights"] = JsonWeights(side.snapshot.weights);
    return json;
}
} // namespace

std::string MakeCompareOutput(const SCompareSide& old, const SCompareSide& now,
                              EOutputFormat format)
{
    const auto Old = [&](int k) { return old.snapshot.Metric(k); };
    const auto New = [&](int k) { return now.snapshot.Metric(k); };
    const auto Label = [&](int k) { return MetricLabel(k); };
    const std::vector<std::uint32_t> changed = ChangedAnswers(old.snapshot, now.snapshot);
    const auto Question = [&](std::uint32_t i) { return &CatalogueQuestion(i); };
    const auto AnswerOf = [](const SCompareSide& side, std::uint32_t i)
    { return side.snapshot.anAnswers[i]; };

    if (format == EOutputFormat::json)
    {
        nlohmann::ordered_json doc;
        doc["format"] = "velkor-compare";
        doc["version"] = 1;
        doc["old"] = JsonSide(old);
        doc["new"] = JsonSide(now);
        doc["metrics"] = nlohmann::ordered_json::array();
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            nlohmann::ordered_json metric;
            metric["index"] = k;
            metric["label"] = Label(k);
            metric["old"] = JsonNumber(Old(k));
            metric["new"] = JsonNumber(New(k));
            metric["delta"] = JsonNumber(New(k) - Old(k));
            doc["metrics"].push_back(std::move(metric));
        }
        doc["answers"] = nlohmann::ordered_json::array();
        for (const std::uint32_t i : changed)
        {
            const std::uint32_t nOld = AnswerOf(old, i);
            const std::uint32_t nNew = AnswerOf(now, i);
            nlohmann::ordered_json answer;
            answer["question"] = i;
            answer["number"] = i + 1;
            answer["category"] = CategoryName(i);
            answer["text"] = Question(i)->GetText();
            answer["old"] = nOld;
            answer["new"] = nNew;
            answer["old_label"] = Question(i)->GetAnswerLabel(nOld);
            answer["new_label"] = Question(i)->GetAnswerLabel(nNew);
            doc["answers"].push_back(std::move(answer));
        }
        return DumpJson(doc);
    }
    if (format == EOutputFormat::csv)
    {
        std::string strOut = "index,label,old,new,delta\n";
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            strOut += std::to_string(k) + ",";
            strOut += CsvField(Label(k));
            strOut += ',';
            AppendCsvNumber(strOut, Old(k));
            strOut += ',';
            AppendCsvNumber(strOut, New(k));
            strOut += ',';
            AppendCsvNumber(strOut, New(k) - Old(k));
            strOut += '\n';
        }
        return strOut;
    }

    std::string strOut = "Old: " + EscapeForDisplay(old.strPath) +
                         "\nNew: " + EscapeForDisplay(now.strPath) + "\n\n";
    std::vector<std::vector<std::string>> rows = {{"Probability (%)", "Old", "New", "Change"}};
    for (int k = 0; k < METRIC_COUNT; ++k)
        rows.push_back({Label(k), FormatPercent(Old(k)), FormatPercent(New(k)),
                        FormatPoints(New(k) - Old(k))});
    strOut += FormatTable(rows, "lrrr");

    strOut += "\n";
    if (changed.empty())
        strOut += "No answer changed.\n";
    else
    {
        rows = {{"Q", "Category", "Answer", "Question"}};
        for (const std::uint32_t i : changed)
            rows.push_back({"Q" + std::to_string(i + 1), CategoryName(i),
                            Question(i)->GetAnswerLabel(AnswerOf(old, i)) + " -> " +
                                Question(i)->GetAnswerLabel(AnswerOf(now, i)),
                            OneLine(Question(i)->GetText())});
        strOut += (changed.size() == 1 ? "1 answer changed:\n"
                                       : std::to_string(changed.size()) + " answers changed:\n") +
                  FormatTable(rows, "rlll");
    }

    if (WeightsChanged(old.snapshot.weights, now.snapshot.weights))
    {
        rows = {{"Weight (%)", "Old", "New"}};
        const auto Row = [&](const char* psz, double SWeights::*pWeight)
        {
            rows.push_back({psz, FormatPercent(old.snapshot.weights.*pWeight),
                            FormatPercent(now.snapshot.weights.*pWeight)});
        };
        Row("Technical", &SWeights::dTechnical);
        Row("Cost", &SWeights::dCost);
        Row("Schedule", &SWeights::dSchedule);
        strOut += '\n';
        strOut += FormatTable(rows, "lrr");
    }
    return strOut;
}
