#include "report/Improve.h"

#include "report/Rows.h"
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

SStepRow Step(const SImprovement& s)
{
    return {{s.nQuestion, s.nFrom, s.nTo}, s.dGain, s.dTotal};
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

namespace
{
JsonRow ImproveJson(const std::vector<SImprovement>& found, double dTotal)
{
    JsonRow doc;
    doc["format"] = "velkor-improve";
    doc["version"] = 1;
    doc["total"] = JsonNumber(dTotal);
    doc["suggestions"] = JsonRow::array();
    for (const SImprovement& s : found)
    {
        JsonRow item = JsonStep(Step(s));
        item["cumulative"] = JsonNumber(s.dCumulative);
        item["context"] = s.bContext;
        doc["suggestions"].push_back(std::move(item));
    }
    return doc;
}

std::string ImproveCsv(const std::vector<SImprovement>& found)
{
    std::string strOut = std::string("rank,") + g_szCsvStepHeader + ",cumulative,context\n";
    for (std::size_t n = 0; n < found.size(); ++n)
    {
        strOut += std::to_string(n + 1) + ',';
        AppendCsvStep(strOut, Step(found[n]));
        strOut += ',';
        AppendCsvNumber(strOut, found[n].dCumulative);
        strOut += found[n].bContext ? ",true\n" : ",false\n";
    }
    return strOut;
}

std::string ImproveText(const std::vector<SImprovement>& found, double dTotal)
{
    std::string strOut = MetricLabel(METRIC_TOTAL) + ": " + FormatPercent(dTotal) + "%\n";
    if (found.empty())
        return strOut + "No single answer raises it.\n";
    std::vector<TextRow> rows = {
        {"Rank", "Gain", "Cumulative", "Q", "Category", "Answer", "Question"}};
    std::vector<TextRow> context = {{"Gain", "Q", "Category", "Answer", "Question"}};
    for (const SImprovement& s : found)
    {
        if (!s.bContext)
        {
            rows.push_back(TextStep(std::to_string(rows.size()), Step(s), s.dCumulative));
            continue;
        }
        TextRow row = TextStep({}, Step(s), s.dTotal);
        row.erase(row.begin() + 2); // neither rank nor cumulative
        row.erase(row.begin());
        context.push_back(std::move(row));
    }
    if (rows.size() > 1)
        strOut += "\n" + FormatTable(rows, "rrrrlll") +
                  "Cumulative: the total (%) if you make this change and every one above it.\n";
    if (context.size() > 1)
        strOut += "\nThese answers describe the project's circumstances rather than a practice:\n" +
                  FormatTable(context, "rrlll");
    return strOut;
}
} // namespace

std::string MakeImproveOutput(const SSnapshot& snapshot, std::size_t nTop, EOutputFormat format)
{
    const std::vector<SImprovement> found = FindImprovements(snapshot, nTop);
    const double dTotal = snapshot.Metric(METRIC_TOTAL);
    return WriteData(format, {.text = [&] { return ImproveText(found, dTotal); },
                              .csv = [&] { return ImproveCsv(found); },
                              .json = [&] { return ImproveJson(found, dTotal); },
                              .svg = nullptr});
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

namespace
{
JsonRow PlanJson(const SPlan& plan)
{
    JsonRow doc;
    doc["format"] = "velkor-improve-plan";
    doc["version"] = 1;
    doc["target"] = JsonNumber(plan.dTarget);
    doc["reached"] = plan.bReached;
    doc["total"] = JsonNumber(plan.dTotal);
    doc["steps"] = JsonRow::array();
    for (std::size_t n = 0; n < plan.steps.size(); ++n)
    {
        JsonRow step;
        step["step"] = n + 1;
        step.update(JsonStep(Step(plan.steps[n])));
        doc["steps"].push_back(std::move(step));
    }
    return doc;
}

std::string PlanCsv(const SPlan& plan)
{
    std::string strOut = std::string("step,") + g_szCsvStepHeader + '\n';
    for (std::size_t n = 0; n < plan.steps.size(); ++n)
    {
        strOut += std::to_string(n + 1) + ',';
        AppendCsvStep(strOut, Step(plan.steps[n]));
        strOut += '\n';
    }
    return strOut;
}

std::string PlanText(const SPlan& plan)
{
    const std::size_t nSteps = plan.steps.size();
    const std::string strChanges = nSteps == 1 ? "1 change" : std::to_string(nSteps) + " changes";
    std::string strOut = MetricLabel(METRIC_TOTAL) + ": " + FormatPercent(plan.dStart) +
                         "%, target " + FormatPercent(plan.dTarget) + "%\n";
    if (nSteps == 0)
        strOut +=
            plan.bReached ? "The target is reached already.\n" : "No answer raises the total.\n";
    else
    {
        std::vector<TextRow> rows = {
            {"Step", "Gain", "Total", "Q", "Category", "Answer", "Question"}};
        for (std::size_t n = 0; n < nSteps; ++n)
        {
            const SImprovement& s = plan.steps[n];
            rows.push_back(
                TextStep(std::to_string(n + 1), Step(s), s.dTotal, s.bContext ? " (context)" : ""));
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
} // namespace

std::string MakePlanOutput(const SSnapshot& snapshot, double dTarget, EOutputFormat format)
{
    const SPlan plan = MakePlan(snapshot, dTarget);
    return WriteData(format, {.text = [&] { return PlanText(plan); },
                              .csv = [&] { return PlanCsv(plan); },
                              .json = [&] { return PlanJson(plan); },
                              .svg = nullptr});
}
