#include "report/Trend.h"

#include "report/Export.h"
#include "report/Rows.h"

#include <algorithm>

namespace
{
constexpr double PLOT_LEFT = 80, PLOT_RIGHT = 660, PLOT_TOP = 80, PLOT_BOTTOM = 440;
constexpr double LEGEND_X = 700, LEGEND_TOP = 90, LEGEND_STEP = 24;
constexpr const char* INK = "#222222";
constexpr const char* GRID = "#B0B0B0";
// The summary lines solid, the categories dashed; colour-blind safe colours.
constexpr const char* s_apszColours[] = {"#0072B2", "#E69F00", "#009E73", "#CC79A7",
                                         "#56B4E9", "#D55E00", "#000000", "#F0E442"};

double Change(const std::vector<STrendPoint>& points, int k)
{
    return points.empty() ? 0.0
                          : points.back().snapshot.Metric(k) - points.front().snapshot.Metric(k);
}

double PlotY(double dValue)
{
    const double dFraction = dValue > 0 ? std::min(dValue, 1.0) : 0.0; // NaN at 0
    return PLOT_BOTTOM - (PLOT_BOTTOM - PLOT_TOP) * dFraction;
}

SChartShape ChartText(double x, double y, std::string strText, double dFontSize = 0)
{
    SChartShape shape;
    shape.at = {x, y};
    shape.strText = std::move(strText);
    shape.dFontSize = dFontSize;
    return shape;
}

SChartShape Stroke(SChartShape::EKind eKind, std::vector<double> at, const char* pszColour,
                   double dWidth)
{
    SChartShape shape;
    shape.eKind = eKind;
    shape.at = std::move(at);
    shape.pszStroke = pszColour;
    shape.dStrokeWidth = dWidth;
    return shape;
}
} // namespace

SChart MakeTrendChart(const std::vector<STrendPoint>& points)
{
    SChart chart;
    chart.pszInk = INK;
    chart.strDescription =
        "Success probabilities of " + std::to_string(points.size()) + " assessments";
    std::vector<SChartShape>& shapes = chart.shapes;
    SChartShape title = ChartText(24, 36, "Trend", 22);
    title.bBold = true;
    shapes.push_back(std::move(title));

    for (const int nPercent : {0, 25, 50, 75, 100})
    {
        const double y = PlotY(nPercent / 100.0);
        SChartShape grid = Stroke(SChartShape::line, {PLOT_LEFT, y, PLOT_RIGHT, y},
                                  nPercent ? GRID : INK, nPercent ? 0.75 : 1.25);
        grid.bDashed = nPercent != 0;
        shapes.push_back(std::move(grid));
        SChartShape label = ChartText(PLOT_LEFT - 8, y + 4, std::to_string(nPercent) + "%", 12);
        label.pszAnchor = "end";
        label.pszFill = "#555555";
        shapes.push_back(std::move(label));
    }
    const std::size_t nPoints = points.size();
    const double dStep = nPoints > 1 ? (PLOT_RIGHT - PLOT_LEFT - 40) / double(nPoints - 1) : 0;
    const auto X = [&](std::size_t n)
    { return nPoints > 1 ? PLOT_LEFT + 20 + dStep * double(n) : (PLOT_LEFT + PLOT_RIGHT) / 2; };
    for (std::size_t n = 0; n < nPoints; ++n)
    {
        SChartShape label = ChartText(X(n), PLOT_BOTTOM + 20, points[n].snapshot.strTitle);
        label.pszAnchor = "middle";
        // A title wider than its place is squeezed, never cut.
        const double dRoom = nPoints > 1 ? std::max(dStep - 6, 20.0) : PLOT_RIGHT - PLOT_LEFT;
        if (label.strText.size() * 7.0 > dRoom)
            label.dFitWidth = dRoom;
        shapes.push_back(std::move(label));
    }

    for (int k = 0; k < TREND_SERIES; ++k)
    {
        const char* pszColour =
            k == METRIC_TOTAL ? INK : s_apszColours[(k - 1) % std::size(s_apszColours)];
        const bool bSummary = k < METRIC_CATEGORY_FIRST;
        const std::string strName = MetricName(k);
        // The legend: a short line and the name.
        const double yLegend = LEGEND_TOP + LEGEND_STEP * k;
        SChartShape key =
            Stroke(SChartShape::line, {LEGEND_X, yLegend - 4, LEGEND_X + 24, yLegend - 4},
                   pszColour, k == METRIC_TOTAL ? 3 : 2);
        key.bDashed = !bSummary;
        shapes.push_back(std::move(key));
        shapes.push_back(ChartText(LEGEND_X + 32, yLegend, strName));

        SChartShape line = Stroke(SChartShape::polyline, {}, pszColour,
                                  k == METRIC_TOTAL ? 3
                                  : bSummary        ? 2
                                                    : 1.25);
        line.pszFill = "none";
        line.bDashed = !bSummary;
        line.bRoundJoin = true;
        std::vector<SChartShape> dots;
        for (std::size_t n = 0; n < nPoints; ++n)
        {
            const double dValue = points[n].snapshot.Metric(k);
            line.at.insert(line.at.end(), {X(n), PlotY(dValue)});
            SChartShape dot = Stroke(SChartShape::circle, {X(n), PlotY(dValue), 3.5}, "#FFFFFF", 1);
            dot.pszFill = pszColour;
            dot.strTooltip =
                points[n].snapshot.strTitle + ": " + strName + " " + PercentText(dValue);
            dots.push_back(std::move(dot));
        }
        if (nPoints > 1)
            shapes.push_back(std::move(line));
        shapes.insert(shapes.end(), std::make_move_iterator(dots.begin()),
                      std::make_move_iterator(dots.end()));
    }
    return chart;
}

namespace
{
// The values of series k, one per assessment.
std::vector<double> Series(const std::vector<STrendPoint>& points, int k)
{
    std::vector<double> values;
    for (const STrendPoint& point : points)
        values.push_back(point.snapshot.Metric(k));
    return values;
}

JsonRow TrendJson(const std::vector<STrendPoint>& points)
{
    JsonRow doc;
    doc["format"] = "velkor-trend";
    doc["version"] = 1;
    doc["projects"] = JsonRow::array();
    for (const STrendPoint& point : points)
        doc["projects"].push_back(JsonTrendPoint(point.strPath, point.snapshot));
    doc["series"] = JsonRow::array();
    for (int k = 0; k < TREND_SERIES; ++k)
    {
        JsonRow values = JsonRow::array();
        for (const double d : Series(points, k))
            values.push_back(JsonNumber(d));
        doc["series"].push_back(JsonMetric(
            k, {{"values", std::move(values)}, {"change", JsonNumber(Change(points, k))}}));
    }
    return doc;
}

std::string TrendCsv(const std::vector<STrendPoint>& points)
{
    std::string strOut = "index,label";
    for (const STrendPoint& point : points)
        strOut += ',' + CsvField(point.snapshot.strTitle);
    strOut += ",change\n";
    for (int k = 0; k < TREND_SERIES; ++k)
    {
        std::vector<double> values = Series(points, k);
        values.push_back(Change(points, k));
        AppendCsvMetric(strOut, k, values);
    }
    return strOut;
}

std::string TrendText(const std::vector<STrendPoint>& points)
{
    std::vector<TextRow> rows(1, {"Probability (%)"});
    for (const STrendPoint& point : points)
        rows[0].push_back(OneLine(point.snapshot.strTitle));
    rows[0].push_back("Change");
    for (int k = 0; k < TREND_SERIES; ++k)
        rows.push_back(TextMetric(k, Series(points, k), Change(points, k)));
    std::string strOut;
    for (std::size_t n = 0; n < points.size(); ++n)
        AppendTextTrendPoint(strOut, n + 1, points[n].strPath);
    return strOut + '\n' + FormatTable(rows, "l" + std::string(points.size() + 1, 'r'));
}
} // namespace

std::string MakeTrendOutput(const std::vector<STrendPoint>& points, EOutputFormat format)
{
    return WriteData(format, {.text = [&] { return TrendText(points); },
                              .csv = [&] { return TrendCsv(points); },
                              .json = [&] { return TrendJson(points); },
                              .svg = [&] { return WriteSvg(MakeTrendChart(points)); }});
}
