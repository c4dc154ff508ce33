// The charts of sensitivity and calibrate: the tornado of the largest swings
// and the reliability diagram.
#include "report/Calibrate.h"
#include "report/Sensitivity.h"

#include "res/Strings.h"
#include "res/resource.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr const char* INK = "#222222";
constexpr const char* GRID = "#B0B0B0";
constexpr const char* LOWER = "#D55E00"; // colour-blind safe: vermilion and blue
constexpr const char* HIGHER = "#0072B2";

SChartShape Text(double x, double y, std::string strText, double dFontSize = 0,
                 const char* pszAnchor = nullptr)
{
    SChartShape shape;
    shape.at = {x, y};
    shape.strText = std::move(strText);
    shape.dFontSize = dFontSize;
    shape.pszAnchor = pszAnchor;
    return shape;
}

SChartShape Line(double x1, double y1, double x2, double y2, const char* pszColour, double dWidth,
                 bool bDashed = false)
{
    SChartShape shape;
    shape.eKind = SChartShape::line;
    shape.at = {x1, y1, x2, y2};
    shape.pszStroke = pszColour;
    shape.dStrokeWidth = dWidth;
    shape.bDashed = bDashed;
    return shape;
}

SChartShape Rect(double x, double y, double dWidth, double dHeight, const char* pszFill,
                 std::string strTooltip)
{
    SChartShape shape;
    shape.eKind = SChartShape::rect;
    shape.at = {x, y, dWidth, dHeight};
    shape.pszFill = pszFill;
    shape.strTooltip = std::move(strTooltip);
    return shape;
}

SChartShape Title(std::string strText)
{
    SChartShape title = Text(24, 36, std::move(strText), 22);
    title.bBold = true;
    return title;
}

// "Q12 How experienced ...", cut to fit the room left of the bars.
std::string BarLabel(std::uint32_t i)
{
    std::string strText = OneLine(CatalogueQuestion(i).GetText());
    if (TextWidth(strText) > 44)
    {
        std::size_t nCut = 41;
        while (nCut > 0 && (strText[nCut] & 0xC0) == 0x80)
            --nCut;
        strText = strText.substr(0, nCut) + "...";
    }
    return "Q" + std::to_string(i + 1) + " " + strText;
}

std::string Percent(double d)
{
    return PercentText(d);
}
} // namespace

SChart MakeTornadoChart(const SSensitivity& sensitivity)
{
    constexpr double LEFT = 380, RIGHT = 900, TOP = 90, ROW = 26;
    const std::size_t nRows = std::min<std::size_t>(15, sensitivity.swings.size());
    const double dTotal = sensitivity.snapshot.Metric(METRIC_TOTAL);
    // Symmetric around the total, wide enough for the largest bar, whole points.
    double dSpan = 0.01;
    for (std::size_t n = 0; n < nRows; ++n)
        for (const double d : {sensitivity.swings[n].dLow, sensitivity.swings[n].dHigh})
            if (std::isfinite(d) && std::isfinite(dTotal))
                dSpan = std::max(dSpan, std::fabs(d - dTotal));
    dSpan = std::ceil(dSpan * 100 - 1e-9) / 100;
    const auto X = [&](double d)
    {
        const double dFraction = std::isfinite(d) ? (d - dTotal) / dSpan : 0;
        return (LEFT + RIGHT) / 2 + std::clamp(dFraction, -1.0, 1.0) * (RIGHT - LEFT) / 2;
    };

    SChart chart;
    chart.dHeight = TOP + ROW * double(nRows) + 60;
    chart.pszInk = INK;
    chart.strDescription = LoadResString(IDS_SENSITIVITY_CHART);
    chart.shapes.push_back(Title(chart.strDescription));
    const double yBottom = TOP + ROW * double(nRows);
    for (const double d : {dTotal - dSpan, dTotal, dTotal + dSpan})
    {
        chart.shapes.push_back(Line(X(d), TOP - 8, X(d), yBottom, d == dTotal ? INK : GRID,
                                    d == dTotal ? 1.5 : 0.75, d != dTotal));
        chart.shapes.push_back(Text(X(d), yBottom + 20, Percent(d), 12, "middle"));
    }
    for (std::size_t n = 0; n < nRows; ++n)
    {
        const SSwing& swing = sensitivity.swings[n];
        const double y = TOP + ROW * double(n);
        const std::string strTip = "Q" + std::to_string(swing.nQuestion + 1) + ": " +
                                   Percent(swing.dLow) + " to " + Percent(swing.dHigh);
        chart.shapes.push_back(Text(LEFT - 10, y + 16, BarLabel(swing.nQuestion), 12, "end"));
        chart.shapes.push_back(
            Rect(X(swing.dLow), y + 4, X(dTotal) - X(swing.dLow), ROW - 8, LOWER, strTip));
        chart.shapes.push_back(
            Rect(X(dTotal), y + 4, X(swing.dHigh) - X(dTotal), ROW - 8, HIGHER, strTip));
    }
    chart.shapes.push_back(Text((LEFT + RIGHT) / 2, yBottom + 44,
                                FormatText(IDS_SENSITIVITY_CHART_AXIS, {Percent(dTotal)}), 13,
                                "middle"));
    return chart;
}

SChart MakeReliabilityChart(const std::vector<SCalibration>& calibrations)
{
    constexpr double LEFT = 90, TOP = 70, SIZE = 400;
    constexpr const char* s_apszColours[] = {"#0072B2", "#E69F00", "#009E73", "#CC79A7"};
    const auto X = [&](double d) { return LEFT + SIZE * std::clamp(d, 0.0, 1.0); };
    const auto Y = [&](double d) { return TOP + SIZE * (1 - std::clamp(d, 0.0, 1.0)); };

    SChart chart;
    chart.dWidth = 760;
    chart.dHeight = TOP + SIZE + 70;
    chart.pszInk = INK;
    chart.strDescription = LoadResString(IDS_CALIBRATE_CHART);
    chart.shapes.push_back(Title(chart.strDescription));
    for (int n = 0; n <= 10; n += 2)
    {
        const double d = n / 10.0;
        chart.shapes.push_back(Line(X(d), Y(0), X(d), Y(1), GRID, 0.75, n != 0));
        chart.shapes.push_back(Line(X(0), Y(d), X(1), Y(d), GRID, 0.75, n != 0));
        chart.shapes.push_back(Text(X(d), Y(0) + 18, std::to_string(n * 10) + "%", 12, "middle"));
        chart.shapes.push_back(Text(X(0) - 8, Y(d) + 4, std::to_string(n * 10) + "%", 12, "end"));
    }
    chart.shapes.push_back(Line(X(0), Y(0), X(1), Y(1), INK, 1.25)); // perfect calibration
    chart.shapes.push_back(
        Text(X(0.5), Y(0) + 42, LoadResString(IDS_CALIBRATE_FORECAST), 13, "middle"));
    chart.shapes.push_back(Text(LEFT - 50, TOP - 14, LoadResString(IDS_CALIBRATE_OBSERVED), 13));

    std::size_t nMost = 1;
    for (const SCalibration& calibration : calibrations)
        for (const SReliabilityBin& bin : calibration.check.bins)
            nMost = std::max(nMost, bin.nCount);
    for (std::size_t c = 0; c < calibrations.size(); ++c)
    {
        const char* pszColour = s_apszColours[c % std::size(s_apszColours)];
        const std::string& strName = calibrations[c].column.strName;
        const double yLegend = TOP + 10 + 24 * double(c);
        SChartShape key;
        key.eKind = SChartShape::circle;
        key.at = {X(1) + 40, yLegend - 4, 6};
        key.pszFill = pszColour;
        chart.shapes.push_back(key);
        chart.shapes.push_back(Text(X(1) + 54, yLegend, strName));
        for (const SReliabilityBin& bin : calibrations[c].check.bins)
        {
            if (bin.nCount == 0 || !bin.forecast || !bin.observed)
                continue;
            SChartShape dot;
            dot.eKind = SChartShape::circle;
            dot.at = {X(*bin.forecast), Y(*bin.observed),
                      3 + 9 * std::sqrt(double(bin.nCount) / double(nMost))};
            dot.pszFill = pszColour;
            dot.dFillOpacity = 0.8;
            dot.pszStroke = "#FFFFFF";
            dot.dStrokeWidth = 1;
            dot.strTooltip = strName + ": " + std::to_string(bin.nCount) + ", " +
                             Percent(*bin.forecast) + " / " + Percent(*bin.observed);
            chart.shapes.push_back(std::move(dot));
        }
    }
    return chart;
}
