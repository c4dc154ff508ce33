// The catalogue's structure, checked against the metric table's member counts.
#include "model/RiskModel.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <bit>

namespace
{
int CountMembers(std::uint32_t dwBit)
{
    int n = 0;
    for (const auto& entry : g_aQuestionCatalogue)
        if (entry.dwFlags & dwBit)
            ++n;
    return n;
}
} // namespace

TEST(Catalogue, MemberCountsOfEveryAveragedMetric)
{
    const int anCategories[] = {8, 7, 7, 7, 9, 11, 6, 9, 12, 5};
    const int anPhases[] = {41, 36, 40, 41, 44, 31};
    const int anActivities[] = {81, 12, 46, 40, 7, 81};
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(CountMembers(1u << k), anCategories[k]) << "category " << k;
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(CountMembers(1u << (10 + k)), anPhases[k]) << "phase " << k;
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(CountMembers(1u << (16 + k)), anActivities[k]) << "activity " << k;
}

TEST(Catalogue, EveryRowIsWellFormed)
{
    EXPECT_EQ(g_aQuestionCatalogue[0].dwFlags, 0x012DFC01u);
    int nEstimation = 0;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const auto& entry = g_aQuestionCatalogue[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(entry.nTextId, static_cast<int>(130 + i));
        EXPECT_EQ(std::popcount(entry.dwFlags & QF_CATEGORY_MASK), 1);
        EXPECT_NE(entry.dwFlags & QF_PHASE_MASK, 0u);
        EXPECT_EQ(entry.dwFlags & (1u << 16), 1u << 16) << "identification";
        EXPECT_EQ(entry.dwFlags & (1u << 21), 1u << 21) << "prediction";
        EXPECT_EQ(entry.dwFlags & 0xFCC00000u, 0u) << "unused bits";
        EXPECT_EQ(std::popcount(entry.dwFlags & (QF_FIVE_LEVEL | QF_ESTIMATION_METHOD)), 1);
        if (entry.dwFlags & QF_ESTIMATION_METHOD)
            ++nEstimation;
        // Categories run in index order: a page lists its questions in order.
        if (i > 0)
        {
            EXPECT_GE(entry.dwFlags & QF_CATEGORY_MASK,
                      g_aQuestionCatalogue[i - 1].dwFlags & QF_CATEGORY_MASK);
        }
    }
    EXPECT_EQ(nEstimation, 1);
    EXPECT_EQ(g_aQuestionCatalogue[8].dwFlags & (QF_ESTIMATION_METHOD | QF_CATEGORY_MASK),
              QF_ESTIMATION_METHOD | 2u);
}

TEST(Catalogue, QuestionTextsComeFromTheStringTable)
{
    CRiskModel model;
    EXPECT_EQ(model.GetQuestion(0)->GetText(),
              "Are you using, or do you plan to use, experienced software managers?");
    EXPECT_EQ(model.GetQuestion(5)->GetText(),
              "Does good communication exist between different organizations \nor departments "
              "supporting development of the software project?");
    EXPECT_EQ(model.GetQuestion(8)->GetText(), "What estimation method is used?");
    EXPECT_EQ(model.GetQuestion(80)->GetText(),
              "Is this a SMALL software development team? (Less than 20 developers = All; 50 = "
              "Some, 100 or more = None.)");
    EXPECT_EQ(model.GetQuestion(81), nullptr);
    EXPECT_EQ(model.GetQuestion(0xFFFFFFFFu), nullptr);
}

TEST(Catalogue, RowWithoutScaleIsAProgrammingError)
{
    const QuestionEntry bad{130, 1u | (1u << 10) | (1u << 16)};
    EXPECT_THROW(CQuestion{bad}, std::logic_error);
    // The five-level bit wins when a row carries both.
    const QuestionEntry both{130, 1u | QF_FIVE_LEVEL | QF_ESTIMATION_METHOD};
    EXPECT_EQ(CQuestion{both}.GetAnswerCount(), 5u);
}
