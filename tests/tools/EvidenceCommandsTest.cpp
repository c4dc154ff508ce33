// velkor-report team, sensitivity and calibrate as processes: exit statuses,
// the messages that name the culprit, and the consensus project file.
#include "FileTestSupport.h"
#include "RunReport.h"

#include "files/Path.h"
#include "report/Team.h"

#include <nlohmann/json.hpp>

TEST(EvidenceCommandLine, ExitStatusesMessagesAndTheConsensusFile)
{
    CScratchDir dir;
    std::vector<std::string> paths;
    for (std::uint32_t n = 0; n < 3; ++n)
    {
        CRiskModel model;
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            model.GetQuestion(i)->SetSelected((i + n * 2) % 5);
        model.SetTechnicalWeight(0.1 * (n + 1));
        paths.push_back(dir / ("a" + std::to_string(n) + ".vlk"));
        SaveProject(model, paths.back());
    }
    std::filesystem::create_hard_link(paths[0], dir / "link.vlk");
    std::filesystem::create_hard_link(paths[1], dir / "a1.json");
    WriteBytes(dir / "notes.txt", "not a project");
    WriteBytes(dir / "o.csv", "file,total,cost\na0.vlk,1,0\na1.vlk,0,\n");
    WriteBytes(dir / "column.csv", "file,budget\n");
    WriteBytes(dir / "value.csv", "file,total\na0.vlk,1\na1.vlk,2\n");
    WriteBytes(dir / "missing.csv", "file,total\na0.vlk,1\ngone.vlk,0\n");

    struct SCase
    {
        std::vector<std::string> args;
        int nExit;
        std::string strError; // a piece of standard error
    };
    const SCase aCases[] = {
        {{"team", paths[0]}, 2, "at least two"},
        {{"team", paths[0], paths[1], dir / "link.vlk"}, 2, "link.vlk is given twice"},
        {{"team", paths[0], paths[1], "--consensus", dir / "link.vlk"}, 2, "an assessor's file"},
        {{"team", paths[0], dir / "notes.txt"}, 1, "notes.txt"},
        {{"team", paths[0], paths[1], "-o", dir / "t.svg"}, 2, ".svg"},
        {{"sensitivity", paths[0], "--unsure", "Q3,82"}, 2, "not 82"},
        {{"sensitivity", paths[0], "--unsure", "0"}, 2, "not 0"},
        {{"sensitivity", paths[0], "--levels", "2"}, 2, "--unsure"},
        {{"calibrate", dir / "column.csv"}, 1, "\"budget\""},
        {{"calibrate", dir / "value.csv"}, 1, "row 2 (line 3), column total: \"2\""},
        {{"calibrate", dir / "missing.csv"}, 1, "row 2 (line 3): "},
        {{"calibrate", dir / "o.csv", "-o", dir / "a1.json"}, 2, "a project to read"},
        {{"calibrate", dir / "o.csv", "--format", "svg"}, 0, ""},
        {{"sensitivity", paths[2], "--unsure", "all", "--format", "json"}, 0, ""},
    };
    for (const SCase& c : aCases)
    {
        const RunResult result = RunReport(dir, c.args);
        EXPECT_EQ(result.nExit, c.nExit) << c.args[0] << ' ' << c.args.back();
        EXPECT_NE(result.strErr.find(c.strError), std::string::npos) << result.strErr;
        if (c.nExit == 0)
        {
            EXPECT_EQ(result.strErr, "");
        }
    }
    EXPECT_EQ(ReadBytes(paths[1]).size(), PROJECT_FILE_SIZE); // never replaced

    // The consensus file holds the consensus' answers and mean weights.
    const RunResult team = RunReport(dir, {"team", paths[0], paths[1], paths[2], "--consensus",
                                           dir / "c.vlk", "--format", "json"});
    ASSERT_EQ(team.nExit, 0) << team.strErr;
    std::vector<STeamMember> members;
    for (const std::string& strPath : paths)
    {
        CRiskModel model;
        LoadProject(model, strPath);
        members.push_back({strPath, MakeSnapshot(model, GetFileTitle(strPath))});
    }
    const STeam expected = AnalyseTeam(members);
    EXPECT_EQ(team.strOut, MakeTeamOutput(expected, EOutputFormat::json));
    CRiskModel consensus;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        consensus.GetQuestion(i)->SetSelected(expected.consensus.anAnswers[i]);
    consensus.SetTechnicalWeight(expected.consensus.weights.dTechnical);
    consensus.SetCostWeight(expected.consensus.weights.dCost);
    consensus.SetScheduleWeight(expected.consensus.weights.dSchedule);
    EXPECT_EQ(ReadBytes(dir / "c.vlk"), MakeProjectBytes(consensus));
    EXPECT_DOUBLE_EQ(expected.consensus.weights.dTechnical, 0.2);
}
