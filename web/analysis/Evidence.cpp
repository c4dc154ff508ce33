// The page's team, sensitivity and calibration: what velkor-report team,
// sensitivity and calibrate write, over the files in the in-memory file
// system.
#include "web/analysis/Binding.h"

#include "files/ProjectFile.h"
#include "report/Calibrate.h"
#include "report/ProjectLoad.h"
#include "report/Sensitivity.h"
#include "report/Team.h"

#include <emscripten/bind.h>

namespace
{
STeam TeamOf(const val& paths, const Warn& onWarning)
{
    std::vector<STeamMember> members;
    for (const std::string& strPath : Paths(paths))
        members.push_back({strPath, LoadSnapshot(strPath, onWarning)});
    return AnalyseTeam(std::move(members));
}

// velkor-report team FILE... in a format.
val Team(const val& paths, const std::string& strFormat)
{
    return Run([&](const Warn& onWarning)
               { return MakeTeamOutput(TeamOf(paths, onWarning), *Format(strFormat)); });
}

// The consensus as a project file, as team --consensus saves it.
val Consensus(const val& paths)
{
    return Run(
        [&](const Warn& onWarning)
        {
            const STeam team = TeamOf(paths, onWarning);
            const CKeepAnswersFlag keep;
            CRiskModel model;
            for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
                model.GetQuestion(i)->SetSelected(team.consensus.anAnswers[i]);
            model.SetTechnicalWeight(team.consensus.weights.dTechnical);
            model.SetCostWeight(team.consensus.weights.dCost);
            model.SetScheduleWeight(team.consensus.weights.dSchedule);
            return MakeProjectBytes(model);
        });
}

// velkor-report sensitivity FILE [--unsure LIST --levels N]; unsure holds
// 0-based questions, none for no --unsure.
val Sensitivity(const std::string& strPath, const val& unsure, int nLevels,
                const std::string& strFormat)
{
    return Run(
        [&](const Warn& onWarning)
        {
            std::optional<std::vector<std::uint32_t>> questions;
            if (unsure["length"].as<int>() > 0)
                questions = emscripten::vecFromJSArray<std::uint32_t>(unsure);
            const SSnapshot snapshot = LoadSnapshot(strPath, onWarning);
            return MakeSensitivityOutput(
                AnalyseSensitivity(snapshot, questions, static_cast<std::uint32_t>(nLevels)),
                *Format(strFormat));
        });
}

// velkor-report calibrate OUTCOMES.csv.
val CalibrateOutcomes(const std::string& strOutcomes, const std::string& strFormat)
{
    return Run(
        [&](const Warn& onWarning)
        {
            const SOutcomeTable table = ReadOutcomes(strOutcomes);
            const std::vector<SSnapshot> snapshots =
                LoadOutcomeProjects(table, strOutcomes, onWarning);
            return MakeCalibrationOutput(Calibrate(table, snapshots), *Format(strFormat));
        });
}
} // namespace

EMSCRIPTEN_BINDINGS(velkor_evidence)
{
    emscripten::function("team", &Team);
    emscripten::function("consensus", &Consensus);
    emscripten::function("sensitivity", &Sensitivity);
    emscripten::function("calibrate", &CalibrateOutcomes);
}
