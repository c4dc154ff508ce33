#include "res/Strings.h"
#include "res/resource.h"

#include <gtest/gtest.h>

TEST(Strings, TableCoversEveryIdTheProgramUses)
{
    for (int nId = 102; nId <= 222; ++nId)
        EXPECT_FALSE(LoadResString(nId).empty()) << nId;
    EXPECT_EQ(LoadResString(IDS_TITLE_PREFIX), "Velkor - ");
    EXPECT_EQ(LoadResString(IDS_PRIORITY_TEXT),
              "Cost %.0f%%\n\nTechnical %.0f%%\n\nSchedule %.0f%%");
    EXPECT_EQ(LoadResString(IDS_NOT_SAVED),
              "Project has not been saved. Continue anyway without saving?");
    EXPECT_EQ(LoadResString(IDS_METHOD_DICTATED), "Dictated by circumstances");
    // Typos are part of the texts.
    EXPECT_EQ(LoadResString(197), "Are inputs checked for valid values before processing beings?");
}

TEST(Strings, UnknownIdsGiveEmptyText)
{
    for (int nId : {0, -1, 101, 223, 225, 228, 232, 100000})
        EXPECT_EQ(LoadResString(nId), "") << nId;
}
