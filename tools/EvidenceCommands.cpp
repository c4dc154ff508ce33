// velkor-report team, sensitivity and calibrate: their command lines. The
// work is done by the functions in report/, which the tests call directly.
#include "tools/Commands.h"

#include "files/File.h"
#include "files/ProjectFile.h"
#include "report/Calibrate.h"
#include "report/Sensitivity.h"
#include "report/Team.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <CLI/CLI.hpp>

#include <map>
#include <memory>

namespace
{
struct STeamArgs : SOutputArgs
{
    std::vector<std::string> paths;
    std::string strConsensus;
};

// The first file given twice, by any name or link: its two names.
std::optional<std::pair<std::string, std::string>> FindRepeat(const std::vector<std::string>& paths)
{
    std::map<FileId, std::size_t> seen;
    for (std::size_t n = 0; n < paths.size(); ++n)
        if (const auto id = GetFileId(paths[n]))
            if (const auto [it, bNew] = seen.emplace(*id, n); !bNew)
                return std::pair(paths[n], paths[it->second]);
    return std::nullopt;
}

void SaveConsensus(const SSnapshot& consensus, const std::string& strPath)
{
    const CKeepAnswersFlag keep;
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(consensus.anAnswers[i]);
    model.SetTechnicalWeight(consensus.weights.dTechnical);
    model.SetCostWeight(consensus.weights.dCost);
    model.SetScheduleWeight(consensus.weights.dSchedule);
    SaveProject(model, strPath);
}

int RunTeam(const STeamArgs& args)
{
    if (args.paths.size() < 2)
        return UsageError(LoadResString(IDS_TEAM_TOO_FEW) + ": " + args.paths.front(),
                          args.strUsage);
    if (const auto repeat = FindRepeat(args.paths))
        return UsageError(FormatText(IDS_TEAM_TWICE, {repeat->first, repeat->second}),
                          args.strUsage);
    if (!args.strConsensus.empty())
        if (const int n = FindSameFile(args.strConsensus, args.paths); n >= 0)
        {
            PrintError(FormatText(IDS_TEAM_CONSENSUS_INPUT,
                                  {args.strConsensus, args.paths[static_cast<std::size_t>(n)]}));
            return EXIT_USAGE;
        }
    return RunWithFormat(args, args.paths,
                         [&](EOutputFormat format)
                         {
                             std::vector<STeamMember> members;
                             members.reserve(args.paths.size());
                             for (const std::string& strPath : args.paths)
                                 members.push_back({strPath, ReadProject(strPath)});
                             const STeam team = AnalyseTeam(std::move(members));
                             Write(args.strOutput, MakeTeamOutput(team, format));
                             if (!args.strConsensus.empty())
                                 SaveConsensus(team.consensus, args.strConsensus);
                             return 0;
                         });
}

struct SSensitivityArgs : SOutputArgs
{
    std::string strProject;
    std::string strUnsure; // empty: no --unsure
    std::uint32_t nLevels = 1;
};

// "Q3,12,q40" as 0-based questions; "all" every one; nothing when a number
// is not one of 1 to 81 (strBad names it).
std::optional<std::vector<std::uint32_t>> ParseUnsure(const std::string& strList,
                                                      std::string& strBad)
{
    std::vector<std::uint32_t> questions;
    if (strList == "all")
    {
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            questions.push_back(i);
        return questions;
    }
    std::size_t nStart = 0;
    for (;;)
    {
        const std::size_t nEnd = std::min(strList.find(',', nStart), strList.size());
        std::string strItem = strList.substr(nStart, nEnd - nStart);
        strBad = strItem;
        if (!strItem.empty() && (strItem[0] == 'Q' || strItem[0] == 'q'))
            strItem.erase(0, 1);
        if (strItem.empty() || strItem.size() > 2 ||
            strItem.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        const auto nNumber = static_cast<std::uint32_t>(std::stoul(strItem));
        if (nNumber < 1 || nNumber > QUESTION_COUNT)
            return std::nullopt;
        questions.push_back(nNumber - 1);
        if (nEnd == strList.size())
            return questions;
        nStart = nEnd + 1;
    }
}

int RunSensitivity(const SSensitivityArgs& args)
{
    std::optional<std::vector<std::uint32_t>> unsure;
    if (!args.strUnsure.empty())
    {
        std::string strBad;
        unsure = ParseUnsure(args.strUnsure, strBad);
        if (!unsure)
            return UsageError(FormatText(IDS_SENSITIVITY_BAD_QUESTION, {strBad}), args.strUsage);
    }
    return RunWithFormat(args, {args.strProject},
                         [&](EOutputFormat format)
                         {
                             const SSnapshot snapshot = ReadProject(args.strProject);
                             Write(args.strOutput,
                                   MakeSensitivityOutput(
                                       AnalyseSensitivity(snapshot, unsure, args.nLevels), format));
                             return 0;
                         });
}

struct SCalibrateArgs : SOutputArgs
{
    std::string strOutcomes;
};

int RunCalibrate(const SCalibrateArgs& args)
{
    return RunWithFormat(
        args, {args.strOutcomes},
        [&](EOutputFormat format)
        {
            const SOutcomeTable table = ReadOutcomes(args.strOutcomes);
            std::vector<std::string> projects;
            for (const SOutcomeRow& row : table.rows)
                projects.push_back(row.strPath);
            // Nor does the output replace one of the projects it names.
            const bool bStandardOutput = IsStandardOutput(args.strOutput);
            if (const int n =
                    FindSameFile(bStandardOutput ? "/dev/stdout" : args.strOutput, projects);
                n >= 0)
            {
                PrintError((bStandardOutput ? std::string("standard output") : args.strOutput) +
                           " is " + projects[static_cast<std::size_t>(n)] +
                           ", a project to read; nothing was written.");
                return EXIT_USAGE;
            }
            const std::vector<SSnapshot> snapshots = LoadOutcomeProjects(
                table, args.strOutcomes,
                [](const std::string& strWarning) { PrintError("warning: " + strWarning); });
            Write(args.strOutput, MakeCalibrationOutput(Calibrate(table, snapshots), format));
            return 0;
        });
}
} // namespace

void AddTeamCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand = app.add_subcommand(
        "team", "Several assessors of one project: consensus, agreement and what to discuss "
                "(velkor-report team FILE FILE...)");
    auto pArgs = std::make_shared<STeamArgs>();
    pCommand->add_option("FILE", pArgs->paths, "Each assessor's project file, at least two")
        ->required();
    pCommand
        ->add_option("--consensus", pArgs->strConsensus,
                     "Also writes the consensus as a project file")
        ->type_name("OUT.vlk");
    AddOutputOptions(*pCommand, *pArgs, context, CMD_TEAM,
                     "velkor-report team FILE... [--consensus OUT.vlk] [-o OUTPUT] "
                     "[--format FORMAT]");
    pCommand->callback([&context, pArgs] { context.nExit = RunTeam(*pArgs); });
}

void AddSensitivityCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand = app.add_subcommand(
        "sensitivity", "How much each answer moves the total, and the range of unsure answers "
                       "(velkor-report sensitivity FILE [--unsure LIST|all])");
    auto pArgs = std::make_shared<SSensitivityArgs>();
    pCommand->add_option("FILE", pArgs->strProject, "The project file")->required();
    CLI::Option* pUnsure =
        pCommand
            ->add_option("--unsure", pArgs->strUnsure,
                         "Question numbers (Q3,Q12,...) or all: answers that may be off")
            ->type_name("LIST");
    pCommand
        ->add_option("--levels", pArgs->nLevels,
                     "How many levels either side an unsure answer may lie (default 1)")
        ->type_name("N")
        ->check(CLI::Range(1u, 6u))
        ->needs(pUnsure);
    AddOutputOptions(*pCommand, *pArgs, context, CMD_SENSITIVITY,
                     "velkor-report sensitivity FILE [--unsure LIST|all] [--levels N] "
                     "[-o OUTPUT] [--format FORMAT]");
    pCommand->callback([&context, pArgs] { context.nExit = RunSensitivity(*pArgs); });
}

void AddCalibrateCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand = app.add_subcommand(
        "calibrate", "Forecasts against how finished projects ended (velkor-report calibrate "
                     "OUTCOMES.csv)");
    auto pArgs = std::make_shared<SCalibrateArgs>();
    pCommand
        ->add_option("OUTCOMES", pArgs->strOutcomes,
                     "CSV: file, and any of technical, cost, schedule, total (1 met, 0 missed)")
        ->required();
    AddOutputOptions(*pCommand, *pArgs, context, CMD_CALIBRATE,
                     "velkor-report calibrate OUTCOMES.csv [-o OUTPUT] [--format FORMAT]");
    pCommand->callback([&context, pArgs] { context.nExit = RunCalibrate(*pArgs); });
}
