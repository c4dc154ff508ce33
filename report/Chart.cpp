#include "report/Chart.h"

#include "report/Text.h"

#include <cmath>
#include <utility>

namespace
{
constexpr double RADAR_X = 290, RADAR_Y = 300, RADAR_RADIUS = 165;
constexpr double BAR_LABEL_X = 740, BAR_X = 748, BAR_LENGTH = 140, BAR_HEIGHT = 16, BAR_STEP = 24;

// Colour-blind safe, and apart in greyscale: a dark blue and a light orange.
constexpr const char* BLUE = "#0072B2";
constexpr const char* ORANGE = "#E69F00";
constexpr const char* INK = "#222222";
constexpr const char* GRID = "#B0B0B0";

std::string Tooltip(const std::string& strName, double dValue)
{
    return strName + ": " + PercentText(dValue);
}

// How much of the full length a value draws: 0 to 1, nothing for NaN.
double Fraction(double dValue)
{
    if (!(dValue > 0))
        return 0;
    return dValue < 1 ? dValue : 1;
}

SChartShape Text(double x, double y, std::string strText, double dFontSize = 0, bool bBold = false)
{
    SChartShape shape;
    shape.at = {x, y};
    shape.strText = std::move(strText);
    shape.dFontSize = dFontSize;
    shape.bBold = bBold;
    return shape;
}

SChartShape Shape(SChartShape::EKind eKind, std::vector<double> at, const char* pszFill,
                  const char* pszStroke, double dStrokeWidth)
{
    SChartShape shape;
    shape.eKind = eKind;
    shape.at = std::move(at);
    shape.pszFill = pszFill;
    shape.pszStroke = pszStroke;
    shape.dStrokeWidth = dStrokeWidth;
    return shape;
}

std::pair<double, double> Point(int k, double dRadius)
{
    const double dAngle = -1.5707963267948966 + k * 6.283185307179586 / CATEGORY_COUNT;
    return {RADAR_X + dRadius * std::cos(dAngle), RADAR_Y + dRadius * std::sin(dAngle)};
}

std::vector<double> Ring(double dFraction)
{
    std::vector<double> at;
    for (int k = 0; k < int(CATEGORY_COUNT); ++k)
    {
        const auto [x, y] = Point(k, RADAR_RADIUS * dFraction);
        at.insert(at.end(), {x, y});
    }
    return at;
}

void AddBars(std::vector<SChartShape>& shapes, const SSnapshot& snapshot, const char* pszHeading,
             int nFirst, const char* pszColour, double dTop)
{
    shapes.push_back(Text(BAR_LABEL_X - 200, dTop, pszHeading, 15, true));
    for (int i = 0; i < 6; ++i)
    {
        const double dValue = snapshot.Metric(nFirst + i);
        const std::string strName = MetricName(nFirst + i);
        const double y = dTop + 12 + i * BAR_STEP;
        SChartShape label = Text(BAR_LABEL_X, y + 12.5, strName);
        label.pszAnchor = "end";
        shapes.push_back(std::move(label));
        shapes.push_back(
            Shape(SChartShape::rect, {BAR_X, y, BAR_LENGTH, BAR_HEIGHT}, "#F0F0F0", GRID, 0.5));
        SChartShape bar =
            Shape(SChartShape::rect, {BAR_X, y, BAR_LENGTH * Fraction(dValue), BAR_HEIGHT},
                  pszColour, INK, 0.5);
        bar.strTooltip = Tooltip(strName, dValue);
        shapes.push_back(std::move(bar));
        shapes.push_back(Text(BAR_X + BAR_LENGTH + 6, y + 12.5, PercentText(dValue)));
    }
}
} // namespace

SChart MakeChart(const SSnapshot& snapshot)
{
    SChart chart;
    chart.pszInk = INK;
    chart.strDescription = "Success probabilities of project " + snapshot.Title();
    std::vector<SChartShape>& shapes = chart.shapes;

    // A title longer than the chart is wide is squeezed to fit, never cut:
    // bold 22-pixel letters are about 13 pixels wide on average.
    SChartShape title = Text(24, 36, "Project " + snapshot.Title(), 22, true);
    if (title.strText.size() * 13.0 > chart.dWidth - 48)
        title.dFitWidth = chart.dWidth - 48;
    shapes.push_back(std::move(title));
    const double dTotal = snapshot.Metric(METRIC_TOTAL);
    SChartShape total = Text(24, 64, "Total Project Probability of Success: ", 16);
    total.strBold = PercentText(dTotal);
    total.strTooltip = Tooltip("Total", dTotal);
    shapes.push_back(std::move(total));

    // The radar: rings at 25, 50 and 75 %, the 100 % ring, one spoke per category.
    shapes.push_back(Text(24, 100, "By Category", 15, true));
    for (const double dRing : {0.25, 0.5, 0.75})
    {
        SChartShape ring = Shape(SChartShape::polygon, Ring(dRing), "none", GRID, 0.75);
        ring.bDashed = true;
        shapes.push_back(std::move(ring));
    }
    SChartShape outer = Shape(SChartShape::polygon, Ring(1), "none", INK, 1.25);
    outer.strTooltip = "100%";
    shapes.push_back(std::move(outer));
    for (int k = 0; k < int(CATEGORY_COUNT); ++k)
    {
        const auto [x, y] = Point(k, RADAR_RADIUS);
        shapes.push_back(Shape(SChartShape::line, {RADAR_X, RADAR_Y, x, y}, nullptr, GRID, 0.75));
    }
    // 50% inside its ring below the top corner; 100% outside the outer ring,
    // right of the top corner and above the edge that falls away from it
    // (a third of a pixel for each pixel), under the top category's label.
    const struct
    {
        double x, y;
        const char* pszLabel;
    } aRingLabels[] = {{RADAR_X + 4, RADAR_Y - RADAR_RADIUS * 0.5 + 13, "50%"},
                       {RADAR_X + 10, RADAR_Y - RADAR_RADIUS - 1, "100%"}};
    for (const auto& ring : aRingLabels)
    {
        SChartShape label = Text(ring.x, ring.y, ring.pszLabel, 12);
        label.pszFill = "#555555";
        shapes.push_back(std::move(label));
    }

    SChartShape data = Shape(SChartShape::polygon, {}, BLUE, BLUE, 2.5);
    data.dFillOpacity = 0.25;
    data.bRoundJoin = true;
    std::vector<SChartShape> dots;
    for (int k = 0; k < int(CATEGORY_COUNT); ++k)
    {
        const double dValue = snapshot.Metric(METRIC_CATEGORY_FIRST + k);
        const std::string strName = MetricName(METRIC_CATEGORY_FIRST + k);
        const auto [x, y] = Point(k, RADAR_RADIUS * Fraction(dValue));
        data.at.insert(data.at.end(), {x, y});
        SChartShape dot = Shape(SChartShape::circle, {x, y, 4.5}, BLUE, "#FFFFFF", 1.5);
        dot.strTooltip = Tooltip(strName, dValue);
        dots.push_back(std::move(dot));
        // The axis label outside the ring, anchored away from the centre.
        const auto [lx, ly] = Point(k, RADAR_RADIUS + 14);
        const double dBaseline = ly > RADAR_Y + 5              ? ly + 12
                                 : ly < RADAR_Y - RADAR_RADIUS ? ly - 2
                                                               : ly + 4;
        SChartShape label = Text(lx, dBaseline, strName + " ");
        label.pszAnchor = lx < RADAR_X - 5 ? "end" : lx > RADAR_X + 5 ? "start" : "middle";
        label.strBold = PercentText(dValue);
        shapes.push_back(std::move(label));
    }
    shapes.push_back(std::move(data));
    shapes.insert(shapes.end(), std::make_move_iterator(dots.begin()),
                  std::make_move_iterator(dots.end()));

    AddBars(shapes, snapshot, "By Phase", METRIC_PHASE_FIRST, BLUE, 140);
    AddBars(shapes, snapshot, "By Activity", METRIC_ACTIVITY_FIRST, ORANGE, 330);
    return chart;
}
