// Answers, labels, weights and the modified state.
#include "model/RiskModel.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
// First answers, a third of the weight each, no metric computed, unmodified.
void ExpectNewProject(const CRiskModel& model)
{
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        EXPECT_EQ(model.GetQuestion(i)->GetSelected(), 0u);
    EXPECT_EQ(model.GetTechnicalWeight(), 0.333);
    EXPECT_EQ(model.GetCostWeight(), 0.333);
    EXPECT_EQ(model.GetScheduleWeight(), 0.333);
    for (int k = 0; k < METRIC_COUNT; ++k)
        EXPECT_EQ(model.GetMetricValue(k), 0.0) << k;
    EXPECT_FALSE(model.IsModified());
}
} // namespace

TEST(ModelState, NewModelIsUnchangedWithDefaults)
{
    g_bAnswersModified = 0;
    CRiskModel model;
    ExpectNewProject(model);
}

TEST(ModelState, SetSelectedClampsToTheLastAnswer)
{
    CRiskModel model;
    CQuestion* pFive = model.GetQuestion(0);
    CQuestion* pMethod = model.GetQuestion(8);
    pFive->SetSelected(3);
    EXPECT_EQ(pFive->GetSelected(), 3u);
    EXPECT_EQ(pFive->GetValue(), 0.8);
    pFive->SetSelected(5);
    EXPECT_EQ(pFive->GetSelected(), 4u);
    pFive->SetSelected(std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(pFive->GetSelected(), 4u);
    pMethod->SetSelected(7);
    EXPECT_EQ(pMethod->GetSelected(), 6u);
    EXPECT_EQ(pMethod->GetValue(), 0.7);
    pMethod->SetSelected(0xFFFFFFFFu);
    EXPECT_EQ(pMethod->GetSelected(), 6u);
    pMethod->SetSelected(1);
    EXPECT_EQ(pMethod->GetValue(), 0.3);
}

TEST(ModelState, AnswerLabelsFollowEachScale)
{
    CRiskModel model;
    const CQuestion* pFive = model.GetQuestion(3);
    const CQuestion* pMethod = model.GetQuestion(8);
    const char* apszFive[] = {"None", "Little", "Some", "Most", "All"};
    for (std::uint32_t n = 0; n < 5; ++n)
        EXPECT_EQ(pFive->GetAnswerLabel(n), apszFive[n]);
    EXPECT_EQ(pFive->GetAnswerLabel(5), "");
    const char* apszMethods[] = {
        "Guess",    "Dictated by circumstances", "Priced-to-win", "Other", "Top-Down", "Analogy",
        "Bottom-Up"};
    for (std::uint32_t n = 0; n < 7; ++n)
        EXPECT_EQ(pMethod->GetAnswerLabel(n), apszMethods[n]);
    EXPECT_EQ(pMethod->GetAnswerLabel(7), "");
    EXPECT_EQ(pMethod->GetAnswerLabel(0xFFFFFFFFu), "");
    EXPECT_EQ(pMethod->GetAnswerCount(), 7u);
}

TEST(ModelState, EveryChangeMarksModifiedUntilCleared)
{
    CRiskModel model;
    model.ClearModified();
    // Re-selecting the current answer still counts as a change.
    model.GetQuestion(10)->SetSelected(0);
    EXPECT_TRUE(model.IsModified());
    model.ClearModified();
    EXPECT_FALSE(model.IsModified());

    model.SetCostWeight(model.GetCostWeight());
    EXPECT_TRUE(model.IsModified());
    model.ClearModified();
    model.SetTechnicalWeight(0.5);
    EXPECT_TRUE(model.IsModified());
    model.ClearModified();
    model.SetScheduleWeight(-2.0);
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(model.GetScheduleWeight(), -2.0); // not clamped
    model.ClearModified();
    EXPECT_FALSE(model.IsModified());
}

TEST(ModelState, ResetRestoresTheNewProject)
{
    CRiskModel model;
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(i % 7);
    model.SetTechnicalWeight(0.9);
    model.SetCostWeight(0.05);
    model.SetScheduleWeight(0.05);
    model.ComputeAll();
    model.Reset();
    ExpectNewProject(model);
}
