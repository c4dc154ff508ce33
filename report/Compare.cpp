#include "report/Compare.h"

#include "files/ProjectFile.h"

#include "files/Path.h"
#include "report/Export.h"

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace
{
struct SMetrics
{
    std::array<double, METRIC_COUNT> ad{};
};

SMetrics Compute(CRiskModel& model)
{
    model.ComputeAll();
    SMetrics metrics;
    for (int k = 0; k < METRIC_COUNT; ++k)
        metrics.ad[static_cast<std::size_t>(k)] = model.GetMetricValue(k);
    return metrics;
}

std::vector<std::uint32_t> ChangedAnswers(const CRiskModel& old, const CRiskModel& now)
{
    std::vector<std::uint32_t> changed;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        if (old.GetQuestion(i)->GetSelected() != now.GetQuestion(i)->GetSelected())
            changed.push_back(i);
    return changed;
}

bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool WeightsChanged(const CRiskModel& old, const CRiskModel& now)
{
    return !SameBits(old.GetTechnicalWeight(), now.GetTechnicalWeight()) ||
           !SameBits(old.GetCostWeight(), now.GetCostWeight()) ||
           !SameBits(old.GetScheduleWeight(), now.GetScheduleWeight());
}

nlohmann::ordered_json JsonSide(const SCompareSide& side)
{
    nlohmann::ordered_json json;
    json["path"] = side.strPath;
    json["title"] = GetFileTitle(side.strPath);
    json["weights"] = JsonWeights(side.model);
    return json;
}
} // namespace

std::string MakeCompareOutput(const SCompareSide& old, const SCompareSide& now,
                              EOutputFormat format)
{
    const SMetrics oldMetrics = Compute(old.model);
    const SMetrics newMetrics = Compute(now.model);
    const auto Old = [&](int k) { return oldMetrics.ad[static_cast<std::size_t>(k)]; };
    const auto New = [&](int k) { return newMetrics.ad[static_cast<std::size_t>(k)]; };
    const auto Label = [&](int k) { return old.model.GetMetricLabel(k); };
    const std::vector<std::uint32_t> changed = ChangedAnswers(old.model, now.model);
    const auto Question = [&](std::uint32_t i) { return old.model.GetQuestion(i); };
    const auto AnswerOf = [](const CRiskModel& model, std::uint32_t i)
    { return model.GetQuestion(i)->GetSelected(); };

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
            const std::uint32_t nOld = AnswerOf(old.model, i);
            const std::uint32_t nNew = AnswerOf(now.model, i);
            nlohmann::ordered_json answer;
            answer["question"] = i;
            answer["category"] = GetCategoryName(*Question(i));
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

    std::string strOut = "Old: " + old.strPath + "\nNew: " + now.strPath + "\n\n";
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
            rows.push_back({std::to_string(i), GetCategoryName(*Question(i)),
                            Question(i)->GetAnswerLabel(AnswerOf(old.model, i)) + " -> " +
                                Question(i)->GetAnswerLabel(AnswerOf(now.model, i)),
                            OneLine(Question(i)->GetText())});
        strOut += (changed.size() == 1 ? "1 answer changed:\n"
                                       : std::to_string(changed.size()) + " answers changed:\n") +
                  FormatTable(rows, "rlll");
    }

    if (WeightsChanged(old.model, now.model))
    {
        rows = {{"Weight (%)", "Old", "New"}};
        const auto Row = [&](const char* psz, double (CRiskModel::*pGet)() const) {
            rows.push_back(
                {psz, FormatPercent((old.model.*pGet)()), FormatPercent((now.model.*pGet)())});
        };
        Row("Technical", &CRiskModel::GetTechnicalWeight);
        Row("Cost", &CRiskModel::GetCostWeight);
        Row("Schedule", &CRiskModel::GetScheduleWeight);
        strOut += '\n';
        strOut += FormatTable(rows, "lrr");
    }
    return strOut;
}
