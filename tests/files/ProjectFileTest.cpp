// The project file's bytes, round trips, clamping and damaged files.
#include "FileTestSupport.h"

#include "files/Path.h"
#include "files/ProjectFile.h"

#include <bit>
#include <cmath>
#include <limits>
#include <tuple>

namespace
{
const std::string s_strWeight0333("\x1D\x5A\x64\x3B\xDF\x4F\xD5\x3F", 8);

std::string LittleEndian(std::uint64_t n, int nSize)
{
    std::string str;
    for (int i = 0; i < nSize; ++i)
        str.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return str;
}

std::string ProjectBytes(const std::vector<std::uint32_t>& answers, double dSchedule, double dCost,
                         double dTechnical)
{
    std::string str;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        str += LittleEndian(i < answers.size() ? answers[i] : 0, 4);
    for (const double d : {dSchedule, dCost, dTechnical})
        str += LittleEndian(std::bit_cast<std::uint64_t>(d), 8);
    return str;
}
} // namespace

TEST(ProjectFile, NewProjectIs324ZerosAndThreeDefaultWeights)
{
    CScratchDir dir;
    CRiskModel model;
    SaveProject(model, dir / "new.vlk");
    EXPECT_EQ(ReadBytes(dir / "new.vlk"),
              std::string(324, '\0') + s_strWeight0333 + s_strWeight0333 + s_strWeight0333);
}

TEST(ProjectFile, AnswersAndWeightsAreStoredInFileOrder)
{
    CScratchDir dir;
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(i == 8 ? 6 : 4); // All, and Bottom-Up
    model.SetTechnicalWeight(0.5);
    model.SetCostWeight(0.25);
    model.SetScheduleWeight(0.125);
    SaveProject(model, dir / "all.vlk");

    std::vector<std::uint32_t> answers(QUESTION_COUNT, 4);
    answers[8] = 6;
    const std::string strBytes = ReadBytes(dir / "all.vlk");
    EXPECT_EQ(strBytes, ProjectBytes(answers, 0.125, 0.25, 0.5));
    EXPECT_EQ(strBytes.substr(32, 4), std::string("\x06\0\0\0", 4));
    // Saving is not what clears the modified state; the caller does that.
    EXPECT_TRUE(model.IsModified());
}

TEST(ProjectFile, RoundTripKeepsEveryAnswerAndWeightBitForBit)
{
    const double dNan = std::bit_cast<double>(std::uint64_t{0x7FF8DEADBEEF0001});
    const double aWeightSets[][3] = {
        {0.1, 0.2, 0.7},
        {-0.25, 1.5, 7e-310}, // negative, above 1, subnormal
        {dNan, std::numeric_limits<double>::infinity(), -0.0},
        {-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max(), 0.333},
    };
    CScratchDir dir;
    for (const auto& weights : aWeightSets)
    {
        CRiskModel saved;
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            saved.GetQuestion(i)->SetSelected((i * 7 + 3) % saved.GetQuestion(i)->GetAnswerCount());
        saved.SetTechnicalWeight(weights[0]);
        saved.SetCostWeight(weights[1]);
        saved.SetScheduleWeight(weights[2]);
        SaveProject(saved, dir / "trip.vlk");

        CRiskModel loaded;
        LoadProject(loaded, dir / "trip.vlk");
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            EXPECT_EQ(loaded.GetQuestion(i)->GetSelected(), saved.GetQuestion(i)->GetSelected());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(loaded.GetTechnicalWeight()),
                  std::bit_cast<std::uint64_t>(weights[0]));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(loaded.GetCostWeight()),
                  std::bit_cast<std::uint64_t>(weights[1]));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(loaded.GetScheduleWeight()),
                  std::bit_cast<std::uint64_t>(weights[2]));
        EXPECT_FALSE(loaded.IsModified());
        // Whatever the weights, the loaded project computes as the saved one:
        // the weights reach the total and nothing else.
        loaded.ComputeAll();
        saved.ComputeAll();
        CRiskModel answersOnly;
        ApplyProjectBytes(answersOnly, MakeProjectBytes(CRiskModel()), "new");
        for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
            answersOnly.GetQuestion(i)->SetSelected(saved.GetQuestion(i)->GetSelected());
        answersOnly.ComputeAll();
        for (int k = 1; k < METRIC_COUNT; ++k)
            EXPECT_EQ(loaded.GetMetricValue(k), answersOnly.GetMetricValue(k)) << k;
        double dTotal = loaded.GetMetricValue(1) * weights[0];
        dTotal += loaded.GetMetricValue(2) * weights[1];
        dTotal += loaded.GetMetricValue(3) * weights[2];
        EXPECT_TRUE(std::isnan(dTotal) ? std::isnan(loaded.GetMetricValue(0))
                                       : loaded.GetMetricValue(0) == dTotal)
            << loaded.GetMetricValue(0) << " " << dTotal;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(loaded.GetMetricValue(0)),
                  std::bit_cast<std::uint64_t>(saved.GetMetricValue(0)));
        EXPECT_EQ(MakeProjectBytes(loaded), ReadBytes(dir / "trip.vlk"));
    }
}

TEST(ProjectFile, LoadClampsAnswersToTheLastOfTheirScale)
{
    CScratchDir dir;
    std::vector<std::uint32_t> answers(QUESTION_COUNT, 1);
    answers[0] = 5;
    answers[1] = 9;
    answers[2] = 0xFFFFFFFFu;
    answers[3] = 7;
    answers[8] = 7; // the estimation-method question has seven answers
    answers[80] = 4;
    WriteBytes(dir / "odd.vlk", ProjectBytes(answers, -1.0, 2.0, 0.5));

    CRiskModel model;
    LoadProject(model, dir / "odd.vlk");
    EXPECT_EQ(model.GetQuestion(0)->GetSelected(), 4u);
    EXPECT_EQ(model.GetQuestion(1)->GetSelected(), 4u);
    EXPECT_EQ(model.GetQuestion(2)->GetSelected(), 4u);
    EXPECT_EQ(model.GetQuestion(3)->GetSelected(), 4u);
    EXPECT_EQ(model.GetQuestion(8)->GetSelected(), 6u);
    EXPECT_EQ(model.GetQuestion(9)->GetSelected(), 1u);
    EXPECT_EQ(model.GetQuestion(80)->GetSelected(), 4u);
    EXPECT_EQ(model.GetScheduleWeight(), -1.0);
    EXPECT_EQ(model.GetCostWeight(), 2.0);
    EXPECT_EQ(model.GetTechnicalWeight(), 0.5);
    EXPECT_FALSE(model.IsModified());
}

TEST(ProjectFile, ShortFileIsDamagedAndLeavesTheModelAlone)
{
    CScratchDir dir;
    const std::string strFull =
        ProjectBytes(std::vector<std::uint32_t>(QUESTION_COUNT, 2), 0.2, 0.3, 0.5);
    for (const std::size_t nSize :
         {std::size_t{0}, std::size_t{4}, std::size_t{323}, std::size_t{347}})
    {
        WriteBytes(dir / "short.vlk", strFull.substr(0, nSize));
        CRiskModel model;
        MakeDistinctive(model);
        const std::string strBefore = Snapshot(model);
        const CFileException e = CatchFileException([&] { LoadProject(model, dir / "short.vlk"); });
        EXPECT_EQ(e.GetCause(), CFileException::endOfFile);
        EXPECT_EQ(e.GetErrorMessage(),
                  "An attempt was made to access " + dir / "short.vlk" + " past its end.");
        EXPECT_EQ(Snapshot(model), strBefore) << nSize << " bytes";
    }
}

TEST(ProjectFile, LongFileLoadsItsFirst348Bytes)
{
    CScratchDir dir;
    std::vector<std::uint32_t> answers(QUESTION_COUNT, 3);
    WriteBytes(dir / "long.vlk", ProjectBytes(answers, 0.1, 0.2, 0.3) + std::string(1000, '\xFF'));
    CRiskModel model;
    LoadProject(model, dir / "long.vlk");
    EXPECT_EQ(MakeProjectBytes(model), ProjectBytes(answers, 0.1, 0.2, 0.3));
}

TEST(Path, PartsOfANameAndTheProgramsOwnPath)
{
    EXPECT_EQ(GetFileTitle("/home/u/plan.final.vlk"), "plan.final");
    EXPECT_EQ(GetFileTitle("plan.vlk"), "plan");
    EXPECT_EQ(GetFileTitle("/a.b/notes"), "notes"); // a dot in a folder is no extension
    EXPECT_EQ(GetFileTitle("/a/.hidden"), "");
    EXPECT_EQ(GetFileExtension("/home/u/plan.final.vlk"), "vlk");
    EXPECT_EQ(GetFileExtension("REPORT.TXT"), "TXT");
    EXPECT_EQ(GetFileExtension("/a.b/notes"), "");
    EXPECT_EQ(GetFileExtension("page."), "");
    for (const auto& [strPath, strName, strFolder] :
         {std::tuple{"/home/u/plan.vlk", "plan.vlk", "/home/u"},
          {"plan.vlk", "plan.vlk", "."},
          {"/plan.vlk", "plan.vlk", "/"},
          {"dir/", "", "dir"}})
    {
        EXPECT_EQ(GetFileName(strPath), strName) << strPath;
        EXPECT_EQ(GetFolderName(strPath), strFolder) << strPath;
    }
    EXPECT_TRUE(EqualsIgnoreCase("VlK", "vLk"));
    EXPECT_FALSE(EqualsIgnoreCase("vlk", "vlkx"));
    EXPECT_FALSE(EqualsIgnoreCase("t[t", "t{t")); // ASCII letters only
#ifdef _WIN32
    EXPECT_EQ(GetFileName(GetOwnExecutablePath()), "velkor_files_tests.exe");
    // Windows separates with '\\' too.
    EXPECT_EQ(GetFileTitle("Z:\\dir\\plan.final.vlk"), "plan.final");
    EXPECT_EQ(GetFileName("C:\\a/b\\c.txt"), "c.txt");
#else
    EXPECT_EQ(GetFileName(GetOwnExecutablePath()), "velkor_files_tests");
#endif
}
