#include "report/Improve.h"

#include "res/ContextQuestions.h"

#include <algorithm>

namespace
{
// Totals of what-if answers, on one working model.
class CWhatIf
{
public:
    explicit CWhatIf(const SSnapshot& snapshot)
    {
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            m_work.GetQuestion(i)->SetSelected(snapshot.anAnswers[i]);
        m_work.SetTechnicalWeight(snapshot.weights.dTechnical);
        m_work.SetCostWeight(snapshot.weights.dCost);
        m_work.SetScheduleWeight(snapshot.weights.dSchedule);
    }
    std::uint32_t Answer(std::uint32_t i) const { return m_work.GetQuestion(i)->GetSelected(); }
    void Set(std::uint32_t i, std::uint32_t nAnswer)
    {
        m_work.GetQuestion(i)->SetSelected(nAnswer);
    }
    double Total()
    {
        m_work.ComputeAll();
        return m_work.GetMetricValue(METRIC_TOTAL);
    }
    // The next answer of question i along its scale whose value is higher
    // than the one selected; nothing when there is none.
    std::optional<std::uint32_t> NextHigher(std::uint32_t i) const
    {
        const std::uint32_t nFrom = Answer(i);
        const double dValue = AnswerValue(i, nFrom);
        for (std::uint32_t nTo = nFrom + 1; nTo < CatalogueQuestion(i).GetAnswerCount(); ++nTo)
            if (AnswerValue(i, nTo) > dValue)
                return nTo;
        return std::nullopt;
    }
    // Raising question i one step: the total after it; the answer is put back.
    std::optional<SImprovement> Try(std::uint32_t i, double dBefore)
    {
        const auto nTo = NextHigher(i);
        if (!nTo)
            return std::nullopt;
        const std::uint32_t nFrom = Answer(i);
        Set(i, *nTo);
        const double dAfter = Total();
        Set(i, nFrom);
        if (!(dAfter - dBefore > 0.0))
            return std::nullopt;
        return SImprovement{i, nFrom, *nTo, dAfter - dBefore, dAfter, dAfter, IsContextQuestion(i)};
    }

private:
    CKeepAnswersFlag m_keep; // first member: restored after the model is gone
    CRiskModel m_work;
};

std::string Label(std::uint32_t i, std::uint32_t nAnswer)
{
    return CatalogueQuestion(i).GetAnswerLabel(nAnswer);
}

// The fields every format shares, in JSON.
nlohmann::ordered_json JsonChange(const SImprovement& s)
{
    nlohmann::ordered_json item;
    item["question"] = s.nQuestion;
    item["number"] = s.nQuestion + 1;
    item["category"] = CategoryName(s.nQuestion);
    item["text"] = CatalogueQuestion(s.nQuestion).GetText();
    item["from"] = s.nFrom;
    item["to"] = s.nTo;
    item["from_label"] = Label(s.nQuestion, s.nFrom);
    item["to_label"] = Label(s.nQuestion, s.nTo);
    item["gain"] = JsonNumber(s.dGain);
    item["total"] = JsonNumber(s.dTotal);
    return item;
}

const char s_szCsvChange[] = "question,number,category,text,from,to,from_label,to_label,gain,total";

void AppendCsvChange(std::string& strOut, const SImprovement& s)
{
    strOut += std::to_string(s.nQuestion) + ',' + std::to_string(s.nQuestion + 1) + ',';
    strOut += CsvField(CategoryName(s.nQuestion)) + ',';
    strOut += CsvField(CatalogueQuestion(s.nQuestion).GetText());
    strOut += ',' + std::to_string(s.nFrom) + ',' + std::to_string(s.nTo) + ',';
    strOut += CsvField(Label(s.nQuestion, s.nFrom)) + ',';
    strOut += CsvField(Label(s.nQuestion, s.nTo)) + ',';
    AppendCsvNumber(strOut, s.dGain);
    strOut += ',';
    AppendCsvNumber(strOut, s.dTotal);
}

std::string AnswerChange(const SImprovement& s)
{
    return Label(s.nQuestion, s.nFrom) + " -> " + Label(s.nQuestion, s.nTo);
}

std::string QuestionText(std::uint32_t i)
{
    return OneLine(CatalogueQuestion(i).GetText());
}
} // namespace

std::vector<SImprovement> FindImprovements(const SSnapshot& snapshot, std::size_t nTop)
{
    CWhatIf work(snapshot);
    const double dBefore = work.Total();
    std::vector<SImprovement> found;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        if (const auto improvement = work.Try(i, dBefore))
            found.push_back(*improvement);
    std::stable_sort(found.begin(), found.end(),
                     [](const SImprovement& a, const SImprovement& b)
                     { return a.dGain > b.dGain; });
    if (nTop != 0 && found.size() > nTop)
        found.resize(nTop);

    // The total of each practice together with every practice ranked above.
    double dCumulative = dBefore;
    for (SImprovement& s : found)
    {
        if (!s.bContext)
        {
            work.Set(s.nQuestion, s.nTo);
            dCumulative = work.Total();
        }
        s.dCumulative = dCumulative;
    }
    return found;
}

std::string MakeImproveOutput(const SSnapshot& snapshot, std::size_t nTop, EOutputFormat format)
{
    const std::vector<SImprovement> found = FindImprovements(snapshot, nTop);
    const double dTotal = snapshot.Metric(METRIC_TOTAL);

    if (format == EOutputFormat::json)
    {
        nlohmann::ordered_json doc;
        doc["format"] = "velkor-improve";
        doc["version"] = 1;
        doc["total"] = JsonNumber(dTotal);
        doc["suggestions"] = nlohmann::ordered_json::array();
        for (const SImprovement& s : found)
        {
            nlohmann::ordered_json item = JsonChange(s);
            item["cumulative"] = JsonNumber(s.dCumulative);
            item["context"] = s.bContext;
            doc["suggestions"].push_back(std::move(item));
        }
        return DumpJson(doc);
    }
    if (format == EOutputFormat::csv)
    {
        std::string strOut = std::string("rank,") + s_szCsvChange + ",cumulative,context\n";
        for (std::size_t n = 0; n < found.size(); ++n)
        {
            strOut += std::to_string(n + 1) + ',';
            AppendCsvChange(strOut, found[n]);
            strOut += ',';
            AppendCsvNumber(strOut, found[n].dCumulative);
            strOut += found[n].bContext ? ",true\n" : ",false\n";
        }
        return strOut;
    }

    std::string strOut = MetricLabel(METRIC_TOTAL) + ": " + FormatPercent(dTotal) + "%\n";
    if (found.empty())
        return strOut + "No single answer raises it.\n";
    std::vector<std::vector<std::string>> rows = {
        {"Rank", "Gain", "Cumulative", "Q", "Category", "Answer", "Question"}};
    std::vector<std::vector<std::string>> context = {
        {"Gain", "Q", "Category", "Answer", "Question"}};
    for (const SImprovement& s : found)
    {
        const std::string strQ = "Q" + std::to_string(s.nQuestion + 1);
        if (s.bContext)
            context.push_back({FormatPoints(s.dGain), strQ, CategoryName(s.nQuestion),
                               AnswerChange(s), QuestionText(s.nQuestion)});
        else
            rows.push_back({std::to_string(rows.size()), FormatPoints(s.dGain),
                            FormatPercent(s.dCumulative), strQ, CategoryName(s.nQuestion),
                            AnswerChange(s), QuestionText(s.nQuestion)});
    }
    if (rows.size() > 1)
        strOut += "\n" + FormatTable(rows, "rrrrlll") +
                  "Cumulative: the total (%) if you make this change and every one above it.\n";
    if (context.size() > 1)
        strOut += "\nThese answers describe the project's circumstances rather than a practice:\n" +
                  FormatTable(context, "rrlll");
    return strOut;
}

SPlan MakePlan(const SSnapshot& snapshot, double dTarget)
{
    CWhatIf work(snapshot);
    SPlan plan;
    plan.dTarget = dTarget;
    plan.dStart = plan.dTotal = plan.dReachable = work.Total();
    plan.bReached = plan.dTotal >= dTarget;
    for (;;)
    {
        std::optional<SImprovement> best;
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            if (const auto step = work.Try(i, plan.dReachable);
                step && (!best || step->dGain > best->dGain))
                best = step;
        if (!best)
            break;
        work.Set(best->nQuestion, best->nTo);
        plan.dReachable = best->dTotal;
        if (!plan.bReached)
        {
            plan.steps.push_back(*best);
            plan.dTotal = best->dTotal;
            plan.bReached = plan.dTotal >= dTarget;
        }
    }
    return plan;
}

std::string MakePlanOutput(const SSnapshot& snapshot, double dTarget, EOutputFormat format)
{
    const SPlan plan = MakePlan(snapshot, dTarget);
    if (format == EOutputFormat::json)
    {
        nlohmann::ordered_json doc;
        doc["format"] = "velkor-improve-plan";
        doc["version"] = 1;
        doc["target"] = JsonNumber(plan.dTarget);
        doc["reached"] = plan.bReached;
        doc["total"] = JsonNumber(plan.dTotal);
        doc["steps"] = nlohmann::ordered_json::array();
        for (std::size_t n = 0; n < plan.steps.size(); ++n)
        {
            nlohmann::ordered_json step;
            step["step"] = n + 1;
            step.update(JsonChange(plan.steps[n]));
            doc["steps"].push_back(std::move(step));
        }
        return DumpJson(doc);
    }
    if (format == EOutputFormat::csv)
    {
        std::string strOut = std::string("step,") + s_szCsvChange + '\n';
        for (std::size_t n = 0; n < plan.steps.size(); ++n)
        {
            strOut += std::to_string(n + 1) + ',';
            AppendCsvChange(strOut, plan.steps[n]);
            strOut += '\n';
        }
        return strOut;
    }

    const std::size_t nSteps = plan.steps.size();
    const std::string strChanges = nSteps == 1 ? "1 change" : std::to_string(nSteps) + " changes";
    std::string strOut = MetricLabel(METRIC_TOTAL) + ": " + FormatPercent(plan.dStart) +
                         "%, target " + FormatPercent(plan.dTarget) + "%\n";
    if (nSteps == 0)
        strOut +=
            plan.bReached ? "The target is reached already.\n" : "No answer raises the total.\n";
    else
    {
        std::vector<std::vector<std::string>> rows = {
            {"Step", "Gain", "Total", "Q", "Category", "Answer", "Question"}};
        for (std::size_t n = 0; n < nSteps; ++n)
        {
            const SImprovement& s = plan.steps[n];
            rows.push_back({std::to_string(n + 1), FormatPoints(s.dGain), FormatPercent(s.dTotal),
                            "Q" + std::to_string(s.nQuestion + 1), CategoryName(s.nQuestion),
                            AnswerChange(s), QuestionText(s.nQuestion) + (s.bContext ? " (context)" : "")});
        }
        strOut += "\n" + FormatTable(rows, "rrrrlll") + "\n";
    }
    if (plan.bReached && nSteps > 0)
        strOut += strChanges + " reach " + FormatPercent(plan.dTotal) +
                  " %; the most reachable is " + FormatPercent(plan.dReachable) + " %.\n";
    else if (!plan.bReached)
        strOut += "The target is out of reach: " +
                  (nSteps == 0 ? std::string("the total stays at ") : strChanges + " reach ") +
                  FormatPercent(plan.dTotal) + " %, the most reachable.\n";
    return strOut;
}
