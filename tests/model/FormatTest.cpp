// The program's number formatting: 17 significant digits, then half away from zero.
#include "model/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Format, HalvesRoundAwayFromZero)
{
    EXPECT_EQ(FormatFixed(6.25, 1), "6.3"); // printf gives 6.2
    EXPECT_EQ(FormatFixed(1.45, 1), "1.5"); // printf gives 1.4
    EXPECT_EQ(FormatFixed(12.5, 0), "13");  // printf gives 12
    EXPECT_EQ(FormatFixed(0.5, 0), "1");
    EXPECT_EQ(FormatFixed(-6.25, 1), "-6.3");
    EXPECT_EQ(FormatFixed(0.0625 * 100, 1), "6.3");
    EXPECT_EQ(FormatFixed(0.05, 1), "0.1");
    EXPECT_EQ(FormatFixed(0.049, 1), "0.0");
}

TEST(Format, CarriesAndSmallValues)
{
    EXPECT_EQ(FormatFixed(9.96, 1), "10.0");
    EXPECT_EQ(FormatFixed(0.96, 1), "1.0");
    EXPECT_EQ(FormatFixed(99.95, 1), "100.0"); // 99.950000000000003
    EXPECT_EQ(FormatFixed(0.0, 1), "0.0");
    EXPECT_EQ(FormatFixed(0.001, 1), "0.0");
    EXPECT_EQ(FormatFixed(0.2 / 7 * 100, 1), "2.9");
    EXPECT_EQ(FormatFixed(1.0180714285714286 * 100, 1), "101.8");
    EXPECT_EQ(FormatFixed(33.300000000000004, 0), "33");
    EXPECT_EQ(FormatFixed(123456789.0, 2), "123456789.00");
    EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(FormatFixed(1e-300, 1), "0.0");
}

TEST(Format, WidthAndPercentFormats)
{
    EXPECT_EQ(FormatNumbers("%5.1f%%", {0.003 * 100}), "  0.3%");
    EXPECT_EQ(FormatNumbers("%5.1f%%", {-0.05 * 100}), " -5.0%");
    EXPECT_EQ(FormatNumbers("%5.1f%%", {1.0 * 100}), "100.0%");
    EXPECT_EQ(FormatNumbers("%5.1f%%", {0.333 * 100}), " 33.3%");
    EXPECT_EQ(FormatNumbers("%.1f%%", {0.4567 * 100}), "45.7%");
    EXPECT_EQ(FormatNumbers("Cost  %.0f%%", {12.5}), "Cost  13%");
    EXPECT_EQ(
        FormatNumbers("Cost %.0f%%\n\nTechnical %.0f%%\n\nSchedule %.0f%%", {33.3, 33.3, 33.3}),
        "Cost 33%\n\nTechnical 33%\n\nSchedule 33%");
    EXPECT_EQ(FormatNumbers("%-6.1f|", {1.25}), "1.3   |");
    EXPECT_EQ(FormatNumbers("%.1f and %.1f", {1.0}), "1.0 and 0.0"); // missing value
    EXPECT_EQ(FormatNumbers("50%", {}), "50%");                      // a lone % stays
}

TEST(Format, NonFiniteValues)
{
    EXPECT_EQ(FormatFixed(std::nan(""), 1), "nan");
    EXPECT_EQ(FormatFixed(-std::nan(""), 1), "nan");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 1), "inf");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 0), "-inf");
    EXPECT_EQ(FormatNumbers("%5.1f%%", {std::nan("")}), "  nan%");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::max(), 1).size(), 311u);
}
