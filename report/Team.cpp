#include "report/Team.h"

#include "model/Format.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <algorithm>
#include <cmath>

namespace
{
// Enough for either scale.
constexpr std::size_t MAX_ANSWERS = ESTIMATION_METHOD_ANSWERS;
using AnswerCounts = std::array<std::array<std::uint32_t, MAX_ANSWERS>, QUESTION_COUNT>;

bool InAgreement(std::uint32_t nQuestion)
{
    // The estimation method is a scale of its own, not five ordered levels.
    return (CatalogueQuestion(nQuestion).GetFlags() & QF_FIVE_LEVEL) != 0;
}

// How many assessors gave each answer: everything the consensus and alpha
// need, in one pass and without pairs of assessors.
AnswerCounts CountAnswers(const std::vector<STeamMember>& members)
{
    AnswerCounts counts{};
    for (const STeamMember& member : members)
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            ++counts[i][std::min<std::size_t>(member.snapshot.anAnswers[i], MAX_ANSWERS - 1)];
    return counts;
}

// The answer at 0-based rank nRank of the sorted answers.
std::uint32_t AnswerAtRank(const std::array<std::uint32_t, MAX_ANSWERS>& counts, std::size_t nRank)
{
    std::size_t nSeen = 0;
    for (std::uint32_t a = 0; a < MAX_ANSWERS; ++a)
        if ((nSeen += counts[a]) > nRank)
            return a;
    return MAX_ANSWERS - 1;
}

// The five-level questions as alpha's units, answers as values; without
// one member when pLeftOut is given.
CValueCounts AgreementCounts(const AnswerCounts& counts, const Answers* pLeftOut = nullptr)
{
    std::size_t nUnits = 0;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        nUnits += InAgreement(i) ? 1 : 0;
    CValueCounts values(nUnits, FIVE_LEVEL_ANSWERS);
    std::size_t u = 0;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        if (!InAgreement(i))
            continue;
        for (std::uint32_t a = 0; a < FIVE_LEVEL_ANSWERS; ++a)
            values.At(u, a) = counts[i][a];
        if (pLeftOut != nullptr)
            --values.At(u, std::min((*pLeftOut)[i], FIVE_LEVEL_ANSWERS - 1));
        ++u;
    }
    return values;
}

// Each question's spread of answers and its swing of the total.
void AddQuestions(STeam& team, const AnswerCounts& counts)
{
    CWorkModel work(team.consensus);
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        STeamQuestion question;
        question.nConsensus = team.consensus.anAnswers[i];
        question.nLowest = AnswerAtRank(counts[i], 0);
        question.nHighest = AnswerAtRank(counts[i], team.members.size() - 1);
        std::vector<std::uint32_t> given;
        for (std::uint32_t a = question.nLowest; a <= question.nHighest; ++a)
            if (counts[i][a] != 0)
                given.push_back(a);
        const auto [dLow, dHigh] = TotalRange(work, i, given);
        work.Set(i, question.nConsensus);
        question.dSwing = dHigh - dLow;
        team.questions.push_back(question);
        if (question.dSwing > 0)
            team.discuss.push_back(i);
    }
    std::stable_sort(team.discuss.begin(), team.discuss.end(),
                     [&](std::uint32_t a, std::uint32_t b)
                     { return LargerSwing(team.questions[a].dSwing, team.questions[b].dSwing); });
}

void AddMetricRanges(STeam& team)
{
    for (int k = 0; k < METRIC_COUNT; ++k)
    {
        SMetricRange& range = team.metrics[static_cast<std::size_t>(k)];
        range.dValue = team.consensus.Metric(k);
        range.dLow = range.dHigh = team.members.front().snapshot.Metric(k);
        for (const STeamMember& member : team.members)
        {
            range.dLow = std::min(range.dLow, member.snapshot.Metric(k));
            range.dHigh = std::max(range.dHigh, member.snapshot.Metric(k));
        }
    }
}

void AddAssessors(STeam& team, const AnswerCounts& counts)
{
    const bool bLeaveOut = team.members.size() >= 3;
    for (const STeamMember& member : team.members)
    {
        STeamAssessor assessor;
        double dSum = 0;
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            dSum += std::fabs(double(member.snapshot.anAnswers[i]) -
                              double(team.consensus.anAnswers[i]));
        assessor.dDistance = dSum / QUESTION_COUNT;
        if (bLeaveOut)
            assessor.alphaWithout =
                OrdinalAlpha(AgreementCounts(counts, &member.snapshot.anAnswers));
        team.assessors.push_back(assessor);
    }
}
} // namespace

STeam AnalyseTeam(std::vector<STeamMember> members)
{
    STeam team;
    team.members = std::move(members);
    const std::size_t nMembers = team.members.size();
    const AnswerCounts counts = CountAnswers(team.members);
    Answers anConsensus{};
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        anConsensus[i] = AnswerAtRank(counts[i], (nMembers - 1) / 2);
    SWeights weights{0, 0, 0};
    for (const STeamMember& member : team.members)
    {
        weights.dTechnical += member.snapshot.weights.dTechnical;
        weights.dCost += member.snapshot.weights.dCost;
        weights.dSchedule += member.snapshot.weights.dSchedule;
    }
    weights.dTechnical /= double(nMembers);
    weights.dCost /= double(nMembers);
    weights.dSchedule /= double(nMembers);
    team.consensus = MakeSnapshot(anConsensus, weights, LoadResString(IDS_TEAM_CONSENSUS));

    const CValueCounts agreement = AgreementCounts(counts);
    team.nAgreementQuestions = agreement.Units();
    team.agreement = OrdinalAlphaInterval(agreement);
    AddQuestions(team, counts);
    AddMetricRanges(team);
    AddAssessors(team, counts);
    return team;
}

std::string AgreementBand(const std::optional<double>& alpha)
{
    if (!alpha)
        return LoadResString(IDS_EVIDENCE_UNDEFINED);
    return LoadResString(*alpha >= 0.8     ? IDS_BAND_RELIABLE
                         : *alpha >= 0.667 ? IDS_BAND_TENTATIVE
                                           : IDS_BAND_UNRELIABLE);
}

namespace
{
nlohmann::ordered_json TeamJson(const STeam& team)
{
    nlohmann::ordered_json doc;
    doc["format"] = "velkor-team";
    doc["version"] = 1;
    doc["assessors"] = nlohmann::ordered_json::array();
    for (std::size_t n = 0; n < team.members.size(); ++n)
    {
        const SSnapshot& snapshot = team.members[n].snapshot;
        nlohmann::ordered_json item;
        item["path"] = team.members[n].strPath;
        item["title"] = snapshot.strTitle;
        item["weights"] = JsonWeightsRow(snapshot.weights);
        item["total"] = JsonNumber(snapshot.Metric(METRIC_TOTAL));
        item["distance"] = JsonNumber(team.assessors[n].dDistance);
        item["alpha_without"] = JsonOptional(team.assessors[n].alphaWithout);
        doc["assessors"].push_back(std::move(item));
    }
    doc["consensus"]["weights"] = JsonWeightsRow(team.consensus.weights);
    doc["consensus"]["metrics"] = JsonMetricRanges(team.metrics);
    nlohmann::ordered_json& agreement = doc["agreement"];
    agreement["alpha"] = JsonOptional(team.agreement.alpha);
    agreement["low"] = JsonOptional(team.agreement.low);
    agreement["high"] = JsonOptional(team.agreement.high);
    agreement["band"] = team.agreement.alpha
                            ? nlohmann::ordered_json(AgreementBand(team.agreement.alpha))
                            : nlohmann::ordered_json();
    agreement["questions"] = team.nAgreementQuestions;
    doc["questions"] = nlohmann::ordered_json::array();
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const STeamQuestion& question = team.questions[i];
        nlohmann::ordered_json item = JsonQuestion(i);
        item["answers"] = nlohmann::ordered_json::array();
        for (const STeamMember& member : team.members)
            item["answers"].push_back(member.snapshot.anAnswers[i]);
        item["consensus"] = question.nConsensus;
        item["lowest"] = question.nLowest;
        item["highest"] = question.nHighest;
        item["swing"] = JsonNumber(question.dSwing);
        doc["questions"].push_back(std::move(item));
    }
    doc["discuss"] = nlohmann::ordered_json::array();
    for (const std::uint32_t i : team.discuss)
        doc["discuss"].push_back(i + 1);
    return doc;
}

std::string TeamCsv(const STeam& team)
{
    std::string strOut = g_szCsvQuestion;
    for (std::size_t n = 1; n <= team.members.size(); ++n)
        strOut += ",answer_" + std::to_string(n);
    strOut += ",consensus,lowest,highest,swing\n";
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const STeamQuestion& question = team.questions[i];
        strOut += CsvQuestion(i);
        for (const STeamMember& member : team.members)
            strOut += ',' + std::to_string(member.snapshot.anAnswers[i]);
        strOut += ',' + std::to_string(question.nConsensus) + ',' +
                  std::to_string(question.nLowest) + ',' + std::to_string(question.nHighest) + ',';
        AppendCsvNumber(strOut, question.dSwing);
        strOut += '\n';
    }
    return strOut;
}

std::string AgreementLine(const STeam& team)
{
    const SAlphaInterval& agreement = team.agreement;
    if (!agreement.alpha)
        return FormatText(IDS_TEAM_ALPHA_UNDEFINED, {std::to_string(team.nAgreementQuestions)});
    const std::string strAlpha = FormatFixed(*agreement.alpha, 3);
    const std::string strCount = std::to_string(team.nAgreementQuestions);
    const std::string strBand = AgreementBand(agreement.alpha);
    if (!agreement.low)
        return FormatText(IDS_TEAM_ALPHA, {strAlpha, strBand, strCount});
    return FormatText(IDS_TEAM_ALPHA_INTERVAL,
                      {strAlpha, FormatFixed(*agreement.low, 3), FormatFixed(*agreement.high, 3),
                       strBand, strCount});
}

// The ten questions most worth talking over, with every assessor's answer.
std::string DiscussTable(const STeam& team)
{
    if (team.discuss.empty())
        return LoadResString(IDS_TEAM_NOTHING_TO_DISCUSS) + '\n';
    std::vector<std::vector<std::string>> rows(1, {"Q", LoadResString(IDS_TEAM_SWING)});
    for (const STeamMember& member : team.members)
        rows[0].push_back(OneLine(member.snapshot.strTitle));
    rows[0].insert(rows[0].end(), {team.consensus.strTitle, LoadResString(IDS_TEAM_QUESTION)});
    for (std::size_t n = 0; n < team.discuss.size() && n < 10; ++n)
    {
        const std::uint32_t i = team.discuss[n];
        std::vector<std::string> row = {"Q" + std::to_string(i + 1),
                                        FormatFixed(team.questions[i].dSwing * 100, 1)};
        for (const STeamMember& member : team.members)
            row.push_back(AnswerLabel(i, member.snapshot.anAnswers[i]));
        row.insert(row.end(), {AnswerLabel(i, team.questions[i].nConsensus),
                               OneLine(CatalogueQuestion(i).GetText())});
        rows.push_back(std::move(row));
    }
    return LoadResString(IDS_TEAM_DISCUSS) + '\n' +
           FormatTable(rows, "rr" + std::string(team.members.size() + 1, 'l') + "l");
}

std::string AssessorTable(const STeam& team)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"#", LoadResString(IDS_TEAM_FILE), LoadResString(IDS_TEAM_WEIGHTS),
                    MetricName(METRIC_TOTAL), LoadResString(IDS_TEAM_DISTANCE),
                    LoadResString(IDS_TEAM_ALPHA_WITHOUT)});
    for (std::size_t n = 0; n < team.members.size(); ++n)
    {
        const SSnapshot& snapshot = team.members[n].snapshot;
        const SWeights& w = snapshot.weights;
        rows.push_back({std::to_string(n + 1), OneLine(team.members[n].strPath),
                        FormatFixed(w.dTechnical * 100, 0) + "/" + FormatFixed(w.dCost * 100, 0) +
                            "/" + FormatFixed(w.dSchedule * 100, 0),
                        FormatPercent(snapshot.Metric(METRIC_TOTAL)),
                        FormatFixed(team.assessors[n].dDistance, 2),
                        team.assessors[n].alphaWithout || team.members.size() >= 3
                            ? TextOptional(team.assessors[n].alphaWithout, 3)
                            : "-"});
    }
    return FormatTable(rows, "rllrrr");
}

std::string TeamText(const STeam& team)
{
    std::string strOut = FormatText(IDS_TEAM_HEADING, {std::to_string(team.members.size())}) + '\n';
    strOut += AgreementLine(team) + "\n\n";
    strOut += TextMetricRanges(
        team.metrics, {LoadResString(IDS_EVIDENCE_PROBABILITY), team.consensus.strTitle,
                       LoadResString(IDS_EVIDENCE_LOWEST), LoadResString(IDS_EVIDENCE_HIGHEST)});
    strOut += '\n' + DiscussTable(team) + '\n' + AssessorTable(team);
    return strOut;
}
} // namespace

std::string MakeTeamOutput(const STeam& team, EOutputFormat format)
{
    return WriteData(format, {[&] { return TeamText(team); }, [&] { return TeamCsv(team); },
                              [&] { return TeamJson(team); }, nullptr});
}
