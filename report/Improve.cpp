#include "report/Improve.h"

#include "report/Export.h"

#include <algorithm>

namespace
{
// Puts back the program-wide answers flag, which SetSelected on a working
// copy raises.
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

// The answers and weights of one model put into another.
void CopyProject(const CRiskModel& from, CRiskModel& to)
{
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        to.GetQuestion(i)->SetSelected(from.GetQuestion(i)->GetSelected());
    to.SetTechnicalWeight(from.GetTechnicalWeight());
    to.SetCostWeight(from.GetCostWeight());
    to.SetScheduleWeight(from.GetScheduleWeight());
}

double Total(CRiskModel& model)
{
    model.ComputeAll();
    return model.GetMetricValue(METRIC_TOTAL);
}
} // namespace

std::vector<SImprovement> FindImprovements(const CRiskModel& model, std::size_t nTop)
{
    const CKeepAnswersFlag keep;
    CRiskModel work;
    CopyProject(model, work);
    const double dBefore = Total(work);

    std::vector<SImprovement> found;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        CQuestion* pQuestion = work.GetQuestion(i);
        const std::uint32_t nFrom = pQuestion->GetSelected();
        const double dValue = pQuestion->GetValue();
        for (std::uint32_t nTo = nFrom + 1; nTo < pQuestion->GetAnswerCount(); ++nTo)
        {
            pQuestion->SetSelected(nTo);
            if (pQuestion->GetValue() <= dValue)
                continue;
            const double dAfter = Total(work);
            if (dAfter - dBefore > 0.0)
                found.push_back({i, nFrom, nTo, dAfter - dBefore, dAfter});
            break;
        }
        pQuestion->SetSelected(nFrom);
    }

    std::stable_sort(found.begin(), found.end(),
                     [](const SImprovement& a, const SImprovement& b)
                     { return a.dGain > b.dGain; });
    if (nTop != 0 && found.size() > nTop)
        found.resize(nTop);
    return found;
}

std::string MakeImproveOutput(const CRiskModel& model, std::size_t nTop, EOutputFormat format)
{
    const std::vector<SImprovement> found = FindImprovements(model, nTop);
    double dTotal = 0.0;
    {
        const CKeepAnswersFlag keep;
        CRiskModel work;
        CopyProject(model, work);
        dTotal = Total(work);
    }
    const auto Label = [&](const SImprovement& s, std::uint32_t n)
    { return model.GetQuestion(s.nQuestion)->GetAnswerLabel(n); };
    const auto Category = [&](const SImprovement& s)
    { return GetCategoryName(*model.GetQuestion(s.nQuestion)); };
    const auto Text = [&](const SImprovement& s)
    { return model.GetQuestion(s.nQuestion)->GetText(); };

    if (format == EOutputFormat::json)
    {
        nlohmann::ordered_json doc;
        doc["format"] = "velkor-improve";
        doc["version"] = 1;
        doc["total"] = JsonNumber(dTotal);
        doc["suggestions"] = nlohmann::ordered_json::array();
        for (const SImprovement& s : found)
        {
            nlohmann::ordered_json item;
            item["question"] = s.nQuestion;
            item["category"] = Category(s);
            item["text"] = Text(s);
            item["from"] = s.nFrom;
            item["to"] = s.nTo;
            item["from_label"] = Label(s, s.nFrom);
            item["to_label"] = Label(s, s.nTo);
            item["gain"] = JsonNumber(s.dGain);
            item["total"] = JsonNumber(s.dTotal);
            doc["suggestions"].push_back(std::move(item));
        }
        return DumpJson(doc);
    }
    if (format == EOutputFormat::csv)
    {
        std::string strOut = "rank,question,category,text,from,to,from_label,to_label,gain,total\n";
        for (std::size_t n = 0; n < found.size(); ++n)
        {
            const SImprovement& s = found[n];
            strOut += std::to_string(n + 1) + "," + std::to_string(s.nQuestion) + ",";
            strOut += CsvField(Category(s));
            strOut += ',';
            strOut += CsvField(Text(s));
            for (const std::uint32_t nAnswer : {s.nFrom, s.nTo})
            {
                strOut += ',';
                strOut += std::to_string(nAnswer);
            }
            strOut += ',';
            strOut += CsvField(Label(s, s.nFrom));
            strOut += ',';
            strOut += CsvField(Label(s, s.nTo));
            strOut += ',';
            AppendCsvNumber(strOut, s.dGain);
            strOut += ',';
            AppendCsvNumber(strOut, s.dTotal);
            strOut += '\n';
        }
        return strOut;
    }

    std::string strOut = model.GetMetricLabel(METRIC_TOTAL) + ": " + FormatPercent(dTotal) + "%\n";
    if (found.empty())
        return strOut + "No single answer raises it.\n";
    strOut += "\n";
    std::vector<std::vector<std::string>> rows = {
        {"Rank", "Gain", "Q", "Category", "Answer", "Question"}};
    for (std::size_t n = 0; n < found.size(); ++n)
    {
        const SImprovement& s = found[n];
        rows.push_back({std::to_string(n + 1), FormatPoints(s.dGain), std::to_string(s.nQuestion),
                        Category(s), Label(s, s.nFrom) + " -> " + Label(s, s.nTo),
                        OneLine(Text(s))});
    }
    return strOut + FormatTable(rows, "rrrlll");
}
